#pragma once
#include <windows.h>
#include <mmsystem.h>

#include <cstdint>
#include <optional>
#include <string_view>

#include "platform/media_player.h"
#include "platform/win32/handles.h"

namespace tessmoor::win32 {

// The media player over MCI. Notifications go as MM_MCINOTIFY to the window given at
// construction, which must outlive the player; that window's procedure passes them on:
//
//   case MM_MCINOTIFY:
//     if (auto kind = MediaNotifyFromMci(wParam)) core.OnNotify(*kind, DeviceIdFromMci(lParam));
//
// The player itself keeps no notification state, so the same window can serve more than one.
class MciPlayer final : public MediaPlayer {
 public:
  explicit MciPlayer(HWND notify_window) : notify_window_(notify_window) {}
  MciPlayer(const MciPlayer&) = delete;
  MciPlayer& operator=(const MciPlayer&) = delete;

  MediaResult Open(std::string_view path) override;
  MediaResult Play() override;
  void Stop() override;
  void Close() override;
  bool IsOpen() const override { return static_cast<bool>(device_); }
  std::uint32_t DeviceId() const override { return device_.get(); }
  std::int64_t LengthMs() override;

  // The MCI error code of the last call that failed, 0 after one that worked (for diagnostics).
  MCIERROR last_error() const { return last_error_; }

 private:
  HWND notify_window_;
  MciDevice device_;
  bool time_format_ms_ = false;
  MCIERROR last_error_ = 0;
};

// The kind of an MM_MCINOTIFY message from its wParam; nothing for a value MCI does not define.
std::optional<MediaNotify> MediaNotifyFromMci(WPARAM flags);
// The device id an MM_MCINOTIFY message carries in its lParam.
inline std::uint32_t DeviceIdFromMci(LPARAM device) {
  return static_cast<std::uint32_t>(static_cast<MCIDEVICEID>(device));
}

}  // namespace tessmoor::win32
