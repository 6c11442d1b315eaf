#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "pattern2/window_motion.h"
#include "tests/support/fake_windows.h"

namespace tessmoor::pattern2 {
namespace {

using ::testing::ElementsAre;
using tessmoor::testing::FakePictureSource;
using tessmoor::testing::FakePictureWindow;

const ShowArea kScreen1024{{1024, 768}, {1024, 768}};
const ShowArea kScreen100{{100, 100}, {100, 100}};

std::string At(int left, int top) {
  return "Position " + std::to_string(left) + "," + std::to_string(top);
}

TEST(Bounce, WindowsStartInTheirOwnCorners) {
  const Position corners[] = {{0, 0}, {849, 0}, {0, 637}, {849, 637}};
  for (int n = 1; n <= 4; ++n) {
    FakePictureSource source;
    source.Add(n, 1, 1600, 1200);
    FakePictureWindow window(source);
    WindowMotion motion(n, Motion::kBounce, 50, source, window);
    (void)motion.Tick(kScreen1024);
    EXPECT_EQ(window.log()[1], At(corners[n - 1].left, corners[n - 1].top)) << "window " << n;
  }
}

TEST(Bounce, WindowTwoOvershootsTheRightEdgeThenTurnsWithoutANewPicture) {
  FakePictureSource source;
  source.Add(2, 1, 1600, 1200);
  source.Add(2, 2, 1200, 1600);
  source.Add(2, 3, 1600, 1200);
  FakePictureWindow window(source);
  WindowMotion motion(2, Motion::kBounce, 50, source, window);

  (void)motion.Tick(kScreen1024);
  // At the edge exactly (849 + 175 = 1024) it does not turn: it overshoots by 2.
  EXPECT_THAT(window.TakeLog(), ElementsAre("Create 175x131 s1", At(849, 0), "Show", At(851, 2)));
  EXPECT_EQ(motion.picture_index(), 2);

  (void)motion.Tick(kScreen1024);
  EXPECT_THAT(window.TakeLog(), ElementsAre(At(849, 4)));
  EXPECT_FALSE(motion.directions().right);
  EXPECT_TRUE(motion.directions().down);
  EXPECT_EQ(motion.picture_index(), 3);

  (void)motion.Tick(kScreen1024);
  EXPECT_THAT(window.TakeLog(), ElementsAre(At(847, 6)));
  EXPECT_EQ(motion.picture_index(), 3);
}

TEST(Bounce, WindowThreeTurnsUpAtTheBottomAfterItsFirstTick) {
  FakePictureSource source;
  for (int s = 1; s <= 12; ++s) source.Add(3, s, 1600, 1200);
  FakePictureWindow window(source);
  WindowMotion motion(3, Motion::kBounce, 50, source, window);
  (void)motion.Tick(kScreen1024);
  EXPECT_EQ(window.Top(), 639);
  (void)motion.Tick(kScreen1024);
  EXPECT_THAT(window.TakeLog(), ElementsAre("Create 175x131 s1", At(0, 637), "Show", At(2, 639),
                                            At(4, 637)));
  EXPECT_FALSE(motion.directions().down);
  EXPECT_EQ(motion.picture_index(), 3);
}

// A 100 x 100 screen at 160 % gives a fit side of 160; 160 x 120 pictures make 80 x 60 windows,
// so window 1 reaches every edge within 48 ticks.
TEST(Bounce, FullCycleAroundASmallScreenStepByStep) {
  FakePictureSource source;
  for (int s = 1; s <= 12; ++s) source.Add(1, s, 160, 120);
  FakePictureWindow window(source);
  WindowMotion motion(1, Motion::kBounce, 160, source, window);

  // Position after each tick 1..48, and what else happened in that tick.
  struct Step {
    int left, top;
  };
  const std::vector<Step> path = {
      {2, 2},   {4, 4},   {6, 6},   {8, 8},   {10, 10}, {12, 12}, {14, 14}, {16, 16},
      {18, 18}, {20, 20}, {22, 22}, {20, 24},  // 12: 22 + 80 > 100, turns left
      {18, 26}, {16, 28}, {14, 30}, {12, 32}, {10, 34}, {8, 36},  {6, 38},  {4, 40},
      {2, 42},  {0, 40},                        // 22: 42 + 60 > 100, turns up
      {-2, 38}, {0, 36},                        // 24: Left -2 < 0, new window, turns right
      {2, 34},  {4, 32},  {6, 30},  {8, 28},  {10, 26}, {12, 24}, {14, 22}, {16, 20},
      {18, 18}, {20, 16}, {22, 14}, {20, 12},   // 36: turns left
      {18, 10}, {16, 8},  {14, 6},  {12, 4},  {10, 2},  {8, 0},   {6, -2},
      {4, 0},                                   // 44: Top -2 < 0, new window, turns down
      {2, 2},   {0, 4},   {-2, 6},  {0, 8}};    // 48: Left -2 < 0, new window, turns right
  const std::vector<int> index_after = {
      2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 4, 4, 5,
      5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 6, 6, 6, 6, 6, 6, 6, 6, 7, 7, 7, 7, 8};
  ASSERT_EQ(path.size(), 48u);
  ASSERT_EQ(index_after.size(), 48u);

  for (int t = 1; t <= 48; ++t) {
    ASSERT_EQ(motion.Tick(kScreen100), TimerAction::kKeepRunning);
    const std::vector<std::string> log = window.TakeLog();
    const Step& s = path[t - 1];
    EXPECT_EQ(log.back(), At(s.left, s.top)) << "tick " << t;
    EXPECT_EQ(window.Left(), s.left) << "tick " << t;
    EXPECT_EQ(window.Top(), s.top) << "tick " << t;
    EXPECT_EQ(motion.picture_index(), index_after[t - 1]) << "tick " << t;
    switch (t) {
      case 1:
        EXPECT_THAT(log, ElementsAre("Create 80x60 s1", At(0, 0), "Show", At(2, 2)));
        break;
      // Only the left and top edges put up a new picture, at the old window's position. The
      // turns at the right and bottom edges moved the index on, so slots 3 and 5 are skipped.
      case 24:
        EXPECT_THAT(log, ElementsAre("Close", "Create 80x60 s4", At(-2, 38), "Show", At(0, 36)));
        break;
      case 44:
        EXPECT_THAT(log, ElementsAre("Close", "Create 80x60 s6", At(6, -2), "Show", At(4, 0)));
        break;
      case 48:
        EXPECT_THAT(log, ElementsAre("Close", "Create 80x60 s7", At(-2, 6), "Show", At(0, 8)));
        break;
      default:
        EXPECT_EQ(log.size(), 1u) << "tick " << t;
    }
  }
  EXPECT_EQ(window.creates(), 4);
}

TEST(Bounce, HorizontalCheckSeesTheWindowPutUpByTheVerticalOne) {
  // 60 x 80 windows, but slot 4's picture is landscape and makes an 80 x 60 one.
  FakePictureSource source;
  for (int s = 1; s <= 12; ++s) source.Add(1, s, 120, 160);
  source.Add(1, 4, 160, 120);
  FakePictureWindow window(source);
  WindowMotion motion(1, Motion::kBounce, 160, source, window);
  for (int t = 1; t <= 23; ++t) (void)motion.Tick(kScreen100);
  EXPECT_EQ(window.Left(), 38);
  EXPECT_EQ(window.Top(), -2);
  EXPECT_EQ(motion.picture_index(), 4);
  window.TakeLog();

  (void)motion.Tick(kScreen100);
  // 38 + 60 would still fit; 38 + 80 does not, so the renewed window also turns left.
  EXPECT_THAT(window.TakeLog(),
              ElementsAre("Close", "Create 80x60 s4", At(38, -2), "Show", At(36, 0)));
  EXPECT_EQ(motion.picture_index(), 6);
  // While it reaches past the right edge every tick moves the index on again.
  (void)motion.Tick(kScreen100);
  EXPECT_EQ(motion.picture_index(), 7);
  EXPECT_EQ(window.creates(), 2);
}

TEST(Bounce, WindowWiderAndTallerThanTheScreenTurnsOrRenewsAtEveryEdgeItCrosses) {
  // 300 % on 100 x 100: a 150 x 75 window, wider than the screen.
  FakePictureSource source;
  for (int s = 1; s <= 12; ++s) source.Add(4, s, 300, 150);
  FakePictureWindow window(source);
  WindowMotion motion(4, Motion::kBounce, 300, source, window);
  (void)motion.Tick(kScreen100);
  // It starts at Left -50, so the left-edge rule puts up a new window in the first tick.
  EXPECT_THAT(window.TakeLog(), ElementsAre("Create 150x75 s1", At(-50, 25), "Show", "Close",
                                            "Create 150x75 s1", At(-50, 25), "Show", At(-48, 27)));
  EXPECT_EQ(motion.picture_index(), 3);
  (void)motion.Tick(kScreen100);
  // 27 + 75 > 100 and -48 + 150 > 100: both turns, no new window, two advances.
  EXPECT_THAT(window.TakeLog(), ElementsAre(At(-50, 25)));
  EXPECT_EQ(motion.picture_index(), 5);
}

TEST(Bounce, SlotFoundUndecodableAtALeftTurnIsPassedOverAfterABottomTurnInTheSameTick) {
  // 64 x 16 pictures at 64 % of 100 x 100 make 32 x 8 windows, which reach the bottom and the
  // left edge in the same tick, 144, with the search resting on slot 7.
  for (const bool slot_seven_has_a_bad_file : {false, true}) {
    FakePictureSource source;
    for (int s = 1; s <= 12; ++s)
      if (s != 7) source.Add(1, s, 64, 16);
    if (slot_seven_has_a_bad_file) source.AddUndecodable(1, 7);
    FakePictureWindow window(source);
    WindowMotion motion(1, Motion::kBounce, 64, source, window);
    for (int t = 1; t <= 143; ++t) (void)motion.Tick(kScreen100);
    EXPECT_EQ(window.Left(), -2);
    EXPECT_EQ(window.Top(), 94);
    window.TakeLog();
    (void)motion.Tick(kScreen100);
    // The search finds 8 (7 holds nothing), the bottom turn moves on to 9, the new window
    // shows slot 8 and moves on to 10: alike whether slot 7 was empty from the start or its file
    // turned out undecodable only now.
    EXPECT_THAT(window.TakeLog(),
                ElementsAre("Close", "Create 32x8 s8", At(-2, 94), "Show", At(0, 92)))
        << slot_seven_has_a_bad_file;
    EXPECT_EQ(motion.picture_index(), 10) << slot_seven_has_a_bad_file;
  }
}

}  // namespace
}  // namespace tessmoor::pattern2
