#include "show/win32/show_music_driver.h"

#include <algorithm>
#include <limits>
#include <utility>

namespace tessmoor {

ShowMusicDriver::ShowMusicDriver(win32::Window& window, MusicSettings settings, FileSystem& files)
    : window_(window), player_(window.hwnd()), music_(std::move(settings), player_, files) {}

ShowMusicDriver::~ShowMusicDriver() { Shutdown(); }

std::int64_t ShowMusicDriver::Now() { return static_cast<std::int64_t>(GetTickCount64()); }

void ShowMusicDriver::Start() {
  const std::int64_t now = Now();
  Apply(music_.Start(now), now);
}

bool ShowMusicDriver::OnMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  if (message != MM_MCINOTIFY) return false;
  if (const auto kind = win32::MediaNotifyFromMci(wparam)) {
    const std::int64_t now = Now();
    Apply(music_.OnNotify(*kind, win32::DeviceIdFromMci(lparam), now), now);
  }
  return true;
}

bool ShowMusicDriver::OnTimer(UINT_PTR id) {
  if (id != kMusicLengthTimer) return false;
  const std::int64_t now = Now();
  Apply(music_.Tick(now), now);
  return true;
}

void ShowMusicDriver::Shutdown() {
  music_.Shutdown();
  window_.SetTimerInterval(kMusicLengthTimer, 0);
}

void ShowMusicDriver::Apply(const MusicTimer& timer, std::int64_t now_ms) {
  const auto interval = timer.IntervalFrom(now_ms);
  // A window timer takes at most about 24 days; a track that long is checked again then.
  const int ms = interval ? static_cast<int>(std::min<std::int64_t>(
                                *interval, std::numeric_limits<int>::max()))
                          : 0;
  window_.SetTimerInterval(kMusicLengthTimer, ms);
}

}  // namespace tessmoor
