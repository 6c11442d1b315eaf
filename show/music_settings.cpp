#include "show/music_settings.h"

#include "app/settings_keys.h"
#include "platform/text.h"

namespace tessmoor {

MusicSettings ReadMusicSettings(Settings& settings, FileSystem& files) {
  MusicSettings music;
  music.music_on = settings.ReadSwitch(keys::kMusicSwitch);
  for (int k = 1; k <= keys::kMusicSlots; ++k) {
    const std::string path = settings.Read(keys::MusicPath(k));
    music.track[k - 1] = !path.empty() && files.FileExists(path) ? LowerCase(path) : std::string();
    music.play[k - 1] = settings.ReadSwitch(keys::MusicPlayFlag(k));
  }
  return music;
}

}  // namespace tessmoor
