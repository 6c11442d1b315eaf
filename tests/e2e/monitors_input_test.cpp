// Input on any monitor ends the show: a key, a click or a second mouse position sent to the
// show window on the primary or to the black window over any other monitor, each to a module of
// its own; the first mouse position, wherever it is reported, only records where the mouse is.
#include <gtest/gtest.h>

#include "tests/e2e/harness.h"
#include "tests/e2e/monitors_desktop.h"

namespace tessmoor::e2e::monitors {
namespace {

using namespace std::chrono_literals;

constexpr auto kStart = 15s;
constexpr auto kExit = 5s;

enum class Input { kKey, kClick, kMove };

const char* Name(Input input) {
  switch (input) {
    case Input::kKey: return "a key";
    case Input::kClick: return "a click";
    case Input::kMove: return "a mouse move";
  }
  return "?";
}

class MonitorsInput : public OnMonitors {
 protected:
  // Starts a show with the mouse resting in the middle of `m` and returns the module's window
  // over `m`, once the module has covered every monitor.
  HWND StartWithTheMouseOn(const Monitor& m, Module& show) {
    ShowWindows windows;
    const bool up = WaitUntil(
        [&] {
          windows = WindowsOf(show);
          return windows.show != nullptr && windows.blank.size() == Others().size();
        },
        kStart);
    EXPECT_TRUE(up) << "the show and its " << Others().size() << " black windows never appeared";
    if (!up) return nullptr;
    return m.primary ? windows.show : BlankWindowOver(windows, m);
  }

  static POINT Middle(const Monitor& m) {
    return {(m.rect.left + m.rect.right) / 2, (m.rect.top + m.rect.bottom) / 2};
  }

  // Sends `input` to `window` (over monitor `m`); false when the show is still running after it.
  static bool EndsTheShow(Input input, HWND window, const Monitor& m, Module& show) {
    switch (input) {
      case Input::kKey:
        PostMessageW(window, WM_KEYDOWN, 'A', 0);
        break;
      case Input::kClick:
        PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
        break;
      case Input::kMove: {
        // The system reports the mouse to the window it rests over when the window appears; that
        // report may come first. The test's own moves go to where the mouse is, in client
        // coordinates of the window over `m`.
        PumpFor(300ms);
        POINT at{};
        GetCursorPos(&at);
        EXPECT_TRUE(PtInRect(&m.rect, at)) << "the mouse is at " << at.x << "," << at.y << ", not on " << m;
        const int x = at.x - m.rect.left, y = at.y - m.rect.top;
        PostMessageW(window, WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
        PumpFor(400ms);
        EXPECT_TRUE(show.Running()) << "one mouse position alone ended the show on " << m;
        PostMessageW(window, WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
        PumpFor(300ms);
        EXPECT_TRUE(show.Running()) << "the recorded position again ended the show on " << m;
        PostMessageW(window, WM_MOUSEMOVE, 0, MAKELPARAM(x, y + 1));
        break;
      }
    }
    return show.WaitExit(kExit) == std::optional<DWORD>(0);
  }
};

TEST_F(MonitorsInput, KeyClickAndMouseMoveEndTheShowOnEveryMonitor) {
  for (const Monitor& m : layout_) {
    for (Input input : {Input::kKey, Input::kClick, Input::kMove}) {
      SCOPED_TRACE(::testing::Message() << Name(input) << " on " << m);
      const POINT middle = Middle(m);
      ASSERT_TRUE(SetCursorPos(middle.x, middle.y));
      Module show(L"/s");
      HWND window = StartWithTheMouseOn(m, show);
      ASSERT_NE(window, nullptr) << "no window of the module over " << m;
      EXPECT_TRUE(EndsTheShow(input, window, m, show)) << Name(input) << " did not end the show on " << m;
    }
  }
}

TEST_F(MonitorsInput, TheSameSpotOnAnotherMonitorIsAMove) {
  // Each window reports the mouse in its own client coordinates; the show compares screen
  // positions, so the same client position on another monitor's window is a move that ends it.
  ASSERT_GE(layout_.size(), 2u);
  const Monitor& first = layout_[1];
  const POINT middle = Middle(first);
  ASSERT_TRUE(SetCursorPos(middle.x, middle.y));
  Module show(L"/s");
  HWND over_first = StartWithTheMouseOn(first, show);
  ASSERT_NE(over_first, nullptr);
  PumpFor(300ms);
  POINT at{};
  GetCursorPos(&at);
  const int x = at.x - first.rect.left, y = at.y - first.rect.top;
  PostMessageW(over_first, WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
  PumpFor(400ms);
  ASSERT_TRUE(show.Running()) << "the first position alone ended the show";
  HWND primary = WindowsOf(show).show;
  ASSERT_NE(primary, nullptr);
  ASSERT_LT(x, Primary().width());
  ASSERT_LT(y, Primary().height());
  PostMessageW(primary, WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
  EXPECT_EQ(show.WaitExit(kExit), 0u) << "the mouse at " << x << "," << y << " on the primary after " << first
                                      << " did not end the show";
}

}  // namespace
}  // namespace tessmoor::e2e::monitors
