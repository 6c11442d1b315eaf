// The music dialog, opened from the settings dialog and driven as a user drives it: its layout and
// glyphs, files chosen, previews played and stopped on the dummy sound device, slots erased,
// saved and closed.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>

#include "tests/e2e/music_dialog_driver.h"
#include "tests/e2e/settings_dialog_driver.h"
#include "tests/e2e/sound_device.h"

namespace tessmoor::e2e {
namespace {

using namespace std::chrono_literals;
using Bounds = MusicDialogDriver::Bounds;

class MusicDialog : public WithSoundDevice<FromSettingsDialog> {};

// Pixels of `control` on the screenshot for which `is` holds.
template <class Test>
int CountPixels(const Screenshot& shot, HWND control, Test is) {
  const RECT r = WindowRectOf(control);
  int found = 0;
  for (int y = r.top; y < r.bottom; ++y)
    for (int x = r.left; x < r.right; ++x) found += is(shot.At(x, y)) ? 1 : 0;
  return found;
}
int Red(std::uint32_t p) { return (p >> 16) & 0xFF; }
int Green(std::uint32_t p) { return (p >> 8) & 0xFF; }
int Blue(std::uint32_t p) { return p & 0xFF; }
bool IsDark(std::uint32_t p) { return Red(p) < 100 && Green(p) < 100 && Blue(p) < 120; }
bool IsBlue(std::uint32_t p) { return Blue(p) > 140 && Red(p) < 80; }
bool IsRed(std::uint32_t p) { return Red(p) > 150 && Green(p) < 90 && Blue(p) < 90; }
bool IsGrey(std::uint32_t p) {
  return Red(p) == Green(p) && Green(p) == Blue(p) && Red(p) > 60 && Red(p) < 200;
}

TEST_F(MusicDialog, OpensAtItsDesignPlaceWithEveryControlWhereItBelongs) {
  ASSERT_TRUE(OpenSettings());
  const auto music = MusicDialogDriver::OpenFrom(*settings_);
  ASSERT_TRUE(music);
  const RECT outer = WindowRectOf(music.hwnd());
  EXPECT_EQ(outer.left, 409);
  EXPECT_EQ(outer.top, 197);
  EXPECT_EQ(outer.right - outer.left, 323);
  EXPECT_EQ(outer.bottom - outer.top, 279);
  EXPECT_EQ(GetWindow(music.hwnd(), GW_OWNER), settings_->hwnd()) << "not owned by the settings dialog";
  const LONG style = GetWindowLongW(music.hwnd(), GWL_STYLE);
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_FALSE(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX));

  ASSERT_TRUE(music.Complete());
  for (int n = 1; n <= 5; ++n) {
    const int y = 8 + 40 * (n - 1);
    const Bounds box = music.BoundsOf(music.CheckBox(n));
    EXPECT_EQ(box[0], 8);
    EXPECT_EQ(box[1], y);
    EXPECT_EQ(box[2], n >= 4 ? 193 : 185) << "check box " << n;
    EXPECT_EQ(music.BoundsOf(music.OpenButton(n)), (Bounds{208, y, 25, 25})) << "open " << n;
    EXPECT_EQ(music.BoundsOf(music.EraseButton(n)), (Bounds{240, y, 25, 25})) << "erase " << n;
    EXPECT_EQ(music.BoundsOf(music.PlayButton(n)), (Bounds{272, y, 33, 25})) << "play " << n;
    EXPECT_EQ(music.SlotCaption(n), L"");
    EXPECT_FALSE(music.Ticked(n));
  }
  EXPECT_EQ(music.BoundsOf(music.StopButton()), (Bounds{272, 208, 33, 25}));
  EXPECT_EQ(music.BoundsOf(music.SaveButton()), (Bounds{40, 216, 75, 25}));
  EXPECT_EQ(music.BoundsOf(music.CancelButton()), (Bounds{128, 216, 73, 25}));
  EXPECT_TRUE(music.Idle());

  PumpFor(300ms);
  const Screenshot shot = CaptureScreen();
  shot.Save(L"music-dialog");
  // The loudspeakers: in colour on the play buttons, greyed on the disabled stop button.
  for (int n = 1; n <= 5; ++n) {
    EXPECT_GT(CountPixels(shot, music.PlayButton(n), IsDark), 20) << "no loudspeaker on a play button";
    EXPECT_GT(CountPixels(shot, music.PlayButton(n), IsBlue), 3) << "no sound waves on a play button";
  }
  EXPECT_GT(CountPixels(shot, music.StopButton(), IsGrey), 20) << "no greyed glyph on the stop button";
  EXPECT_EQ(CountPixels(shot, music.StopButton(), IsRed), 0) << "the disabled stop glyph is not greyed";
}

TEST_F(MusicDialog, DrivenLikeAUserPreviewsAndSavesTheChosenSlots) {
  const auto long_track = Pcm(kSampleRate * 60, 11), short_track = Pcm(kSampleRate / 4, 12);
  const std::wstring song = WriteTestFile(L"Song.WAV", Wav(long_track));
  const std::wstring theme = WriteTestFile(L"Theme.wav", Wav(short_track));
  // Slot 3 already holds a file and is ticked; slot 4 is ticked with its file gone.
  registry::Write(L"MusicNo3", theme);
  registry::Write(L"MusicPlayStopNo3", L"0");
  const std::wstring gone = WriteTestFile(L"gone.mid", HalfSecondMidi());
  DeleteFileW(gone.c_str());
  registry::Write(L"MusicNo4", gone);
  registry::Write(L"MusicPlayStopNo4", L"0");

  ASSERT_TRUE(OpenSettings());
  const auto music = MusicDialogDriver::OpenFrom(*settings_);
  ASSERT_TRUE(music);
  ASSERT_TRUE(music.Complete());
  EXPECT_EQ(music.SlotCaption(3), LowerCased(theme));
  EXPECT_TRUE(music.Ticked(3));
  EXPECT_EQ(music.SlotCaption(4), L"");
  EXPECT_TRUE(music.Ticked(4));

  // Slot 2: choose the file, tick the slot.
  ASSERT_TRUE(music.ChooseFile(2, song)) << "the open dialog did not work";
  EXPECT_TRUE(WaitUntil([&] { return music.SlotCaption(2) == LowerCased(song); }, 5s))
      << "caption: " << testing::PrintToString(music.SlotCaption(2));
  EXPECT_FALSE(music.Ticked(2)) << "choosing a file ticked the slot";
  music.Tick(2);
  EXPECT_TRUE(music.Ticked(2));

  // Play slot 2 and stop it: the buttons go to the playing state and back.
  music.Play(2);
  EXPECT_TRUE(WaitUntil([&] { return music.Playing(); }, 5s)) << "the buttons did not show the preview";
  ASSERT_TRUE(WaitUntil([&] { return device_->StreamSize(1) > 0; }, 10s)) << "the preview made no sound";
  PumpFor(200ms);
  const Screenshot playing = CaptureScreen();
  playing.Save(L"music-dialog-playing");
  EXPECT_GT(CountPixels(playing, music.StopButton(), IsRed), 10) << "the stop button shows no red cross";
  EXPECT_EQ(CountPixels(playing, music.PlayButton(1), IsBlue), 0) << "a disabled play button is not greyed";
  music.Stop();
  EXPECT_TRUE(WaitUntil([&] { return music.Idle(); }, 5s)) << "stop left the buttons playing";
  PumpFor(300ms);
  const auto stopped = device_->Heard(1);
  EXPECT_LT(stopped.size(), long_track.size()) << "stop did not stop the preview";
  EXPECT_TRUE(std::equal(stopped.begin(), stopped.end(), long_track.begin()));

  // Play slot 3 to its end: the buttons come back by themselves.
  music.Play(3);
  ASSERT_TRUE(device_->WaitStreams(2, 10s));
  EXPECT_TRUE(WaitUntil([&] { return music.Idle(); }, 10s)) << "the end of the preview left the buttons playing";
  PumpFor(200ms);
  EXPECT_TRUE(device_->Heard(2) == short_track) << device_->Describe() << " (the track: " << short_track.size() << ")";

  // Erase slot 3, then save.
  music.Erase(3);
  EXPECT_EQ(music.SlotCaption(3), L"");
  EXPECT_FALSE(music.Ticked(3));
  music.Save();
  EXPECT_TRUE(music.WaitClosed()) << "save did not close the dialog";

  EXPECT_EQ(registry::Read(L"MusicNo1"), L"");
  EXPECT_EQ(registry::Read(L"MusicNo2"), LowerCased(song));
  EXPECT_EQ(registry::Read(L"MusicNo3"), L"");
  EXPECT_EQ(registry::Read(L"MusicNo4"), L"");
  EXPECT_EQ(registry::Read(L"MusicNo5"), L"");
  const wchar_t* flags[] = {L"1", L"0", L"1", L"0", L"1"};
  for (int n = 1; n <= 5; ++n)
    EXPECT_EQ(registry::Read(L"MusicPlayStopNo" + std::to_wstring(n)), flags[n - 1]) << "slot " << n;
  EXPECT_TRUE(module_->Running());
}

TEST_F(MusicDialog, ClosingTheDialogByItsCloseBoxStopsThePreviewAndWritesNothing) {
  const auto long_track = Pcm(kSampleRate * 60, 13);
  registry::Write(L"MusicNo1", WriteTestFile(L"close.wav", Wav(long_track)));
  ASSERT_TRUE(OpenSettings());
  const auto music = MusicDialogDriver::OpenFrom(*settings_);
  ASSERT_TRUE(music);
  ASSERT_TRUE(music.Complete());
  const auto before = registry::All();
  music.Play(1);
  ASSERT_TRUE(WaitUntil([&] { return device_->StreamSize(1) > 0; }, 10s)) << "the preview made no sound";
  music.PressCloseBox();
  EXPECT_TRUE(music.WaitClosed()) << "the close box did not close it";
  PumpFor(300ms);
  const std::size_t at_close = device_->StreamSize(1);
  PumpFor(500ms);
  EXPECT_EQ(device_->StreamSize(1), at_close) << "the preview plays on after the dialog closed";
  EXPECT_LT(at_close, long_track.size());
  EXPECT_EQ(registry::All(), before);
}

}  // namespace
}  // namespace tessmoor::e2e
