#pragma once
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "tests/e2e/harness.h"

// The desktop of several monitors that tools/monitor-desktop.sh makes for these tests: the layout
// it was asked for, the layout this process sees, and pictures of the whole desktop.
namespace tessmoor::e2e::monitors {

struct Monitor {
  RECT rect{};  // screen coordinates: the primary monitor's top-left corner is 0,0
  bool primary = false;
  int width() const { return rect.right - rect.left; }
  int height() const { return rect.bottom - rect.top; }
  friend bool operator==(const Monitor& a, const Monitor& b) {
    return EqualRect(&a.rect, &b.rect) && a.primary == b.primary;
  }
};
std::ostream& operator<<(std::ostream& out, const Monitor& m);
// "(left, top, right, bottom)", for messages (RECT is no type of ours to give an operator<<).
std::string Text(const RECT& r);

// The layout in TESSMOOR_MONITORS ("1024x768+0+0* 800x600-800+0 ..."), in its order. Empty when
// the variable is missing or malformed; `error` then says why.
std::vector<Monitor> GivenLayout(std::string* error = nullptr);
// The monitors as EnumDisplayMonitors and GetMonitorInfo report them, in their order.
std::vector<Monitor> SeenLayout();
// The layout sorted the way both of the above can be compared (primary first, then by position).
std::vector<Monitor> Sorted(std::vector<Monitor> monitors);

// The colour (0xRRGGBB) of the X root window where no window covers it, from
// TESSMOOR_MONITORS_BACKDROP; 0xFFFFFFFF when it is not set.
std::uint32_t Backdrop();

// The whole desktop: the bounding box of every monitor, including the parts of it that no monitor
// shows (they show the X root window).
struct DesktopShot {
  Screenshot shot;
  POINT origin{};  // the screen coordinates of the shot's top-left pixel
  std::uint32_t At(int x, int y) const { return shot.At(x - origin.x, y - origin.y); }
  bool Contains(int x, int y) const {
    return x >= origin.x && y >= origin.y && x < origin.x + shot.width && y < origin.y + shot.height;
  }
};
DesktopShot CaptureDesktop();
// Saves `shot` into the artifacts folder, making the folder first.
void Save(const DesktopShot& shot, const std::wstring& name);

// The pixels of `area` (screen coordinates) that are not within `tolerance` of `rgb`, skipping
// those inside `except`; at most `report` of them are described in `first`.
struct Mismatches {
  long count = 0;
  std::string first;
};
Mismatches PixelsNot(const DesktopShot& shot, const RECT& area, std::uint32_t rgb, int tolerance,
                     const std::vector<RECT>& except = {}, int report = 5);

// Points along every edge and in every corner of `r`, just inside it, and its centre.
std::vector<POINT> EdgePoints(const RECT& r);

// Whether (x, y) lies on some monitor.
bool OnSomeMonitor(const std::vector<Monitor>& layout, int x, int y);

// The module's windows: the show window, the black windows over the other monitors, and the
// windows of the other monitors' own slide shows.
struct ShowWindows {
  HWND show = nullptr;
  std::vector<HWND> blank;
  std::vector<HWND> slides;
};
ShowWindows WindowsOf(const Module& module);
// The black window over `m`, or null.
HWND BlankWindowOver(const ShowWindows& windows, const Monitor& m);
// The slide show window over `m`, or null.
HWND SlidesWindowOver(const ShowWindows& windows, const Monitor& m);
// Waits until the module shows its show window and `others` windows of the other monitors, slide
// show windows or black ones; false when they never came within `timeout`.
bool WaitForCover(const Module& module, std::size_t others, bool slides, ShowWindows& windows,
                  std::chrono::milliseconds timeout);

// Where the slide show puts a picture in centre mode on a client area of `client`, at `scale`
// percent, written out from the rule: fit side F = min(P * (W div 100), P * (H div 100)), the
// longer side becomes F and the other F times the side ratio, truncated; centred, truncated.
RECT CentreRect(SIZE picture, SIZE client, int scale);
// `r` moved by `by`, or grown on every side by `by` pixels (shrunk for a negative `by`).
RECT Offset(RECT r, POINT by);
RECT Inflated(RECT r, int by);

// Every test on the desktop starts by checking that this process sees the layout it was given,
// so that a desktop that fell back to one monitor fails instead of passing; the settings are
// cleared for it.
class OnMonitors : public ::testing::Test {
 protected:
  void SetUp() override;
  const Monitor& Primary() const { return layout_.front(); }
  // Every monitor but the primary one.
  std::vector<Monitor> Others() const { return {layout_.begin() + 1, layout_.end()}; }
  // The bounding box of every monitor, and the monitors' areas.
  RECT Desktop() const;
  std::vector<RECT> MonitorRects() const;

  std::vector<Monitor> layout_;  // the given layout, Sorted()
};

}  // namespace tessmoor::e2e::monitors
