// Library size: one folder slot of 10,000 pictures against one of 10, in one run.
//
// For each, the time from the show window (the start of the show's set-up: its settings, the
// picture table) to the slot's first picture ready to draw, and the peak resident memory of a
// child process that does only that. The goal: at most 1.2 times the time and 1.1 times the
// memory for 10,000 pictures. Against a baseline that lists the folder and decodes every picture
// before showing one, the same numbers; the baseline is run on the first 200 pictures of the large
// folder and its time and pictures scaled to the whole folder (all of them at once would hold
// several gigabytes).
//
// The folders are real folders on the disk, listed through the standard library. Every picture is
// a hard link to one grainy 4000 x 3000 JPEG of the size a phone writes: the listing costs what
// 10,000 directory entries cost, the first picture what a photo costs, without 20 GB on the disk.
// Pictures are fitted at the first-run scale (50 %) on 1920 x 1080: decoded at most 500 x 500.
//
// Results (RelWithDebInfo, the shared 2-core development machine, best of 5):
//   see the README, "A whole library"; the numbers of the last run are written below by hand.
//
// Usage: library_bench [--runs N] [google-benchmark flags]
#include <atomic>
#include <filesystem>
#include <thread>

#include <benchmark/benchmark.h>

#include "app/extended_settings.h"
#include "app/settings_keys.h"
#include "bench/alloc_counter.h"
#include "bench/bench_child.h"
#include "platform/text.h"
#include "show/folder_order.h"
#include "show/folder_pictures.h"
#include "show/picture_table.h"
#include "tests/support/fakes.h"
#include "tests/support/posix_files.h"

namespace tessmoor {
namespace {

namespace fs = std::filesystem;
using bench::Clock;
using bench::MsSince;

constexpr int kSmall = 10;
constexpr int kLarge = 10'000;
constexpr int kBaselineSample = 200;
constexpr double kMb = 1024.0 * 1024.0;

struct Measure {
  double first_ms = 0;     // the window to the first picture ready to draw
  double peak_mb = 0;      // the most the variant held allocated at once
  double peak_rss_mb = 0;  // the child's peak resident set
  double held_mb = 0;      // decoded pictures held when the first is ready
};

fs::path g_root;
bench::Results<Measure> g_results;

void Register(const std::string& name, std::function<Measure()> variant, int run) {
  bench::RegisterRun(g_results, name, std::move(variant), run);
}

std::string FolderOf(int pictures) { return (g_root / ("library" + std::to_string(pictures))).string(); }

// What a show leaves in the slot's FolderPlace key for the next one.
struct Kept {
  char text[4096] = {};
};

std::unique_ptr<PictureTable> StartShow(Settings& settings, FileSystem& files, ShowSettings& show) {
  PicturePipeline pipeline;
  pipeline.folder_wait = std::chrono::seconds(60);
  (void)ReadStartUpValues(settings);
  show = ReadShowSettings(settings);
  return std::make_unique<PictureTable>(settings, files, show,
                                        PictureTable::Options{ShowDecodeTargets(show, 1920, 1080), 0}, pipeline);
}

void PutFolder(testing::MemoryStore& store, int pictures, const char* order, const char* kept) {
  store.Set(std::string(keys::kFolderOrder), order);
  store.Set(keys::ImagePath(1, 1), FolderOf(pictures));
  if (kept != nullptr) store.Set(keys::FolderPlace(1, 1), kept);
}

// A first show that shows one picture and learns the next: what the slot keeps after it.
Kept ShowOnce(int pictures, const char* order) {
  testing::PosixFileSystem files;
  testing::MemoryStore store;
  PutFolder(store, pictures, order, nullptr);
  Settings settings(store);
  ShowSettings show;
  std::unique_ptr<PictureTable> table = StartShow(settings, files, show);
  table->Take(1, 1);
  table->WaitAll();
  table->Collect();
  Kept kept;
  std::snprintf(kept.text, sizeof kept.text, "%s", store.Get(keys::FolderPlace(1, 1)).value_or("").c_str());
  return kept;
}

// A show with one folder slot, order "1" (name) or "2" (shuffled): the first after the folder was
// chosen (`kept` null), or one after another, which starts on the next picture the last kept. The
// time is taken when the first picture is ready; the memory once the show has taken it, listed
// the folder and decoded the next.
Measure FolderShow(int pictures, const char* order, const char* kept) {
  testing::PosixFileSystem files;
  testing::MemoryStore store;
  PutFolder(store, pictures, order, kept);
  Settings settings(store);
  Measure m;
  const std::int64_t base = bench::StartAllocationPeak();
  const Clock::time_point start = Clock::now();
  ShowSettings show;
  std::unique_ptr<PictureTable> table = StartShow(settings, files, show);
  if (table->PictureAt(1, 1) == nullptr) {
    std::fprintf(stderr, "no first picture in %s\n", FolderOf(pictures).c_str());
    std::exit(1);
  }
  m.first_ms = MsSince(start);
  m.held_mb = static_cast<double>(table->PictureBytes()) / kMb;
  table->Take(1, 1);
  table->WaitAll();
  m.peak_mb = static_cast<double>(bench::AllocationPeak() - base) / kMb;
  m.peak_rss_mb = static_cast<double>(bench::PeakRssKb()) / 1024.0;
  return m;
}

// Lists the folder and decodes its pictures on every core, all before the first is shown; the
// time and the pictures of the part decoded are scaled to the whole folder.
Measure ListAndDecodeAll(int pictures) {
  testing::PosixFileSystem files;
  const BuiltInPictureDecoder decoder;
  Measure m;
  const std::int64_t base = bench::StartAllocationPeak();
  const Clock::time_point start = Clock::now();
  const std::string folder = FolderOf(pictures);
  const FolderListing listing(*ListFolderPictures(files, folder, true, decoder));
  const double listed_ms = MsSince(start);
  const std::size_t count = std::min<std::size_t>(listing.size(), kBaselineSample);
  std::vector<Picture> decoded(count);
  std::atomic<std::size_t> next{0};
  std::vector<std::thread> threads;
  for (unsigned t = 0; t < std::max(1u, std::thread::hardware_concurrency()); ++t) {
    threads.emplace_back([&] {
      for (std::size_t i; (i = next++) < count;) {
        const auto bytes = files.ReadFile(JoinPath(folder, listing[i]), DecodeQueue::kMaxFileBytes);
        if (bytes) decoded[i] = decoder.Decode(*bytes, PictureExtension(listing[i]), {500, 500}).picture;
      }
    });
  }
  for (std::thread& t : threads) t.join();
  const double scale = static_cast<double>(listing.size()) / static_cast<double>(count);
  m.first_ms = listed_ms + (MsSince(start) - listed_ms) * scale;
  double held = 0;
  for (const Picture& p : decoded) held += static_cast<double>(p.pixels.capacity());
  m.held_mb = held * scale / kMb;
  const double unheld = m.held_mb - held / kMb;  // the pictures not decoded here
  m.peak_mb = static_cast<double>(bench::AllocationPeak() - base) / kMb + unheld;
  m.peak_rss_mb = static_cast<double>(bench::PeakRssKb()) / 1024.0 + unheld;
  return m;
}


void MakeLibrary() {
  g_root = fs::temp_directory_path() / ("tessmoor-library-bench-" + std::to_string(getpid()));
  fs::create_directories(g_root);
  const fs::path photo = g_root / "photo.jpg";
  test::WriteFile(photo, test::MakeJpeg(4000, 3000, bench::Grainy(4000, 3000, 1, 6), 90));
  bool linked = true;
  for (int pictures : {kSmall, kLarge}) {
    fs::create_directories(FolderOf(pictures));
    for (int i = 1; i <= pictures; ++i) {
      char name[32];
      std::snprintf(name, sizeof name, "photo%05d.jpg", i);
      std::error_code error;
      fs::create_hard_link(photo, fs::path(FolderOf(pictures)) / name, error);
      if (error) {
        linked = false;
        fs::copy_file(photo, fs::path(FolderOf(pictures)) / name);
      }
    }
  }
  std::printf("photo: 4000 x 3000 JPEG of %.2f MB; folders of %d and %d pictures%s\n",
              static_cast<double>(fs::file_size(photo)) / kMb, kSmall, kLarge, linked ? " (hard links)" : " (copies)");
}

void PrintRatios() {
  auto row = [](const char* label, const Measure& m) {
    std::printf("  %-44s %9.1f ms %8.2f MB %8.1f MB %9.2f MB\n", label, m.first_ms, m.peak_mb, m.peak_rss_mb,
                m.held_mb);
  };
  std::printf("\n  %-44s %12s %11s %11s %12s\n", "best of each", "first", "peak", "peak RSS", "pictures");
  for (const char* show : {"first_show", "later_show"}) {
    for (const char* order : {"name", "shuffled"}) {
      const std::string name = std::string(show) + "_" + order;
      const Measure& small = g_results[name + "/10"];
      const Measure& large = g_results[name + "/10000"];
      row((name + ", 10 pictures").c_str(), small);
      row((name + ", 10,000 pictures").c_str(), large);
      std::printf("  %s, 10,000 against 10: time %.2f (goal <= 1.2), peak memory %.2f (goal <= 1.1)\n", name.c_str(),
                  large.first_ms / small.first_ms, large.peak_mb / small.peak_mb);
    }
  }
  const Measure& base_small = g_results["list_and_decode_all/10"];
  const Measure& base_large = g_results["list_and_decode_all/10000"];
  const Measure& large = g_results["first_show_shuffled/10000"];
  row("baseline, list and decode all, 10", base_small);
  row("baseline, list and decode all, 10,000 (scaled)", base_large);
  std::printf("  baseline 10,000 against 10: time %.1f, pictures held %.0f\n", base_large.first_ms / base_small.first_ms,
              base_large.held_mb / base_small.held_mb);
  std::printf("  folder slot against the baseline, 10,000 pictures: first picture %.0fx sooner, %.0fx less memory "
              "held by pictures, peak memory %.1fx less\n",
              base_large.first_ms / large.first_ms, base_large.held_mb / large.held_mb,
              base_large.peak_mb / large.peak_mb);
}

}  // namespace
}  // namespace tessmoor

int main(int argc, char** argv) {
  using namespace tessmoor;
  const int runs = bench::RunsArgument(argc, argv, 5);
  MakeLibrary();
  std::map<std::string, std::string> kept;
  for (const char* order : {"1", "2"})
    for (int pictures : {kSmall, kLarge})
      kept[order + std::to_string(pictures)] = bench::InChild<Kept>([pictures, order] { return ShowOnce(pictures, order); }).text;
  for (int run = 1; run <= runs; ++run) {
    for (bool later : {false, true}) {
      for (const char* order : {"1", "2"}) {
        for (int pictures : {kSmall, kLarge}) {
          const std::string name = std::string(later ? "later_show_" : "first_show_") +
                                   (order[0] == '1' ? "name/" : "shuffled/") + std::to_string(pictures);
          const std::string last = later ? kept[order + std::to_string(pictures)] : "";
          Register(name, [pictures, order, later, last] {
            return FolderShow(pictures, order, later ? last.c_str() : nullptr);
          }, run);
        }
      }
    }
  }
  for (int pictures : {kSmall, kLarge})
    Register("list_and_decode_all/" + std::to_string(pictures), [pictures] { return ListAndDecodeAll(pictures); }, 1);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  PrintRatios();
  benchmark::Shutdown();
  std::filesystem::remove_all(g_root);
  return 0;
}
