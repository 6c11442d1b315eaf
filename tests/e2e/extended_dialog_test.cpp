// The extended-settings dialog 拡張設定, opened from the settings dialog's menu and driven as a
// user drives it: its Japanese captions, the keys it writes when it opens, save, cancel and the
// close box, a damaged stored value, and one new instance per choice of the menu item.
#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>

#include "tests/e2e/extended_dialog_driver.h"
#include "tests/e2e/layout_dialog_checks.h"

namespace tessmoor::e2e {
namespace {

constexpr const wchar_t* kEveryMonitorKey = L"ScrActionRegSelectEveryMonitorFlag";
constexpr const wchar_t* kSubfoldersKey = L"ImageRegFolderSubFlag";
constexpr const wchar_t* kOrderKey = L"ImageRegFolderOrderFlag";

class ExtendedDialog : public FromSettingsDialog {
 protected:
  static void ExpectShows(const ExtendedDialogDriver& dialog, bool every_monitor, bool subfolders, bool name_order) {
    EXPECT_EQ(dialog.SlideShowChecked(), every_monitor);
    EXPECT_EQ(dialog.BlackChecked(), !every_monitor);
    EXPECT_EQ(dialog.SubfoldersChecked(), subfolders);
    EXPECT_EQ(dialog.NameOrderChecked(), name_order);
    EXPECT_EQ(dialog.ShuffledChecked(), !name_order);
  }
  using Values = std::map<std::wstring, std::wstring>;
  // The three keys as the store holds them.
  static Values Stored() {
    Values values;
    for (const wchar_t* key : {kEveryMonitorKey, kSubfoldersKey, kOrderKey})
      values[key] = registry::Read(key).value_or(L"<absent>");
    return values;
  }
  static Values Of(const wchar_t* every_monitor, const wchar_t* subfolders, const wchar_t* order) {
    return {{kEveryMonitorKey, every_monitor}, {kSubfoldersKey, subfolders}, {kOrderKey, order}};
  }
};

TEST_F(ExtendedDialog, OpensFromTheMenuInJapaneseAtItsPlaceAndWritesTheFirstRunValues) {
  ASSERT_TRUE(OpenSettings());
  EXPECT_EQ(registry::Read(kEveryMonitorKey), std::nullopt) << "the settings dialog wrote an extended key";
  const auto dialog = ExtendedDialogDriver::OpenFrom(*settings_);
  ASSERT_TRUE(dialog) << "the extended-settings dialog did not open from the menu item";
  EXPECT_EQ(WindowText(dialog.hwnd()), L"拡張設定");
  ExpectDialogFrame(dialog.hwnd(), settings_->hwnd(), ExtendedDialogForm());
  EXPECT_EQ(dialog.Origin(), (Point{ExtendedDialogForm().left, ExtendedDialogForm().top}));
  ExpectLayout(dialog.hwnd(), RowsOf(dialog.Layout()));
  ExpectShows(dialog, false, true, false);
  ExpectCaptionsDrawnAndKeep(dialog.hwnd(), RowsOf(dialog.Layout()), L"extended-dialog");
  EXPECT_EQ(Stored(), Of(L"0", L"1", L"2"));
}

TEST_F(ExtendedDialog, SaveWritesTheChoicesClosesAndTheNextInstanceShowsThem) {
  ASSERT_TRUE(OpenSettings());
  const auto dialog = ExtendedDialogDriver::OpenFrom(*settings_);
  ASSERT_TRUE(dialog);
  dialog.ChooseSlideShow();
  dialog.ToggleSubfolders();
  dialog.ChooseNameOrder();
  ExpectShows(dialog, true, false, true);
  EXPECT_EQ(registry::Read(kEveryMonitorKey), L"0") << "a choice reached the store before the save";
  dialog.Save();
  EXPECT_TRUE(dialog.WaitClosed()) << "save leaves the dialog open";
  EXPECT_TRUE(IsWindow(dialog.hwnd())) << "a closed dialog is hidden, not destroyed";
  EXPECT_EQ(Stored(), Of(L"1", L"0", L"1"));

  const auto again = ExtendedDialogDriver::OpenFrom(*settings_);
  ASSERT_TRUE(again);
  EXPECT_NE(again.hwnd(), dialog.hwnd());
  ExpectShows(again, true, false, true);
  again.ChooseBlack();
  again.ChooseShuffled();
  again.ToggleSubfolders();
  again.Save();
  EXPECT_TRUE(again.WaitClosed());
  EXPECT_EQ(Stored(), Of(L"0", L"1", L"2"));
}

TEST_F(ExtendedDialog, CancelAndTheCloseBoxWriteNothing) {
  ASSERT_TRUE(OpenSettings());
  for (bool close_box : {false, true}) {
    const auto dialog = ExtendedDialogDriver::OpenFrom(*settings_);
    ASSERT_TRUE(dialog);
    const auto before = registry::All();
    dialog.ChooseSlideShow();
    dialog.ToggleSubfolders();
    dialog.ChooseNameOrder();
    dialog.MoveTo(200, 220);
    if (close_box)
      dialog.PressCloseBox();
    else
      dialog.Cancel();
    EXPECT_TRUE(dialog.WaitClosed()) << (close_box ? "close box" : "cancel");
    EXPECT_EQ(registry::All(), before) << (close_box ? "close box" : "cancel");
  }
}

TEST_F(ExtendedDialog, DamagedValuesOpenShowingTheFirstRunChoicesAndStayUntilASave) {
  registry::Write(kEveryMonitorKey, L"yes");
  registry::Write(kSubfoldersKey, L"2");
  registry::Write(kOrderKey, L"");
  ASSERT_TRUE(OpenSettings());
  const auto dialog = ExtendedDialogDriver::OpenFrom(*settings_);
  ASSERT_TRUE(dialog);
  ExpectShows(dialog, false, true, false);
  EXPECT_EQ(Stored(), Of(L"yes", L"2", L""));
  dialog.Save();
  EXPECT_TRUE(dialog.WaitClosed());
  EXPECT_EQ(Stored(), Of(L"0", L"1", L"2"));
}

TEST_F(ExtendedDialog, EachChoiceOfTheMenuItemOpensANewInstance) {
  ASSERT_TRUE(OpenSettings());
  const auto first = ExtendedDialogDriver::OpenFrom(*settings_);
  const auto second = ExtendedDialogDriver::OpenFrom(*settings_);
  ASSERT_TRUE(first);
  ASSERT_TRUE(second);
  EXPECT_NE(first.hwnd(), second.hwnd());
  EXPECT_EQ(WindowsTitled(settings_->pid(), ExtendedDialogDriver::kTitle).size(), 2u)
      << "two choices of the menu item show two dialogs";
  for (HWND d : {first.hwnd(), second.hwnd()}) EXPECT_EQ(GetWindow(d, GW_OWNER), settings_->hwnd());
  // Each keeps its own choices until it is saved.
  first.ChooseSlideShow();
  EXPECT_TRUE(second.BlackChecked());
  first.PressCloseBox();
  EXPECT_TRUE(first.WaitClosed()) << "the close box leaves the dialog open";
  EXPECT_TRUE(second.Visible());
  second.Save();
  EXPECT_TRUE(second.WaitClosed());
  EXPECT_EQ(registry::Read(kEveryMonitorKey), L"0");
}

}  // namespace
}  // namespace tessmoor::e2e
