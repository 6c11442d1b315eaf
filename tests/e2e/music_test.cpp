// Music in the real module: the show's rotation heard on the dummy sound device of
// tools/run-under-wine.sh, which writes every stream it plays to a file of its own; the show with
// no sound device at all; a MIDI track whose end is never reported; the music dialog driven like
// a user.
#include <windows.h>
#include <tlhelp32.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cwctype>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "tests/e2e/harness.h"

namespace tessmoor::e2e {
namespace {

using namespace std::chrono_literals;

constexpr auto kStart = 15s;
constexpr auto kExit = 5s;
constexpr int kSampleRate = 8000;  // mono, 16 bits
constexpr const char* kNoDevice =
    "no dummy sound device to listen on: run the driver through ctest, or through "
    "tools/run-under-wine.sh with TESSMOOR_ALSA_FILE set";

// The PCM of a track: a saw wave whose step and offset make every track's bytes its own.
std::vector<std::uint8_t> Pcm(int samples, int seed) {
  std::vector<std::uint8_t> bytes;
  bytes.reserve(static_cast<std::size_t>(samples) * 2);
  for (int i = 0; i < samples; ++i) {
    const auto value = static_cast<std::uint16_t>((seed * 4099 + i * (seed + 3) * 97) & 0x3FFF);
    bytes.push_back(static_cast<std::uint8_t>(value & 0xFF));
    bytes.push_back(static_cast<std::uint8_t>(value >> 8));
  }
  return bytes;
}

void PutLe(std::vector<std::uint8_t>& out, std::uint32_t value, int size) {
  for (int i = 0; i < size; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
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

// A format-0 MIDI file holding one quarter note at the default 120 beats a minute: 500 ms.
std::vector<std::uint8_t> HalfSecondMidi() {
  return {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, 0, 96,  // format 0, one track, 96 per quarter
          'M', 'T', 'r', 'k', 0, 0, 0, 12,                    //
          0, 0x90, 60, 100,                                    // note on at 0
          96, 0x80, 60, 0,                                     // note off a quarter later
          0, 0xFF, 0x2F, 0};                                   // end of track
}

std::wstring Lower(std::wstring text) {
  for (wchar_t& c : text) c = static_cast<wchar_t>(std::towlower(c));
  return text;
}

// The dummy sound device (TESSMOOR_ALSA_FILE=PATH): the stream the module opens first after
// Clear is in PATH.0001, the next one in PATH.0002, and so on.
class SoundDevice {
 public:
  static std::optional<SoundDevice> Find() {
    wchar_t path[1024] = {};
    if (GetEnvironmentVariableW(L"TESSMOOR_ALSA_FILE", path, 1024) == 0) return std::nullopt;
    return SoundDevice(ToWindowsPath(path));
  }

  void Clear() const {
    for (int n = 1; n <= 9999 && Exists(n); ++n) DeleteFileW(Name(n).c_str());
    // The device numbers its streams only while the file of its own name exists.
    HANDLE base = CreateFileW(base_.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (base != INVALID_HANDLE_VALUE) CloseHandle(base);
  }

  // The number of streams begun since Clear.
  int Count() const {
    int n = 0;
    while (Exists(n + 1)) ++n;
    return n;
  }

  // Stream n as far as it is written.
  std::vector<std::uint8_t> Stream(int n) const {
    std::vector<std::uint8_t> bytes;
    FILE* f = _wfopen(Name(n).c_str(), L"rb");
    if (!f) return bytes;
    std::uint8_t buffer[65536];
    for (std::size_t got; (got = fread(buffer, 1, sizeof buffer, f)) > 0;)
      bytes.insert(bytes.end(), buffer, buffer + got);
    fclose(f);
    return bytes;
  }

  std::size_t StreamSize(int n) const {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(Name(n).c_str(), GetFileExInfoStandard, &data)) return 0;
    return data.nFileSizeLow;
  }

 private:
  explicit SoundDevice(std::wstring base) : base_(std::move(base)) {}
  std::wstring Name(int n) const {
    wchar_t suffix[8];
    swprintf(suffix, 8, L".%04d", n);
    return base_ + suffix;
  }
  bool Exists(int n) const { return GetFileAttributesW(Name(n).c_str()) != INVALID_FILE_ATTRIBUTES; }

  std::wstring base_;
};

// Wine's own switch for running without any sound driver, for the programs started while it
// lives: their systems then have no wave output device at all.
class NoSoundDriver {
 public:
  NoSoundDriver() {
    RegCreateKeyExW(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr, &key_, nullptr);
    wchar_t old[256] = {};
    DWORD size = sizeof(old);
    if (RegQueryValueExW(key_, L"Audio", nullptr, nullptr, reinterpret_cast<BYTE*>(old), &size) ==
        ERROR_SUCCESS)
      old_ = old;
    const wchar_t none[] = L"";
    RegSetValueExW(key_, L"Audio", 0, REG_SZ, reinterpret_cast<const BYTE*>(none), sizeof(none));
  }
  ~NoSoundDriver() {
    if (old_)
      RegSetValueExW(key_, L"Audio", 0, REG_SZ, reinterpret_cast<const BYTE*>(old_->c_str()),
                     static_cast<DWORD>((old_->size() + 1) * sizeof(wchar_t)));
    else
      RegDeleteValueW(key_, L"Audio");
    RegCloseKey(key_);
  }
  NoSoundDriver(const NoSoundDriver&) = delete;
  NoSoundDriver& operator=(const NoSoundDriver&) = delete;

 private:
  static constexpr const wchar_t* kKey = L"Software\\Wine\\Drivers";
  HKEY key_ = nullptr;
  std::optional<std::wstring> old_;
};

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

// The ids of the module's threads now.
std::set<DWORD> Threads(const Module& module) {
  std::set<DWORD> ids;
  HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
  THREADENTRY32 t{};
  t.dwSize = sizeof(t);
  for (BOOL ok = Thread32First(snap, &t); ok; ok = Thread32Next(snap, &t))
    if (t.th32OwnerProcessID == module.pid()) ids.insert(t.th32ThreadID);
  CloseHandle(snap);
  return ids;
}

bool Responds(HWND window) {
  DWORD_PTR result = 0;
  return SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 1000, &result) != 0;
}

std::string Describe(const SoundDevice& device) {
  std::string text = std::to_string(device.Count()) + " streams:";
  for (int n = 1; n <= device.Count(); ++n) text += " " + std::to_string(device.StreamSize(n));
  return text;
}

class MusicShow : public ::testing::Test {
 protected:
  void SetUp() override {
    registry::DeleteSettings();
    device_ = SoundDevice::Find();
    if (device_) device_->Clear();
  }

  // Waits until `count` streams have begun; all but the last are then complete.
  bool WaitStreams(int count, std::chrono::milliseconds timeout) const {
    return WaitUntil([&] { return device_->Count() >= count; }, timeout);
  }

  std::optional<SoundDevice> device_;
};

TEST_F(MusicShow, PlaysThePlayableSlotsInTurnFromTheFirstPlayableOneAndMovesOnAtEachEnd) {
  if (!device_) GTEST_SKIP() << kNoDevice;
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
  ASSERT_TRUE(WaitStreams(5, 15s)) << "the rotation stopped: " << Describe(*device_);
  const std::vector<std::uint8_t>* expected[] = {&a, &b, &c, &a};
  for (int n = 1; n <= 4; ++n) {
    const auto stream = device_->Stream(n);
    EXPECT_EQ(stream.size(), expected[n - 1]->size()) << "stream " << n;
    EXPECT_TRUE(stream == *expected[n - 1]) << "stream " << n << " is not the expected track";
  }
  EXPECT_TRUE(show.Running());

  PostMessageW(window, WM_KEYDOWN, VK_SPACE, 0);
  EXPECT_EQ(show.WaitExit(kExit), 0u);
}

TEST_F(MusicShow, EndingTheShowWhileATrackPlaysStopsItAndExitsAtOnce) {
  if (!device_) GTEST_SKIP() << kNoDevice;
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
  const auto played = device_->Stream(1);
  EXPECT_LT(played.size(), long_track.size());
  EXPECT_TRUE(std::equal(played.begin(), played.end(), long_track.begin())) << "not the track's start";
  EXPECT_EQ(device_->Count(), 1);
}

TEST_F(MusicShow, FilesThatCannotBeOpenedArePassedOverAndASingleTrackIsRestartedAtEachEnd) {
  if (!device_) GTEST_SKIP() << kNoDevice;
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
  ASSERT_TRUE(WaitStreams(4, 15s)) << Describe(*device_);
  for (int n = 1; n <= 3; ++n) EXPECT_TRUE(device_->Stream(n) == a) << "stream " << n;
  for (HWND h : show.TopWindows()) EXPECT_EQ(WindowText(h), L"No1Form") << "an error window appeared";

  PostMessageW(window, WM_KEYDOWN, VK_SPACE, 0);
  EXPECT_EQ(show.WaitExit(kExit), 0u);
}

TEST_F(MusicShow, MidiTrackWhoseEndIsNeverReportedMovesOnAfterItsLength) {
  if (!device_) GTEST_SKIP() << kNoDevice;
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
  ASSERT_TRUE(WaitStreams(1, 10s)) << "the rotation stuck on the MIDI track";
  EXPECT_GE(std::chrono::steady_clock::now() - started, 500ms) << "the MIDI track was cut short";
  // After the WAV track the MIDI track comes again, then the WAV track once more.
  ASSERT_TRUE(WaitStreams(2, 10s)) << "the rotation did not come round again";
  EXPECT_TRUE(device_->Stream(1) == a);
  EXPECT_TRUE(Responds(window));

  PostMessageW(window, WM_KEYDOWN, VK_SPACE, 0);
  EXPECT_EQ(show.WaitExit(kExit), 0u);
}

TEST_F(MusicShow, WithoutAnySoundDeviceTheShowGoesSilentWithoutRetrying) {
  NoSoundDriver no_sound;
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
  std::set<DWORD> seen = Threads(show);
  const std::size_t settled = seen.size();
  for (int i = 0; i < 20; ++i) {
    PumpFor(100ms);
    for (DWORD id : Threads(show)) seen.insert(id);
  }
  EXPECT_LE(seen.size(), settled + 1) << "the silent show keeps trying to play";
  EXPECT_TRUE(Responds(window));
  EXPECT_TRUE(show.Running());
  for (HWND h : show.TopWindows()) EXPECT_EQ(WindowText(h), L"No1Form") << "an error window appeared";
  if (device_) {
    EXPECT_EQ(device_->Count(), 0) << "sound reached a device that should not be there";
  }

  PostMessageW(window, WM_KEYDOWN, VK_SPACE, 0);
  EXPECT_EQ(show.WaitExit(kExit), 0u);
}


TEST_F(MusicShow, PreviewPlaysNoMusic) {
  if (!device_) GTEST_SKIP() << kNoDevice;
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

// The music dialog is reached as a user reaches it: the settings dialog's "詳細設定" in its
// "音楽" group.
class MusicDialog : public MusicShow {
 protected:
  // Starts the settings dialog and opens the music dialog from it; skips the test while the
  // module has no settings dialog to open it from.
  HWND OpenMusicDialog(Module& setup) {
    HWND settings = nullptr;
    WaitUntil(
        [&] {
          settings = FindTop(setup, L"設定");
          return settings != nullptr || !setup.Running();
        },
        kStart);
    if (!settings) return nullptr;
    settings_ = settings;
    HWND button = MusicDetailButton(settings);
    EXPECT_NE(button, nullptr) << "the settings dialog has no \"詳細設定\" button in its \"音楽\" group";
    if (!button) return nullptr;
    PostMessageW(button, BM_CLICK, 0, 0);
    HWND music = nullptr;
    WaitUntil(
        [&] {
          music = FindTop(setup, L"音楽");
          return music != nullptr;
        },
        kStart);
    EXPECT_NE(music, nullptr) << "\"詳細設定\" opened no music dialog";
    return music;
  }

  HWND settings_ = nullptr;  // the settings dialog the music dialog was opened from

  static HWND FindTop(const Module& module, const std::wstring& title) {
    for (HWND h : module.TopWindows())
      if (WindowText(h) == title) return h;
    return nullptr;
  }

  static HWND MusicDetailButton(HWND settings) {
    HWND group = nullptr;
    for (HWND c : ChildWindows(settings))
      if (WindowText(c) == L"音楽") group = c;
    if (!group) return nullptr;
    const RECT g = WindowRectOf(group);
    for (HWND c : ChildWindows(settings)) {
      const RECT r = WindowRectOf(c);
      if (WindowText(c) == L"詳細設定" && r.left >= g.left && r.right <= g.right && r.top >= g.top &&
          r.bottom <= g.bottom)
        return c;
    }
    return nullptr;
  }
};

// The music dialog's controls as a user sees them, each row from the top down.
struct MusicControls {
  std::vector<HWND> check_boxes, open, erase, play;
  HWND stop = nullptr, save = nullptr, cancel = nullptr;

  static MusicControls Of(HWND dialog) {
    MusicControls c;
    std::vector<HWND> glyphs;
    for (HWND h : ChildWindows(dialog)) {
      const std::wstring text = WindowText(h);
      const LONG style = GetWindowLongW(h, GWL_STYLE);
      if ((style & BS_TYPEMASK) == BS_AUTOCHECKBOX) c.check_boxes.push_back(h);
      else if (text == L"....") c.open.push_back(h);
      else if (text == L"X") c.erase.push_back(h);
      else if (text == L"設定の保存") c.save = h;
      else if (text == L"キャンセル") c.cancel = h;
      else if (text.empty()) glyphs.push_back(h);
    }
    for (auto* list : {&c.check_boxes, &c.open, &c.erase, &glyphs})
      std::sort(list->begin(), list->end(),
                [](HWND x, HWND y) { return WindowRectOf(x).top < WindowRectOf(y).top; });
    if (glyphs.size() == 6) {
      c.stop = glyphs.back();
      glyphs.pop_back();
      c.play = glyphs;
    }
    return c;
  }

  bool Complete() const {
    return check_boxes.size() == 5 && open.size() == 5 && erase.size() == 5 && play.size() == 5 &&
           stop && save && cancel;
  }
  // The preview states: idle has the play and open buttons, playing only the stop button.
  bool Idle() const { return States(true); }
  bool Playing() const { return States(false); }

 private:
  bool States(bool idle) const {
    for (int i = 0; i < 5; ++i)
      if ((IsWindowEnabled(play[i]) != FALSE) != idle || (IsWindowEnabled(open[i]) != FALSE) != idle)
        return false;
    return (IsWindowEnabled(stop) != FALSE) == !idle;
  }
};

// Left, top, width and height in the dialog's client area.
using Bounds = std::array<long, 4>;
Bounds BoundsIn(HWND control, HWND dialog) {
  RECT r = WindowRectOf(control);
  MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
  return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

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

bool Ticked(HWND box) { return SendMessageW(box, BM_GETCHECK, 0, 0) == BST_CHECKED; }

// Chooses `path` in the open dialog that slot `open`'s button brings up.
bool ChooseInOpenDialog(const Module& module, HWND music, HWND open, const std::wstring& path) {
  PostMessageW(open, BM_CLICK, 0, 0);  // the open dialog is modal: do not wait for the click
  HWND chooser = nullptr;
  if (!WaitUntil(
          [&] {
            for (HWND h : module.TopWindows()) {
              wchar_t cls[64] = {};
              GetClassNameW(h, cls, 64);
              if (std::wstring(cls) == L"#32770" && GetWindow(h, GW_OWNER) == music) chooser = h;
            }
            return chooser != nullptr;
          },
          10s))
    return false;
  HWND name = GetDlgItem(chooser, 0x47C);
  if (!name) return false;
  SendMessageW(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
  PostMessageW(GetDlgItem(chooser, IDOK), BM_CLICK, 0, 0);
  return WaitUntil([&] { return !IsWindow(chooser) || !IsWindowVisible(chooser); }, 10s);
}

TEST_F(MusicDialog, OpensAtItsDesignPlaceWithEveryControlWhereItBelongs) {
  Module setup(L"/c");
  HWND music = OpenMusicDialog(setup);
  if (!music) {
    if (!HasFailure()) GTEST_SKIP() << "the settings dialog (\"設定\") does not open yet";
    return;
  }
  const RECT outer = WindowRectOf(music);
  EXPECT_EQ(outer.left, 409);
  EXPECT_EQ(outer.top, 197);
  EXPECT_EQ(outer.right - outer.left, 323);
  EXPECT_EQ(outer.bottom - outer.top, 279);
  EXPECT_EQ(GetWindow(music, GW_OWNER), settings_) << "not owned by the settings dialog";
  const LONG style = GetWindowLongW(music, GWL_STYLE);
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_FALSE(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX));

  const MusicControls c = MusicControls::Of(music);
  ASSERT_TRUE(c.Complete());
  for (int n = 1; n <= 5; ++n) {
    const int y = 8 + 40 * (n - 1);
    const Bounds box = BoundsIn(c.check_boxes[n - 1], music);
    EXPECT_EQ(box[0], 8);
    EXPECT_EQ(box[1], y);
    EXPECT_EQ(box[2], n >= 4 ? 193 : 185) << "check box " << n;
    EXPECT_EQ(BoundsIn(c.open[n - 1], music), (Bounds{208, y, 25, 25})) << "open " << n;
    EXPECT_EQ(BoundsIn(c.erase[n - 1], music), (Bounds{240, y, 25, 25})) << "erase " << n;
    EXPECT_EQ(BoundsIn(c.play[n - 1], music), (Bounds{272, y, 33, 25})) << "play " << n;
    EXPECT_EQ(WindowText(c.check_boxes[n - 1]), L"");
    EXPECT_FALSE(Ticked(c.check_boxes[n - 1]));
  }
  EXPECT_EQ(BoundsIn(c.stop, music), (Bounds{272, 208, 33, 25}));
  EXPECT_EQ(BoundsIn(c.save, music), (Bounds{40, 216, 75, 25}));
  EXPECT_EQ(BoundsIn(c.cancel, music), (Bounds{128, 216, 73, 25}));
  EXPECT_TRUE(c.Idle());

  PumpFor(300ms);
  const Screenshot shot = CaptureScreen();
  shot.Save(L"music-dialog");
  // The loudspeakers: in colour on the play buttons, greyed on the disabled stop button.
  for (HWND play : c.play) {
    EXPECT_GT(CountPixels(shot, play, IsDark), 20) << "no loudspeaker on a play button";
    EXPECT_GT(CountPixels(shot, play, IsBlue), 3) << "no sound waves on a play button";
  }
  EXPECT_GT(CountPixels(shot, c.stop, IsGrey), 20) << "no greyed glyph on the stop button";
  EXPECT_EQ(CountPixels(shot, c.stop, IsRed), 0) << "the disabled stop glyph is not greyed";
}

TEST_F(MusicDialog, DrivenLikeAUserPreviewsAndSavesTheChosenSlots) {
  if (!device_) GTEST_SKIP() << kNoDevice;
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

  Module setup(L"/c");
  HWND music = OpenMusicDialog(setup);
  if (!music) {
    if (!HasFailure()) GTEST_SKIP() << "the settings dialog (\"設定\") does not open yet";
    return;
  }
  const MusicControls c = MusicControls::Of(music);
  ASSERT_TRUE(c.Complete());
  EXPECT_EQ(WindowText(c.check_boxes[2]), Lower(theme));
  EXPECT_TRUE(Ticked(c.check_boxes[2]));
  EXPECT_EQ(WindowText(c.check_boxes[3]), L"");
  EXPECT_TRUE(Ticked(c.check_boxes[3]));

  // Slot 2: choose the file, tick the slot.
  ASSERT_TRUE(ChooseInOpenDialog(setup, music, c.open[1], song)) << "the open dialog did not work";
  EXPECT_TRUE(WaitUntil([&] { return WindowText(c.check_boxes[1]) == Lower(song); }, 5s))
      << "caption: " << testing::PrintToString(WindowText(c.check_boxes[1]));
  EXPECT_FALSE(Ticked(c.check_boxes[1])) << "choosing a file ticked the slot";
  SendMessageW(c.check_boxes[1], BM_CLICK, 0, 0);
  EXPECT_TRUE(Ticked(c.check_boxes[1]));

  // Play slot 2 and stop it: the buttons go to the playing state and back.
  SendMessageW(c.play[1], BM_CLICK, 0, 0);
  EXPECT_TRUE(WaitUntil([&] { return c.Playing(); }, 5s)) << "the buttons did not show the preview";
  ASSERT_TRUE(WaitUntil([&] { return device_->StreamSize(1) > 0; }, 10s)) << "the preview made no sound";
  PumpFor(200ms);
  const Screenshot playing = CaptureScreen();
  playing.Save(L"music-dialog-playing");
  EXPECT_GT(CountPixels(playing, c.stop, IsRed), 10) << "the stop button shows no red cross";
  EXPECT_EQ(CountPixels(playing, c.play[0], IsBlue), 0) << "a disabled play button is not greyed";
  SendMessageW(c.stop, BM_CLICK, 0, 0);
  EXPECT_TRUE(WaitUntil([&] { return c.Idle(); }, 5s)) << "stop left the buttons playing";
  PumpFor(300ms);
  const auto stopped = device_->Stream(1);
  EXPECT_LT(stopped.size(), long_track.size()) << "stop did not stop the preview";
  EXPECT_TRUE(std::equal(stopped.begin(), stopped.end(), long_track.begin()));

  // Play slot 3 to its end: the buttons come back by themselves.
  SendMessageW(c.play[2], BM_CLICK, 0, 0);
  ASSERT_TRUE(WaitStreams(2, 10s));
  EXPECT_TRUE(WaitUntil([&] { return c.Idle(); }, 10s)) << "the end of the preview left the buttons playing";
  PumpFor(200ms);
  EXPECT_TRUE(device_->Stream(2) == short_track);

  // Erase slot 3, then save.
  SendMessageW(c.erase[2], BM_CLICK, 0, 0);
  EXPECT_EQ(WindowText(c.check_boxes[2]), L"");
  EXPECT_FALSE(Ticked(c.check_boxes[2]));
  SendMessageW(c.save, BM_CLICK, 0, 0);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(music); }, 5s)) << "save did not close the dialog";

  EXPECT_EQ(registry::Read(L"MusicNo1"), L"");
  EXPECT_EQ(registry::Read(L"MusicNo2"), Lower(song));
  EXPECT_EQ(registry::Read(L"MusicNo3"), L"");
  EXPECT_EQ(registry::Read(L"MusicNo4"), L"");
  EXPECT_EQ(registry::Read(L"MusicNo5"), L"");
  const wchar_t* flags[] = {L"1", L"0", L"1", L"0", L"1"};
  for (int n = 1; n <= 5; ++n)
    EXPECT_EQ(registry::Read(L"MusicPlayStopNo" + std::to_wstring(n)), flags[n - 1]) << "slot " << n;
  EXPECT_TRUE(setup.Running());
}

TEST_F(MusicDialog, ClosingTheDialogByItsCloseBoxStopsThePreviewAndWritesNothing) {
  if (!device_) GTEST_SKIP() << kNoDevice;
  const auto long_track = Pcm(kSampleRate * 60, 13);
  registry::Write(L"MusicNo1", WriteTestFile(L"close.wav", Wav(long_track)));
  Module setup(L"/c");
  HWND music = OpenMusicDialog(setup);
  if (!music) {
    if (!HasFailure()) GTEST_SKIP() << "the settings dialog (\"設定\") does not open yet";
    return;
  }
  const MusicControls c = MusicControls::Of(music);
  ASSERT_TRUE(c.Complete());
  const auto before = registry::All();
  SendMessageW(c.play[0], BM_CLICK, 0, 0);
  ASSERT_TRUE(WaitUntil([&] { return device_->StreamSize(1) > 0; }, 10s)) << "the preview made no sound";
  PostMessageW(music, WM_CLOSE, 0, 0);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(music); }, 5s)) << "the close box did not close it";
  PumpFor(300ms);
  const std::size_t at_close = device_->StreamSize(1);
  PumpFor(500ms);
  EXPECT_EQ(device_->StreamSize(1), at_close) << "the preview plays on after the dialog closed";
  EXPECT_LT(at_close, long_track.size());
  EXPECT_EQ(registry::All(), before);
}

}  // namespace
}  // namespace tessmoor::e2e
