#pragma once
#include <array>
#include <string>

#include "app/settings.h"
#include "app/settings_keys.h"
#include "platform/dialog_layout.h"
#include "platform/scroll_bar.h"

namespace tessmoor {

// The working values of the detail dialogs, as the decimal texts their saves write. One set
// serves every open instance of a dialog: the settings dialog holds it for the whole run, each
// new instance reloads it from the store, and a scroll bar moved in any instance changes what
// every instance saves.
struct Pattern1DetailTexts {
  std::string timer;
  std::string scale;
};

// Per pattern-2 window 1..4 (index 0..3). The mode and use texts are read when an instance
// opens; the saves write the radio buttons and check boxes instead.
struct Pattern2DetailTexts {
  std::array<std::string, 4> mode;
  std::array<std::string, 4> speed;
  std::array<std::string, 4> size;
  std::array<std::string, 4> use;
};

// A scroll bar over the range the key table gives number key `key`, so that what a dialog offers
// and clamps to is stated once.
inline ScrollBarDesign BarOver(std::string_view key, int small_change, int large_change, int design_position) {
  const keys::NumberRange range = keys::Find(key)->range;
  return {range.min, range.max, small_change, large_change, design_position};
}

// Both detail dialogs open where either was last closed. A damaged value opens them at the
// first-run position.
inline Point ReadDetailPosition(Settings& settings) {
  const int x = settings.ReadNumber(keys::kDetailX);
  const int y = settings.ReadNumber(keys::kDetailY);
  return {x, y};
}

inline void WriteDetailPosition(Settings& settings, Point origin) {
  settings.Write(keys::kDetailX, origin.x);
  settings.Write(keys::kDetailY, origin.y);
}

}  // namespace tessmoor
