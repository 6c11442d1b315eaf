#include "pattern2/item_size.h"

#include <gtest/gtest.h>

#include <vector>

#include "tests/support/fake_windows.h"

namespace tessmoor::pattern2 {
namespace {

struct WindowSizeCase {
  Size screen;
  int scale;
  Size picture;
  Size window;
};

class PictureWindowSizeTest : public ::testing::TestWithParam<WindowSizeCase> {};

TEST_P(PictureWindowSizeTest, IsHalfThePictureFittedIntoTheFitSide) {
  const WindowSizeCase& c = GetParam();
  EXPECT_EQ(PictureWindowSize(c.picture, c.screen, c.scale), c.window);
}

INSTANTIATE_TEST_SUITE_P(
    Examples, PictureWindowSizeTest,
    ::testing::Values(
        // 1024 x 768 at 50 %: fit side min(10 * 50, 7 * 50) = 350; 350 x 262 halved.
        WindowSizeCase{{1024, 768}, 50, {1600, 1200}, {175, 131}},
        WindowSizeCase{{1024, 768}, 50, {1200, 1600}, {131, 175}},
        // 1280 x 1024 at 30 %: fit side 300; height trunc(300 * 0.333..) = 99 in extended
        // precision (100 if the product were rounded to double), halved to 49.
        WindowSizeCase{{1280, 1024}, 30, {900, 300}, {150, 49}},
        // Square pictures take the portrait branch.
        WindowSizeCase{{1024, 768}, 50, {500, 500}, {175, 175}},
        // The division by 100 comes first: 1099 wide counts as 10 hundreds.
        WindowSizeCase{{1099, 1099}, 50, {1000, 1000}, {250, 250}},
        // A screen under 100 pixels high has a fit side of 0.
        WindowSizeCase{{1024, 99}, 50, {1600, 1200}, {0, 0}},
        // An odd fitted side loses its remainder: 351 x 351 halved.
        WindowSizeCase{{100, 100}, 351, {20, 20}, {175, 175}},
        // A negative scale (only by editing the store) gives an empty window, not a negative one.
        WindowSizeCase{{1024, 768}, -50, {1600, 1200}, {0, 0}}));

TEST(WindowScale, ReadsNumberText) {
  EXPECT_EQ(testing::StoredScale(1, "30"), 30);
  EXPECT_EQ(testing::StoredScale(4, "100"), 100);
  EXPECT_EQ(testing::StoredScale(2, " 30"), 30);
  EXPECT_EQ(testing::StoredScale(3, "$1E"), 30);
}

TEST(WindowScale, TextThatIsNoNumberCountsAsFifty) {
  for (const char* bad : {"", "abc", "30%", "1.5", "30 ", "99999999999"})
    EXPECT_EQ(testing::StoredScale(2, bad), 50) << bad;
}

// Every resize of a panel starts from the panel's last size, so the sequence settles.
std::vector<Size> PanelSizes(Size form, int scale, int resizes) {
  std::vector<Size> sizes;
  Size current{161, 121};
  for (int i = 0; i < resizes; ++i) {
    current = PanelSize(current, form, scale);
    sizes.push_back(current);
  }
  return sizes;
}

TEST(PanelSize, AtFiftyPercentOnA152By112FormFlattensOnceThenSettles) {
  // 50 x trunc(50 * 121 / 161 = 37.6) halved; then trunc(50 * 0.72) is 35 in extended precision.
  EXPECT_EQ(PanelSizes({152, 112}, 50, 4),
            (std::vector<Size>{{25, 18}, {25, 17}, {25, 17}, {25, 17}}));
}

TEST(PanelSize, AtOneHundredPercentFlattensThreeTimesThenSettles) {
  EXPECT_EQ(PanelSizes({152, 112}, 100, 6),
            (std::vector<Size>{{50, 37}, {50, 36}, {50, 35}, {50, 34}, {50, 34}, {50, 34}}));
}

TEST(PanelSize, AtTwoPercentBecomesOneByZeroAndStaysSo) {
  EXPECT_EQ(PanelSizes({152, 112}, 2, 3), (std::vector<Size>{{1, 0}, {1, 0}, {1, 0}}));
}

TEST(PanelSize, OnAFormUnderOneHundredPixelsBecomesZeroByZeroAndStaysSo) {
  EXPECT_EQ(PanelSizes({152, 99}, 50, 3), (std::vector<Size>{{0, 0}, {0, 0}, {0, 0}}));
  EXPECT_EQ(PanelSizes({199, 199}, 1, 2), (std::vector<Size>{{0, 0}, {0, 0}}));
}

TEST(PanelSize, ZeroByZeroStaysZeroByZeroWhateverTheFitSide) {
  EXPECT_EQ(PanelSize({0, 0}, {1000, 1000}, 100), (Size{0, 0}));
}

TEST(PanelSize, ASingleSideOfZeroKeepsTheRatioRule) {
  // 0 wide: the portrait branch, height the fit side, width 0.
  EXPECT_EQ(PanelSize({0, 7}, {1000, 1000}, 10), (Size{0, 50}));
  EXPECT_EQ(PanelSize({7, 0}, {1000, 1000}, 10), (Size{50, 0}));
}

TEST(PanelSize, PortraitPanelKeepsItsHeightAsTheFitSide) {
  EXPECT_EQ(PanelSize({121, 161}, {152, 112}, 50), (Size{18, 25}));
}

}  // namespace
}  // namespace tessmoor::pattern2
