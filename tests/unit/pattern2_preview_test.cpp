#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/settings_keys.h"
#include "pattern2/preview_panels.h"
#include "pattern2/preview_settings.h"
#include "tests/support/fake_windows.h"
#include "tests/support/fakes.h"

namespace tessmoor::pattern2 {
namespace {

using tessmoor::testing::FakeFileSystem;
using tessmoor::testing::MemoryStore;

const ShowArea kForm{{152, 112}, {152, 112}};

// Preview settings as ReadPreviewSettings makes them for pattern "2" from the stored mode and
// scale texts.
PreviewSettings Preview(const std::string& mode, const std::string& scale) {
  PreviewSettings s;
  s.pattern = ShowPattern::kPattern2;
  for (int n = 0; n < 4; ++n) {
    s.windows.motion_mode[n] = MotionOf(mode);
    s.windows.scale[n] = tessmoor::testing::StoredScale(n + 1, scale);
    s.timers[n].interval_ms = 50;
  }
  return s;
}

// Panel `n`'s size at its first placement and at each of the next `restarts` new runs.
std::vector<Size> SizesAtEachRun(PreviewPanels& panels, int n, int restarts, const ShowArea& form) {
  std::vector<Size> sizes;
  (void)panels.Tick(n, form);
  sizes.push_back(panels.size(n));
  for (int t = 0; sizes.size() < static_cast<std::size_t>(restarts) + 1 && t < 100000; ++t) {
    (void)panels.Tick(n, form);
    if (panels.position(n) == Position{0, 0}) sizes.push_back(panels.size(n));
  }
  return sizes;
}

TEST(PreviewPanels, BeforeTheirFirstTickPanelsKeepTheirDesignedBounds) {
  PreviewPanels panels(Preview("1", "50"));
  const Position positions[] = {{112, 40}, {496, 40}, {112, 296}, {464, 288}};
  for (int n = 1; n <= 4; ++n) {
    EXPECT_EQ(panels.position(n), positions[n - 1]);
    EXPECT_EQ(panels.size(n), (Size{161, 121}));
    EXPECT_FALSE(panels.placed(n));
  }
}

TEST(PreviewPanels, DesignsAreRedLimeYellowBlueCaptionedWithTheirNumber) {
  EXPECT_EQ(kPanelDesigns[0].colour, (Rgb{255, 0, 0}));
  EXPECT_EQ(kPanelDesigns[1].colour, (Rgb{0, 255, 0}));
  EXPECT_EQ(kPanelDesigns[2].colour, (Rgb{255, 255, 0}));
  EXPECT_EQ(kPanelDesigns[3].colour, (Rgb{0, 0, 255}));
  for (int n = 1; n <= 4; ++n)
    EXPECT_EQ(kPanelDesigns[n - 1].caption, "No" + std::to_string(n));
}

TEST(PreviewPanels, FirstTickResizesPlacesAndMovesOnePixel) {
  PreviewPanels panels(Preview("1", "50"));
  EXPECT_EQ(panels.Tick(1, kForm), TimerAction::kKeepRunning);
  EXPECT_EQ(panels.size(1), (Size{25, 18}));
  EXPECT_EQ(panels.position(1), (Position{1, 1}));
  EXPECT_TRUE(panels.placed(1));
  // The other panels wait for their own timers.
  EXPECT_EQ(panels.position(2), (Position{496, 40}));
}

TEST(PreviewPanels, ModeOneAtFiftyPercentRestartsAfterTopPassesTheFormAndSettlesAt25By17) {
  PreviewPanels panels(Preview("1", "50"));
  (void)panels.Tick(1, kForm);
  for (int t = 2; t <= 112; ++t) (void)panels.Tick(1, kForm);
  // Top 112 is the form's height: the run goes on.
  EXPECT_EQ(panels.position(1), (Position{112, 112}));
  EXPECT_EQ(panels.size(1), (Size{25, 18}));
  (void)panels.Tick(1, kForm);
  EXPECT_EQ(panels.position(1), (Position{0, 0}));
  EXPECT_EQ(panels.size(1), (Size{25, 17}));
  (void)panels.Tick(1, kForm);
  EXPECT_EQ(panels.position(1), (Position{1, 1}));

  PreviewPanels again(Preview("1", "50"));
  EXPECT_EQ(SizesAtEachRun(again, 1, 4, kForm),
            (std::vector<Size>{{25, 18}, {25, 17}, {25, 17}, {25, 17}, {25, 17}}));
}

TEST(PreviewPanels, ModeOneAtOneHundredPercentFlattensAtEachRunUntil50By34) {
  PreviewPanels panels(Preview("1", "100"));
  EXPECT_EQ(SizesAtEachRun(panels, 1, 5, kForm),
            (std::vector<Size>{{50, 37}, {50, 36}, {50, 35}, {50, 34}, {50, 34}, {50, 34}}));
}

TEST(PreviewPanels, ModeOneAtTwoPercentIsOneByZeroForGood) {
  PreviewPanels panels(Preview("1", "2"));
  EXPECT_EQ(SizesAtEachRun(panels, 1, 3, kForm),
            (std::vector<Size>{{1, 0}, {1, 0}, {1, 0}, {1, 0}}));
}

TEST(PreviewPanels, PanelOnAFormUnderOneHundredPixelsHighIsZeroByZeroAndKeepsRunning) {
  PreviewPanels panels(Preview("1", "50"));
  const ShowArea small{{152, 99}, {152, 99}};
  EXPECT_EQ(SizesAtEachRun(panels, 1, 3, small),
            (std::vector<Size>{{0, 0}, {0, 0}, {0, 0}, {0, 0}}));
  PreviewPanels bouncing(Preview("5", "50"));
  for (int t = 0; t < 1000; ++t) ASSERT_EQ(bouncing.Tick(4, small), TimerAction::kKeepRunning);
  EXPECT_EQ(bouncing.size(4), (Size{0, 0}));
}

TEST(PreviewPanels, ScaleThatIsNoNumberCountsAsFifty) {
  PreviewPanels panels(Preview("1", "big"));
  (void)panels.Tick(1, kForm);
  EXPECT_EQ(panels.size(1), (Size{25, 18}));
}

TEST(PreviewPanels, StoreWithoutPatternTwoKeysStartsTheFourPanelsInTheFourCorners) {
  MemoryStore store;
  store.Set(std::string(keys::kPattern), "2");
  Settings settings(store);
  PreviewPanels panels(ReadPreviewSettings(settings));
  for (int n = 1; n <= 4; ++n) (void)panels.Tick(n, kForm);
  // 25 x 18 panels: the corners are 0 or 127 across and 0 or 94 down, then one pixel inwards.
  EXPECT_EQ(panels.position(1), (Position{1, 1}));
  EXPECT_EQ(panels.position(2), (Position{126, 1}));
  EXPECT_EQ(panels.position(3), (Position{1, 93}));
  EXPECT_EQ(panels.position(4), (Position{126, 93}));
}

TEST(PreviewPanels, BottomRightRunEndsWhenTopPassesAboveTheForm) {
  PreviewPanels panels(Preview("4", "50"));
  (void)panels.Tick(4, kForm);
  for (int t = 2; t <= 94; ++t) (void)panels.Tick(4, kForm);
  EXPECT_EQ(panels.position(4), (Position{33, 0}));
  (void)panels.Tick(4, kForm);
  EXPECT_EQ(panels.position(4), (Position{127, 95}));
  EXPECT_EQ(panels.size(4), (Size{25, 17}));
}

TEST(PreviewPanels, OtherModeTextResizesAtTheFirstTickAndKeepsTheDesignedPosition) {
  PreviewPanels panels(Preview("7", "50"));
  for (int t = 0; t < 500; ++t) ASSERT_EQ(panels.Tick(3, kForm), TimerAction::kKeepRunning);
  EXPECT_EQ(panels.position(3), (Position{112, 296}));
  EXPECT_EQ(panels.size(3), (Size{25, 18}));
}

TEST(PreviewPanels, BounceTurnsAtBottomAndRightAndResizesInPlaceAtTopAndLeft) {
  PreviewPanels panels(Preview("5", "50"));
  struct Event {
    int tick;
    Position after;
    Size size;
    bool right, down;
  };
  // 25 x 18 from the top-left corner of 152 x 112, one pixel a tick.
  const Event events[] = {
      {95, {95, 95}, {25, 18}, true, true},       // 94 + 18 = 112: touching, no turn
      {96, {96, 94}, {25, 18}, true, false},      // 95 + 18 > 112
      {129, {127, 61}, {25, 18}, false, false},   // 128 + 25 > 152
      {192, {64, 0}, {25, 17}, false, true},      // Top -1: resized where it stands
      {258, {0, 66}, {25, 17}, true, true},       // Left -1: resized again, 25 x 17 for good
  };
  int tick = 0;
  for (const Event& e : events) {
    while (tick < e.tick) {
      ASSERT_EQ(panels.Tick(1, kForm), TimerAction::kKeepRunning);
      ++tick;
    }
    EXPECT_EQ(panels.position(1), e.after) << "tick " << e.tick;
    EXPECT_EQ(panels.size(1), e.size) << "tick " << e.tick;
    EXPECT_EQ(panels.directions(1).right, e.right) << "tick " << e.tick;
    EXPECT_EQ(panels.directions(1).down, e.down) << "tick " << e.tick;
  }
}

TEST(PreviewPanels, BouncePanelTwoTurnsLeftAtItsSecondTick) {
  PreviewPanels panels(Preview("5", "50"));
  (void)panels.Tick(2, kForm);
  EXPECT_EQ(panels.position(2), (Position{128, 1}));
  (void)panels.Tick(2, kForm);
  EXPECT_EQ(panels.position(2), (Position{127, 2}));
  EXPECT_FALSE(panels.directions(2).right);
}

// The settings the preview reads.

std::vector<std::string> PatternTwoKeys() {
  std::vector<std::string> k;
  for (int n = 1; n <= 4; ++n) k.push_back(keys::MotionMode(n));
  for (int n = 1; n <= 4; ++n) k.push_back(keys::WindowSpeed(n));
  for (int n = 1; n <= 4; ++n) k.push_back(keys::WindowScale(n));
  for (int n = 1; n <= 4; ++n) k.push_back(keys::Pattern2BoxUse(n));
  return k;
}

TEST(PreviewSettings, WithoutPatternTwoKeysWritesTheShowsFirstRunValuesInOrder) {
  MemoryStore store;
  store.Set(std::string(keys::kPattern), "2");
  Settings settings(store);
  const PreviewSettings s = ReadPreviewSettings(settings);
  EXPECT_EQ(store.WrittenKeys(), PatternTwoKeys());
  // Each window keeps its own motion mode, the same as a show that starts first would write.
  EXPECT_EQ(s.windows.motion_mode,
            (std::array<Motion, 4>{Motion::kTopLeft, Motion::kTopRight, Motion::kBottomLeft, Motion::kBottomRight}));
  for (int n = 1; n <= 4; ++n) {
    EXPECT_EQ(store.Get(keys::MotionMode(n)), std::to_string(n));
    EXPECT_EQ(s.timers[n - 1].interval_ms, 50);
  }
  EXPECT_EQ(s.windows.scale, (std::array<int, 4>{50, 50, 50, 50}));
  EXPECT_EQ(s.windows.use, (std::array<bool, 4>{true, true, true, true}));
}

TEST(PreviewSettings, MissingPatternKeyMeansPatternTwoHere) {
  MemoryStore store;
  Settings settings(store);
  const PreviewSettings s = ReadPreviewSettings(settings);
  EXPECT_EQ(s.pattern, ShowPattern::kPattern2);
  ASSERT_FALSE(store.writes().empty());
  EXPECT_EQ(store.writes().front(), (std::pair<std::string, std::string>{"ScrActionRegSelectNoFlag", "2"}));
  EXPECT_EQ(store.writes().size(), 17u);
}

TEST(PreviewSettings, StoredValuesAreReadAsTheyStandAndStayStored) {
  MemoryStore store;
  store.Set(std::string(keys::kPattern), "2");
  store.Set(keys::MotionMode(1), "5");
  store.Set(keys::WindowSpeed(2), "120");
  store.Set(keys::WindowScale(3), "abc");
  Settings settings(store);
  const PreviewSettings s = ReadPreviewSettings(settings);
  EXPECT_EQ(s.windows.motion_mode[0], Motion::kBounce);
  EXPECT_EQ(s.timers[1].interval_ms, 120);
  EXPECT_EQ(s.windows.scale[2], 50);  // a damaged scale reads as its first-run value
  EXPECT_EQ(store.Get(keys::WindowScale(3)), "abc");
}

TEST(PreviewSettings, DamagedSpeedRunsAtFiftyAndStaysStored) {
  for (const char* bad : {"fast", "", "10ms", "1e3"}) {
    MemoryStore store;
    store.Set(std::string(keys::kPattern), "2");
    store.Set(keys::WindowSpeed(4), bad);
    Settings settings(store);
    EXPECT_EQ(ReadPreviewSettings(settings).timers[3].interval_ms, 50) << bad;
    EXPECT_EQ(store.Get(keys::WindowSpeed(4)), bad);
  }
}

TEST(PreviewSettings, SpeedZeroStopsThePanel) {
  MemoryStore store;
  store.Set(std::string(keys::kPattern), "2");
  store.Set(keys::WindowSpeed(1), "0");
  Settings settings(store);
  EXPECT_FALSE(ReadPreviewSettings(settings).timers[0].running());
}

TEST(PreviewSettings, BoxThreeSwitchedOffKeepsPanelThreeAtItsDesignedBoundsWhileTheOthersMove) {
  MemoryStore store;
  store.Set(std::string(keys::kPattern), "2");
  store.Set(keys::Pattern2BoxUse(3), "0");
  Settings settings(store);
  const PreviewSettings s = ReadPreviewSettings(settings);
  EXPECT_FALSE(s.timers[2].running());
  EXPECT_EQ(s.timers[0].interval_ms, 50);
  EXPECT_EQ(s.timers[3].interval_ms, 50);

  PreviewPanels panels(s);
  for (int t = 0; t < 10; ++t) {
    for (int n = 1; n <= 4; ++n) {
      const TimerAction action = panels.Tick(n, kForm);
      EXPECT_EQ(action, n == 3 ? TimerAction::kStop : TimerAction::kKeepRunning);
    }
  }
  EXPECT_EQ(panels.position(3), (Position{112, 296}));
  EXPECT_EQ(panels.size(3), (Size{161, 121}));
  EXPECT_FALSE(panels.placed(3));
  EXPECT_EQ(panels.position(1), (Position{10, 10}));
  EXPECT_TRUE(panels.placed(4));
}

TEST(PreviewSettings, OtherPatternReadsNothingMoreAndLeavesTheDesignedTimers) {
  MemoryStore store;
  store.Set(std::string(keys::kPattern), "1");
  Settings settings(store);
  const PreviewSettings s = ReadPreviewSettings(settings);
  EXPECT_TRUE(store.writes().empty());
  EXPECT_EQ(s.timers[0].interval_ms, 100);
  EXPECT_EQ(s.timers[1].interval_ms, 1500);
  EXPECT_EQ(s.timers[2].interval_ms, 1000);
  EXPECT_EQ(s.timers[3].interval_ms, 1000);
  // With no motion mode read the panels are resized in place and stay.
  PreviewPanels panels(s);
  (void)panels.Tick(2, kForm);
  EXPECT_EQ(panels.position(2), (Position{496, 40}));
  EXPECT_EQ(panels.size(2), (Size{25, 18}));
}

TEST(PreviewStart, PreviewOfPatternTwoWritesTheDialogsThenTheMusicThenThePatternTwoDefaults) {
  MemoryStore store;
  store.Set(std::string(keys::kPattern), "2");
  FakeFileSystem files;
  Settings settings(store);
  const PreviewStart start = StartPreviewForm(settings, files);
  const PreviewSettings preview = ReadPreviewSettings(settings);

  std::vector<std::string> expected = {std::string(keys::kSetupX), std::string(keys::kSetupY)};
  for (int b = 1; b <= 4; ++b)
    for (int s = 1; s <= 12; ++s) expected.push_back(keys::ImagePath(b, s));
  expected.push_back(std::string(keys::kMusicSwitch));
  for (std::string_view k : {keys::kEveryMonitor, keys::kFolderSubfolders, keys::kFolderOrder})
    expected.emplace_back(k);
  for (int m = 1; m <= 5; ++m) {
    expected.push_back(keys::MusicPath(m));
    expected.push_back(keys::MusicPlayFlag(m));
  }
  for (const std::string& k : PatternTwoKeys()) expected.push_back(k);
  EXPECT_EQ(store.WrittenKeys(), expected);
  EXPECT_EQ(PatternOf(start.start_up.settings_dialog.pattern), ShowPattern::kPattern2);
  EXPECT_FALSE(start.music.music_on);
  EXPECT_EQ(preview.pattern, ShowPattern::kPattern2);
}

TEST(PreviewStart, SecondStartOnTheSameStoreWritesNothing) {
  MemoryStore store;
  store.Set(std::string(keys::kPattern), "2");
  FakeFileSystem files;
  Settings settings(store);
  (void)StartPreviewForm(settings, files);
  (void)ReadPreviewSettings(settings);
  store.ClearWrites();
  (void)StartPreviewForm(settings, files);
  (void)ReadPreviewSettings(settings);
  EXPECT_TRUE(store.writes().empty());
}

}  // namespace
}  // namespace tessmoor::pattern2
