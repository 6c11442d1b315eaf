#include "platform/win32/mci_player.h"

#include <algorithm>
#include <string>
#include <vector>

#include "platform/win32/utf.h"

namespace tessmoor::win32 {
namespace {

const wchar_t* DeviceTypeName(MediaDevice device) {
  switch (device) {
    case MediaDevice::kWaveAudio:
      return L"waveaudio";
    case MediaDevice::kSequencer:
      return L"sequencer";
    case MediaDevice::kNone:
      break;
  }
  return nullptr;
}

// Keeps the driver of MCI device type `type` loaded for the rest of the process. Wine unloads a
// driver as soon as its last device is closed, even while the driver's own thread that reported
// the end of a play is still returning through the driver's code; a show that closes its device
// at that report then runs that thread into unmapped memory, now and then. The driver's file is
// the one the system lists for the type.
void PinDriverOf(const wchar_t* type) {
  // The players live on the user-interface thread.
  static std::vector<std::wstring> pinned;
  if (std::find(pinned.begin(), pinned.end(), type) != pinned.end()) return;
  wchar_t driver[MAX_PATH] = {};
  DWORD size = sizeof(driver);
  if (RegGetValueW(HKEY_LOCAL_MACHINE, L"Software\\Microsoft\\Windows NT\\CurrentVersion\\MCI32", type,
                   RRF_RT_REG_SZ, nullptr, driver, &size) != ERROR_SUCCESS)
    return;
  HMODULE module = nullptr;
  if (GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_PIN, driver, &module)) pinned.emplace_back(type);
}

}  // namespace

MediaResult MciPlayer::Open(std::string_view path) {
  device_.reset();
  const wchar_t* type = DeviceTypeName(MediaDeviceFor(path));
  if (type == nullptr) return MediaResult::kUnsupported;
  const std::wstring element = Widen(path);
  if (element.empty()) return MediaResult::kOpenFailed;

  // No MCI_NOTIFY here: only the end of a play may reach the window.
  MCI_OPEN_PARMSW open{};
  open.lpstrDeviceType = type;
  open.lpstrElementName = element.c_str();
  last_error_ = mciSendCommandW(0, MCI_OPEN, MCI_OPEN_ELEMENT | MCI_OPEN_TYPE | MCI_WAIT,
                                reinterpret_cast<DWORD_PTR>(&open));
  if (last_error_ != 0) return MediaResult::kOpenFailed;
  device_ = MciDevice(open.wDeviceID);
  PinDriverOf(type);

  // Lengths in milliseconds; a device that refuses keeps its own format and LengthMs says 0.
  MCI_SET_PARMS set{};
  set.dwTimeFormat = MCI_FORMAT_MILLISECONDS;
  time_format_ms_ = mciSendCommandW(device_.get(), MCI_SET, MCI_SET_TIME_FORMAT | MCI_WAIT,
                                    reinterpret_cast<DWORD_PTR>(&set)) == 0;
  return MediaResult::kOk;
}

MediaResult MciPlayer::Play() {
  if (!device_) return MediaResult::kNotOpen;
  MCI_PLAY_PARMS play{};
  play.dwCallback = reinterpret_cast<DWORD_PTR>(notify_window_);
  last_error_ = mciSendCommandW(device_.get(), MCI_PLAY, MCI_NOTIFY,
                                reinterpret_cast<DWORD_PTR>(&play));
  return last_error_ == 0 ? MediaResult::kOk : MediaResult::kPlayFailed;
}

void MciPlayer::Stop() {
  if (!device_) return;
  MCI_GENERIC_PARMS stop{};
  last_error_ = mciSendCommandW(device_.get(), MCI_STOP, MCI_WAIT,
                                reinterpret_cast<DWORD_PTR>(&stop));
}

void MciPlayer::Close() { device_.reset(); }

std::int64_t MciPlayer::LengthMs() {
  if (!device_ || !time_format_ms_) return 0;
  MCI_STATUS_PARMS status{};
  status.dwItem = MCI_STATUS_LENGTH;
  last_error_ = mciSendCommandW(device_.get(), MCI_STATUS, MCI_STATUS_ITEM | MCI_WAIT,
                                reinterpret_cast<DWORD_PTR>(&status));
  if (last_error_ != 0) return 0;
  return static_cast<std::int64_t>(status.dwReturn);
}

std::optional<MediaNotify> MediaNotifyFromMci(WPARAM flags) {
  switch (flags) {
    case MCI_NOTIFY_SUCCESSFUL:
      return MediaNotify::kEnded;
    case MCI_NOTIFY_ABORTED:
      return MediaNotify::kAborted;
    case MCI_NOTIFY_SUPERSEDED:
      return MediaNotify::kSuperseded;
    case MCI_NOTIFY_FAILURE:
      return MediaNotify::kFailed;
    default:
      return std::nullopt;
  }
}

}  // namespace tessmoor::win32
