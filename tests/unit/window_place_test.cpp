#include "platform/window_place.h"

#include <gtest/gtest.h>

#include <climits>
#include <ostream>
#include <vector>

namespace tessmoor {

void PrintTo(const Point& p, std::ostream* os) { *os << "(" << p.x << "," << p.y << ")"; }

namespace {

// The settings dialog's outer size and a title band above its client area.
constexpr Size kDialog{638, 510};
constexpr int kBar = 42;

// A primary of 1024 × 768 whose task bar takes the bottom 40 rows.
const Rect kPrimaryWork{0, 0, 1024, 728};
// A monitor left of the primary, as the system reports it: at negative coordinates.
const Rect kLeftWork{-800, 100, 0, 700};
// A monitor above the primary.
const Rect kAboveWork{0, -900, 1600, 0};

Point Place(const std::vector<Rect>& areas, Point origin, Size size = kDialog) {
  return ReachablePlace(areas, origin, size, kBar);
}

struct KeptCase {
  const char* what;
  Point origin;
};

class KeptPlace : public ::testing::TestWithParam<KeptCase> {};

TEST_P(KeptPlace, StaysWhereTheUserPutIt) {
  const std::vector<Rect> areas{kPrimaryWork, kLeftWork, kAboveWork};
  EXPECT_EQ(Place(areas, GetParam().origin), GetParam().origin) << GetParam().what;
}

INSTANTIATE_TEST_SUITE_P(
    ReachableTitleBars, KeptPlace,
    ::testing::Values(KeptCase{"wholly on the primary", {100, 100}},
                      KeptCase{"on the monitor left of the primary, at negative coordinates", {-700, 150}},
                      KeptCase{"across the primary's left edge onto the left monitor", {-300, 120}},
                      KeptCase{"on the monitor above, at a negative top", {200, -800}},
                      KeptCase{"mostly off the primary's right edge, 32 pixels of its bar left", {1024 - 32, 300}},
                      KeptCase{"below the work area but for 8 rows of its bar", {300, 728 - 8}},
                      KeptCase{"its bar half above the top of the monitor above", {200, -900 - kBar / 2}},
                      KeptCase{"its body below the screen, its bar on it", {400, 700}}));

TEST(ReachablePlace, APlaceWhoseTitleBarIsOnNoMonitorComesWhollyOntoTheNearestOne) {
  const std::vector<Rect> one{kPrimaryWork};
  // Left of every monitor, far above: into the top-left corner.
  EXPECT_EQ(Place(one, {-5000, -5000}), (Point{0, 0}));
  // Far right and below: into the bottom-right corner of the work area, above the task bar.
  EXPECT_EQ(Place(one, {30000, 30000}), (Point{1024 - 638, 728 - 510}));
  // Straight below: only moved up, its left edge kept.
  EXPECT_EQ(Place(one, {200, 5000}), (Point{200, 728 - 510}));
  // Straight left: only moved right.
  EXPECT_EQ(Place(one, {-3000, 100}), (Point{0, 100}));
}

TEST(ReachablePlace, ATitleBarOneStepShortOfReachableIsMoved) {
  const std::vector<Rect> one{kPrimaryWork};
  // 31 pixels of the bar on the screen are not enough to grab it; brought wholly inside, the
  // window also comes up from below the task bar.
  EXPECT_EQ(Place(one, {1024 - 31, 100}), (Point{1024 - 638, 100}));
  EXPECT_EQ(Place(one, {1024 - 31, 300}), (Point{1024 - 638, 728 - 510}));
  // 7 rows of the bar are not either.
  EXPECT_EQ(Place(one, {300, 728 - 7}), (Point{300, 728 - 510}));
  // The bar above the top of the screen, its body on it: the bar is brought down.
  EXPECT_EQ(Place(one, {300, -kBar - 10}), (Point{300, 0}));
}

TEST(ReachablePlace, TheNearestMonitorIsTheOneOverlappedMostOrElseTheClosest) {
  const std::vector<Rect> two{kPrimaryWork, kLeftWork};
  // Beyond the left monitor: onto it, not onto the primary.
  EXPECT_EQ(Place(two, {-5000, 300}), (Point{-800, 700 - 510}));
  // Below both: the left one straight above it is nearer than the primary off to one side, though
  // the primary reaches lower.
  EXPECT_EQ(Place(two, {-700, 2000}, {200, 100}), (Point{-700, 600}));
  // The body lies mostly on the primary, the bar on neither: the primary takes it.
  EXPECT_EQ(Place(two, {-100, -200}, {400, 400}), (Point{0, 0}));
  // Equally far from both, off their common corner: the first given.
  EXPECT_EQ(Place({kPrimaryWork, Rect{1024, 0, 2048, 728}}, {1024 - 50, 2000}, {100, 100}),
            (Point{1024 - 100, 728 - 100}));
}

TEST(ReachablePlace, AWindowLargerThanTheWorkAreaKeepsItsTitleBarOnIt) {
  const std::vector<Rect> small{Rect{0, 0, 600, 400}};
  EXPECT_EQ(Place(small, {3000, 3000}), (Point{0, 0}));
  EXPECT_EQ(Place(small, {-3000, 100}, {300, 500}), (Point{0, 0}));
}

TEST(ReachablePlace, PlacesAtTheEndsOfTheNumberRangeAndNoMonitorsAtAll) {
  const std::vector<Rect> one{kPrimaryWork};
  EXPECT_EQ(Place(one, {INT_MAX, INT_MAX}), (Point{1024 - 638, 728 - 510}));
  EXPECT_EQ(Place(one, {INT_MIN, INT_MIN}), (Point{0, 0}));
  EXPECT_EQ(Place({}, {-5000, -5000}), (Point{-5000, -5000}));
  // A window of no size still needs a reachable corner.
  EXPECT_EQ(Place(one, {-10, -10}, {0, 0}), (Point{0, 0}));
  EXPECT_EQ(Place(one, {10, 10}, {0, 0}), (Point{10, 10}));
}

}  // namespace
}  // namespace tessmoor
