// A dialog laid out at another DPI: the rectangles its window gives each row of its table at 96,
// 120, 144 and 192 DPI, as it builds them and as it lays them out again when it is moved onto a
// monitor of another DPI.
#include <gtest/gtest.h>

#include <ostream>

#include "platform/dialog_layout.h"
#include "setup/detail_dialog_layouts.h"
#include "setup/extended_dialog_layout.h"
#include "setup/music_dialog_layout.h"
#include "setup/settings_dialog_layout.h"

namespace tessmoor {

void PrintTo(const Rect& r, std::ostream* os) {
  *os << "(" << r.left << "," << r.top << " " << r.width() << "x" << r.height() << ")";
}

namespace {

Rect At(int x, int y, int width, int height) { return {x, y, x + width, y + height}; }

TEST(ScaleToDpi, RoundsToTheNearestPixelWithHalvesAwayFromZeroAsMulDivDoes) {
  EXPECT_EQ(ScaleToDpi(137, 96), 137);
  EXPECT_EQ(ScaleToDpi(137, 120), 171);  // 171.25
  EXPECT_EQ(ScaleToDpi(25, 120), 31);    // 31.25
  EXPECT_EQ(ScaleToDpi(17, 144), 26);    // 25.5
  EXPECT_EQ(ScaleToDpi(3, 144), 5);      // 4.5
  EXPECT_EQ(ScaleToDpi(6, 120), 8);      // 7.5
  EXPECT_EQ(ScaleToDpi(-6, 120), -8);
  EXPECT_EQ(ScaleToDpi(-5, 120), -6);    // -6.25
  EXPECT_EQ(ScaleToDpi(0, 192), 0);
  EXPECT_EQ(ScaleToDpi(1000000, 192), 2000000);
}

TEST(ScaleToDpi, ScalesEachEdgeOfARectangleFromItsOwnLeftTopWidthAndHeight) {
  // 5 + 5 at 120 DPI: 6 + 6, although 10 alone would be 13.
  EXPECT_EQ(ScaleToDpi(At(5, 6, 5, 137), 120), At(6, 8, 6, 171));
  EXPECT_EQ(ScaleToDpi(At(24, 172, 89, 25), 144), At(36, 258, 134, 38));
}

TEST(FormPlaces, AddsEveryParentsPositionAndTakesAnUnknownParentAsTheForm) {
  const std::vector<LayoutPlace> places = {
      {"Group", "", 8, 72, 241, 89},
      {"Inner", "Group", 10, 20, 100, 50},
      {"Check", "Inner", 8, 16, 185, 17},
      {"Loose", "Nowhere", 4, 4, 10, 10},
      {"Button", "", 24, 172, 89, 25},
  };
  EXPECT_EQ(FormPlaces(places), (std::vector<Rect>{At(8, 72, 241, 89), At(18, 92, 100, 50), At(26, 108, 185, 17),
                                                   At(4, 4, 10, 10), At(24, 172, 89, 25)}));
}

class DialogAtDpi : public ::testing::TestWithParam<int> {};

TEST_P(DialogAtDpi, TheExtendedDialogsRowsScaleEachOnItsOwnFromTheirPlaceInTheForm) {
  const int dpi = GetParam();
  const auto& table = ExtendedDialogControls();
  const std::vector<Rect> design = ScaledLayout(table, 96);
  const std::vector<Rect> scaled = ScaledLayout(table, dpi);
  ASSERT_EQ(scaled.size(), table.size());
  auto s = [dpi](int v) { return ScaleToDpi(v, dpi); };
  for (std::size_t i = 0; i < table.size(); ++i) {
    const Rect& d = design[i];
    EXPECT_EQ(scaled[i], At(s(d.left), s(d.top), s(d.width()), s(d.height()))) << table[i].name;
    if (dpi == 192) {
      EXPECT_EQ(scaled[i], At(2 * d.left, 2 * d.top, 2 * d.width(), 2 * d.height())) << table[i].name;
    }
  }
  // The radio button 黒 lies in its group box: 8 + 8 across and 8 + 16 down at 96 DPI.
  EXPECT_EQ(design[1], At(16, 24, 129, 16));
  EXPECT_EQ(scaled[1], At(s(16), s(24), s(129), s(16)));
}

// Every table's controls that lie inside their group box or tab control at 96 DPI (a pixel clear
// of its edges) lie inside it at the other DPI too, and the form's buttons stay apart.
TEST_P(DialogAtDpi, ChildrenStayInsideTheirParentsInEveryDialog) {
  const int dpi = GetParam();
  auto check = [dpi](const auto& table, const char* dialog) {
    const std::vector<Rect> design = ScaledLayout(table, 96);
    const std::vector<Rect> scaled = ScaledLayout(table, dpi);
    for (std::size_t i = 0; i < table.size(); ++i) {
      for (std::size_t p = 0; p < i; ++p) {
        if (table[p].name != table[i].parent) continue;
        const Rect &c = design[i], &g = design[p];
        if (c.left <= g.left || c.top <= g.top || c.right >= g.right || c.bottom >= g.bottom) continue;
        const Rect &sc = scaled[i], &sg = scaled[p];
        EXPECT_TRUE(sc.left > sg.left && sc.top > sg.top && sc.right <= sg.right && sc.bottom <= sg.bottom)
            << dialog << ": " << table[i].name << " leaves " << table[p].name << " at " << dpi << " DPI";
      }
    }
  };
  check(ExtendedDialogControls(), "extended");
  check(Pattern1DetailControls(), "pattern 1");
  check(Pattern2DetailControls(), "pattern 2");
  check(SettingsDialogControls(), "settings");
  const std::vector<Rect> extended = ScaledLayout(ExtendedDialogControls(), dpi);
  const Rect& save = extended[8];
  const Rect& cancel = extended[9];
  EXPECT_LT(save.right, cancel.left);
  EXPECT_EQ(save.width(), cancel.width());
  const std::vector<Rect> music = ScaledLayout(MusicDialogControls(), dpi);
  EXPECT_EQ(music.back(), At(ScaleToDpi(128, dpi), ScaleToDpi(216, dpi), ScaleToDpi(73, dpi), ScaleToDpi(25, dpi)));
}

INSTANTIATE_TEST_SUITE_P(Dpi, DialogAtDpi, ::testing::Values(96, 120, 144, 192));

}  // namespace
}  // namespace tessmoor
