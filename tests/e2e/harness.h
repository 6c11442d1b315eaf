#pragma once
#include <windows.h>

#include <chrono>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

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

class Module {
 public:
  // Starts the module with `args` (e.g. L"/s"). Throws when it cannot be started.
  explicit Module(const std::wstring& args);
  Module(const Module&) = delete;
  Module& operator=(const Module&) = delete;
  ~Module();  // kills the process if it still runs

  DWORD pid() const { return pi_.dwProcessId; }
  HANDLE process() const { return pi_.hProcess; }
  bool Running() const;
  // The exit code, or nothing when the process still runs after `timeout`.
  std::optional<DWORD> WaitExit(std::chrono::milliseconds timeout);
  void Kill();

  // Visible top-level windows of the process, unowned ones first.
  std::vector<HWND> TopWindows(bool include_hidden = false) const;
  // The first visible top-level window with this title, waiting up to `timeout`.
  HWND WaitWindow(const std::wstring& title, std::chrono::milliseconds timeout) const;

 private:
  PROCESS_INFORMATION pi_{};
};

// The settings key of the module, HKCU\Software\Quorvane\ScreenSaver\LumivaleReg.
namespace registry {
void DeleteSettings();
std::optional<std::wstring> Read(const std::wstring& name);
void Write(const std::wstring& name, const std::wstring& value);
// Every value under the settings key.
std::map<std::wstring, std::wstring> All();
bool KeyExists();
}  // namespace registry

// Test pictures: written into a folder of the prefix's temp folder; returns the file's Windows
// path (UTF-8 for the registry helpers below takes the same text).
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
