#include "tests/e2e/extended_dialog_driver.h"

#include <gtest/gtest.h>

#include "setup/win32/settings_ids.h"

namespace tessmoor::e2e {

ExtendedDialogDriver ExtendedDialogDriver::OpenFrom(const SettingsDialogDriver& settings) {
  HWND opened = AwaitNewWindow(
      settings.pid(), kTitle,
      [&] { PostMessageW(settings.hwnd(), WM_COMMAND, MAKEWPARAM(kSettingsExtendedMenuId, 0), 0); }, kDialogOpen);
  if (!opened) ADD_FAILURE() << "the menu item \"拡張設定\" opened no extended-settings dialog";
  return ExtendedDialogDriver(opened);
}

}  // namespace tessmoor::e2e
