#include "tests/e2e/version_dialog_driver.h"

#include "setup/win32/settings_ids.h"

namespace tessmoor::e2e {

VersionDialogDriver VersionDialogDriver::OpenFrom(const SettingsDialogDriver& settings) {
  return VersionDialogDriver(settings.OpenFromMenu(kSettingsHelpMenuId, kTitle));
}

}  // namespace tessmoor::e2e
