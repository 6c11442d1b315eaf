#include "show/show_music.h"

#include <algorithm>
#include <utility>

#include "app/settings_keys.h"

namespace tessmoor {
namespace {

int NextSlot(int slot) { return slot % keys::kMusicSlots + 1; }

}  // namespace

std::optional<std::int64_t> MusicTimer::IntervalFrom(std::int64_t now_ms) const {
  if (!due_ms) return std::nullopt;
  return std::max<std::int64_t>(1, *due_ms - now_ms);
}

std::int64_t EndGraceMs(std::int64_t length_ms) {
  // A fixed allowance for start-up latency, and a little more for long tracks whose device
  // clock may run slow.
  return 2000 + length_ms / 20;
}

ShowMusic::ShowMusic(MusicSettings settings, MediaPlayer& player, FileSystem& files)
    : settings_(std::move(settings)), player_(player), files_(files) {}

MusicTimer ShowMusic::Start(std::int64_t now_ms) {
  if (shut_down_ || !settings_.music_on || playing_slot_ != 0) return timer();
  return PlayFrom(1, now_ms);
}

MusicTimer ShowMusic::OnNotify(MediaNotify kind, std::uint32_t device_id, std::int64_t now_ms) {
  if (playing_slot_ == 0 || device_id != device_id_) return timer();
  switch (kind) {
    case MediaNotify::kEnded:
      return TrackEnded(now_ms);
    case MediaNotify::kFailed:
      failed_[playing_slot_ - 1] = true;
      return TrackEnded(now_ms);
    case MediaNotify::kAborted:
    case MediaNotify::kSuperseded:
      break;
  }
  return timer();
}

MusicTimer ShowMusic::Tick(std::int64_t now_ms) {
  if (playing_slot_ == 0 || !deadline_ || now_ms < *deadline_) return timer();
  player_.Stop();
  return TrackEnded(now_ms);
}

void ShowMusic::Shutdown() {
  if (shut_down_) return;
  shut_down_ = true;
  player_.Stop();
  player_.Close();
  playing_slot_ = 0;
  device_id_ = 0;
  deadline_.reset();
}

MusicTimer ShowMusic::TrackEnded(std::int64_t now_ms) {
  playing_slot_ = 0;
  device_id_ = 0;
  deadline_.reset();
  player_.Close();
  return PlayFrom(next_track_, now_ms);
}

bool ShowMusic::Playable(int slot) {
  const std::string& path = settings_.track[slot - 1];
  return settings_.play[slot - 1] && !failed_[slot - 1] && !path.empty() &&
         files_.FileExists(path);
}

bool ShowMusic::TryPlay(int slot, std::int64_t now_ms) {
  if (player_.Open(settings_.track[slot - 1]) != MediaResult::kOk) return false;
  const std::int64_t length = player_.LengthMs();
  if (player_.Play() != MediaResult::kOk) {
    player_.Close();
    return false;
  }
  playing_slot_ = slot;
  device_id_ = player_.DeviceId();
  if (length > 0) deadline_ = now_ms + length + EndGraceMs(length);
  return true;
}

MusicTimer ShowMusic::PlayFrom(int first, std::int64_t now_ms) {
  int slot = first;
  for (int tried = 0; tried < keys::kMusicSlots; ++tried, slot = NextSlot(slot)) {
    if (!Playable(slot)) continue;
    if (TryPlay(slot, now_ms)) {
      next_track_ = NextSlot(slot);
      return timer();
    }
    failed_[slot - 1] = true;
  }
  // Nothing left to play: the show goes on in silence, and no notification can come.
  settings_.music_on = false;
  next_track_ = 1;
  return timer();
}

}  // namespace tessmoor
