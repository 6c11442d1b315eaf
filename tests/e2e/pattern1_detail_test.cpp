// The pattern-1 detail dialog, opened from the settings dialog and driven as a user drives it:
// radio buttons and check boxes clicked, scroll bars moved by their arrows and their thumbs,
// saved, cancelled and closed, with the registry read after each step.
#include <gtest/gtest.h>

#include "tests/e2e/detail_dialog_checks.h"
#include "tests/e2e/detail_dialog_driver.h"
#include "tests/e2e/layout_dialog_checks.h"

namespace tessmoor::e2e {
namespace {

class Pattern1DetailDialog : public FromSettingsDialog {};

TEST_F(Pattern1DetailDialog, OnAnEmptyStoreOpensAtTheFirstRunPlaceWithEveryControlAsDesigned) {
  ASSERT_TRUE(OpenSettings());
  const auto dialog = Pattern1DetailDriver::OpenFrom(*settings_);
  ASSERT_TRUE(dialog) << "the pattern-1 detail dialog did not open";
  ExpectDialogFrame(dialog.hwnd(), settings_->hwnd(), Pattern1DetailForm());
  EXPECT_EQ(dialog.Origin(), (Point{100, 100}));
  ExpectLayout(dialog.hwnd(), RowsOf(dialog.Layout()));
  ExpectPattern1Shows(dialog, 1, 1500, 50, {true, true, true, true});
  ExpectCaptionsDrawnAndKeep(dialog.hwnd(), RowsOf(dialog.Layout()), L"pattern1-detail");
  EXPECT_EQ(Value(L"ScreenDetailSetUpPointRegXFlag"), L"100");
  EXPECT_EQ(Value(L"ScreenDetailSetUpPointRegYFlag"), L"100");
  EXPECT_EQ(Value(L"ScrActionRegSelectNo1FlagDetail"), L"1");
  EXPECT_EQ(Value(L"ScrActionRegSelectNo1FlagTimer"), L"1500");
  EXPECT_EQ(Value(L"ScrActionRegSelectNo1FlagScale"), L"50");
  for (int b = 1; b <= 4; ++b) EXPECT_EQ(Value(P1BoxKey(b)), L"1");
}

TEST_F(Pattern1DetailDialog, SavesWhatClicksAndScrollsChoseAndTheNextInstanceShowsIt) {
  ASSERT_TRUE(OpenSettings());
  const auto dialog = Pattern1DetailDriver::OpenFrom(*settings_);
  ASSERT_TRUE(dialog);
  dialog.ChooseMode(4);
  dialog.ToggleBox(3);
  for (int i = 0; i < 3; ++i) dialog.ScaleArrowRight();
  EXPECT_EQ(dialog.Scale(), 53);
  EXPECT_EQ(dialog.ScaleLabel(), L"53");
  dialog.ScaleThumbTo(120);
  EXPECT_EQ(dialog.ScaleLabel(), L"120");
  dialog.TimerArrowRight();
  EXPECT_EQ(dialog.Timer(), 2000) << "an arrow click steps the slide interval by 500";
  dialog.TimerThumbTo(3210);
  ExpectPattern1Shows(dialog, 4, 3210, 120, {true, true, false, true});
  // Nothing reaches the store before the save.
  EXPECT_EQ(Value(L"ScrActionRegSelectNo1FlagTimer"), L"1500");
  EXPECT_EQ(Value(L"ScrActionRegSelectNo1FlagDetail"), L"1");
  dialog.MoveTo(150, 160);

  dialog.Save();
  EXPECT_TRUE(dialog.WaitClosed()) << "save leaves the dialog open";
  EXPECT_TRUE(IsWindow(dialog.hwnd())) << "a closed dialog is hidden, not destroyed";
  EXPECT_EQ(Value(L"ScrActionRegSelectNo1FlagDetail"), L"4");
  EXPECT_EQ(Value(L"ScrActionRegSelectNo1FlagTimer"), L"3210");
  EXPECT_EQ(Value(L"ScrActionRegSelectNo1FlagScale"), L"120");
  for (int b = 1; b <= 4; ++b) EXPECT_EQ(Value(P1BoxKey(b)), b == 3 ? L"0" : L"1") << b;
  EXPECT_EQ(Value(L"ScreenDetailSetUpPointRegXFlag"), L"150");
  EXPECT_EQ(Value(L"ScreenDetailSetUpPointRegYFlag"), L"160");

  const auto again = Pattern1DetailDriver::OpenFrom(*settings_);
  ASSERT_TRUE(again);
  EXPECT_NE(again.hwnd(), dialog.hwnd());
  EXPECT_EQ(again.Origin(), (Point{150, 160}));
  ExpectPattern1Shows(again, 4, 3210, 120, {true, true, false, true});
}

TEST_F(Pattern1DetailDialog, CancelAndTheCloseBoxWriteNothingButThePosition) {
  ASSERT_TRUE(OpenSettings());
  for (bool close_box : {false, true}) {
    const auto dialog = Pattern1DetailDriver::OpenFrom(*settings_);
    ASSERT_TRUE(dialog);
    const auto before = registry::All();
    dialog.ChooseMode(2);
    dialog.ToggleBox(1);
    dialog.TimerArrowRight();
    dialog.ScaleThumbTo(77);
    dialog.MoveTo(210, close_box ? 230 : 220);
    if (close_box)
      dialog.PressCloseBox();
    else
      dialog.Cancel();
    EXPECT_TRUE(dialog.WaitClosed()) << close_box;
    auto expected = before;
    expected[L"ScreenDetailSetUpPointRegXFlag"] = L"210";
    expected[L"ScreenDetailSetUpPointRegYFlag"] = close_box ? L"230" : L"220";
    EXPECT_EQ(registry::All(), expected) << (close_box ? "close box" : "cancel");
  }
}

TEST_F(Pattern1DetailDialog, StoredModeSixShowsFiveDirectionsAndAScaleOf500ComesBackAs150) {
  registry::Write(L"ScrActionRegSelectNo1FlagDetail", L"6");
  registry::Write(L"ScrActionRegSelectNo1FlagScale", L"500");
  ASSERT_TRUE(OpenSettings());
  const auto dialog = Pattern1DetailDriver::OpenFrom(*settings_);
  ASSERT_TRUE(dialog);
  ExpectPattern1Shows(dialog, 4, 1500, 150, {true, true, true, true});
  dialog.Save();
  EXPECT_TRUE(dialog.WaitClosed());
  EXPECT_EQ(Value(L"ScrActionRegSelectNo1FlagDetail"), L"4");
  EXPECT_EQ(Value(L"ScrActionRegSelectNo1FlagScale"), L"150");
  EXPECT_EQ(Value(L"ScrActionRegSelectNo1FlagTimer"), L"1500");
}

TEST_F(Pattern1DetailDialog, AScaleStoredAsANumberShowsTheFirstRunScaleAndCancelLeavesTheNumber) {
  registry::WriteDword(L"ScrActionRegSelectNo1FlagScale", 90);
  ASSERT_TRUE(OpenSettings());
  const auto dialog = Pattern1DetailDriver::OpenFrom(*settings_);
  ASSERT_TRUE(dialog);
  ExpectPattern1Shows(dialog, 1, 1500, 50, {true, true, true, true});
  dialog.Cancel();
  EXPECT_TRUE(dialog.WaitClosed());
  EXPECT_EQ(registry::ReadDword(L"ScrActionRegSelectNo1FlagScale"), DWORD{90});
  EXPECT_EQ(registry::Read(L"ScrActionRegSelectNo1FlagScale"), std::nullopt);
}

}  // namespace
}  // namespace tessmoor::e2e
