// The slide cycle shared by every detail mode, with centre and random placement mode.
#include "show/slide_engine.h"

#include <gtest/gtest.h>

#include "app/settings_keys.h"
#include "tests/support/fake_canvas.h"

namespace tessmoor {
namespace {

using testing::DescribeDraw;
using testing::SlideRig;
using Row = SlideRig::TickRecord;

constexpr Rect kCentred1600x1200{337, 253, 687, 515};  // 350 x 262 on 1024 x 768 at 50 %

int Number(int box, int slot) { return (box - 1) * 12 + slot; }

std::string CentreDraw(int box, int slot) {
  return "clear; " + DescribeDraw(Number(box, slot), kCentred1600x1200);
}

// The whole cycle of four full boxes in centre mode at 1500 ms, and the start of the next one.
std::vector<Row> CentreCycle() {
  std::vector<Row> rows;
  rows.push_back({"clear; clear", 500, 0});  // start tick: black for 500 ms
  for (int b = 1; b <= 4; ++b) {
    if (b > 1) rows.push_back({"clear", 1500, 0});  // the box change leaves the counter at 0
    for (int s = 1; s <= 11; ++s) rows.push_back({CentreDraw(b, s), 1500, 0});
    rows.push_back({CentreDraw(b, 12), b < 4 ? 500 : 1, 1});
  }
  rows.push_back({"clear; clear", 500, 0});
  rows.push_back({CentreDraw(1, 1), 1500, 0});
  return rows;
}

TEST(SlideCycle, CentreModeShowsFourFullBoxesInOrderWithPausesAndRestarts) {
  SlideRig rig("1");
  rig.RegisterAll();
  const std::vector<Row> expected = CentreCycle();
  EXPECT_EQ(rig.Ticks(static_cast<int>(expected.size())), expected);
  EXPECT_TRUE(rig.store.writes().empty());
}

TEST(SlideCycle, MomentsOfTheCentreTimeline) {
  SlideRig rig("1");
  rig.RegisterAll();
  // The first tick comes 1 ms after the timer starts; each tick arms the next.
  std::vector<std::int64_t> moments;
  std::int64_t now = 1;
  for (int i = 0; i < 54; ++i) {
    moments.push_back(now);
    now += rig.engine().Tick().NextTickMs();
  }
  EXPECT_EQ(moments[1], 501);                      // box 1 slot 1, 500 ms after the start tick
  EXPECT_EQ(moments[12], 501 + 11 * 1500);         // box 1 slot 12
  EXPECT_EQ(moments[13], moments[12] + 1000 + 500);  // pause 1 s, then 500 ms
  EXPECT_EQ(moments[14], moments[13] + 1500);      // box 2 slot 1
  EXPECT_EQ(moments[52], moments[51] + 1000 + 1);  // box 4 slot 12: pause, then 1 ms restart
  EXPECT_EQ(moments[53], moments[52] + 500);       // box 1 slot 1 again
}

TEST(SlideCycle, RandomPlacementModeHasTheCentreTimelineAtRandomPositions) {
  SlideRig rig("2");
  rig.RegisterAll();
  std::vector<std::int32_t> values;
  for (int i = 0; i < 96; ++i) values.push_back(i * 7919 + 13);
  rig.random = testing::ScriptedRandom(values);
  std::vector<Row> expected = CentreCycle();
  int draw = 0;
  for (Row& row : expected) {
    const std::size_t at = row.screen.find("draw ");
    if (at == std::string::npos) continue;
    const int number = std::stoi(row.screen.substr(at + 5));
    const int x = values[(2 * draw) % 96] % (1024 - 350);
    const int y = values[(2 * draw + 1) % 96] % (768 - 262);
    row.screen = "clear; " + DescribeDraw(number, {x, y, x + 350, y + 262});
    ++draw;
  }
  EXPECT_EQ(rig.Ticks(static_cast<int>(expected.size())), expected);
}

TEST(SlideCycle, StartTickIsBlackForFiveHundredMilliseconds) {
  SlideRig rig("1");
  rig.RegisterAll();
  EXPECT_EQ(rig.Tick(), (Row{"clear; clear", 500, 0}));
  EXPECT_TRUE(rig.engine().state().started);
  EXPECT_EQ(rig.pictures.picture_requests(), 0);
}

struct FitCase {
  int client_width, client_height, scale, source_width, source_height;
  Rect centred;
};

class SlideCentreFit : public ::testing::TestWithParam<FitCase> {};

TEST_P(SlideCentreFit, DrawsTheFittedPictureCentredToThePixel) {
  const FitCase& c = GetParam();
  SlideRig rig("1", c.client_width, c.client_height);
  rig.show.scale = c.scale;
  rig.Register(1, 1, c.source_width, c.source_height);
  rig.Tick();
  EXPECT_EQ(rig.Tick().screen, "clear; " + DescribeDraw(1, c.centred));
}

INSTANTIATE_TEST_SUITE_P(
    Examples, SlideCentreFit,
    ::testing::Values(
        // 350 x 262: the fit side is min(10 * 50, 7 * 50); 337.5 truncates to 337.
        FitCase{1024, 768, 50, 1600, 1200, {337, 253, 687, 515}},
        // 900 x 300 at 600 is 600 x 199: the double nearest one third lies below it.
        FitCase{1200, 1200, 50, 900, 300, {300, 500, 900, 699}},
        // 150 %: fit side 1050, 787 x 1050, above the top edge; -141.0 stays -141.
        FitCase{1024, 768, 150, 600, 800, {118, -141, 905, 909}},
        // A square picture becomes F x F.
        FitCase{1024, 768, 50, 640, 640, {337, 209, 687, 559}},
        // 1280 x 1024 at 100 %: fit side min(1200, 1000).
        FitCase{1280, 1024, 100, 3000, 2000, {140, 179, 1140, 845}}));

TEST(SlideRandomPlacement, PictureLargerThanTheWindowOverhangsByTheRemainderOfTheDividend) {
  SlideRig rig("2");
  rig.show.scale = 150;
  rig.Register(1, 1, 600, 800);  // 787 x 1050: random(237) and random(-282)
  rig.Register(1, 2, 600, 800);
  rig.Register(1, 3, 600, 800);
  rig.random = testing::ScriptedRandom({236, 281, 237, 282, 2147483647, 2147483647});
  rig.Tick();
  EXPECT_EQ(rig.Tick().screen, "clear; " + DescribeDraw(1, {236, 281, 1023, 1331}));
  EXPECT_EQ(rig.Tick().screen, "clear; " + DescribeDraw(2, {0, 0, 787, 1050}));
  // 2147483647 mod 237 = 103 and mod -282 = 67: never negative.
  EXPECT_EQ(rig.Tick().screen, "clear; " + DescribeDraw(3, {103, 67, 890, 1117}));
}

TEST(SlideRandomPlacement, NoRoomLeftGivesZeroWithoutDrawingARandomNumber) {
  SlideRig rig("2", 700, 700);
  rig.show.scale = 100;
  rig.Register(1, 1, 500, 500);  // 700 x 700 in a 700 x 700 window
  rig.random = testing::ScriptedRandom({5, 5});
  rig.Tick();
  EXPECT_EQ(rig.Tick().screen, "clear; " + DescribeDraw(1, {0, 0, 700, 700}));
  EXPECT_EQ(rig.random.draws(), 0);
}

TEST(SlideRandomPlacement, DrawsXThenY) {
  SlideRig rig("2");
  rig.Register(1, 1);
  rig.random = testing::ScriptedRandom({10, 20});
  rig.Tick();
  EXPECT_EQ(rig.Tick().screen, "clear; " + DescribeDraw(1, {10, 20, 360, 282}));
  EXPECT_EQ(rig.random.draws(), 2);
}

class SlidePauseByInterval : public ::testing::TestWithParam<std::pair<int, int>> {};

TEST_P(SlidePauseByInterval, FollowsSlotTwelveInWholeSeconds) {
  const auto [interval, seconds] = GetParam();
  SlideRig rig("1");
  rig.store.Set(std::string(keys::kSlideInterval), std::to_string(interval));
  rig.Register(1, 12);
  rig.Register(2, 1);
  rig.Tick();
  const Row slot12 = rig.Tick();  // slots 1 to 11 are missing and cost no tick
  EXPECT_EQ(slot12, (Row{CentreDraw(1, 12), 500, seconds}));
  EXPECT_EQ(SlideEngine::PauseSeconds(interval), seconds);
}

INSTANTIATE_TEST_SUITE_P(Intervals, SlidePauseByInterval,
                         ::testing::Values(std::pair{500, 0}, std::pair{1000, 1},
                                           std::pair{1500, 1}, std::pair{2000, 2},
                                           std::pair{2500, 2}, std::pair{5000, 5},
                                           std::pair{4999, 4}));

TEST(SlidePause, NarrowsToSinglePrecisionBeforeTruncating) {
  // 999999.999 s is nearest to 1000000 in single precision.
  EXPECT_EQ(SlideEngine::PauseSeconds(999999999), 1000000);
  EXPECT_EQ(SlideEngine::PauseSeconds(999), 0);
  EXPECT_EQ(SlideEngine::PauseSeconds(1), 0);
}

TEST(SlidePause, FiveHundredMillisecondsGivesNoPauseAndOneBlackTick) {
  SlideRig rig("1");
  rig.store.Set(std::string(keys::kSlideInterval), "500");
  rig.RegisterBox(1);
  rig.RegisterBox(2);
  rig.Ticks(12);
  EXPECT_EQ(rig.Tick(), (Row{CentreDraw(1, 12), 500, 0}));
  EXPECT_EQ(rig.Tick(), (Row{"clear", 500, 0}));
  EXPECT_EQ(rig.Tick(), (Row{CentreDraw(2, 1), 500, 0}));
}

TEST(SlideBoxesNotInUse, BoxTwoOffGoesFromBoxOneStraightToBoxThree) {
  SlideRig rig("1");
  rig.RegisterAll();
  rig.show.box_use[1] = false;
  rig.Ticks(12);
  EXPECT_EQ(rig.Tick(), (Row{CentreDraw(1, 12), 500, 1}));
  EXPECT_EQ(rig.engine().state().current_box, 3);
  EXPECT_EQ(rig.Tick(), (Row{"clear", 1500, 0}));
  EXPECT_EQ(rig.Tick(), (Row{CentreDraw(3, 1), 1500, 0}));
}

TEST(SlideBoxesNotInUse, AnyTextOtherThanOneMeansNotInUse) {
  for (const char* flag : {"0", "", "2", "1 ", "true"}) {
    SlideRig rig("1");
    rig.RegisterAll();
    rig.store.Set(keys::Pattern1BoxUse(1), "1");
    for (int b = 2; b <= 4; ++b) rig.store.Set(keys::Pattern1BoxUse(b), flag);
    rig.ReadShowFromStore();
    rig.Ticks(12);
    EXPECT_EQ(rig.Tick(), (Row{CentreDraw(1, 12), 1, 1})) << flag;  // a restart
  }
}

TEST(SlideBoxesNotInUse, OnlyBoxFourPassesOverTheOthersAtTheStartAndAfterEveryRestart) {
  for (const char* mode : {"1", "2", "3"}) {
    SlideRig rig(mode);
    rig.RegisterAll();
    rig.show.box_use = {false, false, false, true};
    EXPECT_EQ(rig.Tick().interval_ms, 500) << mode;  // start tick
    const Row pass_over = rig.Tick();
    EXPECT_EQ(pass_over.interval_ms, 500) << mode;
    EXPECT_EQ(pass_over.screen.find("draw"), std::string::npos) << mode;
    EXPECT_EQ(rig.engine().state().current_box, 4);
    EXPECT_NE(rig.Tick().screen.find("draw 37 "), std::string::npos) << mode;
    rig.Ticks(11);  // slots 2 to 12, then the restart
    EXPECT_EQ(rig.Tick().interval_ms, 500) << mode;  // start tick
    EXPECT_EQ(rig.Tick().interval_ms, 500) << mode;  // boxes 1 to 3 passed over
    EXPECT_NE(rig.Tick().screen.find("draw 37 "), std::string::npos) << mode;
  }
}

TEST(SlideBoxesNotInUse, NoBoxInUseRestartsAtEveryRunningTickOnABlackScreen) {
  SlideRig rig("1");
  rig.RegisterAll();
  rig.show.box_use = {false, false, false, false};
  for (int cycle = 0; cycle < 3; ++cycle) {
    EXPECT_EQ(rig.Tick(), (Row{"clear; clear", 500, 0}));
    EXPECT_EQ(rig.Tick(), (Row{"clear", 1, 0}));
    EXPECT_FALSE(rig.engine().state().started);
  }
  EXPECT_EQ(rig.pictures.picture_requests(), 0);
}

TEST(SlideBoxesNotInUse, RestartFromAnEarlierBoxIsFollowedByOneBlackRunningTick) {
  SlideRig rig("1");
  rig.RegisterAll();
  rig.show.box_use = {true, false, false, false};
  rig.Ticks(12);
  EXPECT_EQ(rig.Tick(), (Row{CentreDraw(1, 12), 1, 1}));
  EXPECT_EQ(rig.Tick(), (Row{"clear; clear", 500, 0}));
  EXPECT_EQ(rig.Tick(), (Row{"clear", 1500, 0}));  // the counter was left at 0
  EXPECT_EQ(rig.Tick(), (Row{CentreDraw(1, 1), 1500, 0}));
}

TEST(SlideBoxesNotInUse, RestartFromBoxFourGoesStraightToSlotOne) {
  SlideRig rig("1");
  rig.RegisterBox(4);
  rig.show.box_use = {false, false, false, true};
  rig.Ticks(14);  // start, pass over, slots 1 to 12
  EXPECT_EQ(rig.engine().state().slot_counter, 1);
  EXPECT_EQ(rig.Tick(), (Row{"clear; clear", 500, 0}));
  EXPECT_EQ(rig.Tick(), (Row{"clear", 500, 0}));
  EXPECT_EQ(rig.Tick(), (Row{CentreDraw(4, 1), 1500, 0}));
}

TEST(SlideVanishedFiles, SlotFiveGoneSinceStartUpIsSkippedWithinTheTick) {
  SlideRig rig("1");
  rig.RegisterAll();
  rig.Ticks(5);  // start, slots 1 to 4
  rig.Vanish(1, 5);
  EXPECT_EQ(rig.Tick(), (Row{CentreDraw(1, 6), 1500, 0}));
  EXPECT_EQ(rig.engine().state().slot_counter, 7);
}

TEST(SlideVanishedFiles, SlotTwelveGoneChangesBoxWithoutAPause) {
  SlideRig rig("1");
  rig.RegisterAll();
  rig.Vanish(1, 12);
  rig.Ticks(11);
  EXPECT_EQ(rig.Tick(), (Row{CentreDraw(1, 11), 1500, 0}));
  EXPECT_EQ(rig.Tick(), (Row{"clear", 500, 0}));  // box 1 left, no pause
  EXPECT_EQ(rig.engine().state().current_box, 2);
}

TEST(SlideVanishedFiles, BoxWhoseTwelveFilesAreGoneIsLeftInOneTick) {
  SlideRig rig("1");
  rig.RegisterAll();
  for (int s = 1; s <= 12; ++s) rig.Vanish(2, s);
  rig.Ticks(13);                                    // start, box 1
  EXPECT_EQ(rig.Tick(), (Row{"clear", 1500, 0}));   // box 2, counter 0
  EXPECT_EQ(rig.Tick(), (Row{"clear", 500, 0}));    // box 2 passed over, no pause
  EXPECT_EQ(rig.engine().state().current_box, 3);
  EXPECT_EQ(rig.Tick(), (Row{"clear", 1500, 0}));
  EXPECT_EQ(rig.Tick(), (Row{CentreDraw(3, 1), 1500, 0}));
}

TEST(SlideVanishedFiles, PictureThatFailedToDecodeOrIsEmptyIsPassedOverLikeAMissingFile) {
  SlideRig rig("1");
  rig.RegisterAll();
  rig.pictures.SetFailing(1, 2, SlideRig::PathOf(1, 2));
  rig.pictures.SetNotDecoded(1, 3, SlideRig::PathOf(1, 3));
  rig.Ticks(2);
  EXPECT_EQ(rig.Tick(), (Row{CentreDraw(1, 4), 1500, 0}));
}

TEST(SlideOtherModeText, OnlyClearsTheScreenAndKeepsTheOneMillisecondInterval) {
  for (const char* mode : {"9", "", "0", "5", "１", " 1"}) {
    SlideRig rig(mode);
    rig.RegisterAll();
    const int reads = rig.store.reads();
    for (int i = 0; i < 30; ++i) {
      ASSERT_EQ(rig.Tick(), (Row{"clear", 1, 0})) << '"' << mode << '"';
    }
    EXPECT_EQ(rig.engine().state(), SlideEngine::State{}) << mode;
    EXPECT_EQ(rig.pictures.picture_requests(), 0);
    EXPECT_EQ(rig.store.reads(), reads);
  }
}

TEST(SlideInterval, CentreRandomAndFiveDirectionModesTakeANewStoredValueAtTheNextTick) {
  for (const char* mode : {"1", "2", "4"}) {
    SlideRig rig(mode);
    rig.RegisterAll();
    rig.Ticks(2);
    rig.store.Set(std::string(keys::kSlideInterval), "3000");
    EXPECT_EQ(rig.Tick().interval_ms, 3000) << mode;
    EXPECT_EQ(rig.engine().slide_interval_ms(), 3000);
  }
}

TEST(SlideInterval, NewStoredValueGivesTheNextPause) {
  SlideRig rig("1");
  rig.RegisterBox(1);
  rig.Ticks(12);
  rig.store.Set(std::string(keys::kSlideInterval), "4500");
  EXPECT_EQ(rig.Tick(), (Row{CentreDraw(1, 12), 1, 4}));
}

TEST(SlideInterval, RandomPasteModeKeepsTheValueReadAtStart) {
  SlideRig rig("3");
  rig.RegisterBox(1);
  rig.Ticks(2);
  rig.store.Set(std::string(keys::kSlideInterval), "3000");
  const int reads = rig.store.reads();
  std::vector<Row> rows = rig.Ticks(11);
  for (int i = 0; i < 10; ++i) EXPECT_EQ(rows[i].interval_ms, 1500);
  EXPECT_EQ(rows[10].pause_seconds, 1);  // slot 12: the held 1500 ms
  EXPECT_EQ(rig.store.reads(), reads);
}

class SlideDamagedInterval : public ::testing::TestWithParam<std::string> {};

TEST_P(SlideDamagedInterval, KeepsTheLastGoodValueWithoutWritingAnything) {
  SlideRig rig("1");
  rig.RegisterBox(1);
  rig.Ticks(2);
  rig.store.Set(std::string(keys::kSlideInterval), "2500");
  rig.Tick();
  rig.store.Set(std::string(keys::kSlideInterval), GetParam());
  rig.store.ClearWrites();
  std::vector<Row> rows = rig.Ticks(10);  // slots 3 to 12
  for (const Row& row : rows) EXPECT_NE(row.screen.find("draw"), std::string::npos);
  for (int i = 0; i < 9; ++i) EXPECT_EQ(rows[i].interval_ms, 2500);
  EXPECT_EQ(rows[9].pause_seconds, 2);
  EXPECT_TRUE(rig.store.writes().empty());
}

INSTANTIATE_TEST_SUITE_P(Texts, SlideDamagedInterval,
                         ::testing::Values("fast", "", "1.5e3", "1500ms", "0", "-500",
                                           "99999999999"));

TEST(SlideInterval, VanishedKeyKeepsTheLastGoodValueAndIsNotWrittenBack) {
  SlideRig rig("1");
  rig.RegisterBox(1);
  rig.Ticks(2);
  rig.store = testing::MemoryStore();  // the key is gone
  std::vector<Row> rows = rig.Ticks(11);
  for (int i = 0; i < 10; ++i) EXPECT_EQ(rows[i].interval_ms, 1500);
  EXPECT_EQ(rows[10].pause_seconds, 1);
  EXPECT_TRUE(rig.store.writes().empty());
  EXPECT_FALSE(rig.store.Has(std::string(keys::kSlideInterval)));
}

TEST(SlideInterval, DamagedFromTheStartRunsAtTheFirstRunValue) {
  SlideRig rig("3");
  rig.store.Set(std::string(keys::kSlideInterval), "soon");
  rig.ReadShowFromStore();
  rig.store.Set(std::string(keys::kSlideInterval), "1500");
  rig.RegisterBox(1);
  rig.Tick();
  EXPECT_EQ(rig.Tick().interval_ms, 1500);
  SlideRig reread("1");
  reread.store.Set(std::string(keys::kSlideInterval), "soon");
  reread.ReadShowFromStore();
  reread.RegisterBox(1);
  reread.Tick();
  EXPECT_EQ(reread.Tick().interval_ms, 1500);
}

TEST(SlideScale, DamagedScaleFitsAtTheFirstRunFiftyPercent) {
  for (const char* scale : {"big", "", "50%", "0x32"}) {
    SlideRig rig("1");
    rig.store.Set(std::string(keys::kSlideScale), scale);
    rig.ReadShowFromStore();
    rig.Register(1, 1);
    rig.Tick();
    EXPECT_EQ(rig.Tick().screen, CentreDraw(1, 1)) << scale;
  }
}

TEST(SlideScale, FitSideFollowsTheClientSizeAtEveryTick) {
  SlideRig rig("1");
  rig.Register(1, 1);
  rig.Register(1, 2);
  rig.Tick();
  rig.Tick();
  rig.canvas.Resize(1280, 1024);  // fit side min(12 * 50, 10 * 50) = 500: 500 x 375
  EXPECT_EQ(rig.Tick().screen, "clear; " + DescribeDraw(2, {390, 324, 890, 699}));
}

}  // namespace
}  // namespace tessmoor
