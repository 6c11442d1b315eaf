#include "tests/support/fake_media_player.h"

#include <algorithm>

namespace tessmoor::testing {

MediaResult FakeMediaPlayer::Open(std::string_view path) {
  calls_.push_back("open " + std::string(path));
  if (IsOpen()) {
    AbortPending();
    device_id_ = 0;
    open_path_.clear();
  }
  if (MediaDeviceFor(path) == MediaDevice::kNone) return MediaResult::kUnsupported;
  if (unopenable.count(std::string(path))) return MediaResult::kOpenFailed;
  device_id_ = reuse_ids ? 1 : ++last_id_;
  open_path_ = std::string(path);
  return MediaResult::kOk;
}

MediaResult FakeMediaPlayer::Play() {
  calls_.push_back("play");
  if (!IsOpen()) return MediaResult::kNotOpen;
  if (unplayable.count(open_path_)) return MediaResult::kPlayFailed;
  if (play_pending_) Post(MediaNotify::kSuperseded, device_id_);
  play_pending_ = true;
  if (fail_at_play.count(open_path_)) {
    play_pending_ = false;
    Post(MediaNotify::kFailed, device_id_);
  }
  return MediaResult::kOk;
}

void FakeMediaPlayer::Stop() {
  calls_.push_back("stop");
  if (IsOpen()) AbortPending();
}

void FakeMediaPlayer::Close() {
  calls_.push_back("close");
  if (!IsOpen()) return;
  AbortPending();
  device_id_ = 0;
  open_path_.clear();
}

std::int64_t FakeMediaPlayer::LengthMs() {
  if (!IsOpen()) return 0;
  auto it = lengths_ms.find(open_path_);
  return it == lengths_ms.end() ? 0 : it->second;
}

bool FakeMediaPlayer::FinishPlay() {
  if (!play_pending_) return false;
  play_pending_ = false;
  if (never_notifies.count(open_path_)) return true;
  Post(MediaNotify::kEnded, device_id_);
  return true;
}

std::optional<FakeMediaPlayer::Posted> FakeMediaPlayer::TakePosted() {
  if (posted_.empty()) return std::nullopt;
  Posted p = posted_.front();
  posted_.pop_front();
  return p;
}

std::vector<std::string> FakeMediaPlayer::Opens() const {
  std::vector<std::string> paths;
  for (const std::string& c : calls_)
    if (c.rfind("open ", 0) == 0) paths.push_back(c.substr(5));
  return paths;
}

int FakeMediaPlayer::CountCalls(const std::string& call) const {
  return static_cast<int>(std::count(calls_.begin(), calls_.end(), call));
}

void FakeMediaPlayer::AbortPending() {
  if (!play_pending_) return;
  play_pending_ = false;
  Post(MediaNotify::kAborted, device_id_);
}

}  // namespace tessmoor::testing
