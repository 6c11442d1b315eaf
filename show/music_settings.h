#pragma once
#include <array>
#include <string>

#include "app/settings.h"
#include "platform/file_system.h"

namespace tessmoor {

// The music settings as the show reads them when it starts.
struct MusicSettings {
  std::string music_switch;             // "0" music on, "1" off
  std::array<std::string, 5> track;     // lower-cased path of an existing file, or empty
  std::array<std::string, 5> play_flag; // "0" play this slot, "1" skip it

  bool playable(int slot) const {
    return play_flag[slot - 1] == "0" && !track[slot - 1].empty();
  }
};

// Reads MusicPlayStop, then MusicNo1, MusicPlayStopNo1, ... MusicPlayStopNo5, in that order,
// writing first-run values for keys that are not set. Any switch text other than "1" means "0".
MusicSettings ReadMusicSettings(Settings& settings, FileSystem& files);

}  // namespace tessmoor
