#pragma once
#include <vector>

#include "platform/dialog_layout.h"

// The two detail dialogs as their windows build them. Parents come before their children.
namespace tessmoor {

enum class Pattern1DetailRole {
  kModeGroup,
  kModeRadio,  // index: detail mode 1..4
  kBoxesLabel,
  kBoxCheck,  // index: box 1..4
  kScaleLabel,
  kScaleValueLabel,  // `PSentLabel`
  kScaleBar,
  kTimerLabel,
  kTimerBar,
  kSaveButton,
  kCancelButton,
};

const FormDesign& Pattern1DetailForm();
const std::vector<ControlDesign<Pattern1DetailRole>>& Pattern1DetailControls();

// Every control but the form's buttons and `Image1` comes once per window; index: window 1..4.
enum class Pattern2DetailRole {
  kWindowGroup,
  kSizeLabel,
  kSizeValueLabel,  // `PSentLabelNo<n>Tab`
  kSizeBar,
  kSpeedLabel,
  kSpeedBar,
  kBoxCheck,
  kModeRadio,  // item: motion mode 1..5
  kSaveButton,
  kCancelButton,
  kImage,  // an empty picture control without a role
};

const FormDesign& Pattern2DetailForm();
const std::vector<ControlDesign<Pattern2DetailRole>>& Pattern2DetailControls();

}  // namespace tessmoor
