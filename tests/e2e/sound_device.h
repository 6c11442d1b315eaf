#pragma once
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "tests/e2e/harness.h"

// The music the module plays, heard on the dummy sound device of tools/run-under-wine.sh, which
// writes every stream it plays to a file of its own; and the tracks the tests give it.
namespace tessmoor::e2e {

inline constexpr int kSampleRate = 8000;  // mono, 16 bits

// The PCM of a track: a saw wave whose step and offset make every track's bytes its own, with no
// silent sample in it.
std::vector<std::uint8_t> Pcm(int samples, int seed);
// A WAV file of that PCM.
std::vector<std::uint8_t> Wav(const std::vector<std::uint8_t>& pcm);
// A format-0 MIDI file holding one quarter note at the default 120 beats a minute: 500 ms.
std::vector<std::uint8_t> HalfSecondMidi();

// The dummy sound device (TESSMOOR_ALSA_FILE=PATH): the stream the module opens first after
// Clear is in PATH.0001, the next one in PATH.0002, and so on.
class SoundDevice {
 public:
  // The device the driver was started with, cleared; nothing when it was started without one.
  // The device is always there when the driver runs as the build runs it.
  static std::optional<SoundDevice> Cleared();
  static constexpr const char* kMissing =
      "no dummy sound device to listen on: the driver runs under tools/run-under-wine.sh with "
      "TESSMOOR_ALSA_FILE set, as the build's tests run it";

  void Clear() const;
  // The number of streams begun since Clear.
  int Count() const;
  // Stream n as far as it is written.
  std::vector<std::uint8_t> Stream(int n) const;
  // Stream n without the silence the sound system pads a stream with when the player feeds it
  // late (a period of zeros, seen on a loaded machine): what a listener hears of the track.
  std::vector<std::uint8_t> Heard(int n) const;
  std::size_t StreamSize(int n) const;
  // Waits until `count` streams have begun; all but the last are then complete.
  bool WaitStreams(int count, std::chrono::milliseconds timeout) const;
  // "N streams: size size ...", for failure messages.
  std::string Describe() const;

 private:
  explicit SoundDevice(std::wstring base) : base_(std::move(base)) {}
  std::wstring Name(int n) const;
  bool Exists(int n) const;

  // Zero bytes in a row that count as padding: more than any track holds (none of its samples is
  // silent) and less than one period of the device.
  static constexpr std::size_t kPaddingRun = 16;

  std::wstring base_;
};

// A fixture of `Base` whose tests start from an empty store and an empty sound device.
template <class Base>
class WithSoundDevice : public Base {
 protected:
  void SetUp() override {
    Base::SetUp();
    registry::DeleteSettings();
    device_ = SoundDevice::Cleared();
    ASSERT_TRUE(device_) << SoundDevice::kMissing;
  }

  std::optional<SoundDevice> device_;
};

}  // namespace tessmoor::e2e
