#pragma once
#include <string_view>

#include "app/settings.h"
#include "app/settings_dialog_values.h"

namespace tessmoor {

// The settings beyond the classic ones (the dialog 拡張設定), read into typed values. A damaged
// text reads as its key's first-run value.
struct ExtendedSettings {
  // `ScrActionRegSelectEveryMonitorFlag` "1": every monitor runs a slide show of its own; the
  // first-run "0" keeps the monitors beside the primary black.
  bool every_monitor = false;
  // `ImageRegFolderSubFlag`: a slot's folder takes its subfolders' pictures too ("1", first run)
  // or only its own ("0").
  bool folder_subfolders = true;
  // `ImageRegFolderOrderFlag` "1": a folder's pictures in name order; "2" (first run) and any
  // other text shuffle them.
  bool folder_name_order = false;

  friend bool operator==(const ExtendedSettings&, const ExtendedSettings&) = default;
};

// Reads the three keys in the order of the fields above, writing the first-run value of every key
// that is not set.
ExtendedSettings ReadExtendedSettings(Settings& settings);

// What a show or preview reads when it starts, for the first-run values it leaves in the store
// (the same as the dialogs would write): the settings dialog's start-up reads, then the extended
// settings.
struct StartUpValues {
  SettingsDialogValues settings_dialog;
  ExtendedSettings extended;
};
StartUpValues ReadStartUpValues(Settings& settings);

// The `ImageRegFolderOrderFlag` text of each order, as a save writes it.
inline constexpr std::string_view kFolderNameOrderText = "1";
inline constexpr std::string_view kFolderShuffledText = "2";

}  // namespace tessmoor
