// The decode of one 12-megapixel photo (4000 x 3000 JPEG) to the size a 1920 x 1080 show draws it
// at (1440 x 1080), three ways in one run:
//   - now:        the fast DCT scale (1/2 here) streamed row by row into the Lanczos resample;
//   - before:     the same scale decoded into a whole picture, then the area resample (the path the
//                 decoder took before the Lanczos resample, rebuilt here from the same pieces);
//   - full size:  a full-size decode, then the Lanczos resample.
// For each it prints the best of several runs: the processor time of the decoding thread (steady
// on a busy machine; the ratios use it), the wall time, and the peak of the bytes allocated
// during the decode (every malloc of the process is counted, libjpeg's own included); then the
// ratios. Two photos: smooth colour ramps, and the same with fine grain, whose entropy decoding
// costs what a camera's file costs.
//
// Results (RelWithDebInfo, libjpeg-turbo 2.1.5, the 2-core development machine; best of 9 runs,
// processor time):
//                                        smooth (0.3 MB)      grainy (2.1 MB)
//   now: fast scale, streamed Lanczos    25.3 ms   5.0 MB     50.2 ms   5.0 MB
//   before: fast scale, whole, area      22.4 ms  13.1 MB     41.7 ms  13.1 MB
//   full-size decode, Lanczos            86.7 ms  39.6 MB    105.7 ms  39.6 MB
//   now / before                         time 1.13, memory 0.38   time 1.20, memory 0.38
//   now / full size                      time 0.29, memory 0.13   time 0.47, memory 0.13
// The Lanczos filter spends a few milliseconds more than the area average (nine taps a side at
// this ratio against two) for pictures that stay sharp without aliasing; streaming the rows into
// it keeps only the output, well under half the memory. Against a full-size decode the fast
// scale saves most of the time and seven eighths of the memory.
//
// Usage: decode_bench [--runs N]
#include <time.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "bench/alloc_counter.h"
#include "platform/image/decode.h"
#include "platform/image/resample.h"
#include "tests/support/picture_files.h"

namespace tessmoor {
namespace {

using Clock = std::chrono::steady_clock;

constexpr int kPhotoW = 4000;
constexpr int kPhotoH = 3000;
constexpr DecodeTarget kScreen{1920, 1080};

struct Measure {
  double ms = 1e30;       // processor time of the decoding thread
  double wall_ms = 1e30;
  std::int64_t peak_bytes = 0;
};

double ThreadMs() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

// Best time of `runs`, and the largest allocation peak seen above what was held at the start.
Measure Run(int runs, const std::function<Picture()>& decode, PictureSize expect) {
  Measure m;
  for (int i = 0; i < runs; ++i) {
    const std::int64_t base = bench::StartAllocationPeak();
    const auto start = Clock::now();
    const double cpu_start = ThreadMs();
    const Picture out = decode();
    m.ms = std::min(m.ms, ThreadMs() - cpu_start);
    m.wall_ms = std::min(m.wall_ms, std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    m.peak_bytes = std::max(m.peak_bytes, bench::AllocationPeak() - base);
    if (out.width != expect.width || out.height != expect.height) {
      std::fprintf(stderr, "decode gave %d x %d, not %d x %d\n", out.width, out.height, expect.width, expect.height);
      std::exit(1);
    }
  }
  return m;
}

Picture Decoded(std::span<const std::uint8_t> file, DecodeTarget target) {
  DecodeResult r = DecodeJpeg(file, target);
  if (r.status != DecodeStatus::kOk) {
    std::fprintf(stderr, "decode failed: %s\n", r.message.c_str());
    std::exit(1);
  }
  return std::move(r.picture);
}

test::PixelFn Photo(int grain) {
  const test::PixelFn ramps = test::Gradient(kPhotoW, kPhotoH);
  return [ramps, grain](int x, int y) {
    test::Rgb c = ramps(x, y);
    if (grain == 0) return c;
    std::uint32_t h = static_cast<std::uint32_t>(x) * 73856093u ^ static_cast<std::uint32_t>(y) * 19349663u;
    h ^= h >> 13;
    h *= 0x5bd1e995u;
    const int noise = static_cast<int>(h % static_cast<std::uint32_t>(2 * grain + 1)) - grain;
    auto add = [noise](std::uint8_t v) { return static_cast<std::uint8_t>(std::clamp(v + noise, 0, 255)); };
    return test::Rgb{add(c.r), add(c.g), add(c.b)};
  };
}

void RunSet(const char* name, int grain, int runs) {
  const std::vector<std::uint8_t> file = test::MakeJpeg(kPhotoW, kPhotoH, Photo(grain), 90);
  const PictureSize fitted = DecodedSize(kPhotoW, kPhotoH, kScreen);
  // The smallest fast scale that still covers the fitted size: what both scaled paths decode at.
  int scale = 8;
  while (scale > 1 && (kPhotoW / scale < fitted.width || kPhotoH / scale < fitted.height)) scale /= 2;
  const DecodeTarget scaled{kPhotoW / scale, kPhotoH / scale};

  const Measure now = Run(runs, [&] { return Decoded(file, kScreen); }, fitted);
  const Measure before = Run(runs, [&] {
    return ResampleArea(Decoded(file, scaled), fitted.width, fitted.height);
  }, fitted);
  const Measure full = Run(runs, [&] {
    return Resample(Decoded(file, {}), fitted.width, fitted.height);
  }, fitted);

  auto mb = [](std::int64_t bytes) { return static_cast<double>(bytes) / (1024.0 * 1024.0); };
  std::printf("%s photo: %d x %d JPEG of %.1f MB, decoded at 1/%d (%d x %d), shown at %d x %d\n", name, kPhotoW,
              kPhotoH, mb(static_cast<std::int64_t>(file.size())), scale, scaled.max_width, scaled.max_height,
              fitted.width, fitted.height);
  std::printf("  %-36s %9s %9s %9s\n", "path", "cpu ms", "wall ms", "peak MB");
  auto row = [&](const char* path, const Measure& m) {
    std::printf("  %-36s %9.1f %9.1f %9.1f\n", path, m.ms, m.wall_ms, mb(m.peak_bytes));
  };
  row("now: fast scale, streamed Lanczos", now);
  row("before: fast scale, whole, area", before);
  row("full-size decode, Lanczos", full);
  std::printf("  now / before:    time %.2f  memory %.2f\n", now.ms / before.ms,
              static_cast<double>(now.peak_bytes) / static_cast<double>(before.peak_bytes));
  std::printf("  now / full size: time %.2f  memory %.2f\n", now.ms / full.ms,
              static_cast<double>(now.peak_bytes) / static_cast<double>(full.peak_bytes));
}

int Main(int argc, char** argv) {
  int runs = 7;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--runs") == 0 && i + 1 < argc) runs = std::max(1, std::atoi(argv[++i]));
  }
  RunSet("smooth", 0, runs);
  RunSet("grainy", 6, runs);
  return 0;
}

}  // namespace
}  // namespace tessmoor

int main(int argc, char** argv) { return tessmoor::Main(argc, argv); }
