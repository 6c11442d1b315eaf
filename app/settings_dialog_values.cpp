#include "app/settings_dialog_values.h"

#include "app/settings_keys.h"

namespace tessmoor {

SettingsDialogValues ReadSettingsDialogValues(Settings& settings) {
  SettingsDialogValues values;
  values.position.x = settings.ReadNumber(keys::kSetupX);
  values.position.y = settings.ReadNumber(keys::kSetupY);
  values.pattern = settings.Read(keys::kPattern);
  for (int b = 1; b <= keys::kBoxCount; ++b)
    for (int s = 1; s <= keys::kSlotsPerBox; ++s)
      values.pictures[(b - 1) * keys::kSlotsPerBox + (s - 1)] = settings.Read(keys::ImagePath(b, s));
  values.music_play = settings.ReadSwitch(keys::kMusicSwitch);
  return values;
}

}  // namespace tessmoor
