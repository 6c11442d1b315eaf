// The slide show on three monitors (1920 x 1080, 2560 x 1440 and 1080 x 1920) against the show on
// the primary alone, with 48 twelve-megapixel photos (4000 x 3000 JPEG files) at the first-run
// settings (centre mode, 50 %):
//   - decoded picture memory: one decode serves every monitor, at the largest size any monitor
//     draws the picture; the primary-only show decodes at the primary's size;
//   - processor time of one pattern-1 tick on every monitor (the primary's engine and each other
//     monitor's, as their timers fire) against the primary's tick alone. The canvases really draw:
//     a buffer of each monitor's size, cleared and drawn into at every tick, as the show's
//     off-screen copies are.
// Both are measured twice: with the 2560 x 1440 monitor as the primary, and with the 1920 x 1080
// one. A monitor larger than the primary draws its pictures larger than the primary does, so in
// the second layout the every-monitor show holds and draws that much more by itself; the line
// "one decode per monitor" shows what decoding for each monitor apart would hold instead.
//
// Usage: monitors_bench [google-benchmark flags]; the ratios are printed after the runs.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/settings.h"
#include "app/settings_keys.h"
#include "platform/random.h"
#include "show/monitor_shows.h"
#include "show/picture_table.h"
#include "show/show_settings.h"
#include "show/slide_engine.h"
#include "tests/support/fake_monitor_surfaces.h"
#include "tests/support/fakes.h"
#include "tests/support/memory_canvas.h"
#include "tests/support/picture_files.h"

namespace tessmoor {
namespace {

constexpr int kPhotoWidth = 4000;
constexpr int kPhotoHeight = 3000;

struct Layout {
  const char* name;
  std::vector<MonitorArea> monitors;  // the primary first
};

const std::vector<Layout>& Layouts() {
  static const std::vector<Layout> layouts{
      {"primary 2560x1440",
       {{{0, 0, 2560, 1440}, true}, {{-1920, 0, 0, 1080}, false}, {{2560, 0, 3640, 1920}, false}}},
      {"primary 1920x1080",
       {{{0, 0, 1920, 1080}, true}, {{1920, 0, 4480, 1440}, false}, {{4480, 0, 5560, 1920}, false}}},
  };
  return layouts;
}

// The 48 photos, as the show reads them: the settings name them, the file system holds them.
struct Photos {
  testing::MemoryStore store;
  testing::FakeFileSystem files;
  Photos() {
    const std::vector<std::uint8_t> jpeg =
        test::MakeJpeg(kPhotoWidth, kPhotoHeight, test::Gradient(kPhotoWidth, kPhotoHeight), 90);
    for (int b = 1; b <= keys::kBoxCount; ++b) {
      for (int s = 1; s <= keys::kSlotsPerBox; ++s) {
        const std::string path = "C:\\Photos\\IMG_" + std::to_string(b * 100 + s) + ".jpg";
        files.Add(path, jpeg);
        store.Set(keys::ImagePath(b, s), path);
      }
    }
    store.Set(std::string(keys::kPattern), "1");
    store.Set(std::string(keys::kSlideInterval), "1500");
  }
};

Photos& ThePhotos() {
  static Photos photos;
  return photos;
}

// One show: its settings, its table decoded for the monitors it draws on, the primary's engine
// and canvas, and (every monitor) the other monitors' shows on canvases of their own.
struct Show {
  Settings settings{ThePhotos().store};
  ShowSettings show;
  std::unique_ptr<PictureTable> table;
  std::unique_ptr<testing::MemoryCanvas> canvas;
  SplitMixRandom random{1};
  std::unique_ptr<SlideEngine> engine;
  testing::FakeMonitorSurfaces surfaces{testing::FakeMonitorSurfaces::Canvases::kMemory};
  std::unique_ptr<OtherMonitors> others;

  Show(const Layout& layout, bool every_monitor) {
    show = ReadShowSettings(settings);
    show.every_monitor = every_monitor;
    const std::vector<Rect> order = MonitorsToCover(layout.monitors);
    const Rect& primary = order.front();
    const std::vector<Rect> rest(order.begin() + 1, order.end());
    PictureTable::Options options;
    options.targets = ShowDecodeTargetsOver(show, {primary.width(), primary.height()}, rest);
    table = std::make_unique<PictureTable>(settings, ThePhotos().files, show, options);
    table->WaitAll();
    canvas = std::make_unique<testing::MemoryCanvas>(primary.width(), primary.height());
    engine = std::make_unique<SlideEngine>(
        SlideEngine::Parts{show, settings, *table, *canvas, random});
    if (every_monitor) {
      others = std::make_unique<OtherMonitors>(
          OtherMonitors::Parts{show, settings, *table, surfaces, 2});
      others->Cover(layout.monitors);
    }
  }

  // One tick of every engine of the show, as their timers fire.
  void Tick() {
    engine->Tick();
    for (testing::FakeMonitorSurface* s : surfaces.open()) s->Fire();
  }
};

std::string Name(const Layout& layout, bool every_monitor) {
  return std::string(every_monitor ? "every monitor, " : "primary only, ") + layout.name;
}

// Keeps each run's processor time per iteration, by name, as it reports it.
class Collect : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs)
      if (run.run_type == Run::RT_Iteration) cpu_us[run.benchmark_name()] = run.GetAdjustedCPUTime();
    ConsoleReporter::ReportRuns(runs);
  }
  std::map<std::string, double> cpu_us;  // the unit every benchmark here reports in
};

// What a decode for each monitor apart would hold: each monitor's pictures at its own size.
double SeparateDecodesBytes(const Layout& layout) {
  double bytes = 0;
  for (const Rect& m : MonitorsToCover(layout.monitors)) {
    Settings settings{ThePhotos().store};
    ShowSettings show = ReadShowSettings(settings);
    PictureTable table(settings, ThePhotos().files, show, {ShowDecodeTargets(show, m.width(), m.height()), 0});
    table.WaitAll();
    bytes += static_cast<double>(table.PictureBytes());
  }
  return bytes;
}

int Main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  std::printf("48 photos of %d x %d, centre mode at 50 %%; monitors 2560x1440, 1920x1080, 1080x1920\n\n",
              kPhotoWidth, kPhotoHeight);
  std::map<std::string, std::unique_ptr<Show>> shows;
  for (const Layout& layout : Layouts()) {
    for (bool every : {false, true}) {
      const std::string name = Name(layout, every);
      shows[name] = std::make_unique<Show>(layout, every);
      Show* show = shows[name].get();
      benchmark::RegisterBenchmark(name.c_str(), [show](benchmark::State& state) {
        for (auto _ : state) show->Tick();
      })->Unit(benchmark::kMicrosecond);
    }
  }
  Collect reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);

  std::printf("\n");
  bool within = true;
  for (const Layout& layout : Layouts()) {
    const Show& alone = *shows[Name(layout, false)];
    const Show& every = *shows[Name(layout, true)];
    const double memory = static_cast<double>(every.table->PictureBytes()) / alone.table->PictureBytes();
    const double alone_us = reporter.cpu_us[Name(layout, false)], every_us = reporter.cpu_us[Name(layout, true)];
    const double tick = alone_us > 0 ? every_us / alone_us : 0;
    const double separate = SeparateDecodesBytes(layout);
    std::printf("%s:\n", layout.name);
    std::printf("  decoded pictures: every monitor %.1f MB, primary only %.1f MB: ratio %.2f (bound 1.2)\n",
                every.table->PictureBytes() / 1048576.0, alone.table->PictureBytes() / 1048576.0, memory);
    std::printf("  one decode per monitor would hold %.1f MB (%.2f times the primary-only show)\n",
                separate / 1048576.0, separate / alone.table->PictureBytes());
    std::printf("  one tick: every monitor %.0f us, primary only %.0f us of processor time: ratio %.2f (bound 3.0)\n",
                every_us, alone_us, tick);
    if (&layout == &Layouts().front()) within = memory <= 1.2 && tick <= 3.0;
  }
  std::printf("\nwith the largest monitor as the primary: %s\n", within ? "within both bounds" : "NOT within the bounds");
  benchmark::Shutdown();
  return 0;
}

}  // namespace
}  // namespace tessmoor

int main(int argc, char** argv) { return tessmoor::Main(argc, argv); }
