#include "tests/e2e/version_dialog_driver.h"

#include <gtest/gtest.h>

#include "setup/win32/settings_ids.h"

namespace tessmoor::e2e {

VersionDialogDriver VersionDialogDriver::OpenFrom(const SettingsDialogDriver& settings) {
  HWND opened = AwaitNewWindow(
      settings.pid(), kTitle,
      [&] { PostMessageW(settings.hwnd(), WM_COMMAND, MAKEWPARAM(kSettingsHelpMenuId, 0), 0); }, kDialogOpen);
  if (!opened) ADD_FAILURE() << "the menu item \"ヘルプ&バージョン\" opened no version dialog";
  return VersionDialogDriver(opened);
}

}  // namespace tessmoor::e2e
