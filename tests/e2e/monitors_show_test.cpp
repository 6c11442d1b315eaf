// The show on a desktop of several monitors: the module sees the layout the desktop was made
// with, draws its slide show on the primary monitor at the rectangles the primary's size gives,
// covers every other monitor with black to its edges, draws nothing where no monitor is, and
// leaves the preview inside its host window wherever the host lies.
#include <gtest/gtest.h>

#include "tests/e2e/harness.h"
#include "tests/e2e/monitors_desktop.h"
#include "tests/support/picture_files.h"

namespace tessmoor::e2e::monitors {
namespace {

using namespace std::chrono_literals;

constexpr auto kStart = 15s;
constexpr auto kExit = 5s;
constexpr std::uint32_t kRed = 0xFF0000, kGreen = 0x00FF00, kBlue = 0x0000FF, kYellow = 0xFFFF00;
constexpr int kTolerance = 48;  // JPEG and the halftone filter blur colour edges a little

// A picture in four coloured quadrants: red, green / blue, yellow.
std::vector<std::uint8_t> QuadrantJpeg(int width, int height) {
  return test::MakeJpeg(width, height,
                        test::Quadrants(width, height, test::kRed, test::kGreen, test::kBlue, test::kYellow), 92);
}

// The quadrant colours well inside each quarter of `r` and just inside its corners.
void ExpectQuadrants(const DesktopShot& shot, const RECT& r) {
  const int w = r.right - r.left, h = r.bottom - r.top;
  const struct {
    int x, y;
    std::uint32_t rgb;
  } probes[] = {{r.left + w / 4, r.top + h / 4, kRed},          {r.left + 3 * w / 4, r.top + h / 4, kGreen},
                {r.left + w / 4, r.top + 3 * h / 4, kBlue},     {r.left + 3 * w / 4, r.top + 3 * h / 4, kYellow},
                {r.left + 2, r.top + 2, kRed},                  {r.right - 3, r.top + 2, kGreen},
                {r.left + 2, r.bottom - 3, kBlue},              {r.right - 3, r.bottom - 3, kYellow}};
  for (const auto& p : probes)
    EXPECT_TRUE(Near(shot.At(p.x, p.y), p.rgb, kTolerance))
        << "picture " << Text(r) << ": pixel " << p.x << "," << p.y << " is " << std::hex << shot.At(p.x, p.y);
}

class MonitorsShow : public OnMonitors {
 protected:
  // The module's windows once the show window and one black window per other monitor are up.
  ShowWindows WaitForWindows(const Module& show) const {
    ShowWindows windows;
    WaitUntil(
        [&] {
          windows = WindowsOf(show);
          return windows.show != nullptr && windows.blank.size() >= Others().size();
        },
        kStart);
    return windows;
  }
};

TEST_F(MonitorsShow, ThisProcessSeesTheGivenLayout) {
  // OnMonitors compared the monitors themselves; the system's other views of them agree.
  EXPECT_EQ(GetSystemMetrics(SM_CMONITORS), static_cast<int>(layout_.size()));
  EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), Primary().width());
  EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), Primary().height());
  const RECT all = Desktop();
  EXPECT_EQ(GetSystemMetrics(SM_XVIRTUALSCREEN), all.left);
  EXPECT_EQ(GetSystemMetrics(SM_YVIRTUALSCREEN), all.top);
  EXPECT_EQ(GetSystemMetrics(SM_CXVIRTUALSCREEN), all.right - all.left);
  EXPECT_EQ(GetSystemMetrics(SM_CYVIRTUALSCREEN), all.bottom - all.top);
  for (const Monitor& m : layout_) {
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    const POINT centre{(m.rect.left + m.rect.right) / 2, (m.rect.top + m.rect.bottom) / 2};
    ASSERT_TRUE(GetMonitorInfoW(MonitorFromPoint(centre, MONITOR_DEFAULTTONULL), &info)) << m;
    EXPECT_TRUE(EqualRect(&info.rcMonitor, &m.rect)) << m << " is found as " << Text(info.rcMonitor);
  }
  // Nothing covers the desktop yet: the capture sees the backdrop on every monitor and between
  // them, at negative coordinates too.
  ASSERT_NE(Backdrop(), 0xFFFFFFFFu) << "TESSMOOR_MONITORS_BACKDROP is not set";
  const DesktopShot shot = CaptureDesktop();
  Save(shot, L"monitors-desktop-bare");
  EXPECT_EQ(PixelsNot(shot, all, Backdrop(), 0).count, 0) << PixelsNot(shot, all, Backdrop(), 0).first;
}

TEST_F(MonitorsShow, CentreModeDrawsOnThePrimaryAndBlanksEveryOtherMonitorToItsEdges) {
  RegisterPicture(1, 1, WriteTestFile(L"quad.jpg", QuadrantJpeg(1600, 1200)));
  Module show(L"/s");
  const ShowWindows windows = WaitForWindows(show);
  ASSERT_NE(windows.show, nullptr) << "the show window never appeared";
  const RECT shown = WindowRectOf(windows.show);
  EXPECT_TRUE(EqualRect(&shown, &Primary().rect)) << "the show window covers " << Text(shown);
  EXPECT_EQ(windows.blank.size(), Others().size());
  for (const Monitor& m : Others()) {
    HWND blank = BlankWindowOver(windows, m);
    ASSERT_NE(blank, nullptr) << "no black window covers " << m;
    EXPECT_TRUE(GetWindowLongW(blank, GWL_EXSTYLE) & WS_EX_TOPMOST) << m;
  }

  const RECT picture = CentreRect({1600, 1200}, {Primary().width(), Primary().height()}, 50);
  const int cx = picture.left + (picture.right - picture.left) / 4, cy = picture.top + (picture.bottom - picture.top) / 4;
  ASSERT_TRUE(WaitForPixel(cx, cy, kRed, kTolerance, 10s)) << "the picture never appeared at " << Text(picture);
  PumpFor(300ms);
  const DesktopShot shot = CaptureDesktop();
  Save(shot, L"monitors-centre");
  ExpectQuadrants(shot, picture);
  const Mismatches primary = PixelsNot(shot, Primary().rect, 0, 8, {Inflated(picture, 2)});
  EXPECT_EQ(primary.count, 0) << "drawn on the primary outside the picture " << Text(picture) << ":" << primary.first;
  for (const Monitor& m : Others()) {
    for (const POINT& p : EdgePoints(m.rect)) EXPECT_EQ(shot.At(p.x, p.y), 0u) << m << " at " << p.x << "," << p.y;
    const Mismatches other = PixelsNot(shot, m.rect, 0, 0);
    EXPECT_EQ(other.count, 0) << "not black on " << m << ":" << other.first;
  }
  const Mismatches outside = PixelsNot(shot, Desktop(), Backdrop(), 0, MonitorRects());
  EXPECT_EQ(outside.count, 0) << "drawn where no monitor is:" << outside.first;
  EXPECT_TRUE(show.Running());
}

TEST_F(MonitorsShow, FiveDirectionCornersReachThePrimarysEdgesAndNoFurther) {
  registry::Write(L"ScrActionRegSelectNo1FlagDetail", L"4");
  registry::Write(L"ScrActionRegSelectNo1FlagTimer", L"500");
  // A portrait picture: the five copies lie apart, each touching the primary's edges it is put at.
  RegisterPicture(1, 1, WriteTestFile(L"tall.jpg", QuadrantJpeg(900, 1200)));
  Module show(L"/s");
  ASSERT_NE(WaitForWindows(show).show, nullptr);
  const int width = Primary().width(), height = Primary().height();
  const RECT centre = CentreRect({900, 1200}, {width, height}, 50);
  const int w = centre.right - centre.left, h = centre.bottom - centre.top;
  // Centre, then top left, top right, bottom right, bottom left, 500 ms apart.
  const RECT corners[] = {{0, 0, w, h}, {width - w, 0, width, h}, {width - w, height - h, width, height},
                          {0, height - h, w, height}};
  ASSERT_TRUE(WaitForPixel(w / 4, height - h / 4, kBlue, kTolerance, 10s)) << "the last corner copy never came";
  const DesktopShot shot = CaptureDesktop();
  Save(shot, L"monitors-five-directions");
  ExpectQuadrants(shot, centre);
  std::vector<RECT> copies{Inflated(centre, 2)};
  for (const RECT& r : corners) {
    ExpectQuadrants(shot, r);
    copies.push_back(Inflated(r, 2));
  }
  const Mismatches primary = PixelsNot(shot, Primary().rect, 0, 8, copies);
  EXPECT_EQ(primary.count, 0) << "drawn on the primary outside the five copies:" << primary.first;
  for (const Monitor& m : Others()) {
    const Mismatches other = PixelsNot(shot, m.rect, 0, 0);
    EXPECT_EQ(other.count, 0) << "not black on " << m << ":" << other.first;
  }
  const Mismatches outside = PixelsNot(shot, Desktop(), Backdrop(), 0, MonitorRects());
  EXPECT_EQ(outside.count, 0) << "drawn where no monitor is:" << outside.first;
}

TEST_F(MonitorsShow, PreviewStaysInsideItsHostOnEveryMonitorAndBlanksNothing) {
  for (const Monitor& m : layout_) {
    PreviewHost host(152, 112);
    ASSERT_NE(host.hwnd(), nullptr);
    SetWindowPos(host.hwnd(), nullptr, m.rect.left + 40, m.rect.top + 40, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    const RECT h = WindowRectOf(host.hwnd());
    ASSERT_EQ(h.left, m.rect.left + 40) << m;
    Module preview(L"/p " + host.Handle());
    HWND child = nullptr;
    ASSERT_TRUE(WaitUntil(
        [&] {
          const auto children = ChildWindows(host.hwnd());
          child = children.empty() ? nullptr : children[0];
          return child != nullptr && IsWindowVisible(child);
        },
        kStart))
        << "the preview never appeared inside the host on " << m;
    EXPECT_EQ(GetParent(child), host.hwnd());
    const RECT r = WindowRectOf(child);
    EXPECT_TRUE(EqualRect(&r, &h)) << "on " << m << " the preview covers " << Text(r) << ", its host " << Text(h);
    PumpFor(500ms);
    EXPECT_TRUE(preview.TopWindows().empty()) << "the preview made windows of its own on " << m;
    EXPECT_TRUE(preview.Running());
    host.Destroy();
    EXPECT_EQ(preview.WaitExit(kExit), 0u) << "the preview outlived its host window on " << m;
  }
}

}  // namespace
}  // namespace tessmoor::e2e::monitors
