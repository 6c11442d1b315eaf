#pragma once
#include <array>
#include <string>

#include "app/settings.h"
#include "platform/geometry.h"

namespace tessmoor {

// What the settings dialog `TScrSetUpForm` reads when it opens.
struct SettingsDialogValues {
  Point position;   // its last top-left corner; a damaged number gives the first-run position
  std::string pattern;  // as stored; only "2" selects pattern 2
  std::array<std::string, 48> pictures;  // box-major: box 1 slots 1..12, then box 2 ...
  bool music_play = false;

  const std::string& picture(int box, int slot) const { return pictures[(box - 1) * 12 + (slot - 1)]; }
};

// Reads, in this order, the position X then Y, the pattern, the 48 picture keys box-major and the
// music switch, writing the first-run value of every key that is not set. The settings dialog
// reads itself through this, and a show or preview calls it at its start so that it leaves the
// same first-run values in the store as the dialog would.
SettingsDialogValues ReadSettingsDialogValues(Settings& settings);

}  // namespace tessmoor
