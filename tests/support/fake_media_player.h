#pragma once
#include <cstdint>
#include <deque>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/media_player.h"

namespace tessmoor::testing {

// A media player that behaves like an MCI device as far as notifications go: each successful
// Play leaves one notification pending, which Stop or Close turn into kAborted, a second Play
// into kSuperseded, and FinishPlay into kEnded (or kFailed). Notifications are posted to a
// queue that tests deliver, the way a window's message queue would.
class FakeMediaPlayer : public MediaPlayer {
 public:
  struct Posted {
    MediaNotify kind;
    std::uint32_t device_id;
  };

  MediaResult Open(std::string_view path) override;
  MediaResult Play() override;
  void Stop() override;
  void Close() override;
  bool IsOpen() const override { return device_id_ != 0; }
  std::uint32_t DeviceId() const override { return device_id_; }
  std::int64_t LengthMs() override;

  // The open file's play ends by itself: posts kEnded, or nothing for a file in
  // never_notifies. False when no play was pending.
  bool FinishPlay();
  // Takes the oldest posted notification.
  std::optional<Posted> TakePosted();
  bool HasPosted() const { return !posted_.empty(); }
  void Post(MediaNotify kind, std::uint32_t device_id) { posted_.push_back({kind, device_id}); }

  const std::string& open_path() const { return open_path_; }
  bool playing() const { return play_pending_; }
  // Every call in order: "open <path>", "play", "stop", "close"; calls on a closed player too.
  const std::vector<std::string>& calls() const { return calls_; }
  std::vector<std::string> Opens() const;  // the paths of the open calls, in order
  int CountCalls(const std::string& call) const;
  void ClearCalls() { calls_.clear(); }

  // Files that cannot be opened (or played): Open (or Play) reports failure.
  std::set<std::string> unopenable;
  std::set<std::string> unplayable;
  // Files whose play is accepted but fails at once, as with no sound device.
  std::set<std::string> fail_at_play;
  // Files whose end is never reported.
  std::set<std::string> never_notifies;
  std::map<std::string, std::int64_t> lengths_ms;
  // MCI hands out the lowest free id, so one device at a time always gets the same one. With
  // this off, every open gets a new id.
  bool reuse_ids = true;

 private:
  void AbortPending();

  std::uint32_t device_id_ = 0;
  std::uint32_t last_id_ = 1;  // the id every open gets while ids are reused
  std::string open_path_;
  bool play_pending_ = false;
  std::deque<Posted> posted_;
  std::vector<std::string> calls_;
};

}  // namespace tessmoor::testing
