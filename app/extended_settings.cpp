#include "app/extended_settings.h"

#include "app/settings_keys.h"

namespace tessmoor {

ExtendedSettings ReadExtendedSettings(Settings& settings) {
  ExtendedSettings values;
  values.every_monitor = settings.ReadSwitch(keys::kEveryMonitor);
  values.folder_subfolders = settings.ReadSwitch(keys::kFolderSubfolders);
  values.folder_name_order = settings.Read(keys::kFolderOrder) == kFolderNameOrderText;
  return values;
}

StartUpValues ReadStartUpValues(Settings& settings) {
  StartUpValues values;
  values.settings_dialog = ReadSettingsDialogValues(settings);
  values.extended = ReadExtendedSettings(settings);
  return values;
}

}  // namespace tessmoor
