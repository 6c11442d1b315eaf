// A stored number that is not a decimal integer never keeps the show from starting or running:
// every numeric key the show reads is damaged in turn and the show's whole start-up and a run of
// ticks go through with that key's first-run value.
#include <gtest/gtest.h>

#include "app/settings_dialog_values.h"
#include "app/settings_keys.h"
#include "pattern2/window_motion.h"
#include "show/picture_table.h"
#include "show/show_settings.h"
#include "show/slide_engine.h"
#include "tests/support/fake_canvas.h"
#include "tests/support/fake_windows.h"
#include "tests/support/fakes.h"
#include "tests/support/picture_files.h"

namespace tessmoor {
namespace {

using testing::FakeFileSystem;
using testing::MemoryStore;
using testing::FakeCanvas;

std::vector<std::string> NumericKeysTheShowReads() {
  std::vector<std::string> keys;
  for (const keys::KeyDef& k : keys::AllKeys())
    if (k.type == keys::KeyType::kNumber && k.name.rfind("ScreenDetail", 0) != 0) keys.push_back(k.name);
  return keys;
}

struct Damage {
  std::string key;
  std::string text;
};

class DamagedNumber : public ::testing::TestWithParam<Damage> {};

TEST_P(DamagedNumber, ShowStartsAndRunsWithTheFirstRunValue) {
  const Damage& d = GetParam();
  const bool pattern2 = d.key.find("No2Form") != std::string::npos;
  MemoryStore store;
  FakeFileSystem files;
  store.Set(std::string(keys::kPattern), pattern2 ? "2" : "1");
  store.Set(d.key, d.text);
  files.Add("C:\\p\\a.jpg", test::MakeJpeg(800, 600, test::Solid(test::kRed), 80));
  store.Set(keys::ImagePath(1, 1), "C:\\p\\a.jpg");
  Settings settings(store);

  const SettingsDialogValues hidden = ReadSettingsDialogValues(settings);
  ShowSettings show = ReadShowSettings(settings);
  PictureTable::Options options;
  options.targets = ShowDecodeTargets(show, 1024, 768);
  options.threads = 1;
  PictureTable table(settings, files, show, options);
  table.WaitAll();
  FakeCanvas canvas(1024, 768);
  SplitMixRandom random(7);

  if (pattern2) {
    EXPECT_EQ(show.window_timers[0].interval_ms, 50);
    testing::FakePictureSource source;
    source.Add(1, 1, 800, 600);
    testing::FakePictureWindow port(source);
    pattern2::WindowMotion motion(1, show.motion_mode[0], show.window_scale[0], source, port);
    for (int i = 0; i < 30; ++i) ASSERT_NO_THROW((void)motion.Tick({{1024, 768}, {1024, 768}}));
    // Scale 50 of 1024 x 768: fit side 350, the window 175 x 131.
    EXPECT_EQ(port.Width(), 175);
    EXPECT_EQ(port.Height(), 131);
  } else {
    SlideEngine engine({show, settings, table, canvas, random});
    int drawn = 0;
    for (int i = 0; i < 30; ++i) {
      SlideEngine::SlideTick tick;
      ASSERT_NO_THROW(tick = engine.Tick());
      EXPECT_GT(tick.interval_ms, 0);
    }
    for (const auto& call : canvas.calls())
      if (!call.clear) {
        ++drawn;
        // Scale 50: the 800 x 600 picture is fitted to 350 x 262 and centred.
        EXPECT_EQ(call.rect, (Rect{337, 253, 687, 515}));
      }
    EXPECT_GT(drawn, 0);
    EXPECT_EQ(engine.slide_interval_ms(), 1500);
  }
  EXPECT_EQ(hidden.position.x, 100);
  EXPECT_EQ(store.Get(d.key), d.text) << "the damaged text must stay until a dialog saves";
}

std::vector<Damage> AllDamage() {
  std::vector<Damage> cases;
  for (const std::string& key : NumericKeysTheShowReads())
    for (const char* text : {"abc", "", "1.5", "99999999999"}) cases.push_back({key, text});
  return cases;
}

INSTANTIATE_TEST_SUITE_P(EveryNumericKey, DamagedNumber, ::testing::ValuesIn(AllDamage()),
                         [](const ::testing::TestParamInfo<Damage>& info) {
                           std::string name = info.param.key + "_" + std::to_string(info.index % 4);
                           return name;
                         });

}  // namespace
}  // namespace tessmoor
