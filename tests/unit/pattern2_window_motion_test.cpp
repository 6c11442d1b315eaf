#include "pattern2/window_motion.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "tests/support/fake_windows.h"

namespace tessmoor::pattern2 {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using tessmoor::testing::FakePictureSource;
using tessmoor::testing::FakePictureWindow;

const ShowArea kScreen1024{{1024, 768}, {1024, 768}};
const ShowArea kScreen100{{100, 100}, {100, 100}};

// One picture window with its box: fill `source` first, then call Start.
struct Rig {
  FakePictureSource source;
  FakePictureWindow window{source};
  std::unique_ptr<WindowMotion> motion;

  void Start(int n, const std::string& mode, const std::string& scale = "50") {
    motion = std::make_unique<WindowMotion>(n, MotionOf(mode), tessmoor::testing::StoredScale(n, scale), source,
                                            window);
  }
  TimerAction Tick(const ShowArea& area) { return motion->Tick(area); }
  // Ticks until the window is put up anew at its corner; returns how many ticks that took.
  int TicksToNextCreate(const ShowArea& area, int limit = 10000) {
    const int before = window.creates();
    for (int t = 1; t <= limit; ++t) {
      EXPECT_EQ(Tick(area), TimerAction::kKeepRunning);
      if (window.creates() != before) return t;
    }
    ADD_FAILURE() << "no new window within " << limit << " ticks";
    return limit;
  }
};

TEST(WindowMotion, NothingIsShownBeforeTheFirstTick) {
  Rig rig;
  rig.source.Add(1, 1, 1600, 1200);
  rig.Start(1, "1");
  EXPECT_THAT(rig.window.log(), IsEmpty());
  EXPECT_FALSE(rig.motion->created());
  EXPECT_EQ(rig.motion->picture_index(), 1);
}

TEST(WindowMotion, FirstTickCreatesShowsAndMovesTheWindowInTheSameTick) {
  Rig rig;
  rig.source.Add(1, 1, 1600, 1200);
  rig.Start(1, "1");
  EXPECT_EQ(rig.Tick(kScreen1024), TimerAction::kKeepRunning);
  EXPECT_THAT(rig.window.TakeLog(),
              ElementsAre("Create 175x131 s1", "Position 0,0", "Show", "Position 2,2"));
  EXPECT_TRUE(rig.motion->created());
  EXPECT_EQ(rig.motion->picture_index(), 2);
  rig.Tick(kScreen1024);
  EXPECT_THAT(rig.window.TakeLog(), ElementsAre("Position 4,4"));
}

TEST(WindowMotion, FitWorksOnTheFilesSizeNotOnThePixelsDecoded) {
  Rig rig;
  rig.source.AddScaled(1, 1, 1600, 1200, 350, 262);
  rig.Start(1, "1");
  rig.Tick(kScreen1024);
  EXPECT_EQ(rig.window.log().front(), "Create 175x131 s1");
}

TEST(WindowMotion, FitSideComesFromTheClientSizeAndScaleOfThisWindow) {
  Rig rig;
  rig.source.Add(2, 1, 900, 300);
  rig.Start(2, "1", "30");
  rig.Tick({{1280, 1024}, {1280, 1024}});
  EXPECT_EQ(rig.window.log().front(), "Create 150x49 s1");

  Rig other;
  other.source.Add(1, 1, 1600, 1200);
  other.Start(1, "1");
  // Bounds and client differ only for a window with a frame; the fit takes the client.
  other.Tick({{1024, 768}, {800, 600}});
  EXPECT_EQ(other.window.log().front(), "Create 150x112 s1");
}

TEST(WindowMotion, ScaleThatIsNoNumberCountsAsFifty) {
  for (const char* bad : {"abc", "", "50%"}) {
    Rig rig;
    rig.source.Add(1, 1, 1600, 1200);
    rig.Start(1, "1", bad);
    EXPECT_EQ(rig.Tick(kScreen1024), TimerAction::kKeepRunning) << bad;
    EXPECT_EQ(rig.window.log().front(), "Create 175x131 s1") << bad;
  }
}

struct CornerCase {
  const char* mode;
  Position start;     // for a 175 x 131 window on 1024 x 768
  Position after_one; // after the first tick's move
};

class CornerStartTest : public ::testing::TestWithParam<CornerCase> {};

TEST_P(CornerStartTest, StartsInItsCornerAndMovesTwoPixelsDiagonally) {
  const CornerCase& c = GetParam();
  for (int n = 1; n <= 4; ++n) {  // the corner modes start alike whatever the window
    Rig rig;
    rig.source.Add(n, 1, 1600, 1200);
    rig.Start(n, c.mode);
    rig.Tick(kScreen1024);
    EXPECT_THAT(rig.window.TakeLog(),
                ElementsAre("Create 175x131 s1",
                            "Position " + std::to_string(c.start.left) + "," +
                                std::to_string(c.start.top),
                            "Show",
                            "Position " + std::to_string(c.after_one.left) + "," +
                                std::to_string(c.after_one.top)))
        << "window " << n;
  }
}

INSTANTIATE_TEST_SUITE_P(Modes, CornerStartTest,
                         ::testing::Values(CornerCase{"1", {0, 0}, {2, 2}},
                                           CornerCase{"2", {849, 0}, {847, 2}},
                                           CornerCase{"3", {0, 637}, {2, 635}},
                                           CornerCase{"4", {849, 637}, {847, 635}}));

TEST(WindowMotion, TopLeftRunEndsOnlyWhenTopPassesBelowTheScreen) {
  Rig rig;
  rig.source.Add(1, 1, 100, 100);  // 25 x 25 on a 100 x 100 screen at 50 %
  rig.Start(1, "1");
  for (int t = 1; t <= 50; ++t) rig.Tick(kScreen100);
  // Top 100 is the screen's height: not past it yet, although the window left the screen.
  EXPECT_EQ(rig.window.Top(), 100);
  EXPECT_EQ(rig.window.creates(), 1);
  rig.window.TakeLog();
  rig.Tick(kScreen100);
  EXPECT_THAT(rig.window.TakeLog(), ElementsAre("Position 102,102", "Close", "Create 25x25 s1",
                                                "Position 0,0", "Show"));
  // A restarted window waits at its corner for the next tick.
  rig.Tick(kScreen100);
  EXPECT_THAT(rig.window.TakeLog(), ElementsAre("Position 2,2"));
}

TEST(WindowMotion, TopRightRunMovesLeftAndEndsBelowTheScreen) {
  Rig rig;
  rig.source.Add(2, 1, 100, 100);
  rig.Start(2, "2");
  rig.Tick(kScreen100);
  EXPECT_EQ(rig.window.Left(), 73);
  EXPECT_EQ(rig.TicksToNextCreate(kScreen100), 50);
  EXPECT_EQ(rig.window.Left(), 75);
  EXPECT_EQ(rig.window.Top(), 0);
}

TEST(WindowMotion, BottomLeftRestartsWhenTopReachesMinusOneWhileStillCoveringTheScreen) {
  Rig rig;
  rig.source.Add(3, 1, 1600, 1200);  // 175 x 131
  rig.Start(3, "3");
  rig.Tick(kScreen1024);
  EXPECT_EQ(rig.window.Top(), 635);
  // 637 - 2 t reaches 1 after 318 ticks: still on the screen.
  for (int t = 2; t <= 318; ++t) rig.Tick(kScreen1024);
  EXPECT_EQ(rig.window.Top(), 1);
  EXPECT_EQ(rig.window.creates(), 1);
  rig.window.TakeLog();
  rig.Tick(kScreen1024);
  EXPECT_THAT(rig.window.TakeLog(), ElementsAre("Position 638,-1", "Close", "Create 175x131 s1",
                                                "Position 0,637", "Show"));
}

TEST(WindowMotion, BottomRightRestartCornerTakesTheNewWindowsSize) {
  Rig rig;
  rig.source.Add(4, 1, 1600, 1200);  // 175 x 131
  rig.source.Add(4, 2, 1200, 1600);  // 131 x 175
  rig.Start(4, "4");
  rig.Tick(kScreen1024);
  EXPECT_EQ(rig.window.Left(), 847);
  for (int t = 2; t <= 318; ++t) rig.Tick(kScreen1024);
  rig.window.TakeLog();
  rig.Tick(kScreen1024);
  EXPECT_THAT(rig.window.TakeLog(), ElementsAre("Position 211,-1", "Close", "Create 131x175 s2",
                                                "Position 893,593", "Show"));
}

TEST(WindowMotion, BoxWithSlotsTwoAndFiveShowsTwoThenFiveThenTwoAgain) {
  Rig rig;
  rig.source.Add(1, 2, 100, 100);
  rig.source.Add(1, 5, 100, 100);
  rig.Start(1, "1");
  rig.Tick(kScreen100);
  EXPECT_EQ(rig.window.shown_slot(), 2);
  std::vector<int> shown;
  for (int run = 0; run < 4; ++run) {
    rig.TicksToNextCreate(kScreen100);
    shown.push_back(rig.window.shown_slot());
  }
  EXPECT_EQ(shown, (std::vector<int>{5, 2, 5, 2}));
}

TEST(WindowMotion, SearchSettlesOnTheNextSlotRightAfterTheAdvance) {
  Rig rig;
  rig.source.Add(1, 2, 100, 100);
  rig.source.Add(1, 5, 100, 100);
  rig.Start(1, "1");
  rig.Tick(kScreen100);
  EXPECT_EQ(rig.motion->picture_index(), 3);
  rig.Tick(kScreen100);
  EXPECT_EQ(rig.motion->picture_index(), 5);
}

TEST(WindowMotion, OnlyPictureInSlotTwelveIsFoundAgainAfterTheIndexWrapsToZero) {
  Rig rig;
  rig.source.Add(2, 12, 100, 100);
  rig.Start(2, "1");
  rig.Tick(kScreen100);
  EXPECT_EQ(rig.window.shown_slot(), 12);
  EXPECT_EQ(rig.motion->picture_index(), 0);
  rig.Tick(kScreen100);
  EXPECT_EQ(rig.motion->picture_index(), 12);
  for (int run = 0; run < 3; ++run) {
    rig.TicksToNextCreate(kScreen100);
    EXPECT_EQ(rig.window.shown_slot(), 12);
    EXPECT_EQ(rig.motion->picture_index(), 0);
  }
}

TEST(WindowMotion, ShowsEverySlotOfAFullBoxInOrderAndStartsAgainAtOne) {
  Rig rig;
  for (int s = 1; s <= 12; ++s) rig.source.Add(1, s, 100, 100);
  rig.Start(1, "1");
  rig.Tick(kScreen100);
  std::vector<int> shown{rig.window.shown_slot()};
  for (int run = 0; run < 13; ++run) {
    rig.TicksToNextCreate(kScreen100);
    shown.push_back(rig.window.shown_slot());
  }
  EXPECT_EQ(shown, (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 1, 2}));
}

TEST(WindowMotion, EachWindowShowsOnlyItsOwnBox) {
  Rig rig;
  rig.source.Add(1, 1, 100, 100);
  rig.source.Add(3, 4, 100, 100);
  rig.Start(3, "1");
  rig.Tick(kScreen100);
  EXPECT_EQ(rig.window.shown_slot(), 4);
  for (const auto& request : rig.source.requests()) EXPECT_EQ(request.first, 3);
}

struct StillCase {
  int window;
  Position designed;
};

class StillModeTest : public ::testing::TestWithParam<StillCase> {};

TEST_P(StillModeTest, OtherModeTextShowsTheWindowAtItsDesignedPositionForGood) {
  const StillCase& c = GetParam();
  for (const char* mode : {"0", "6", "", " 1", "1 ", "non", "05"}) {
    Rig rig;
    rig.source.Add(c.window, 1, 1600, 1200);
    rig.source.Add(c.window, 2, 1200, 1600);
    rig.Start(c.window, mode);
    rig.Tick(kScreen1024);
    EXPECT_THAT(rig.window.TakeLog(),
                ElementsAre("Create 175x131 s1",
                            "Position " + std::to_string(c.designed.left) + "," +
                                std::to_string(c.designed.top),
                            "Show"))
        << "mode '" << mode << "'";
    for (int t = 0; t < 1000; ++t) EXPECT_EQ(rig.Tick(kScreen1024), TimerAction::kKeepRunning);
    EXPECT_THAT(rig.window.TakeLog(), IsEmpty()) << "mode '" << mode << "'";
  }
}

INSTANTIATE_TEST_SUITE_P(Windows, StillModeTest,
                         ::testing::Values(StillCase{1, {395, 282}}, StillCase{2, {284, 260}},
                                           StillCase{3, {192, 107}}, StillCase{4, {498, 245}}));

// Mends: slots that turn out to hold nothing are passed over, and an empty box stops its timer.

TEST(WindowMotion, BoxWithoutAnyPathStopsTheTimerAtTheFirstTickAndShowsNothing) {
  Rig rig;
  rig.source.Add(2, 3, 100, 100);  // another box's picture
  rig.Start(1, "1");
  EXPECT_EQ(rig.Tick(kScreen100), TimerAction::kStop);
  EXPECT_THAT(rig.window.log(), IsEmpty());
  EXPECT_THAT(rig.source.requests(), IsEmpty());
}

TEST(WindowMotion, BoxWhoseEverySlotFailsToDecodeStopsTheTimerInsteadOfSearchingForever) {
  Rig rig;
  rig.source.AddUndecodable(1, 4);
  rig.source.AddEmpty(1, 9);
  rig.Start(1, "5");
  EXPECT_EQ(rig.Tick(kScreen100), TimerAction::kStop);
  EXPECT_THAT(rig.window.log(), IsEmpty());
  EXPECT_EQ(rig.Tick(kScreen100), TimerAction::kStop);
}

TEST(WindowMotion, UndecodableAndEmptyPicturesArePassedOverLikeEmptySlots) {
  Rig rig;
  rig.source.AddUndecodable(1, 3);
  rig.source.AddEmpty(1, 4);
  rig.source.Add(1, 6, 100, 100);
  rig.source.Add(1, 8, 100, 50);
  rig.Start(1, "1");
  EXPECT_EQ(rig.Tick(kScreen100), TimerAction::kKeepRunning);
  EXPECT_EQ(rig.window.shown_slot(), 6);
  EXPECT_EQ(rig.motion->picture_index(), 7);
  std::vector<int> shown;
  for (int run = 0; run < 4; ++run) {
    rig.TicksToNextCreate(kScreen100);
    shown.push_back(rig.window.shown_slot());
  }
  EXPECT_EQ(shown, (std::vector<int>{8, 6, 8, 6}));
  // The empty picture's path stays set, but it is asked for only once.
  int asked_for_four = 0;
  for (const auto& request : rig.source.requests()) asked_for_four += request.second == 4;
  EXPECT_EQ(asked_for_four, 1);
}

TEST(WindowMotion, PicturesAreAskedForOnlyWhenAWindowIsPutUp) {
  Rig rig;
  rig.source.Add(1, 1, 100, 100);
  rig.source.Add(1, 2, 100, 100);
  rig.Start(1, "1");
  rig.Tick(kScreen100);
  for (int t = 0; t < 20; ++t) rig.Tick(kScreen100);
  EXPECT_THAT(rig.source.requests(), ElementsAre(std::pair{1, 1}));
  rig.TicksToNextCreate(kScreen100);
  EXPECT_THAT(rig.source.requests(), ElementsAre(std::pair{1, 1}, std::pair{1, 2}));
}

// Runs the same show twice, once with some slots empty from the start and once with the same
// slots holding files that turn out undecodable or empty, and compares what the windows did.
// (The picture index may differ between the two while it rests on a bad slot not asked for
// yet; only what is shown counts.)
void ExpectUnusableSlotsActLikeEmptyOnes(int n, const std::string& mode, const std::string& scale,
                                         const ShowArea& area, int ticks) {
  auto fill = [&](FakePictureSource& source, bool with_bad_files) {
    const int sizes[][2] = {{200, 100}, {100, 200}, {300, 150}, {150, 150}};
    for (int s = 1; s <= 12; ++s) {
      if (s % 3 == 0) {
        if (!with_bad_files) continue;
        if (s % 2 == 0) source.AddEmpty(n, s); else source.AddUndecodable(n, s);
      } else {
        source.Add(n, s, sizes[s % 4][0], sizes[s % 4][1]);
      }
    }
  };
  Rig clean;
  fill(clean.source, false);
  clean.Start(n, mode, scale);
  Rig damaged;
  fill(damaged.source, true);
  damaged.Start(n, mode, scale);
  for (int t = 1; t <= ticks; ++t) {
    ASSERT_EQ(clean.Tick(area), damaged.Tick(area)) << "tick " << t;
    ASSERT_EQ(clean.window.TakeLog(), damaged.window.TakeLog()) << "tick " << t;
  }
  EXPECT_GT(clean.window.creates(), 5);
}

TEST(WindowMotion, UnusableSlotsFoundLateActExactlyLikeEmptySlotsInEveryMode) {
  ExpectUnusableSlotsActLikeEmptyOnes(1, "1", "100", kScreen100, 600);
  ExpectUnusableSlotsActLikeEmptyOnes(2, "2", "100", kScreen100, 600);
  ExpectUnusableSlotsActLikeEmptyOnes(3, "3", "100", kScreen100, 600);
  ExpectUnusableSlotsActLikeEmptyOnes(4, "4", "100", kScreen100, 600);
  for (int n = 1; n <= 4; ++n) ExpectUnusableSlotsActLikeEmptyOnes(n, "5", "100", kScreen100, 600);
  // Windows larger than the screen turn at two edges in one tick.
  for (int n = 1; n <= 4; ++n) ExpectUnusableSlotsActLikeEmptyOnes(n, "5", "300", kScreen100, 300);
}

}  // namespace
}  // namespace tessmoor::pattern2
