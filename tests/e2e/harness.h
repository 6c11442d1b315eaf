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

}  // namespace tessmoor::e2e
