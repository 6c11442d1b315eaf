// Monitors unplugged, plugged in and set to another resolution while the show runs: the show
// covers the monitors as they are now, a window for each monitor and none where a monitor was,
// the primary's show going on; with the every-monitor setting a new monitor gets a slide show of
// its own and a changed one shows its picture at its new size.
#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>

#include "tests/e2e/harness.h"
#include "tests/e2e/monitors_desktop.h"
#include "tests/e2e/monitors_display.h"
#include "tests/support/picture_files.h"

namespace tessmoor::e2e::monitors {
namespace {

using namespace std::chrono_literals;

constexpr auto kStart = 15s;
constexpr auto kFollow = 5s;  // a window follows its monitor within this
constexpr int kTolerance = 48;

SIZE SizeOf(const RECT& r) { return {r.right - r.left, r.bottom - r.top}; }

class MonitorsChange : public OnMonitors {
 protected:
  void SetUp() override {
    OnMonitors::SetUp();
    if (HasFatalFailure()) return;
    restore_.emplace();
    registry::Write(L"ScrActionRegSelectNo1FlagTimer", L"1000");
    const test::Rgb colours[] = {test::kRed, test::kGreen, test::kBlue};
    for (int slot = 1; slot <= 3; ++slot)
      RegisterPicture(1, slot, WriteTestFile(Key(L"change", slot, L".jpg"),
                                             test::MakeJpeg(1600, 1200, test::Solid(colours[slot - 1]), 90)));
  }
  void TearDown() override {
    restore_.reset();
    // The next test must find the layout it was given.
    EXPECT_TRUE(WaitUntil([&] { return Sorted(SeenLayout()) == layout_; }, kFollow)) << "the layout was not put back";
  }

  // Every monitor the system sees now has exactly one window of the module over it (the show
  // window over the primary, over the others a window of `kind`), and no window of the module
  // lies anywhere else. Empty when so; what is wrong otherwise.
  std::string Uncovered(const Module& show, HWND show_window, bool slides) const {
    const ShowWindows windows = WindowsOf(show);
    std::ostringstream wrong;
    if (windows.show != show_window) wrong << " the show window is another one;";
    const std::vector<HWND>& others = slides ? windows.slides : windows.blank;
    if (!(slides ? windows.blank : windows.slides).empty()) wrong << " windows of the other kind;";
    const std::vector<Monitor> seen = Sorted(SeenLayout());
    if (others.size() + 1 != seen.size()) wrong << " " << others.size() << " windows for " << seen.size() - 1 << " monitors;";
    for (const Monitor& m : seen) {
      HWND over = m.primary ? windows.show : (slides ? SlidesWindowOver(windows, m) : BlankWindowOver(windows, m));
      if (!over) wrong << " nothing over " << m << ";";
      if (over && m.primary) {
        const RECT r = WindowRectOf(over);
        if (!EqualRect(&r, &m.rect)) wrong << " the show window covers " << Text(r) << ", not " << m << ";";
      }
    }
    return wrong.str();
  }

  // Waits until the module covers the monitors as they are now; a failure names what is wrong.
  void ExpectCovered(const Module& show, HWND show_window, bool slides, const char* after) const {
    std::string wrong;
    const bool covered = WaitUntil(
        [&] {
          wrong = Uncovered(show, show_window, slides);
          return wrong.empty();
        },
        kFollow);
    EXPECT_TRUE(covered) << "after " << after << ":" << wrong;
  }

  // Waits until the monitor `m` shows one picture in its centre rectangle (the slides' rule) and
  // nothing else. The screen settles a moment after the change: the X server's layout follows
  // the system's monitors, so a capture in between is taken at the old place.
  void ExpectPictureCentredOn(const RECT& m, const char* after) const {
    RECT picture = CentreRect({1600, 1200}, SizeOf(m), 50);
    OffsetRect(&picture, m.left, m.top);
    const POINT c{(picture.left + picture.right) / 2, (picture.top + picture.bottom) / 2};
    DesktopShot shot;
    Mismatches inside, around;
    const bool shown = WaitUntil(
        [&] {
          shot = CaptureDesktop();
          const std::uint32_t colour = shot.Contains(c.x, c.y) ? shot.At(c.x, c.y) : 0;
          if (Near(colour, 0, kTolerance)) return false;
          inside = PixelsNot(shot, Inflated(picture, -2), colour, kTolerance);
          around = PixelsNot(shot, m, 0, 8, {Inflated(picture, 2)});
          return inside.count == 0 && around.count == 0;
        },
        kFollow);
    Save(shot, std::wstring(L"monitors-change-") + (slides_ ? L"slides-" : L"black-") + std::to_wstring(++shots_));
    EXPECT_TRUE(shown) << "after " << after << " not one picture at " << Text(picture) << " on " << Text(m) << ":"
                       << inside.first << "; outside it:" << around.first;
  }

  // The monitor to unplug: one without which the desktop keeps its top-left corner, if there is
  // one. Wine moves its coordinates with that corner but leaves the other monitors where they
  // were on the X server, so that after unplugging the only monitor at the desktop's left or top
  // edge nothing drawn lands where it is seen (the windows still lie where they must).
  Monitor ToUnplug() const {
    for (auto it = layout_.rbegin(); it != layout_.rend(); ++it) {
      if (it->primary) continue;
      RECT rest = Primary().rect;
      for (const Monitor& m : layout_)
        if (&m != &*it) UnionRect(&rest, &rest, &m.rect);
      const RECT all = Desktop();
      if (rest.left == all.left && rest.top == all.top) return *it;
    }
    return layout_.back();
  }

  // Black on every monitor but the primary, once the screen has settled.
  void ExpectOthersBlack(const char* after) const {
    std::string wrong;
    const bool black = WaitUntil(
        [&] {
          const DesktopShot shot = CaptureDesktop();
          wrong.clear();
          for (const Monitor& m : Sorted(SeenLayout())) {
            if (m.primary) continue;
            const Mismatches other = PixelsNot(shot, m.rect, 0, 0);
            if (other.count > 0) wrong += " on " + Text(m.rect) + ":" + other.first;
          }
          return wrong.empty();
        },
        kFollow);
    EXPECT_TRUE(black) << "after " << after << " not black" << wrong;
  }

  // Unplugs a monitor, plugs it in again, then sets the first other monitor to a smaller mode,
  // checking the cover after each.
  void UnplugPlugResize(bool slides) {
    slides_ = slides;
    Module show(L"/s");
    HWND show_window = show.WaitWindow(L"No1Form", kStart);
    ASSERT_NE(show_window, nullptr);
    ExpectCovered(show, show_window, slides, "the start");
    ExpectPictureCentredOn(Primary().rect, "the start");

    const Monitor gone = ToUnplug();
    const std::optional<Display> display = DisplayOver(gone.rect);
    ASSERT_TRUE(display) << "no display device covers " << gone;
    const POINT corner{GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN)};
    ASSERT_TRUE(Detach(display->name)) << "could not unplug " << gone;
    ASSERT_EQ(SeenLayout().size(), layout_.size() - 1) << "unplugging " << gone << " left the monitors as they were";
    ExpectCovered(show, show_window, slides, "unplugging a monitor");
    const bool seen = corner.x == GetSystemMetrics(SM_XVIRTUALSCREEN) && corner.y == GetSystemMetrics(SM_YVIRTUALSCREEN);
    if (seen) {
      ExpectPictureCentredOn(Primary().rect, "unplugging a monitor");  // the primary's show goes on
      if (!slides) ExpectOthersBlack("unplugging a monitor");
    } else {
      std::printf("note: unplugging %s moved the desktop's corner; its screen is not checked under Wine\n",
                  Text(gone.rect).c_str());
    }

    ASSERT_TRUE(Place(display->name, gone.rect)) << "could not plug " << gone << " in again";
    ExpectCovered(show, show_window, slides, "plugging a monitor in");
    ExpectPictureCentredOn(Primary().rect, "plugging a monitor in");
    if (slides) ExpectPictureCentredOn(gone.rect, "plugging a monitor in");
    if (!slides) ExpectOthersBlack("plugging a monitor in");

    const Monitor& changed = layout_[1];
    const std::optional<Display> second = DisplayOver(changed.rect);
    ASSERT_TRUE(second);
    const std::optional<SIZE> smaller = SmallerMode(second->name, SizeOf(changed.rect));
    ASSERT_TRUE(smaller) << changed << " offers no smaller mode";
    RECT wanted = changed.rect;
    wanted.right = wanted.left + smaller->cx;
    wanted.bottom = wanted.top + smaller->cy;
    ASSERT_TRUE(Place(second->name, wanted)) << "could not set " << changed << " to " << Text(wanted);
    ExpectCovered(show, show_window, slides, "another resolution");
    // The system may move it as well, to keep it beside the others.
    RECT resized{};
    for (const Display& d : AttachedDisplays())
      if (d.name == second->name) resized = d.rect;
    EXPECT_EQ(resized.right - resized.left, smaller->cx) << Text(resized);
    EXPECT_EQ(resized.bottom - resized.top, smaller->cy) << Text(resized);
    if (slides) ExpectPictureCentredOn(resized, "another resolution");
    if (!slides) ExpectOthersBlack("another resolution");
    EXPECT_TRUE(show.Running());
    PostMessageW(show_window, WM_KEYDOWN, VK_SPACE, 0);
    EXPECT_EQ(show.WaitExit(5s), 0u);
  }

  std::optional<RestoreDisplays> restore_;
  mutable int shots_ = 0;
  bool slides_ = false;
};

TEST_F(MonitorsChange, SlideShowsFollowMonitorsUnpluggedPluggedInAndResized) {
  registry::Write(L"ScrActionRegSelectEveryMonitorFlag", L"1");
  UnplugPlugResize(true);
}

TEST_F(MonitorsChange, BlackWindowsFollowMonitorsUnpluggedPluggedInAndResized) {
  UnplugPlugResize(false);
}

}  // namespace
}  // namespace tessmoor::e2e::monitors
