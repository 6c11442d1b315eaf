// Input ends the show on every monitor when every monitor runs a slide show of its own: a key, a
// click or a second mouse position on any monitor's window, each to a module of its own. The first
// mouse position is one for the whole show: reported on one monitor, a move reported on another
// monitor's window ends the show.
#include <gtest/gtest.h>

#include "tests/e2e/harness.h"
#include "tests/e2e/monitors_desktop.h"
#include "tests/support/picture_files.h"

namespace tessmoor::e2e::monitors {
namespace {

using namespace std::chrono_literals;

constexpr auto kStart = 15s;
constexpr auto kExit = 5s;

class MonitorsEveryInput : public OnMonitors {
 protected:
  void SetUp() override {
    OnMonitors::SetUp();
    if (HasFatalFailure()) return;
    registry::Write(L"ScrActionRegSelectEveryMonitorFlag", L"1");
    for (int slot = 1; slot <= 3; ++slot)
      RegisterPicture(1, slot, WriteTestFile(Key(L"input", slot, L".jpg"),
                                             test::MakeJpeg(640, 480, test::Gradient(640, 480), 85)));
  }

  // Starts a show with the mouse resting in the middle of `m` and returns the module's window over
  // `m` once every monitor has its window: the show window or a slide show window.
  HWND StartWithTheMouseOn(const Monitor& m, Module& show) {
    const POINT middle = Middle(m);
    EXPECT_TRUE(SetCursorPos(middle.x, middle.y));
    ShowWindows windows;
    const bool up = WaitForCover(show, Others().size(), true, windows, kStart);
    EXPECT_TRUE(up) << "the show and its " << Others().size() << " slide show windows never appeared";
    EXPECT_TRUE(windows.blank.empty());
    if (!up) return nullptr;
    return m.primary ? windows.show : SlidesWindowOver(windows, m);
  }

  static POINT Middle(const Monitor& m) {
    return {(m.rect.left + m.rect.right) / 2, (m.rect.top + m.rect.bottom) / 2};
  }

  // Where the mouse is, in client coordinates of the window over `m` (which it must be over).
  static POINT MouseOn(const Monitor& m) {
    // The system reports the mouse to the window it rests over when the window appears; let
    // that report come first.
    PumpFor(300ms);
    POINT at{};
    GetCursorPos(&at);
    EXPECT_TRUE(PtInRect(&m.rect, at)) << "the mouse is at " << at.x << "," << at.y << ", not on " << m;
    return {at.x - m.rect.left, at.y - m.rect.top};
  }
};

TEST_F(MonitorsEveryInput, KeyClickAndMouseMoveOnAnyMonitorsSlideShowEndTheShow) {
  for (const Monitor& m : layout_) {
    for (int input = 0; input < 3; ++input) {
      SCOPED_TRACE(::testing::Message() << "input " << input << " on " << m);
      Module show(L"/s");
      HWND window = StartWithTheMouseOn(m, show);
      ASSERT_NE(window, nullptr) << "no window of the module over " << m;
      if (input == 0) PostMessageW(window, WM_KEYDOWN, 'A', 0);
      if (input == 1) PostMessageW(window, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(10, 10));
      if (input == 2) {
        const POINT at = MouseOn(m);
        PostMessageW(window, WM_MOUSEMOVE, 0, MAKELPARAM(at.x, at.y));
        PumpFor(400ms);
        EXPECT_TRUE(show.Running()) << "one mouse position alone ended the show on " << m;
        PostMessageW(window, WM_MOUSEMOVE, 0, MAKELPARAM(at.x + 1, at.y));
      }
      EXPECT_EQ(show.WaitExit(kExit), 0u) << "the show went on after the input on " << m;
    }
  }
}

TEST_F(MonitorsEveryInput, FirstMousePositionIsTheShowsNotOneWindowsOwn) {
  // The mouse reported where it rests, on each monitor in turn; then a position reported by the
  // next monitor's window ends the show.
  for (std::size_t first = 0; first < layout_.size(); ++first) {
    const Monitor& m = layout_[first];
    const Monitor& other = layout_[(first + 1) % layout_.size()];
    SCOPED_TRACE(::testing::Message() << "first on " << m << ", then on " << other);
    Module show(L"/s");
    HWND window = StartWithTheMouseOn(m, show);
    ASSERT_NE(window, nullptr);
    const POINT at = MouseOn(m);
    PostMessageW(window, WM_MOUSEMOVE, 0, MAKELPARAM(at.x, at.y));
    PumpFor(400ms);
    ASSERT_TRUE(show.Running()) << "the first position alone ended the show";
    const ShowWindows windows = WindowsOf(show);
    HWND there = other.primary ? windows.show : SlidesWindowOver(windows, other);
    ASSERT_NE(there, nullptr);
    // The window over `other` reports the mouse in its own client coordinates: a position just
    // inside it is another screen position than the first one.
    const POINT inside{other.width() / 3, other.height() / 3};
    PostMessageW(there, WM_MOUSEMOVE, 0, MAKELPARAM(inside.x, inside.y));
    EXPECT_EQ(show.WaitExit(kExit), 0u) << "a move reported on " << other << " after the first position on " << m
                                        << " did not end the show";
  }
}

}  // namespace
}  // namespace tessmoor::e2e::monitors
