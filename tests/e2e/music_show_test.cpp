// Music in the real show: the rotation heard on the dummy sound device, the show with no sound
// device at all, a MIDI track whose end is never reported, and the preview's silence.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "tests/e2e/harness.h"
#include "tests/e2e/sound_device.h"

namespace tessmoor::e2e {
namespace {

using namespace std::chrono_literals;

constexpr auto kStart = 15s;
constexpr auto kExit = 5s;

class MusicShow : public WithSoundDevice<::testing::Test> {};

struct MusicSlot {
  std::wstring path;  // empty: the key is written empty
  const wchar_t* play_flag = L"1";
};

// Music on, with these five slots.
void WriteMusic(const std::array<MusicSlot, 5>& slots) {
  registry::Write(L"MusicPlayStop", L"0");
  for (int n = 1; n <= 5; ++n) {
    registry::Write(L"MusicNo" + std::to_wstring(n), slots[n - 1].path);
    registry::Write(L"MusicPlayStopNo" + std::to_wstring(n), slots[n - 1].play_flag);
  }
}

bool Responds(HWND window) {
  DWORD_PTR result = 0;
  return SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 1000, &result) != 0;
}

TEST_F(MusicShow, PlaysThePlayableSlotsInTurnFromTheFirstPlayableOneAndMovesOnAtEachEnd) {
  const auto a = Pcm(kSampleRate / 4, 1), b = Pcm(kSampleRate / 2, 2), c = Pcm(kSampleRate / 8, 3);
  const std::wstring gone = WriteTestFile(L"gone.wav", Wav(a));
  DeleteFileW(gone.c_str());
  WriteMusic({{{WriteTestFile(L"skipped.wav", Wav(Pcm(kSampleRate / 4, 9))), L"1"},
               {WriteTestFile(L"a.wav", Wav(a)), L"0"},
               {gone, L"0"},
               {WriteTestFile(L"b.wav", Wav(b)), L"0"},
               {WriteTestFile(L"c.wav", Wav(c)), L"0"}}});

  Module show(L"/s");
  HWND window = show.WaitWindow(L"No1Form", kStart);
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(device_->WaitStreams(5, 15s)) << "the rotation stopped: " << device_->Describe();
  const std::vector<std::uint8_t>* expected[] = {&a, &b, &c, &a};
  for (int n = 1; n <= 4; ++n) {
    const auto stream = device_->Heard(n);
    EXPECT_EQ(stream.size(), expected[n - 1]->size()) << "stream " << n;
    EXPECT_TRUE(stream == *expected[n - 1]) << "stream " << n << " is not the expected track";
  }
  EXPECT_TRUE(show.Running());

  PostMessageW(window, WM_KEYDOWN, VK_SPACE, 0);
  EXPECT_EQ(show.WaitExit(kExit), 0u);
}

TEST_F(MusicShow, EndingTheShowWhileATrackPlaysStopsItAndExitsAtOnce) {
  const auto long_track = Pcm(kSampleRate * 60, 4);  // a minute
  WriteMusic({{{WriteTestFile(L"long.wav", Wav(long_track)), L"0"}, {}, {}, {}, {}}});
  Module show(L"/s");
  HWND window = show.WaitWindow(L"No1Form", kStart);
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(WaitUntil([&] { return device_->StreamSize(1) > 0; }, 10s)) << "the track never started";

  const auto pressed = std::chrono::steady_clock::now();
  PostMessageW(window, WM_KEYDOWN, VK_SPACE, 0);
  EXPECT_EQ(show.WaitExit(kExit), 0u);
  EXPECT_LT(std::chrono::steady_clock::now() - pressed, 2s);
  const auto played = device_->Heard(1);
  EXPECT_LT(played.size(), long_track.size());
  EXPECT_TRUE(std::equal(played.begin(), played.end(), long_track.begin()))
      << "not the track's start: " << device_->Describe();
  EXPECT_EQ(device_->Count(), 1);
}

TEST_F(MusicShow, FilesThatCannotBeOpenedArePassedOverAndASingleTrackIsRestartedAtEachEnd) {
  const std::vector<std::uint8_t> garbage(3000, 0x5A);
  const auto a = Pcm(kSampleRate / 4, 5);
  WriteMusic({{{WriteTestFile(L"noise.wav", garbage), L"0"},
               {WriteTestFile(L"noise.mid", garbage), L"0"},
               {WriteTestFile(L"only.wav", Wav(a)), L"0"},
               {},
               {}}});
  Module show(L"/s");
  HWND window = show.WaitWindow(L"No1Form", kStart);
  ASSERT_NE(window, nullptr) << "a music file that cannot be opened stopped the show";
  ASSERT_TRUE(device_->WaitStreams(4, 15s)) << device_->Describe();
  for (int n = 1; n <= 3; ++n) EXPECT_TRUE(device_->Heard(n) == a) << "stream " << n << " of " << device_->Describe();
  for (HWND h : show.TopWindows()) EXPECT_EQ(WindowText(h), L"No1Form") << "an error window appeared";

  PostMessageW(window, WM_KEYDOWN, VK_SPACE, 0);
  EXPECT_EQ(show.WaitExit(kExit), 0u);
}

TEST_F(MusicShow, MidiTrackWhoseEndIsNeverReportedMovesOnAfterItsLength) {
  const auto a = Pcm(kSampleRate / 4, 6);
  WriteMusic({{{WriteTestFile(L"tune.mid", HalfSecondMidi()), L"0"},
               {WriteTestFile(L"after.wav", Wav(a)), L"0"},
               {},
               {},
               {}}});
  Module show(L"/s");
  HWND window = show.WaitWindow(L"No1Form", kStart);
  ASSERT_NE(window, nullptr);
  const auto started = std::chrono::steady_clock::now();
  // The MIDI track lasts 500 ms; the show waits a little longer for an end that never comes.
  ASSERT_TRUE(device_->WaitStreams(1, 10s)) << "the rotation stuck on the MIDI track";
  EXPECT_GE(std::chrono::steady_clock::now() - started, 500ms) << "the MIDI track was cut short";
  // After the WAV track the MIDI track comes again, then the WAV track once more.
  ASSERT_TRUE(device_->WaitStreams(2, 10s)) << "the rotation did not come round again";
  EXPECT_TRUE(device_->Heard(1) == a) << device_->Describe() << " (the track: " << a.size() << ")";
  EXPECT_TRUE(Responds(window));

  PostMessageW(window, WM_KEYDOWN, VK_SPACE, 0);
  EXPECT_EQ(show.WaitExit(kExit), 0u);
}

TEST_F(MusicShow, WithoutAnySoundDeviceTheShowGoesSilentWithoutRetrying) {
  // Wine's own switch for running without any sound driver, for the programs started while it is
  // set: their systems then have no wave output device at all.
  const registry::ScopedValue no_sound(HKEY_CURRENT_USER, L"Software\\Wine\\Drivers", L"Audio", L"");
  WriteMusic({{{WriteTestFile(L"one.wav", Wav(Pcm(kSampleRate / 4, 7))), L"0"},
               {WriteTestFile(L"two.wav", Wav(Pcm(kSampleRate / 4, 8))), L"0"},
               {WriteTestFile(L"three.mid", HalfSecondMidi()), L"1"},
               {},
               {}}});
  Module show(L"/s");
  HWND window = show.WaitWindow(L"No1Form", kStart);
  ASSERT_NE(window, nullptr) << "the show hung or failed without a sound device";
  PumpFor(500ms);
  // Every play request starts a thread of the sound system, so a show that kept trying its
  // tracks would keep making new threads.
  const std::vector<DWORD> now = ThreadsOf(show.pid());
  std::set<DWORD> seen(now.begin(), now.end());
  const std::size_t settled = seen.size();
  for (int i = 0; i < 20; ++i) {
    PumpFor(100ms);
    for (DWORD id : ThreadsOf(show.pid())) seen.insert(id);
  }
  EXPECT_LE(seen.size(), settled + 1) << "the silent show keeps trying to play";
  EXPECT_TRUE(Responds(window));
  EXPECT_TRUE(show.Running());
  for (HWND h : show.TopWindows()) EXPECT_EQ(WindowText(h), L"No1Form") << "an error window appeared";
  EXPECT_EQ(device_->Count(), 0) << "sound reached a device that should not be there";

  PostMessageW(window, WM_KEYDOWN, VK_SPACE, 0);
  EXPECT_EQ(show.WaitExit(kExit), 0u);
}

TEST_F(MusicShow, PreviewPlaysNoMusic) {
  WriteMusic({{{WriteTestFile(L"preview.wav", Wav(Pcm(kSampleRate / 4, 10))), L"0"}, {}, {}, {}, {}}});
  PreviewHost host(152, 112);
  ASSERT_NE(host.hwnd(), nullptr);
  Module preview(L"/p " + std::to_wstring(reinterpret_cast<std::uintptr_t>(host.hwnd())));
  ASSERT_TRUE(WaitUntil([&] { return !ChildWindows(host.hwnd()).empty(); }, kStart));
  PumpFor(1s);
  EXPECT_EQ(device_->Count(), 0) << "the preview played music";
  EXPECT_EQ(registry::Read(L"MusicPlayStop"), L"0");
  EXPECT_EQ(registry::Read(L"MusicPlayStopNo1"), L"0");
}

}  // namespace
}  // namespace tessmoor::e2e
