// Fuzz target for the BMP reader.
//
// With libFuzzer (clang):
//   cmake -S . -B /work/build-fuzz -G Ninja -DTESSMOOR_FUZZ=ON -DCMAKE_CXX_COMPILER=clang++
//         -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_FLAGS="-fsanitize=fuzzer-no-link,address,undefined"
//   ninja -C /work/build-fuzz bmp_fuzz
//   /work/build-decoders/bmp_fuzz --write-seeds /tmp/bmp-corpus   # seeds from a normal build
//   /work/build-fuzz/bmp_fuzz /tmp/bmp-corpus -max_total_time=180 -rss_limit_mb=4096
// (fuzzer-no-link instruments the decoders in the core library too, not only this file.)
// Without libFuzzer the same target is linked with replay_main.cc:
//   bmp_fuzz [FOLDER...]   replays the built-in seeds and every file in the folders.

#include <cstddef>
#include <cstdint>
#include <span>

#include "platform/image/decode.h"
#include "tests/fuzz/decode_check.h"

namespace {

// The pixel count a BMP header declares (0 when it cannot be told). A few bytes of RLE can
// describe a valid, all-black picture of up to 2^28 pixels; decoding and shrinking that takes
// seconds under the sanitizers and teaches the fuzzer nothing, so such inputs are skipped, as
// libjpeg-turbo's own fuzzers skip large pictures. The unit tests cover the size limits.
std::int64_t DeclaredPixels(std::span<const std::uint8_t> b) {
  if (b.size() < 26) return 0;
  auto le = [&](std::size_t at, int n) {
    std::uint32_t v = 0;
    for (int i = n - 1; i >= 0; --i) v = (v << 8) | b[at + static_cast<std::size_t>(i)];
    return v;
  };
  if (le(14, 4) == 12) return std::int64_t{le(18, 2)} * le(20, 2);
  const std::int64_t w = static_cast<std::int32_t>(le(18, 4));
  const std::int64_t h = static_cast<std::int32_t>(le(22, 4));
  return w * (h < 0 ? -h : h);
}

constexpr std::int64_t kMaxFuzzPixels = 1 << 20;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> bytes(data, size);
  if (DeclaredPixels(bytes) > kMaxFuzzPixels) return 0;
  for (const tessmoor::DecodeTarget target : tessmoor::fuzz::kFuzzTargets) {
    tessmoor::fuzz::CheckDecodeResult(tessmoor::DecodeBmp(bytes, target), target);
  }
  return 0;
}
