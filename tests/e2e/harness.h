#pragma once
#include <windows.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/win32/handles.h"

// What the end-to-end tests need to drive the real module from another process: start it, find
// its windows, send it input, read the registry and the screen. Every wait is bounded.
namespace tessmoor::e2e {

struct Options {
  std::wstring module;     // Windows path of Tessmoor.scr
  std::wstring artifacts;  // Windows path of the folder for screenshots
};
const Options& GetOptions();
void SetOptions(Options options);

// A Unix path as Wine sees it (Z: is the root); Windows paths pass unchanged.
std::wstring ToWindowsPath(const std::wstring& path);

// Runs `fn` until it returns true or `timeout` passes, pumping this thread's messages meanwhile
// (host windows made by the test live on this thread).
bool WaitUntil(const std::function<bool()>& fn, std::chrono::milliseconds timeout);
void PumpFor(std::chrono::milliseconds duration);

// A program this driver started; killed when it still runs as the object goes.
class Process {
 public:
  // Runs the command line `command`; `program`, when given, names the file to run. Throws when
  // it cannot be started.
  explicit Process(std::wstring command, const std::wstring& program = {});
  Process(const Process&) = delete;
  Process& operator=(const Process&) = delete;
  ~Process();

  DWORD pid() const { return pid_; }
  HANDLE process() const { return process_.get(); }
  bool Running() const;
  // The exit code, or nothing when the process still runs after `timeout`.
  std::optional<DWORD> WaitExit(std::chrono::milliseconds timeout);
  void Kill();

  // Visible top-level windows of the process, unowned ones first.
  std::vector<HWND> TopWindows(bool include_hidden = false) const;
  // The first visible top-level window with this title, waiting up to `timeout`.
  HWND WaitWindow(const std::wstring& title, std::chrono::milliseconds timeout) const;

 private:
  win32::UniqueHandle process_;
  win32::UniqueHandle thread_;
  DWORD pid_ = 0;
};

class Module : public Process {
 public:
  // Starts the module under test with `args` (e.g. L"/s").
  explicit Module(const std::wstring& args);
  // Starts the copy of the module at `path`.
  Module(const std::wstring& path, const std::wstring& args);
};

// The visible top-level windows of process `pid` (hidden ones too on request), unowned ones first.
std::vector<HWND> TopWindowsOf(DWORD pid, bool include_hidden = false);
// Those of them titled `title`.
std::vector<HWND> WindowsTitled(DWORD pid, const std::wstring& title);
// The window titled `title` that `press` makes process `pid` show: one that was not there before.
// nullptr when none appears within `timeout`.
HWND AwaitNewWindow(DWORD pid, const std::wstring& title, const std::function<void()>& press,
                    std::chrono::milliseconds timeout);
DWORD ProcessOf(HWND window);

// Text as the module's tables hold it (UTF-8) and as Windows takes it (UTF-16).
std::wstring Wide(std::string_view utf8);
std::string Narrow(std::wstring_view text);
std::wstring LowerCased(std::wstring text);
// A value name numbered in its middle: Key(L"MusicNo", 2, L"") is L"MusicNo2".
std::wstring Key(const wchar_t* prefix, int n, const wchar_t* suffix);

// Files. TempFolder ends in a backslash.
std::wstring TempFolder();
// Writes a file into `folder` (made when missing); its full path.
std::wstring WriteFileIn(const std::wstring& folder, const std::wstring& name, const std::vector<std::uint8_t>& bytes);
bool FileExists(const std::wstring& path);
// The whole file; empty when it cannot be read.
std::string ReadWholeFile(const std::wstring& path);

namespace registry {
// Any key, e.g. HKEY_LOCAL_MACHINE and L"Software\\Microsoft\\...".
std::optional<std::wstring> ReadString(HKEY root, const std::wstring& key, const std::wstring& name);
std::optional<DWORD> ReadDword(HKEY root, const std::wstring& key, const std::wstring& name);
void WriteString(HKEY root, const std::wstring& key, const std::wstring& name, const std::wstring& value);
void DeleteValue(HKEY root, const std::wstring& key, const std::wstring& name);
bool KeyExists(HKEY root, const std::wstring& key);

// Sets a value for the life of the object, then puts back what was there before, or removes it.
class ScopedValue {
 public:
  ScopedValue(HKEY root, std::wstring key, std::wstring name, const std::wstring& text);
  ScopedValue(HKEY root, std::wstring key, std::wstring name, DWORD number);
  ScopedValue(const ScopedValue&) = delete;
  ScopedValue& operator=(const ScopedValue&) = delete;
  ~ScopedValue();

 private:
  void Set(DWORD type, const void* data, DWORD size);
  HKEY root_;
  std::wstring key_, name_;
  DWORD old_type_ = REG_NONE;
  std::optional<std::vector<BYTE>> old_;
};

// The settings key of the module, HKCU\Software\Quorvane\ScreenSaver\LumivaleReg.
void DeleteSettings();
std::optional<std::wstring> Read(const std::wstring& name);
void Write(const std::wstring& name, const std::wstring& value);
// Every text value under the settings key.
std::map<std::wstring, std::wstring> All();
bool KeyExists();
// A number under the settings key (REG_DWORD), as an administrator's script might set one.
void WriteDword(const std::wstring& name, DWORD value);
std::optional<DWORD> ReadDword(const std::wstring& name);

// For the life of the object nobody may set a value under the settings key (made when missing):
// its permissions deny KEY_SET_VALUE to everyone, as a policy would. Reading, and giving the key
// its former permissions back afterwards, stay allowed.
class ScopedWriteDenial {
 public:
  ScopedWriteDenial();
  ScopedWriteDenial(const ScopedWriteDenial&) = delete;
  ScopedWriteDenial& operator=(const ScopedWriteDenial&) = delete;
  ~ScopedWriteDenial();
  // The denial is in place: a write the driver tries itself is refused.
  bool Active() const;

 private:
  std::vector<BYTE> former_;  // the key's self-relative security descriptor with its DACL
};
}  // namespace registry

// Test pictures: written into a folder of the prefix's temp folder; returns the file's Windows
// path.
std::wstring WriteTestFile(const std::wstring& name, const std::vector<std::uint8_t>& bytes);
// Registers `path` in box b, slot s.
void RegisterPicture(int box, int slot, const std::wstring& path);

// Waits until the pixel at (x, y) of the screen is within `tolerance` of `rgb` (0xRRGGBB) on every
// channel; false when it never is within `timeout`.
bool WaitForPixel(int x, int y, std::uint32_t rgb, int tolerance, std::chrono::milliseconds timeout);
bool Near(std::uint32_t pixel, std::uint32_t rgb, int tolerance);

// The host's preview window, as the display settings make it: a window of the test's own, on
// this thread, whose handle the module gets after /p.
class PreviewHost {
 public:
  PreviewHost(int width, int height);
  PreviewHost(const PreviewHost&) = delete;
  PreviewHost& operator=(const PreviewHost&) = delete;
  ~PreviewHost();
  HWND hwnd() const { return hwnd_; }
  std::wstring Handle() const { return std::to_wstring(reinterpret_cast<std::uintptr_t>(hwnd_)); }
  void Destroy();

 private:
  HWND hwnd_ = nullptr;
};

std::wstring WindowText(HWND hwnd);
RECT WindowRectOf(HWND hwnd);
std::vector<HWND> ChildWindows(HWND parent);

// The screen as 32-bit BGRX pixels.
struct Screenshot {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;
  std::uint32_t At(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x] & 0xFFFFFF; }
  // Saves as a 24-bit BMP into the artifacts folder (the test scripts turn them into PNG).
  void Save(const std::wstring& name) const;
};
Screenshot CaptureScreen();
// The screen's pixels from (left, top), in the coordinates of the screen's device context: the
// primary monitor's corner at 0,0, monitors left of or above it at negative coordinates.
Screenshot CaptureScreenArea(int left, int top, int width, int height);

// Handle counts of another process, for leak checks over a long run. GetGuiResources is a stub
// under Wine, so GDI objects are counted in the process's own GDI handle table (its PEB's
// GdiSharedHandleTable, read with ReadProcessMemory): the entries whose type is set, stock objects
// included (Wine clears an entry's type when its object is deleted). nullopt when it cannot be read.
std::optional<int> CountGdiObjects(HANDLE process);
// The windows of process `pid`: its top-level windows, hidden ones included, and all their
// descendants.
int CountWindows(DWORD pid);

// SendMessage to a window of the module, bounded in time: a hung module fails the test instead of
// hanging it. 0 when the window does not answer within `timeout`.
LRESULT SendBounded(HWND hwnd, UINT message, WPARAM wparam = 0, LPARAM lparam = 0,
                    std::chrono::milliseconds timeout = std::chrono::seconds(10));
// The descendants of `parent` whose text is `text`, of any class when `window_class` is null.
std::vector<HWND> ChildrenWithText(HWND parent, const std::wstring& text, const wchar_t* window_class = nullptr);

// The part of a screenshot inside `area` (screen coordinates, clipped to the screen).
Screenshot Crop(const Screenshot& shot, const RECT& area);

// How DistinctGlyphCells tells the text from what lies behind it.
enum class InkBackground {
  kMostCommonColour,  // a control's face: the area's most common colour
  kTopRowOfColumn,    // a gradient title bar: each column's colour in the area's top row
};
// Text drawn in `area` of the screen, cut into cells at the columns without ink (pixels more than
// 96 away from the background on some channel), and the number of different cells. A caption whose
// glyphs are missing from its font is drawn as one repeated box, so it has one kind of cell however
// many characters it shows; real text has about as many kinds as it has different characters.
int DistinctGlyphCells(const Screenshot& shot, const RECT& area, InkBackground background);

// Text as ink: the pixels of a picture more than 96 away, on some channel, from the dialogs' face
// colour (COLOR_BTNFACE).
struct Ink {
  int width = 0;
  int height = 0;
  std::vector<bool> mask;
  int count = 0;
  bool At(int x, int y) const { return mask[static_cast<std::size_t>(y) * width + x]; }
};
Ink InkOf(const Screenshot& shot);
// `text` drawn by this driver as the module's dialogs draw their captions: one line in
// "ＭＳ Ｐゴシック" (or the font the system puts in its place) `pixels` high at 96 DPI, scaled by
// the screen's DPI, black on the face colour. The picture is as large as the text.
Screenshot RenderCaption(const std::wstring& text, int pixels, bool bold = false, bool italic = false);
// The fewest pixels in which `text` differs from `screen` over every place of the text in `area`
// (screen coordinates) and up to a few pixels beyond it: near 0 where the module drew that text in
// that font, large where it drew boxes, another font or nothing.
int BestMismatch(const Ink& screen, const RECT& area, const Ink& text);

// Sends `window` of another process WM_DPICHANGED as the system does when the window moves onto a
// monitor of `dpi`: the rectangle it suggests for the window is put into that process's memory
// (`process` needs VM operation and write access), since the message carries a pointer that the
// system does not carry across processes. False when the window did not answer.
bool SendDpiChanged(HWND window, HANDLE process, int dpi, const RECT& suggested);

// The threads of process `pid` now.
std::vector<DWORD> ThreadsOf(DWORD pid);

// Other programs (an installer, the help viewer).
struct Finished {
  std::optional<DWORD> exit_code;  // nothing when it still ran at the limit (it is then killed)
  DWORD pid = 0;
};
// Runs the command line `command` and waits for it up to `limit`.
Finished RunAndWait(std::wstring command, std::chrono::milliseconds limit);
// Waits until every process that process `parent` started has ended: an NSIS uninstaller, say,
// hands its work to a copy of itself and ends at once. False when one still runs after `limit`.
bool WaitForChildrenOf(DWORD parent, std::chrono::milliseconds limit);
// The item texts of a tree view in another process, parents before their children, in display
// order. The tree view's messages carry pointers, so the text is read through a buffer allocated in
// that process: `process` needs VM operation, read and write access.
std::vector<std::wstring> TreeViewTexts(HWND tree, HANDLE process);

}  // namespace tessmoor::e2e
