// Random paste mode and five-direction mode.
#include <gtest/gtest.h>

#include "app/settings_keys.h"
#include "show/slide_engine.h"
#include "tests/support/fake_canvas.h"

namespace tessmoor {
namespace {

using testing::DescribeDraw;
using testing::SlideRig;
using Row = SlideRig::TickRecord;

int Number(int box, int slot) { return (box - 1) * 12 + slot; }

// ---- Random paste mode ----

TEST(SlidePasteMode, WholeCycleOfFourBoxesPilesEachBoxUpAndClearsAtTheNextBox) {
  SlideRig rig("3");
  rig.RegisterAll();
  std::vector<std::int32_t> values;
  for (int i = 0; i < 110; ++i) values.push_back(i * 104729 + 7);
  rig.random = testing::ScriptedRandom(values);
  int draw = 0;
  auto paste = [&](int box, int slot) {
    const int x = values[(2 * draw) % 110] % (1024 - 350);
    const int y = values[(2 * draw + 1) % 110] % (768 - 262);
    ++draw;
    return DescribeDraw(Number(box, slot), {x, y, x + 350, y + 262});
  };
  std::vector<Row> expected;
  expected.push_back({"clear", 500, 0});  // the clear flag is 0 at the start
  for (int b = 1; b <= 4; ++b) {
    if (b > 1) expected.push_back({"clear", 1500, 0});  // the flag set by the box change
    for (int s = 1; s <= 11; ++s) expected.push_back({paste(b, s), 1500, 0});
    expected.push_back({paste(b, 12), b < 4 ? 500 : 1, 1});
  }
  expected.push_back({"clear; clear", 500, 0});  // the flag, then the start tick itself
  expected.push_back({paste(1, 1), 1500, 0});
  EXPECT_EQ(rig.Ticks(static_cast<int>(expected.size())), expected);
}

TEST(SlidePasteMode, StoredIntervalChangedDuringTheShowChangesNeitherIntervalNorPause) {
  SlideRig rig("3");
  rig.RegisterAll();
  rig.Tick();
  rig.store.Set(std::string(keys::kSlideInterval), "5000");
  const std::vector<Row> rows = rig.Ticks(12);
  for (int i = 0; i < 11; ++i) EXPECT_EQ(rows[i].interval_ms, 1500);
  EXPECT_EQ(rows[11].pause_seconds, 1);
  EXPECT_EQ(rows[11].interval_ms, 500);
}

TEST(SlidePasteMode, BoxWhoseFilesAllVanishedSetsTheClearFlagWithoutDrawing) {
  SlideRig rig("3");
  rig.RegisterAll();
  for (int s = 1; s <= 12; ++s) rig.Vanish(2, s);
  rig.Ticks(13);                                    // start, box 1
  EXPECT_EQ(rig.Tick(), (Row{"clear", 1500, 0}));   // box 2, counter 0
  EXPECT_EQ(rig.Tick(), (Row{"", 500, 0}));         // box 2 passed over, nothing drawn
  EXPECT_TRUE(rig.engine().state().paste_clear);
  EXPECT_EQ(rig.Tick(), (Row{"clear", 1500, 0}));   // box 3, counter 0
  EXPECT_EQ(rig.Tick().screen.find("clear"), std::string::npos);  // box 3 slot 1 on black
}

TEST(SlidePasteMode, BoxChangeFromABoxNotInUseLeavesTheClearFlagAlone) {
  SlideRig rig("3");
  rig.RegisterAll();
  rig.show.box_use[0] = false;
  rig.Tick();
  EXPECT_EQ(rig.Tick(), (Row{"", 500, 0}));
  EXPECT_FALSE(rig.engine().state().paste_clear);
  EXPECT_EQ(rig.engine().state().current_box, 2);
}

TEST(SlidePasteMode, MissingSlotTwelveStillSetsTheClearFlag) {
  SlideRig rig("3");
  rig.RegisterAll();
  rig.Vanish(1, 12);
  rig.Ticks(12);  // start, slots 1 to 11
  EXPECT_EQ(rig.Tick(), (Row{"", 500, 0}));
  EXPECT_TRUE(rig.engine().state().paste_clear);
}

// ---- Five-direction mode ----

// A 1600 x 1200 picture fitted to 350 x 262 on 1024 x 768 at 50 %: centre, then the corners.
const Rect kFive[5] = {{337, 253, 687, 515}, {0, 0, 350, 262}, {674, 0, 1024, 262},
                       {674, 506, 1024, 768}, {0, 506, 350, 768}};

std::string FiveDraw(int number, int position) {
  return (position == 1 ? "clear; " : "") + DescribeDraw(number, kFive[position - 1]);
}

TEST(SlideFiveDirections, OnePictureGoesToTheCentreThenTheFourCornersOverFiveTicks) {
  SlideRig rig("4");
  rig.RegisterAll();
  EXPECT_EQ(rig.Tick(), (Row{"clear; clear", 500, 0}));
  for (int p = 1; p <= 5; ++p) {
    EXPECT_EQ(rig.engine().state().five_position, p);
    EXPECT_EQ(rig.Tick(), (Row{FiveDraw(1, p), 1500, 0})) << "position " << p;
  }
  EXPECT_EQ(rig.engine().state().five_position, 1);
  EXPECT_EQ(rig.engine().state().slot_counter, 2);
  EXPECT_EQ(rig.Tick(), (Row{FiveDraw(2, 1), 1500, 0}));
}

TEST(SlideFiveDirections, SlotTwelvePausesAfterEachOfItsFivePlacesThenChangesBox) {
  SlideRig rig("4");
  rig.RegisterAll();
  rig.Ticks(1 + 11 * 5);
  for (int p = 1; p <= 5; ++p) {
    EXPECT_EQ(rig.Tick(), (Row{FiveDraw(12, p), p < 5 ? 1500 : 500, 1})) << "position " << p;
    EXPECT_EQ(rig.engine().state().slot_counter, p < 5 ? 12 : 0);
  }
  // Five empty ticks with the counter at 0, the first one clearing, then box 2 slot 1.
  EXPECT_EQ(rig.Tick(), (Row{"clear", 1500, 0}));
  for (int p = 2; p <= 5; ++p) EXPECT_EQ(rig.Tick(), (Row{"", 1500, 0})) << "position " << p;
  EXPECT_EQ(rig.Tick(), (Row{FiveDraw(13, 1), 1500, 0}));
}

TEST(SlideFiveDirections, SlotTwelveAtTwoSecondsPausesTwoSecondsAfterEveryPlace) {
  SlideRig rig("4");
  rig.store.Set(std::string(keys::kSlideInterval), "2000");
  rig.Register(1, 12);
  rig.Register(2, 1);
  rig.Tick();
  for (int p = 1; p <= 5; ++p) {
    EXPECT_EQ(rig.Tick(), (Row{FiveDraw(12, p), p < 5 ? 2000 : 500, 2})) << "position " << p;
  }
}

TEST(SlideFiveDirections, SlotTwelvePlacesComeAtTheLongerOfIntervalAndPause) {
  // The timer keeps running through the pause at places 1 to 4 (its interval is not set anew),
  // so the next place follows the interval or the pause, whichever ends later; after place 5 the
  // box change sets 500 ms, which counts from the pause's end.
  for (const auto& [interval, next_place] : {std::pair{1500, 1500}, {2000, 2000}, {2500, 2500}}) {
    SlideRig rig("4");
    rig.store.Set(std::string(keys::kSlideInterval), std::to_string(interval));
    rig.Register(1, 12);
    rig.Register(2, 1);
    rig.engine().Tick();
    for (int p = 1; p <= 5; ++p) {
      const auto tick = rig.engine().Tick();
      const int pause_ms = SlideEngine::PauseSeconds(interval) * 1000;
      EXPECT_EQ(tick.NextTickMs(), p < 5 ? next_place : pause_ms + 500) << interval << " place " << p;
    }
  }
}

TEST(SlideFiveDirections, RestartFromBoxFourIsFollowedByFourEmptyTicks) {
  SlideRig rig("4");
  rig.RegisterAll();
  rig.Ticks(1 + 4 * 60 + 3 * 5);  // the start tick, 48 pictures, the empty ticks of boxes 2 to 4
  EXPECT_FALSE(rig.engine().state().started);
  EXPECT_EQ(rig.engine().state().five_position, 2);
  EXPECT_EQ(rig.engine().state().slot_counter, 0);
  EXPECT_EQ(rig.Tick(), (Row{"clear", 500, 0}));  // start tick; position 2 does not clear
  for (int p = 2; p <= 5; ++p) EXPECT_EQ(rig.Tick(), (Row{"", 1500, 0})) << "position " << p;
  EXPECT_EQ(rig.Tick(), (Row{FiveDraw(1, 1), 1500, 0}));
}

TEST(SlideFiveDirections, TheLastPictureOfTheCycleRestartsWithOneMillisecond) {
  SlideRig rig("4");
  rig.RegisterAll();
  rig.Ticks(1 + 4 * 60 + 3 * 5 - 1);
  EXPECT_EQ(rig.Tick(), (Row{FiveDraw(48, 5), 1, 1}));
}

TEST(SlideFiveDirections, PictureLargerThanTheWindowOverhangsOnEverySide) {
  SlideRig rig("4");
  rig.show.scale = 150;  // 1050 x 787 in 1024 x 768
  rig.Register(1, 1);
  rig.Tick();
  const Rect expected[5] = {{-13, -9, 1037, 778}, {0, 0, 1050, 787}, {-26, 0, 1024, 787},
                            {-26, -19, 1024, 768}, {0, -19, 1050, 768}};
  for (int p = 1; p <= 5; ++p) {
    EXPECT_EQ(rig.Tick().screen, (p == 1 ? "clear; " : "") + DescribeDraw(1, expected[p - 1]));
  }
}

TEST(SlideFiveDirections, SlotThatVanishedBeforeItsTurnIsReplacedByTheNextInTheCentre) {
  SlideRig rig("4");
  rig.RegisterAll();
  rig.Ticks(1 + 2 * 5 + 4);  // slot 3 is at its fourth place
  rig.Vanish(1, 4);
  EXPECT_EQ(rig.Tick(), (Row{FiveDraw(3, 5), 1500, 0}));
  EXPECT_EQ(rig.engine().state().slot_counter, 4);
  EXPECT_EQ(rig.engine().state().five_position, 1);
  for (int p = 1; p <= 5; ++p) EXPECT_EQ(rig.Tick().screen, FiveDraw(5, p));
}

TEST(SlideFiveDirections, SlotThatVanishesWhileShownIsFollowedByTheNextAtTheSamePlace) {
  SlideRig rig("4");
  rig.RegisterAll();
  rig.Ticks(1 + 5 * 5 + 2);  // slot 6 shown at positions 1 and 2
  rig.Vanish(1, 6);
  for (int p = 3; p <= 5; ++p) EXPECT_EQ(rig.Tick().screen, FiveDraw(7, p));
  EXPECT_EQ(rig.engine().state().slot_counter, 8);
  EXPECT_EQ(rig.Tick().screen, FiveDraw(8, 1));
}

TEST(SlideFiveDirections, MissingSlotTwelveResetsThePositionAndChangesBox) {
  SlideRig rig("4");
  rig.RegisterAll();
  rig.Vanish(1, 12);
  rig.Ticks(1 + 10 * 5 + 4);  // slot 11 at its fourth place
  EXPECT_EQ(rig.Tick(), (Row{FiveDraw(11, 5), 1500, 0}));
  EXPECT_EQ(rig.Tick(), (Row{"clear", 500, 0}));  // slot 12 missing: box change, no pause
  EXPECT_EQ(rig.engine().state().current_box, 2);
  EXPECT_EQ(rig.engine().state().five_position, 1);  // a change between boxes ends the tick
}

TEST(SlideFiveDirections, BoxNotInUseSetsThePositionBackToTheCentre) {
  SlideRig rig("4");
  rig.RegisterBox(4);
  rig.show.box_use = {false, false, false, true};
  rig.Ticks(2 + 12 * 5);  // start, pass over, box 4, ending in a restart at position 2
  ASSERT_EQ(rig.engine().state().five_position, 2);
  rig.Tick();  // start tick
  EXPECT_EQ(rig.Tick(), (Row{"", 500, 0}));  // boxes 1 to 3 passed over
  EXPECT_EQ(rig.engine().state().five_position, 1);
  // Five empty ticks at positions 1 to 5, then slot 1 in the centre.
  EXPECT_EQ(rig.Tick(), (Row{"clear", 1500, 0}));
  for (int p = 2; p <= 5; ++p) EXPECT_EQ(rig.Tick(), (Row{"", 1500, 0}));
  EXPECT_EQ(rig.Tick().screen, FiveDraw(37, 1));
}

TEST(SlideFiveDirections, RereadsTheStoredIntervalAtEveryRunningTick) {
  SlideRig rig("4");
  rig.RegisterAll();
  rig.Ticks(3);
  rig.store.Set(std::string(keys::kSlideInterval), "2500");
  EXPECT_EQ(rig.Tick().interval_ms, 2500);
}

}  // namespace
}  // namespace tessmoor
