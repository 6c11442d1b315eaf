// A save the registry refuses, as under a policy that locks the settings key: the permissions of
// HKCU\Software\Quorvane\ScreenSaver\LumivaleReg deny setting values, so the module's own
// RegCreateKeyExW for writing fails with access denied. Each dialog says so in Japanese with the
// error number, stays open with the user's choices and leaves the store as it was; once the key
// takes writes again the same press saves.
#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>

#include "app/settings_keys.h"
#include "tests/e2e/detail_dialog_driver.h"
#include "tests/e2e/extended_dialog_driver.h"
#include "tests/e2e/harness.h"

namespace tessmoor::e2e {
namespace {

using namespace std::chrono_literals;

class RefusedSave : public FromSettingsDialog {
 protected:
  // Every key set, as after a while of use, so that no dialog has a first-run value to write when
  // it opens.
  void SetUp() override {
    FromSettingsDialog::SetUp();
    for (const keys::KeySpec& k : keys::AllKeys()) registry::Write(Wide(k.name), Wide(k.first_run));
    store_ = registry::All();
  }

  // Denies writes to the settings key until Allow().
  void Deny() {
    denial_.emplace();
    ASSERT_TRUE(denial_->Active()) << "the settings key still takes writes";
  }
  void Allow() { denial_.reset(); }

  // The message box that a refused save brought up over `dialog`: checks its text, keeps a
  // screenshot and presses its OK button. False when none appeared or it did not go.
  static bool AcknowledgeRefusal(HWND dialog, const wchar_t* screenshot) {
    HWND box = WaitOwnedWindow(dialog, L"#32770", 10s);
    if (!box) {
      ADD_FAILURE() << "no message box over the dialog";
      return false;
    }
    std::wstring text;
    HWND message = nullptr;
    for (HWND child : ChildWindows(box)) {
      wchar_t window_class[32] = {};
      GetClassNameW(child, window_class, 32);
      if (_wcsicmp(window_class, L"Static") == 0 && !WindowText(child).empty()) {
        text += WindowText(child);
        message = child;
      }
    }
    EXPECT_EQ(WindowText(box), L"Tessmoor");
    EXPECT_NE(text.find(L"設定を保存できませんでした。"), std::wstring::npos) << Narrow(text);
    EXPECT_NE(text.find(L"（エラー番号 5）"), std::wstring::npos) << "access denied: " << Narrow(text);
    SetForegroundWindow(box);
    PumpFor(300ms);
    const Screenshot shot = CaptureScreen();
    Crop(shot, WindowRectOf(box)).Save(screenshot);
    if (message) {
      EXPECT_GE(DistinctGlyphCells(shot, WindowRectOf(message), InkBackground::kMostCommonColour), 5)
          << "the message is not drawn as Japanese text";
    }
    PostMessageW(GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
    return WaitUntil([&] { return !IsWindow(box); }, 10s);
  }

  std::map<std::wstring, std::wstring> store_;
  std::optional<registry::ScopedWriteDenial> denial_;
};

TEST_F(RefusedSave, TheSettingsDialogSaysSoInJapaneseAndStaysOpenWithTheChoices) {
  ASSERT_NO_FATAL_FAILURE(Deny());
  ASSERT_TRUE(OpenSettings());
  const SettingsDialogDriver& d = *settings_;
  d.Click(d.Control("No2ScrActionRadioButton"));
  d.Click(d.Control("MusicPlaySetRadioButton"));
  d.PostClick(d.Control("NoImageRegFileSaveButton"));
  ASSERT_TRUE(AcknowledgeRefusal(d.hwnd(), L"save-refused"));
  EXPECT_TRUE(IsWindowVisible(d.hwnd())) << "the refused save closed the dialog";
  EXPECT_TRUE(module_->Running());
  EXPECT_TRUE(d.Checked(d.Control("No2ScrActionRadioButton"))) << "the user's choice was lost";
  EXPECT_TRUE(d.Checked(d.Control("MusicPlaySetRadioButton")));
  EXPECT_EQ(registry::All(), store_);

  // The key takes writes again: the same press saves and ends the run.
  Allow();
  d.PostClick(d.Control("NoImageRegFileSaveButton"));
  ASSERT_EQ(module_->WaitExit(10s), 0u);
  EXPECT_EQ(registry::Read(L"ScrActionRegSelectNoFlag"), L"2");
  EXPECT_EQ(registry::Read(L"MusicPlayStop"), L"0");
}

TEST_F(RefusedSave, TheDetailDialogSaysSoAndStaysOpenWithoutRecordingItsPosition) {
  ASSERT_TRUE(OpenSettings());
  const auto dialog = Pattern1DetailDriver::OpenFrom(*settings_);
  ASSERT_TRUE(dialog);
  ASSERT_NO_FATAL_FAILURE(Deny());
  dialog.ChooseMode(3);
  dialog.ToggleBox(2);
  dialog.MoveTo(170, 150);
  PostMessageW(dialog.Control(Pattern1DetailDriver::Role::kSaveButton), BM_CLICK, 0, 0);
  ASSERT_TRUE(AcknowledgeRefusal(dialog.hwnd(), L"save-refused-detail"));
  EXPECT_TRUE(dialog.Visible()) << "the refused save closed the dialog";
  EXPECT_TRUE(dialog.ModeChecked(3));
  EXPECT_FALSE(dialog.BoxChecked(2));
  EXPECT_EQ(registry::All(), store_);

  Allow();
  dialog.Save();
  EXPECT_TRUE(dialog.WaitClosed());
  EXPECT_EQ(registry::Read(L"ScrActionRegSelectNo1FlagDetail"), L"3");
  EXPECT_EQ(registry::Read(L"ImageRegForm1No2BoxScrSetUpFormTabControlCheckBoxReg"), L"0");
  EXPECT_EQ(registry::Read(L"ScreenDetailSetUpPointRegXFlag"), L"170");
}

TEST_F(RefusedSave, TheExtendedDialogSaysSoAndStaysOpen) {
  ASSERT_TRUE(OpenSettings());
  const auto dialog = ExtendedDialogDriver::OpenFrom(*settings_);
  ASSERT_TRUE(dialog);
  ASSERT_NO_FATAL_FAILURE(Deny());
  dialog.ChooseSlideShow();
  dialog.PostSave();
  ASSERT_TRUE(AcknowledgeRefusal(dialog.hwnd(), L"save-refused-extended"));
  EXPECT_TRUE(dialog.Visible());
  EXPECT_TRUE(dialog.SlideShowChecked());
  EXPECT_EQ(registry::All(), store_);
}

}  // namespace
}  // namespace tessmoor::e2e
