#pragma once
#include <string_view>

#include "setup/settings_dialog_layout.h"

// The command ids of the settings dialog `TScrSetUpForm`, for its window and for the programs
// that drive it from outside (the end-to-end tests). Every control's id follows from its row in
// SettingsDialogControls(), so the layout table stays the one place that names the controls.
namespace tessmoor {

inline constexpr int kSettingsFirstControlId = 100;
// The menu bar's items "拡張設定" and "ヘルプ&バージョン"; a WM_COMMAND with the item's id and
// code 0 chooses it.
inline constexpr int kSettingsHelpMenuId = 9001;
inline constexpr int kSettingsExtendedMenuId = 9002;

// The id of the control named `name` in the layout table, or 0 for a name it does not hold.
inline int SettingsControlId(std::string_view name) {
  const auto& controls = SettingsDialogControls();
  for (std::size_t i = 0; i < controls.size(); ++i)
    if (controls[i].name == name) return kSettingsFirstControlId + static_cast<int>(i);
  return 0;
}

}  // namespace tessmoor
