#include "show/music_settings.h"

#include "app/settings_keys.h"
#include "platform/text.h"

namespace tessmoor {

MusicSettings ReadMusicSettings(Settings& settings, FileSystem& files) {
  MusicSettings music;
  music.music_switch = settings.Read(keys::kMusicSwitch) == "1" ? "1" : "0";
  for (int k = 1; k <= keys::kMusicSlots; ++k) {
    const std::string path = settings.Read(keys::MusicPath(k));
    music.track[k - 1] = !path.empty() && files.FileExists(path) ? LowerCase(path) : std::string();
    music.play_flag[k - 1] = settings.Read(keys::MusicPlayFlag(k)) == "1" ? "1" : "0";
  }
  return music;
}

}  // namespace tessmoor
