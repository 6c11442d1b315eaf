#include "tests/e2e/extended_dialog_driver.h"

#include "setup/win32/settings_ids.h"

namespace tessmoor::e2e {

ExtendedDialogDriver ExtendedDialogDriver::OpenFrom(const SettingsDialogDriver& settings) {
  return ExtendedDialogDriver(settings.OpenFromMenu(kSettingsExtendedMenuId, kTitle));
}

}  // namespace tessmoor::e2e
