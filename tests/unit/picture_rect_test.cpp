#include "platform/picture_rect.h"

#include <gtest/gtest.h>

#include <array>

namespace tessmoor {
namespace {

// Left, top, right, bottom: printed readably when a case fails.
std::array<int, 4> Corners(Rect r) { return {r.left, r.top, r.right, r.bottom}; }

struct DrawCase {
  Size control;
  Size picture;
  bool enlarge;
  Rect drawn;
};

class PictureDrawRectTest : public ::testing::TestWithParam<DrawCase> {};

TEST_P(PictureDrawRectTest, DrawsAtTheTopLeftShrunkToFit) {
  EXPECT_EQ(Corners(PictureDrawRect(GetParam().control, GetParam().picture, GetParam().enlarge)),
            Corners(GetParam().drawn));
}

INSTANTIATE_TEST_SUITE_P(
    Rule, PictureDrawRectTest,
    ::testing::Values(
        // A small picture stays at its size, except where the control enlarges.
        DrawCase{{137, 109}, {50, 40}, false, {0, 0, 50, 40}},
        DrawCase{{137, 109}, {50, 40}, true, {0, 0, 137, 109}},
        DrawCase{{109, 137}, {40, 50}, true, {0, 0, 109, 137}},
        DrawCase{{137, 137}, {100, 100}, true, {0, 0, 137, 137}},
        DrawCase{{137, 137}, {137, 137}, false, {0, 0, 137, 137}},
        // A picture larger in either direction fills the control it was sized for.
        DrawCase{{137, 102}, {640, 480}, false, {0, 0, 137, 102}},
        DrawCase{{102, 137}, {480, 640}, false, {0, 0, 102, 137}},
        DrawCase{{45, 137}, {300, 900}, false, {0, 0, 45, 137}},
        DrawCase{{137, 137}, {138, 20}, false, {0, 0, 137, 19}},
        // When the other side would still overflow, that side limits.
        DrawCase{{100, 20}, {100, 40}, true, {0, 0, 50, 20}},
        // The aspect is a double: 20 / 0.4 lies just below 50.
        DrawCase{{20, 100}, {40, 100}, true, {0, 0, 20, 49}}));

}  // namespace
}  // namespace tessmoor
