#pragma once
#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "platform/file_system.h"
#include "platform/media_player.h"
#include "show/music_settings.h"

namespace tessmoor {

// What the shell's one music timer must do after a call: fire at `due_ms`, or not run at all.
struct MusicTimer {
  std::optional<std::int64_t> due_ms;

  // The interval to set at `now_ms`, at least 1 ms; nothing when the timer must be killed.
  std::optional<std::int64_t> IntervalFrom(std::int64_t now_ms) const;
  bool operator==(const MusicTimer&) const = default;
};

// How long past its reported length a track may play before it is taken as ended: devices
// report their end a little late, and some never do.
std::int64_t EndGraceMs(std::int64_t length_ms);

// The music of one full-screen show: the playable slots one after another in the cyclic order
// 1, 2, 3, 4, 5, 1, ... A slot is playable while it is switched on, it had a file when the
// show started, that file still exists, and the player has not failed on it during this show.
//
// The shell (the show window, which owns the player) calls, on its one thread:
//   ShowMusic music(ReadMusicSettings(settings, files), player, files);  // always
//   Apply(music.Start(now));                        // full screen only, once the window exists
//   Apply(music.OnNotify(kind, device_id, now));    // on every MM_MCINOTIFY
//   Apply(music.Tick(now));                         // when the music timer fires
//   music.Shutdown();                               // when the window is destroyed
// where Apply sets the window's one music timer to IntervalFrom(now), or kills it when that
// gives nothing. `now` is a monotonic clock in milliseconds (GetTickCount64). In preview mode
// the shell never calls Start, and every other call then does nothing.
//
// Only the end of the track that is playing moves the rotation on: a kEnded (or kFailed) for
// the open device while its play is outstanding, or the timer running out. Notifications that
// belong to earlier plays, or that only report a stop or a replaced request, change nothing.
class ShowMusic {
 public:
  ShowMusic(MusicSettings settings, MediaPlayer& player, FileSystem& files);
  ShowMusic(const ShowMusic&) = delete;
  ShowMusic& operator=(const ShowMusic&) = delete;

  // Starts the first playable slot from slot 1 on. With the music switched off, nothing.
  MusicTimer Start(std::int64_t now_ms);
  MusicTimer OnNotify(MediaNotify kind, std::uint32_t device_id, std::int64_t now_ms);
  // Takes the track as ended when its time is up; an early call only gives the timer again.
  MusicTimer Tick(std::int64_t now_ms);
  // Stops and closes the player; every later call does nothing.
  void Shutdown();

  // True while music may play; false when it is off: switched off by the user, or because no
  // slot could be played.
  bool music_on() const { return settings_.music_on; }
  // The slot playing now, 0 for none.
  int playing_slot() const { return playing_slot_; }
  // The slot the search starts at when the playing track ends.
  int next_track() const { return next_track_; }
  // True for a slot whose file the player failed to open or play.
  bool passed_over(int slot) const { return failed_[slot - 1]; }
  MusicTimer timer() const { return {deadline_}; }

 private:
  bool Playable(int slot);
  bool TryPlay(int slot, std::int64_t now_ms);
  // Plays the first slot from `first` on, cyclically, that can be played; goes silent for the
  // rest of the show when none can.
  MusicTimer PlayFrom(int first, std::int64_t now_ms);
  MusicTimer TrackEnded(std::int64_t now_ms);

  MusicSettings settings_;
  MediaPlayer& player_;
  FileSystem& files_;
  int next_track_ = 1;
  int playing_slot_ = 0;
  std::uint32_t device_id_ = 0;
  std::optional<std::int64_t> deadline_;
  std::array<bool, 5> failed_{};
  bool shut_down_ = false;
};

}  // namespace tessmoor
