#pragma once
#include <vector>

#include "platform/dialog_layout.h"

// The extended-settings dialog `TExtendedSetUpForm` (拡張設定) as its window builds it: what the
// monitors beside the primary show, and how a slot that names a folder takes its pictures.
// Parents come before their children.
namespace tessmoor {

enum class ExtendedRole {
  kMonitorsGroup,
  kMonitorsBlackRadio,      // the other monitors stay black
  kMonitorsSlideShowRadio,  // every monitor runs a slide show of its own
  kFolderGroup,
  kSubfoldersCheck,
  kOrderLabel,
  kNameOrderRadio,
  kShuffledRadio,
  kSaveButton,
  kCancelButton,
};

// Outer size and place at 96 DPI; it stores no position, so it always opens there.
const FormDesign& ExtendedDialogForm();
const std::vector<ControlDesign<ExtendedRole>>& ExtendedDialogControls();

}  // namespace tessmoor
