#pragma once
#include "setup/extended_dialog_layout.h"
#include "tests/e2e/layout_dialog_driver.h"
#include "tests/e2e/settings_dialog_driver.h"

// The extended-settings dialog, opened as a user opens it: the settings dialog's menu item
// "拡張設定". Each choice of the item opens a new instance.
namespace tessmoor::e2e {

class ExtendedDialogDriver : public LayoutDialogDriver<ExtendedRole, ExtendedDialogControls> {
 public:
  using LayoutDialogDriver::LayoutDialogDriver;
  using Role = ExtendedRole;
  static constexpr const wchar_t* kTitle = L"拡張設定";
  // Chooses the menu item and gives the dialog it opened; an empty driver, with a test failure,
  // when none did.
  static ExtendedDialogDriver OpenFrom(const SettingsDialogDriver& settings);

  // What it shows: the radio buttons of both groups and the check box.
  bool BlackChecked() const { return Checked(Control(Role::kMonitorsBlackRadio)); }
  bool SlideShowChecked() const { return Checked(Control(Role::kMonitorsSlideShowRadio)); }
  bool SubfoldersChecked() const { return Checked(Control(Role::kSubfoldersCheck)); }
  bool NameOrderChecked() const { return Checked(Control(Role::kNameOrderRadio)); }
  bool ShuffledChecked() const { return Checked(Control(Role::kShuffledRadio)); }

  void ChooseBlack() const { Click(Control(Role::kMonitorsBlackRadio)); }
  void ChooseSlideShow() const { Click(Control(Role::kMonitorsSlideShowRadio)); }
  void ToggleSubfolders() const { Click(Control(Role::kSubfoldersCheck)); }
  void ChooseNameOrder() const { Click(Control(Role::kNameOrderRadio)); }
  void ChooseShuffled() const { Click(Control(Role::kShuffledRadio)); }
  void Save() const { Click(Control(Role::kSaveButton)); }
  void Cancel() const { Click(Control(Role::kCancelButton)); }
};

}  // namespace tessmoor::e2e
