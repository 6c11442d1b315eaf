#pragma once
#include <windows.h>

#include <string>

#include "setup/version_dialog_model.h"
#include "tests/e2e/layout_dialog_driver.h"
#include "tests/e2e/settings_dialog_driver.h"

// The version dialog, opened as a user opens it: the settings dialog's menu item
// "ヘルプ&バージョン". Each choice of the item opens a new instance.
namespace tessmoor::e2e {

class VersionDialogDriver : public LayoutDialogDriver<VersionRole, VersionDialogControls> {
 public:
  static constexpr const wchar_t* kTitle = L"バージョン&ヘルプ";
  using LayoutDialogDriver::LayoutDialogDriver;

  // The new instance; an empty driver, with a test failure, when none opened.
  static VersionDialogDriver OpenFrom(const SettingsDialogDriver& settings);

  std::wstring Title() const { return WindowText(Control(VersionRole::kTitle)); }
  // Where the title and the picture are on the screen.
  RECT TitleArea() const { return WindowRectOf(Control(VersionRole::kTitle)); }
  RECT PictureArea() const { return WindowRectOf(Control(VersionRole::kPicture)); }

  void PressHelp() const { Click(Control(VersionRole::kHelpButton)); }
  void Close() const { Click(Control(VersionRole::kCloseButton)); }
};

}  // namespace tessmoor::e2e
