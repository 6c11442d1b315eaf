#pragma once
#include <cstdint>

namespace tessmoor {

// Uniform non-negative 31-bit numbers.
class RandomSource {
 public:
  virtual ~RandomSource() = default;
  virtual std::int32_t Next31() = 0;
};

// A small, fast, well-distributed generator (SplitMix64 output, top 31 bits). Seeded from the
// clock by the show, from a constant by tests.
class SplitMixRandom final : public RandomSource {
 public:
  explicit SplitMixRandom(std::uint64_t seed) : state_(seed) {}
  std::int32_t Next31() override {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    z ^= z >> 31;
    return static_cast<std::int32_t>(z >> 33);
  }

 private:
  std::uint64_t state_;
};

}  // namespace tessmoor
