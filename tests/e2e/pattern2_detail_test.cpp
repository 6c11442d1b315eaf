// The pattern-2 detail dialog, opened from the settings dialog and driven as a user drives it:
// each window's mode, speed, size and use chosen, saved and cancelled, with the registry read
// after each step.
#include <gtest/gtest.h>

#include <array>

#include "tests/e2e/detail_dialog_checks.h"
#include "tests/e2e/detail_dialog_driver.h"
#include "tests/e2e/layout_dialog_checks.h"

namespace tessmoor::e2e {
namespace {

class Pattern2DetailDialog : public FromSettingsDialog {};

TEST_F(Pattern2DetailDialog, OnAnEmptyStoreWritesItsFirstRunValuesAndShowsThem) {
  ASSERT_TRUE(OpenSettings());
  EXPECT_FALSE(registry::Read(ModeKey(1))) << "the settings dialog alone writes no pattern-2 detail";
  const auto dialog = Pattern2DetailDriver::OpenFrom(*settings_);
  ASSERT_TRUE(dialog) << "the pattern-2 detail dialog did not open";
  ExpectDialogFrame(dialog.hwnd(), settings_->hwnd(), Pattern2DetailForm());
  EXPECT_EQ(dialog.Origin(), (Point{100, 100}));
  ExpectLayout(dialog.hwnd(), RowsOf(dialog.Layout()));
  ExpectPattern2Shows(dialog, kPattern2FirstRun);
  ExpectCaptionsDrawnAndKeep(dialog.hwnd(), RowsOf(dialog.Layout()), L"pattern2-detail");
  for (int n = 1; n <= 4; ++n) {
    EXPECT_EQ(Value(ModeKey(n)), std::to_wstring(n));
    EXPECT_EQ(Value(SpeedKey(n)), L"50");
    EXPECT_EQ(Value(SizeKey(n)), L"50");
    EXPECT_EQ(Value(UseKey(n)), L"1");
  }
  EXPECT_EQ(Value(L"ScreenDetailSetUpPointRegXFlag"), L"100");
  EXPECT_EQ(Value(L"ScreenDetailSetUpPointRegYFlag"), L"100");
}

TEST_F(Pattern2DetailDialog, ArrowsStepEverySpeedBarByOneAndTheSizeLabelShowsTheThumbAtOnce) {
  ASSERT_TRUE(OpenSettings());
  const auto dialog = Pattern2DetailDriver::OpenFrom(*settings_);
  ASSERT_TRUE(dialog);
  for (int n = 1; n <= 4; ++n) {
    dialog.SpeedArrowRight(n);
    EXPECT_EQ(dialog.Speed(n), 51) << "window " << n;
    dialog.SpeedArrowLeft(n);
    dialog.SpeedArrowLeft(n);
    EXPECT_EQ(dialog.Speed(n), 49) << "window " << n;
  }
  // While the thumb is dragged, each notification's position shows at once, before the drag ends.
  for (int at : {77, 80}) {
    dialog.SizeThumbTrack(3, at);
    EXPECT_EQ(dialog.SizeLabel(3), std::to_wstring(at));
    EXPECT_EQ(dialog.Size(3), at);
  }
  dialog.SizeThumbTo(3, 80);
  EXPECT_EQ(dialog.SizeLabel(3), L"80");
}

TEST_F(Pattern2DetailDialog, SaveWritesEveryGroupAndCancelWritesNothingButThePosition) {
  ASSERT_TRUE(OpenSettings());
  const std::array<Pattern2Group, 4> chosen{{{1, 51, 1, true}, {5, 300, 50, true}, {3, 50, 80, true}, {1, 50, 50, false}}};
  auto choose = [](const Pattern2DetailDriver& dialog) {
    dialog.ChooseMode(2, 5);
    dialog.ChooseMode(4, 1);
    dialog.ToggleUse(4);
    dialog.SpeedArrowRight(1);
    dialog.SpeedThumbTo(2, 300);
    dialog.SizeThumbTo(3, 80);
    dialog.SizeThumbTo(1, 1);
  };

  // Cancelled: the store keeps the first-run values, only the place the dialog closed at is new.
  auto dialog = Pattern2DetailDriver::OpenFrom(*settings_);
  ASSERT_TRUE(dialog);
  choose(dialog);
  ExpectPattern2Shows(dialog, chosen);
  const auto before = registry::All();
  dialog.MoveTo(180, 190);
  dialog.Cancel();
  EXPECT_TRUE(dialog.WaitClosed());
  auto expected = before;
  expected[L"ScreenDetailSetUpPointRegXFlag"] = L"180";
  expected[L"ScreenDetailSetUpPointRegYFlag"] = L"190";
  EXPECT_EQ(registry::All(), expected);

  // Saved: every group's choice is stored, and the next instance shows it.
  dialog = Pattern2DetailDriver::OpenFrom(*settings_);
  ASSERT_TRUE(dialog);
  EXPECT_EQ(dialog.Origin(), (Point{180, 190}));
  ExpectPattern2Shows(dialog, kPattern2FirstRun);
  choose(dialog);
  dialog.Save();
  EXPECT_TRUE(dialog.WaitClosed());
  for (int n = 1; n <= 4; ++n) {
    const Pattern2Group& g = chosen[n - 1];
    EXPECT_EQ(Value(ModeKey(n)), std::to_wstring(g.mode)) << n;
    EXPECT_EQ(Value(SpeedKey(n)), std::to_wstring(g.speed)) << n;
    EXPECT_EQ(Value(SizeKey(n)), std::to_wstring(g.size)) << n;
    EXPECT_EQ(Value(UseKey(n)), g.use ? L"1" : L"0") << n;
  }
  const auto again = Pattern2DetailDriver::OpenFrom(*settings_);
  ASSERT_TRUE(again);
  ExpectPattern2Shows(again, chosen);
}

TEST_F(Pattern2DetailDialog, StoredModeSevenSelectsNoButtonAndSurvivesASave) {
  registry::Write(ModeKey(3), L"7");
  ASSERT_TRUE(OpenSettings());
  const auto dialog = Pattern2DetailDriver::OpenFrom(*settings_);
  ASSERT_TRUE(dialog);
  ExpectPattern2Shows(dialog, {{{1, 50, 50, true}, {2, 50, 50, true}, {0, 50, 50, true}, {4, 50, 50, true}}});
  dialog.Save();
  EXPECT_TRUE(dialog.WaitClosed());
  EXPECT_EQ(Value(ModeKey(3)), L"7");
  EXPECT_EQ(Value(ModeKey(4)), L"4");
}

}  // namespace
}  // namespace tessmoor::e2e
