#pragma once
#include <vector>

#include "platform/dialog_layout.h"

// The music dialog `TMusicSetUpForm` as its window builds it: five slot rows of a check box
// captioned with the slot's file, "....", "X" and a loudspeaker, then the crossed-out loudspeaker
// and the two buttons. Every control keeps its own command id.
namespace tessmoor {

enum class MusicRole {
  kSlotCheck,  // index: slot 1..5
  kOpenButton,
  kEraseButton,
  kPlayButton,
  kStopButton,
  kSaveButton,
  kCancelButton,
};

// Command ids; slot n's controls are the base + n.
inline constexpr int kMusicCheckBoxId = 100;
inline constexpr int kMusicOpenButtonId = 110;
inline constexpr int kMusicEraseButtonId = 120;
inline constexpr int kMusicPlayButtonId = 130;
inline constexpr int kMusicStopButtonId = 140;
inline constexpr int kMusicSaveButtonId = 141;
inline constexpr int kMusicCancelButtonId = 142;

// The loudspeakers' side at 96 DPI.
inline constexpr int kMusicGlyphSide = 16;

// Outer size and position at 96 DPI; it stores no position, so it always opens there.
const FormDesign& MusicDialogForm();
const std::vector<ControlDesign<MusicRole>>& MusicDialogControls();

}  // namespace tessmoor
