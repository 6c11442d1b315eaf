#include "tests/e2e/sound_device.h"

#include <algorithm>
#include <cstddef>
#include <cwchar>

namespace tessmoor::e2e {

namespace {

void PutLe(std::vector<std::uint8_t>& out, std::uint32_t value, int size) {
  for (int i = 0; i < size; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

}  // namespace

std::vector<std::uint8_t> Pcm(int samples, int seed) {
  std::vector<std::uint8_t> bytes;
  bytes.reserve(static_cast<std::size_t>(samples) * 2);
  for (int i = 0; i < samples; ++i) {
    // Bit 14 set: no sample is silent, so the padding Heard removes is never part of a track.
    const auto value = static_cast<std::uint16_t>(0x4000 | ((seed * 4099 + i * (seed + 3) * 97) & 0x3FFF));
    bytes.push_back(static_cast<std::uint8_t>(value & 0xFF));
    bytes.push_back(static_cast<std::uint8_t>(value >> 8));
  }
  return bytes;
}

std::vector<std::uint8_t> Wav(const std::vector<std::uint8_t>& pcm) {
  std::vector<std::uint8_t> wav{'R', 'I', 'F', 'F'};
  PutLe(wav, static_cast<std::uint32_t>(36 + pcm.size()), 4);
  for (char c : std::string("WAVEfmt ")) wav.push_back(static_cast<std::uint8_t>(c));
  PutLe(wav, 16, 4);
  PutLe(wav, 1, 2);  // PCM
  PutLe(wav, 1, 2);  // mono
  PutLe(wav, kSampleRate, 4);
  PutLe(wav, kSampleRate * 2, 4);
  PutLe(wav, 2, 2);
  PutLe(wav, 16, 2);
  for (char c : std::string("data")) wav.push_back(static_cast<std::uint8_t>(c));
  PutLe(wav, static_cast<std::uint32_t>(pcm.size()), 4);
  wav.insert(wav.end(), pcm.begin(), pcm.end());
  return wav;
}

std::vector<std::uint8_t> HalfSecondMidi() {
  return {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, 0, 96,  // format 0, one track, 96 per quarter
          'M', 'T', 'r', 'k', 0, 0, 0, 12,                    //
          0, 0x90, 60, 100,                                    // note on at 0
          96, 0x80, 60, 0,                                     // note off a quarter later
          0, 0xFF, 0x2F, 0};                                   // end of track
}

std::optional<SoundDevice> SoundDevice::Cleared() {
  wchar_t path[1024] = {};
  if (GetEnvironmentVariableW(L"TESSMOOR_ALSA_FILE", path, 1024) == 0) return std::nullopt;
  SoundDevice device(ToWindowsPath(path));
  device.Clear();
  return device;
}

void SoundDevice::Clear() const {
  for (int n = 1; n <= 9999 && Exists(n); ++n) DeleteFileW(Name(n).c_str());
  // The device numbers its streams only while the file of its own name exists.
  const win32::UniqueFile base(CreateFileW(base_.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                           OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
}

int SoundDevice::Count() const {
  int n = 0;
  while (Exists(n + 1)) ++n;
  return n;
}

std::vector<std::uint8_t> SoundDevice::Stream(int n) const {
  const std::string bytes = ReadWholeFile(Name(n));
  return {bytes.begin(), bytes.end()};
}

std::vector<std::uint8_t> SoundDevice::Heard(int n) const {
  const std::vector<std::uint8_t> raw = Stream(n);
  std::vector<std::uint8_t> heard;
  heard.reserve(raw.size());
  for (std::size_t i = 0; i < raw.size();) {
    std::size_t end = i;
    while (end < raw.size() && raw[end] == 0) ++end;
    if (end - i >= kPaddingRun) {
      i = end;  // a period of silence the sound system put in
      continue;
    }
    heard.insert(heard.end(), raw.begin() + static_cast<std::ptrdiff_t>(i),
                 raw.begin() + static_cast<std::ptrdiff_t>(std::max(end, i + 1)));
    i = std::max(end, i + 1);
  }
  return heard;
}

std::size_t SoundDevice::StreamSize(int n) const {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExW(Name(n).c_str(), GetFileExInfoStandard, &data)) return 0;
  return data.nFileSizeLow;
}

std::string SoundDevice::Describe() const {
  std::string text = std::to_string(Count()) + " streams:";
  for (int n = 1; n <= Count(); ++n) text += " " + std::to_string(StreamSize(n));
  return text;
}

std::wstring SoundDevice::Name(int n) const {
  wchar_t suffix[8];
  swprintf(suffix, 8, L".%04d", n);
  return base_ + suffix;
}

bool SoundDevice::Exists(int n) const { return FileExists(Name(n)); }

bool SoundDevice::WaitStreams(int count, std::chrono::milliseconds timeout) const {
  return WaitUntil([&] { return Count() >= count; }, timeout);
}

}  // namespace tessmoor::e2e
