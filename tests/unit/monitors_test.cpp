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

}  // namespace
}  // namespace tessmoor
