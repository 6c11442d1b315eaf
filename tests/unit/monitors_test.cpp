#include "show/monitors.h"

#include <gtest/gtest.h>

namespace tessmoor {
namespace {

TEST(MonitorsToBlank, CoversEveryMonitorButThePrimary) {
  const std::vector<MonitorArea> monitors{{{0, 0, 1920, 1080}, true},
                                          {{-1280, 0, 0, 1024}, false},
                                          {{1920, -200, 3840, 880}, false}};
  EXPECT_EQ(MonitorsToBlank(monitors), (std::vector<Rect>{{-1280, 0, 0, 1024}, {1920, -200, 3840, 880}}));
}

TEST(MonitorsToBlank, SingleMonitorNeedsNothing) {
  EXPECT_TRUE(MonitorsToBlank({{{0, 0, 1024, 768}, true}}).empty());
  EXPECT_TRUE(MonitorsToBlank({}).empty());
}

TEST(MonitorsToBlank, MirroredOrDuplicateMonitorsAreNotCoveredTwice) {
  const std::vector<MonitorArea> monitors{{{0, 0, 1024, 768}, true},
                                          {{0, 0, 800, 600}, false},       // a clone of the primary
                                          {{1024, 0, 2048, 768}, false},
                                          {{1024, 0, 2048, 768}, false},   // reported twice
                                          {{2048, 0, 2048, 768}, false}};  // no area
  EXPECT_EQ(MonitorsToBlank(monitors), (std::vector<Rect>{{1024, 0, 2048, 768}}));
}

TEST(MonitorsToBlank, MonitorTouchingThePrimaryEdgeIsCovered) {
  EXPECT_EQ(MonitorsToBlank({{{0, 0, 1024, 768}, true}, {{0, 768, 1024, 1536}, false}}).size(), 1u);
}

TEST(MonitorsToCover, PrimaryFirstThenTheOthersFromLeftToRightAndTopToBottom) {
  const std::vector<MonitorArea> monitors{{{1920, -200, 3840, 880}, false},
                                          {{0, 0, 1920, 1080}, true},
                                          {{-1080, 300, 0, 2220}, false},
                                          {{-1080, -1200, 0, 300}, false},
                                          {{0, 1080, 1920, 2160}, false}};
  EXPECT_EQ(MonitorsToCover(monitors), (std::vector<Rect>{{0, 0, 1920, 1080},
                                                          {-1080, -1200, 0, 300},
                                                          {-1080, 300, 0, 2220},
                                                          {0, 1080, 1920, 2160},
                                                          {1920, -200, 3840, 880}}));
  // The order the system lists them in does not matter.
  std::vector<MonitorArea> reversed(monitors.rbegin(), monitors.rend());
  EXPECT_EQ(MonitorsToCover(reversed), MonitorsToCover(monitors));
}

TEST(MonitorsToCover, LeavesOutWhatMonitorsToBlankLeavesOutButKeepsTinyMonitors) {
  const std::vector<MonitorArea> monitors{{{0, 0, 1024, 768}, true},
                                          {{0, 0, 800, 600}, false},        // a clone of the primary
                                          {{1024, 0, 2048, 768}, false},
                                          {{1024, 0, 2048, 768}, false},    // reported twice
                                          {{2048, 0, 2048, 0}, false},      // 0 x 0
                                          {{-99, 0, 0, 1}, false},          // 99 x 1
                                          {{0, 768, 1, 1536}, false}};      // 1 x 768
  EXPECT_EQ(MonitorsToCover(monitors), (std::vector<Rect>{{0, 0, 1024, 768},
                                                          {-99, 0, 0, 1},
                                                          {0, 768, 1, 1536},
                                                          {1024, 0, 2048, 768}}));
}

TEST(MonitorsToCover, WithoutAPrimaryTheFirstIsTakenAndOnlyOnePrimaryCounts) {
  EXPECT_EQ(MonitorsToCover({{{500, 0, 900, 300}, false}, {{0, 0, 500, 300}, false}}),
            (std::vector<Rect>{{500, 0, 900, 300}, {0, 0, 500, 300}}));
  EXPECT_EQ(MonitorsToCover({{{0, 0, 500, 300}, true}, {{500, 0, 900, 300}, true}}),
            (std::vector<Rect>{{0, 0, 500, 300}, {500, 0, 900, 300}}));
  EXPECT_TRUE(MonitorsToCover({}).empty());
}

using Pair = CoverPlan::Pair;

TEST(PlanCover, SameLayoutKeepsEveryWindow) {
  const std::vector<Rect> areas{{-800, 0, 0, 600}, {1024, 0, 1624, 800}};
  const CoverPlan plan = PlanCover(areas, areas);
  EXPECT_EQ(plan.keep, (std::vector<Pair>{{0, 0}, {1, 1}}));
  EXPECT_TRUE(plan.move.empty());
  EXPECT_TRUE(plan.open.empty());
  EXPECT_TRUE(plan.close.empty());
}

TEST(PlanCover, AMonitorUnpluggedClosesItsWindowAndOnePluggedInGetsOne) {
  const Rect left{-800, 0, 0, 600}, right{1024, 0, 1624, 800}, above{0, -600, 800, 0};
  CoverPlan plan = PlanCover({left, right}, {right});
  EXPECT_EQ(plan.keep, (std::vector<Pair>{{1, 0}}));
  EXPECT_EQ(plan.close, (std::vector<int>{0}));
  EXPECT_TRUE(plan.open.empty());
  plan = PlanCover({right}, {above, right});
  EXPECT_EQ(plan.keep, (std::vector<Pair>{{0, 1}}));
  EXPECT_EQ(plan.open, (std::vector<int>{0}));
  EXPECT_TRUE(plan.close.empty());
  plan = PlanCover({}, {left, right});
  EXPECT_EQ(plan.open, (std::vector<int>{0, 1}));
  plan = PlanCover({left, right}, {});
  EXPECT_EQ(plan.close, (std::vector<int>{0, 1}));
}

TEST(PlanCover, AMonitorSetToAnotherResolutionKeepsItsWindow) {
  // 800 x 600 left of the primary becomes 640 x 480, still touching it; the portrait one grows.
  const CoverPlan plan = PlanCover({{-800, 0, 0, 600}, {1024, 0, 1624, 800}},
                                   {{-640, 0, 0, 480}, {1024, 0, 1824, 1000}});
  EXPECT_TRUE(plan.keep.empty());
  EXPECT_EQ(plan.move, (std::vector<Pair>{{1, 1}, {0, 0}}));  // the larger overlap first
  EXPECT_TRUE(plan.open.empty());
  EXPECT_TRUE(plan.close.empty());
}

TEST(PlanCover, AWindowGoesToTheMonitorItOverlapsMostAndOnlyOnce) {
  // Two monitors where one was: the window follows the larger share, the other monitor gets a
  // new window; a monitor moved far away is a new one.
  const CoverPlan plan = PlanCover({{0, 800, 1000, 1400}, {5000, 0, 5100, 100}},
                                   {{0, 800, 300, 1400}, {300, 800, 1000, 1400}, {9000, 0, 9100, 100}});
  EXPECT_EQ(plan.move, (std::vector<Pair>{{0, 1}}));
  EXPECT_EQ(plan.open, (std::vector<int>{0, 2}));
  EXPECT_EQ(plan.close, (std::vector<int>{1}));
}

TEST(PlanCover, EqualAreasAreKeptBeforeAnyOverlapIsConsidered) {
  // The first window overlaps the second monitor more than its own, but its own is still there.
  const Rect a{0, 0, 100, 100}, b{0, 0, 100, 50}, c{0, 0, 100, 90};
  const CoverPlan plan = PlanCover({b, a}, {c, b});
  EXPECT_EQ(plan.keep, (std::vector<Pair>{{0, 1}}));
  EXPECT_EQ(plan.move, (std::vector<Pair>{{1, 0}}));
}

}  // namespace
}  // namespace tessmoor
