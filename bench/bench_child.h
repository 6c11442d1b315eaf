#pragma once
// What the show benchmarks share: each variant measured in a child process of its own, so that
// its peak resident set is its own; the photos they decode, written by our own encoder.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <map>
#include <string>
#include <type_traits>
#include <vector>

#include <benchmark/benchmark.h>

#include "tests/support/picture_files.h"

namespace tessmoor::bench {

using Clock = std::chrono::steady_clock;

inline double MsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

inline long CurrentRssKb() {
  std::ifstream statm("/proc/self/statm");
  long pages = 0, resident = 0;
  statm >> pages >> resident;
  return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

inline long PeakRssKb() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

// Runs `variant` in a child process and brings back what it measured (a plain struct).
template <typename Measure>
Measure InChild(const std::function<Measure()>& variant) {
  static_assert(std::is_trivially_copyable_v<Measure>);
  int fds[2];
  if (pipe(fds) != 0) return variant();
  std::fflush(stdout);
  const pid_t pid = fork();
  if (pid == 0) {
    close(fds[0]);
    const Measure m = variant();
    const ssize_t written = write(fds[1], &m, sizeof m);
    _exit(written == static_cast<ssize_t>(sizeof m) ? 0 : 1);
  }
  close(fds[1]);
  Measure m{};
  const ssize_t got = pid > 0 ? read(fds[0], &m, sizeof m) : -1;
  close(fds[0]);
  if (pid > 0) waitpid(pid, nullptr, 0);
  if (got != static_cast<ssize_t>(sizeof m)) {
    std::fprintf(stderr, "a measuring child failed\n");
    std::exit(1);
  }
  return m;
}

// The best (smallest) of every run of each variant, by name, for the ratios printed at the end.
template <typename Measure>
class Results {
 public:
  void Add(const std::string& name, const Measure& m, const std::function<bool(const Measure&, const Measure&)>& better) {
    auto it = best_.find(name);
    if (it == best_.end() || better(m, it->second)) best_[name] = m;
  }
  const Measure& operator[](const std::string& name) const { return best_.at(name); }
  bool Has(const std::string& name) const { return best_.count(name) != 0; }

 private:
  std::map<std::string, Measure> best_;
};

// The N of "--runs N" on the command line, at least 1; `fallback` without it.
inline int RunsArgument(int argc, char** argv, int fallback) {
  for (int i = 1; i + 1 < argc; ++i)
    if (std::string(argv[i]) == "--runs") return std::max(1, std::atoi(argv[i + 1]));
  return fallback;
}

// One run of `variant` as a benchmark of its own, under "<name>/run:<run>": registered run by run
// for every variant, the runs take turns, so that a busy moment of the machine does not fall on one
// variant only. The run with the smallest first_ms of each name counts.
template <typename Measure>
void RegisterRun(Results<Measure>& results, const std::string& name, std::function<Measure()> variant, int run) {
  benchmark::RegisterBenchmark((name + "/run:" + std::to_string(run)).c_str(), [&results, name, variant](benchmark::State& state) {
    for (auto _ : state) {
      const Measure m = InChild<Measure>(variant);
      state.SetIterationTime(m.first_ms / 1000.0);
      results.Add(name, m, [](const Measure& a, const Measure& b) { return a.first_ms < b.first_ms; });
    }
  })->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);
}

// A camera photo's worth of work for the decoder: soft colour fields with fine grain of
// +-`grain` levels, so that a 4000 x 3000 file comes out at the 2 to 3 MB a phone writes.
inline test::PixelFn Grainy(int width, int height, int seed, int grain) {
  const test::PixelFn fields = test::Quadrants(width, height, {200, 90, 40}, {40, 120, 200}, {60, 170, 80},
                                               {230, 210, 120});
  return [fields, seed, grain](int x, int y) {
    std::uint32_t h = static_cast<std::uint32_t>(x + 7919 * seed) * 2654435761u ^ static_cast<std::uint32_t>(y) * 40503u;
    h ^= h >> 16;
    h *= 0x7feb352du;
    h ^= h >> 15;
    const int noise = static_cast<int>(h % static_cast<std::uint32_t>(2 * grain + 1)) - grain;
    test::Rgb c = fields(x, y);
    auto add = [noise](std::uint8_t v) { return static_cast<std::uint8_t>(std::clamp(v + noise, 0, 255)); };
    return test::Rgb{add(c.r), add(c.g), add(c.b)};
  };
}

}  // namespace tessmoor::bench
