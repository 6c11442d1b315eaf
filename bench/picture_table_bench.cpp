// Building the picture table for 48 twelve-megapixel photos, two ways in one run:
//   - the full-size baseline: every picture read and decoded at its full size, one after the
//     other on the calling thread, all of them kept;
//   - the picture table: decoded in the background on every core, each no larger than the show
//     draws it on a 1920 x 1080 screen, at the first-run scale (50 %) and at 150 %.
// For each it prints the time to the first picture, the time to the whole table, the processor
// time spent, the bytes held by the decoded pictures and the growth of the peak resident set, then
// the ratios. The baseline's show can draw nothing before its whole table is built, so its first
// picture reaches the screen only then.
//
// Two sets of files: smooth colour ramps (the test writer's stand-in for a photo, a few hundred
// kilobytes each) and grainy ones of the size a phone camera writes (about 2 MB each). Scaled
// decoding saves the inverse DCT, the colour conversion and the memory, but every bit of the file
// still has to be entropy-decoded, so the grainier the file, the smaller the gain per core.
//
// Each variant runs in a child process of its own, so that its peak resident set is its own.
// Usage: picture_table_bench [--runs N] [--set smooth|grainy|both]
//   (best of N runs per variant, default 2; both sets by default)
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "app/settings.h"
#include "bench/bench_child.h"
#include "app/settings_dialog_values.h"
#include "app/settings_keys.h"
#include "platform/file_system.h"
#include "platform/image/decode.h"
#include "show/picture_table.h"
#include "show/show_settings.h"
#include "tests/support/fakes.h"
#include "tests/support/picture_files.h"
#include "tests/support/posix_files.h"

namespace tessmoor {
namespace {

namespace fs = std::filesystem;
using bench::Clock;
using bench::MsSince;

constexpr int kPictureWidth = 4000;
constexpr int kPictureHeight = 3000;
constexpr int kScreenWidth = 1920;
constexpr int kScreenHeight = 1080;
constexpr int kDistinctPictures = 8;  // each written six times, under 48 names

// Colour ramps, a soft disc and, for the grainy set, fine grain of +-`grain` levels, so that the
// files come out at the size a camera writes for this pixel count.
test::PixelFn PhotoLike(int seed, int grain) {
  return [seed, grain](int x, int y) {
    std::uint32_t h = static_cast<std::uint32_t>(x) * 0x9E3779B1u ^ static_cast<std::uint32_t>(y) * 0x85EBCA77u ^
                      static_cast<std::uint32_t>(seed) * 0xC2B2AE3Du;
    h ^= h >> 15;
    h *= 0x2C1B3C6Du;
    h ^= h >> 12;
    const int noise = grain > 0 ? static_cast<int>(h % static_cast<std::uint32_t>(2 * grain + 1)) - grain : 0;
    const int cx = (seed * 977) % kPictureWidth;
    const int cy = (seed * 613) % kPictureHeight;
    const long long dx = x - cx;
    const long long dy = y - cy;
    const int disc = dx * dx + dy * dy < 900LL * 900LL ? 60 : 0;
    auto clamp = [](int v) { return static_cast<std::uint8_t>(std::clamp(v, 0, 255)); };
    return test::Rgb{clamp(x * 200 / kPictureWidth + disc + noise + 20),
                     clamp(y * 180 / kPictureHeight + noise + 30 + seed * 5),
                     clamp((x + y) * 150 / (kPictureWidth + kPictureHeight) + disc / 2 + noise + 40)};
  };
}

std::vector<std::string> MakeFiles(const fs::path& folder, int grain) {
  fs::create_directories(folder);
  std::vector<std::string> paths;
  std::vector<std::vector<std::uint8_t>> distinct;
  for (int i = 0; i < kDistinctPictures; ++i)
    distinct.push_back(test::MakeJpeg(kPictureWidth, kPictureHeight, PhotoLike(i + 1, grain), 90));
  for (int i = 0; i < 48; ++i) {
    const fs::path path = folder / ("photo" + std::to_string(i + 1) + ".jpg");
    test::WriteFile(path, distinct[i % kDistinctPictures]);
    paths.push_back(path.string());
  }
  return paths;
}

double CpuMs() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  auto ms = [](const timeval& t) { return t.tv_sec * 1000.0 + t.tv_usec / 1000.0; };
  return ms(usage.ru_utime) + ms(usage.ru_stime);
}

struct Measure {
  double first_ms = 0;
  double whole_ms = 0;
  double cpu_ms = 0;
  double held_bytes = 0;
  double rss_growth_kb = 0;
  int threads = 0;
  int decoded = 0;
  int width = 0;   // of the first picture
  int height = 0;
};

Measure Baseline(const std::vector<std::string>& paths) {
  testing::PosixFileSystem files;
  Measure m;
  const long rss_before = bench::CurrentRssKb();
  std::vector<Picture> pictures;
  const double cpu_before = CpuMs();
  const Clock::time_point start = Clock::now();
  for (const std::string& path : paths) {
    if (!files.FileExists(path)) continue;
    std::optional<std::vector<std::uint8_t>> bytes = files.ReadFile(path, DecodeQueue::kMaxFileBytes);
    if (!bytes) continue;
    DecodeResult result = DecodePicture(*bytes, ".jpg", DecodeTarget{});
    if (result.status != DecodeStatus::kOk) continue;
    pictures.push_back(std::move(result.picture));
    if (pictures.size() == 1) m.first_ms = MsSince(start);
  }
  m.whole_ms = MsSince(start);
  m.cpu_ms = CpuMs() - cpu_before;
  for (const Picture& p : pictures) m.held_bytes += static_cast<double>(p.pixels.capacity());
  m.rss_growth_kb = static_cast<double>(bench::PeakRssKb() - rss_before);
  m.threads = 1;
  m.decoded = static_cast<int>(pictures.size());
  if (!pictures.empty()) {
    m.width = pictures[0].width;
    m.height = pictures[0].height;
  }
  return m;
}

Measure Table(const std::vector<std::string>& paths, const std::string& scale) {
  testing::PosixFileSystem files;
  testing::MemoryStore store;
  store.Set(std::string(keys::kSlideScale), scale);
  for (int i = 0; i < 48; ++i) store.Set(keys::ImagePath(i / 12 + 1, i % 12 + 1), paths[i]);
  Settings settings(store);
  Measure m;
  const long rss_before = bench::CurrentRssKb();
  const double cpu_before = CpuMs();
  const Clock::time_point start = Clock::now();
  // What the show window does before the first tick: the settings dialog's start-up reads, the
  // settings, the table.
  (void)ReadSettingsDialogValues(settings);
  ShowSettings show = ReadShowSettings(settings);
  PictureTable table(settings, files, show, {ShowDecodeTargets(show, kScreenWidth, kScreenHeight), 0});
  const Picture* first = table.PictureAt(1, 1);
  m.first_ms = MsSince(start);
  table.WaitAll();
  m.whole_ms = MsSince(start);
  m.cpu_ms = CpuMs() - cpu_before;
  m.held_bytes = static_cast<double>(table.PictureBytes());
  m.threads = table.decode_threads();
  for (int i = 0; i < 48; ++i) m.decoded += table.PictureAt(i / 12 + 1, i % 12 + 1) != nullptr;
  if (first) {
    m.width = first->width;
    m.height = first->height;
  }
  m.rss_growth_kb = static_cast<double>(bench::PeakRssKb() - rss_before);
  return m;
}

Measure BestOf(int runs, const std::function<Measure()>& variant) {
  Measure best = bench::InChild<Measure>(variant);
  for (int i = 1; i < runs; ++i) {
    const Measure m = bench::InChild<Measure>(variant);
    if (m.whole_ms < best.whole_ms) best = m;
  }
  return best;
}

void Print(const char* name, const Measure& m) {
  std::printf("%-33s %8.1f ms %9.1f ms %9.1f ms %9.1f MB %9.1f MB %3d %9dx%-4d %2d/48\n", name,
              m.first_ms, m.whole_ms, m.cpu_ms, m.held_bytes / (1024.0 * 1024.0), m.rss_growth_kb / 1024.0,
              m.threads, m.width, m.height, m.decoded);
}

void Ratios(const char* name, const Measure& base, const Measure& m) {
  std::printf("%s\n  first picture on screen %.1fx sooner (first decoded %.1fx), whole table %.1fx faster, "
              "processor time %.1fx less,\n  pictures held %.1fx smaller, peak RSS growth %.1fx smaller\n",
              name, base.whole_ms / m.first_ms, base.first_ms / m.first_ms, base.whole_ms / m.whole_ms,
              base.cpu_ms / m.cpu_ms, base.held_bytes / m.held_bytes,
              base.rss_growth_kb / std::max(1.0, m.rss_growth_kb));
}

// One set of 48 files: made, measured three ways, removed. True when the goal is met.
bool RunSet(const char* set_name, int grain, int runs) {
  const fs::path folder =
      fs::temp_directory_path() / ("tessmoor-table-bench-" + std::to_string(getpid()) + "-" + set_name);
  const Clock::time_point made = Clock::now();
  const std::vector<std::string> paths = MakeFiles(folder, grain);
  std::uintmax_t file_bytes = 0;
  for (const std::string& p : paths) file_bytes += fs::file_size(p);
  std::printf("== %s: 48 JPEG files of %d x %d, quality 90 (%d distinct), %.2f MB each on average, made in %.1f s\n",
              set_name, kPictureWidth, kPictureHeight, kDistinctPictures,
              file_bytes / 48.0 / (1024.0 * 1024.0), MsSince(made) / 1000.0);

  const Measure base = BestOf(runs, [&] { return Baseline(paths); });
  const Measure s50 = BestOf(runs, [&] { return Table(paths, "50"); });
  const Measure s150 = BestOf(runs, [&] { return Table(paths, "150"); });
  fs::remove_all(folder);

  std::printf("%-33s %11s %12s %12s %12s %12s %3s %14s %5s\n", "variant", "first", "whole table",
              "processor", "pictures", "peak RSS +", "thr", "first picture", "ok");
  Print("full size, sequential (baseline)", base);
  Print("table, scale 50 (fit side 500)", s50);
  Print("table, scale 150 (fit side 1500)", s150);
  Ratios("scale 50 (first-run settings) against the baseline:", base, s50);
  Ratios("scale 150 against the baseline:", base, s150);

  const double speed = base.whole_ms / s50.whole_ms;
  const double memory = base.held_bytes / s50.held_bytes;
  const bool met = speed >= 8.0 && memory >= 20.0;
  // On a machine busy with other work the wall-clock ratio understates what the threads gain; the
  // processor-time ratio is the work saved whatever the load.
  std::printf("goal at the first-run settings (whole table >= 8x faster, >= 20x less memory): %s "
              "(wall clock %.1fx with %d decode threads, processor time %.1fx, memory %.1fx)\n\n",
              met ? "met" : "NOT met", speed, s50.threads, base.cpu_ms / s50.cpu_ms, memory);
  return met;
}

int Main(int argc, char** argv) {
  int runs = 2;
  std::string set = "both";
  for (int i = 1; i + 1 < argc; ++i) {
    if (std::strcmp(argv[i], "--runs") == 0) runs = std::max(1, std::atoi(argv[i + 1]));
    if (std::strcmp(argv[i], "--set") == 0) set = argv[i + 1];
  }
  double load[3] = {0, 0, 0};
  getloadavg(load, 3);
  std::printf("screen %d x %d, %u cores, load average %.1f, best of %d runs per variant\n\n", kScreenWidth,
              kScreenHeight, std::thread::hardware_concurrency(), load[0], runs);
  if (set == "both" || set == "smooth") RunSet("smooth", 0, runs);
  if (set == "both" || set == "grainy") RunSet("grainy", 6, runs);
  return 0;
}

}  // namespace
}  // namespace tessmoor

int main(int argc, char** argv) { return tessmoor::Main(argc, argv); }
