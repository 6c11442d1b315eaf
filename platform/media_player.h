#pragma once
#include <cstdint>
#include <string_view>

#include "platform/text.h"

namespace tessmoor {

// The kind of sound device a music file is played on, from its extension.
enum class MediaDevice {
  kNone,       // not a kind of file we play
  kWaveAudio,  // .wav
  kSequencer,  // .mid, .midi, .rmi
};

inline MediaDevice MediaDeviceFor(std::string_view path) {
  const std::string extension = LowerCase(FileExtension(path));
  if (extension == ".wav") return MediaDevice::kWaveAudio;
  if (extension == ".mid" || extension == ".midi" || extension == ".rmi")
    return MediaDevice::kSequencer;
  return MediaDevice::kNone;
}

// How a play request ended, as the device reports it to the window that asked.
enum class MediaNotify {
  kEnded,       // played to its end
  kAborted,     // stopped or closed before its end
  kSuperseded,  // replaced by a later play request on the same device
  kFailed,      // the device could not play it
};

enum class MediaResult {
  kOk,
  kUnsupported,  // the extension names no device we use
  kOpenFailed,   // missing file, unknown format, no device of that kind
  kPlayFailed,
  kNotOpen,
};

// One sound device at a time, opened on one file. Every call reports its result; none throws.
//
// Notifications: only Play asks for one (Open never does, so an opening is never mistaken for
// an ending). Exactly one notification follows each successful Play: kEnded or kFailed when the
// device finishes, kAborted when Stop or Close cuts it short, kSuperseded when another Play
// replaces it. They arrive later, as window messages, and the shell hands each one on with the
// device id the message carries. Device ids are reused once a device is closed, so a
// notification may carry the id of the device open now while it belongs to an earlier one: the
// kAborted of a play that was stopped can arrive after the next file has been opened under the
// same id. Only kEnded and kFailed end a play. Some devices never notify at all (see LengthMs).
class MediaPlayer {
 public:
  virtual ~MediaPlayer() = default;

  // Closes whatever is open, then opens `path` (UTF-8) on the device its extension names.
  virtual MediaResult Open(std::string_view path) = 0;
  // Starts playing the open file from its current position (its start after Open), asking for
  // a notification.
  virtual MediaResult Play() = 0;
  // Stops playing; the file stays open. Does nothing when nothing is open.
  virtual void Stop() = 0;
  // Closes the device. Does nothing when nothing is open.
  virtual void Close() = 0;
  virtual bool IsOpen() const = 0;
  // The id notifications of the open device carry; 0 when nothing is open.
  virtual std::uint32_t DeviceId() const = 0;
  // The open file's playing time in milliseconds; 0 when unknown or nothing is open. Callers
  // use it to stop waiting for a notification that a device never sends.
  virtual std::int64_t LengthMs() = 0;
};

}  // namespace tessmoor
