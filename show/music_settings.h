#pragma once
#include <array>
#include <string>

#include "app/settings.h"
#include "platform/file_system.h"

namespace tessmoor {

// The music settings as the show reads them when it starts.
struct MusicSettings {
  bool music_on = false;
  std::array<std::string, 5> track;  // lower-cased path of an existing file, or empty
  std::array<bool, 5> play{};        // whether the slot takes its turn

  bool playable(int slot) const { return play[slot - 1] && !track[slot - 1].empty(); }
};

// Reads MusicPlayStop, then MusicNo1, MusicPlayStopNo1, ... MusicPlayStopNo5, in that order,
// writing first-run values for keys that are not set. Any switch text other than "1" plays.
MusicSettings ReadMusicSettings(Settings& settings, FileSystem& files);

}  // namespace tessmoor
