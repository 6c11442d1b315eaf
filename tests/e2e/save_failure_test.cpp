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
    for (const keys::KeyDef& k : keys::AllKeys()) registry::Write(Wide(k.name), Wide(k.first_run));
    store_ = registry::All();
  }

  // Denies writes to the settings key until Allow().
  void Deny() {
    denial_.emplace();
    ASSERT_TRUE(denial_->Active()) << "the settings key still takes writes";
  }
  void Allow() { denial_.reset(); }

  // Presses `save` of `dialog` (posted: the message box would hold a sent click until it goes),
  // acknowledges the refusal; then the dialog is still there and the store as it was.
  void PressRefusedSave(HWND dialog, HWND save, const wchar_t* screenshot) const {
    PostMessageW(save, BM_CLICK, 0, 0);
    ASSERT_TRUE(AcknowledgeRefusal(dialog, screenshot));
    EXPECT_TRUE(IsWindowVisible(dialog)) << "the refused save closed the dialog";
    EXPECT_EQ(registry::All(), store_);
  }

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
  ASSERT_NO_FATAL_FAILURE(PressRefusedSave(d.hwnd(), d.Control("NoImageRegFileSaveButton"), L"save-refused"));
  EXPECT_TRUE(module_->Running());
  EXPECT_TRUE(d.Checked(d.Control("No2ScrActionRadioButton"))) << "the user's choice was lost";
  EXPECT_TRUE(d.Checked(d.Control("MusicPlaySetRadioButton")));

  // The key takes writes again: the same press saves and ends the run.
  Allow();
  d.PostClick(d.Control("NoImageRegFileSaveButton"));
  ASSERT_EQ(module_->WaitExit(10s), 0u);
  EXPECT_EQ(registry::Read(L"ScrActionRegSelectNoFlag"), L"2");
  EXPECT_EQ(registry::Read(L"MusicPlayStop"), L"0");
}

TEST_F(RefusedSave, TheDetailAndExtendedDialogsSaySoAndStayOpenWithoutRecordingAPosition) {
  ASSERT_TRUE(OpenSettings());
  const auto detail = Pattern1DetailDriver::OpenFrom(*settings_);
  const auto extended = ExtendedDialogDriver::OpenFrom(*settings_);
  ASSERT_TRUE(detail);
  ASSERT_TRUE(extended);
  ASSERT_NO_FATAL_FAILURE(Deny());
  detail.ChooseMode(3);
  detail.ToggleBox(2);
  detail.MoveTo(170, 150);
  ASSERT_NO_FATAL_FAILURE(PressRefusedSave(detail.hwnd(), detail.Control(Pattern1DetailDriver::Role::kSaveButton),
                                           L"save-refused-detail"));
  EXPECT_TRUE(detail.ModeChecked(3));
  EXPECT_FALSE(detail.BoxChecked(2));
  extended.ChooseSlideShow();
  ASSERT_NO_FATAL_FAILURE(PressRefusedSave(
      extended.hwnd(), extended.Control(ExtendedDialogDriver::Role::kSaveButton), L"save-refused-extended"));
  EXPECT_TRUE(extended.SlideShowChecked());

  // The key takes writes again: the same presses save and close.
  Allow();
  detail.Save();
  EXPECT_TRUE(detail.WaitClosed());
  EXPECT_EQ(registry::Read(L"ScrActionRegSelectNo1FlagDetail"), L"3");
  EXPECT_EQ(registry::Read(L"ImageRegForm1No2BoxScrSetUpFormTabControlCheckBoxReg"), L"0");
  EXPECT_EQ(registry::Read(L"ScreenDetailSetUpPointRegXFlag"), L"170");
  extended.Save();
  EXPECT_TRUE(extended.WaitClosed());
  EXPECT_EQ(registry::Read(L"ScrActionRegSelectEveryMonitorFlag"), L"1");
}

}  // namespace
}  // namespace tessmoor::e2e
