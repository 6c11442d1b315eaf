// The slide show on every monitor (ScrActionRegSelectEveryMonitorFlag "1"): each monitor's window
// draws its own picture at the rectangles its own size gives, the monitors k places after the
// primary begin k pictures later so that they show different pictures at once, the random and
// five-direction modes keep each picture on its own monitor, pattern 2 stays on the primary, and
// a value other than "1" keeps the other monitors black.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cwchar>

#include "tests/e2e/harness.h"
#include "tests/e2e/monitors_desktop.h"
#include "tests/support/picture_files.h"

namespace tessmoor::e2e::monitors {
namespace {

using namespace std::chrono_literals;

constexpr auto kStart = 15s;
constexpr int kTolerance = 48;  // JPEG and the halftone filter blur colour edges a little

// The pictures of box 1, slots 1 to 3, each in a colour of its own.
struct Slide {
  SIZE size;
  std::uint32_t rgb;
  test::Rgb colour;
};
constexpr Slide kSlides[] = {{{1600, 1200}, 0xFF0000, test::kRed},
                             {{900, 1200}, 0x00FF00, test::kGreen},
                             {{1200, 1200}, 0x0000FF, test::kBlue}};

void RegisterSlides(bool same_size = false) {
  int slot = 1;
  for (const Slide& s : kSlides) {
    const SIZE size = same_size ? kSlides[0].size : s.size;
    RegisterPicture(1, slot, WriteTestFile(L"every" + std::to_wstring(slot) + L".jpg",
                                           test::MakeJpeg(size.cx, size.cy, test::Solid(s.colour), 92)));
    ++slot;
  }
}

SIZE SizeOf(const Monitor& m) { return {m.width(), m.height()}; }
POINT Corner(const Monitor& m) { return {m.rect.left, m.rect.top}; }
POINT Centre(const RECT& r) { return {(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

class MonitorsEvery : public OnMonitors {
 protected:
  void SetUp() override {
    OnMonitors::SetUp();
    if (HasFatalFailure()) return;
    registry::Write(L"ScrActionRegSelectEveryMonitorFlag", L"1");
  }

  // The module's windows once the show window and a slide show window per other monitor are up.
  ShowWindows WaitForSlides(const Module& show) const {
    ShowWindows windows;
    EXPECT_TRUE(WaitForCover(show, Others().size(), true, windows, kStart))
        << "the show and its " << Others().size() << " slide show windows never appeared";
    return windows;
  }

  // Captures the desktop until `ready` holds for a capture (false after `timeout`).
  static bool CaptureWhen(const std::function<bool(const DesktopShot&)>& ready, DesktopShot& shot,
                          std::chrono::milliseconds timeout) {
    return WaitUntil(
        [&] {
          shot = CaptureDesktop();
          return ready(shot);
        },
        timeout);
  }
  // Captures the desktop until monitor k of the order shows the colour of picture k + 1 at
  // points[k], for every k.
  bool CaptureWhenEachShowsItsPicture(const std::vector<POINT>& points, DesktopShot& shot,
                                      std::chrono::milliseconds timeout) const {
    return CaptureWhen(
        [&](const DesktopShot& s) {
          for (std::size_t k = 0; k < layout_.size(); ++k)
            if (!Near(s.At(points[k].x, points[k].y), kSlides[k].rgb, kTolerance)) return false;
          return true;
        },
        shot, timeout);
  }

  // Nothing drawn where no monitor is.
  void ExpectBackdropBetweenMonitors(const DesktopShot& shot) const {
    const Mismatches outside = PixelsNot(shot, Desktop(), Backdrop(), 0, MonitorRects());
    EXPECT_EQ(outside.count, 0) << "drawn where no monitor is:" << outside.first;
  }
};

TEST_F(MonitorsEvery, EachMonitorShowsItsOwnPictureAtItsOwnFittedCentreAtOnce) {
  registry::Write(L"ScrActionRegSelectNo1FlagTimer", L"5000");
  RegisterSlides();
  Module show(L"/s");
  const ShowWindows windows = WaitForSlides(show);
  ASSERT_NE(windows.show, nullptr);
  EXPECT_TRUE(windows.blank.empty()) << "black windows beside the slide shows";
  const RECT shown = WindowRectOf(windows.show);
  EXPECT_TRUE(EqualRect(&shown, &Primary().rect)) << "the show window covers " << Text(shown);
  for (const Monitor& m : Others()) {
    HWND slides = SlidesWindowOver(windows, m);
    ASSERT_NE(slides, nullptr) << "no slide show window covers " << m;
    EXPECT_TRUE(GetWindowLongW(slides, GWL_EXSTYLE) & WS_EX_TOPMOST) << m;
  }

  // Monitor k in the order (the primary first, then from left to right) shows picture k + 1.
  std::vector<RECT> pictures;
  for (std::size_t k = 0; k < layout_.size(); ++k)
    pictures.push_back(Offset(CentreRect(kSlides[k].size, SizeOf(layout_[k]), 50), Corner(layout_[k])));
  std::vector<POINT> centres;
  for (const RECT& r : pictures) centres.push_back(Centre(r));
  DesktopShot shot;
  const bool all = CaptureWhenEachShowsItsPicture(centres, shot, 10s);
  Save(shot, L"monitors-every-centre");
  ASSERT_TRUE(all) << "the monitors never showed pictures 1, 2 and 3 at once";
  for (std::size_t k = 0; k < layout_.size(); ++k) {
    const Monitor& m = layout_[k];
    const Mismatches inside = PixelsNot(shot, Inflated(pictures[k], -2), kSlides[k].rgb, kTolerance);
    EXPECT_EQ(inside.count, 0) << "picture " << k + 1 << " on " << m << " at " << Text(pictures[k]) << ":"
                               << inside.first;
    const Mismatches around = PixelsNot(shot, m.rect, 0, 8, {Inflated(pictures[k], 2)});
    EXPECT_EQ(around.count, 0) << "drawn on " << m << " outside " << Text(pictures[k]) << ":" << around.first;
  }
  ExpectBackdropBetweenMonitors(shot);
  EXPECT_TRUE(show.Running());
}

TEST_F(MonitorsEvery, FiveDirectionsPutsEachMonitorsCopiesAtItsOwnCentreAndCorners) {
  registry::Write(L"ScrActionRegSelectNo1FlagDetail", L"4");
  registry::Write(L"ScrActionRegSelectNo1FlagTimer", L"1000");
  RegisterSlides();
  Module show(L"/s");
  ASSERT_NE(WaitForSlides(show).show, nullptr);
  // Each monitor's five places for its own picture: centre, top left, top right, bottom right,
  // bottom left, in its own coordinates.
  std::vector<std::vector<RECT>> places;
  for (std::size_t k = 0; k < layout_.size(); ++k) {
    const Monitor& m = layout_[k];
    const RECT c = CentreRect(kSlides[k].size, SizeOf(m), 50);
    const int w = c.right - c.left, h = c.bottom - c.top, cw = m.width(), ch = m.height();
    const RECT local[] = {c, {0, 0, w, h}, {cw - w, 0, cw, h}, {cw - w, ch - h, cw, ch}, {0, ch - h, w, ch}};
    places.emplace_back();
    for (const RECT& r : local) places.back().push_back(Offset(r, Corner(m)));
  }
  // The bottom-left copy is the last before the screen is cleared: once every monitor shows it,
  // all five copies are up everywhere.
  std::vector<POINT> last_copies;
  for (const auto& five : places) last_copies.push_back(Centre(five[4]));
  DesktopShot shot;
  const bool all = CaptureWhenEachShowsItsPicture(last_copies, shot, 15s);
  Save(shot, L"monitors-every-five-directions");
  ASSERT_TRUE(all) << "the last corner copies never came on every monitor";
  for (std::size_t k = 0; k < layout_.size(); ++k) {
    const Monitor& m = layout_[k];
    std::vector<RECT> copies;
    for (const RECT& r : places[k]) {
      const Mismatches inside = PixelsNot(shot, Inflated(r, -2), kSlides[k].rgb, kTolerance);
      EXPECT_EQ(inside.count, 0) << "copy at " << Text(r) << " on " << m << ":" << inside.first;
      copies.push_back(Inflated(r, 2));
    }
    const Mismatches around = PixelsNot(shot, m.rect, 0, 8, copies);
    EXPECT_EQ(around.count, 0) << "drawn on " << m << " outside the five copies:" << around.first;
  }
  ExpectBackdropBetweenMonitors(shot);
}

TEST_F(MonitorsEvery, RandomPlacementKeepsEachPictureWholeOnItsOwnMonitor) {
  registry::Write(L"ScrActionRegSelectNo1FlagDetail", L"2");
  registry::Write(L"ScrActionRegSelectNo1FlagTimer", L"500");
  RegisterSlides(/*same_size=*/true);
  Module show(L"/s");
  ASSERT_NE(WaitForSlides(show).show, nullptr);
  // The lit pixels of each monitor: one fitted picture, wholly on it. A look between a clear and
  // the draw that follows it sees a black monitor: such a look is taken again.
  const auto lit_on = [](const DesktopShot& shot, const Monitor& m) {
    RECT lit{m.rect.right, m.rect.bottom, m.rect.left, m.rect.top};
    for (LONG y = m.rect.top; y < m.rect.bottom; ++y) {
      for (LONG x = m.rect.left; x < m.rect.right; ++x) {
        if (Near(shot.At(x, y), 0, 24)) continue;
        lit = {std::min(lit.left, x), std::min(lit.top, y), std::max(lit.right, x + 1), std::max(lit.bottom, y + 1)};
      }
    }
    return lit;
  };
  for (int look = 0; look < 4; ++look) {
    PumpFor(700ms);
    std::vector<RECT> lit;
    DesktopShot shot;
    const bool drawn = CaptureWhen(
        [&](const DesktopShot& s) {
          lit.clear();
          for (const Monitor& m : layout_) lit.push_back(lit_on(s, m));
          return std::all_of(lit.begin(), lit.end(), [](const RECT& r) { return r.left < r.right; });
        },
        shot, 5s);
    if (look == 0) Save(shot, L"monitors-every-random");
    ASSERT_TRUE(drawn) << "a monitor stayed black at look " << look;
    for (std::size_t k = 0; k < layout_.size(); ++k) {
      const RECT fitted = CentreRect(kSlides[0].size, SizeOf(layout_[k]), 50);
      EXPECT_NEAR(lit[k].right - lit[k].left, fitted.right - fitted.left, 2) << layout_[k] << " at look " << look;
      EXPECT_NEAR(lit[k].bottom - lit[k].top, fitted.bottom - fitted.top, 2) << layout_[k] << " at look " << look;
    }
    ExpectBackdropBetweenMonitors(shot);
  }
}

TEST_F(MonitorsEvery, AnyValueButOneKeepsTheOtherMonitorsBlack) {
  RegisterSlides();
  for (const wchar_t* value : {L"0", L"yes", L" 1"}) {
    registry::Write(L"ScrActionRegSelectEveryMonitorFlag", value);
    Module show(L"/s");
    ShowWindows windows;
    ASSERT_TRUE(WaitForCover(show, Others().size(), false, windows, kStart))
        << "no black window per other monitor with '" << Narrow(value) << "'";
    EXPECT_TRUE(windows.slides.empty()) << Narrow(value);
    const RECT first = Offset(CentreRect(kSlides[0].size, SizeOf(Primary()), 50), Corner(Primary()));
    ASSERT_TRUE(WaitForPixel(Centre(first).x, Centre(first).y, kSlides[0].rgb, kTolerance, 10s)) << Narrow(value);
    const DesktopShot shot = CaptureDesktop();
    for (const Monitor& m : Others()) {
      const Mismatches other = PixelsNot(shot, m.rect, 0, 0);
      EXPECT_EQ(other.count, 0) << "not black on " << m << " with '" << Narrow(value) << "':" << other.first;
    }
    EXPECT_EQ(registry::Read(L"ScrActionRegSelectEveryMonitorFlag"), std::wstring(value)) << "the value was changed";
    PostMessageW(windows.show, WM_KEYDOWN, VK_SPACE, 0);
    EXPECT_EQ(show.WaitExit(5s), 0u);
  }
}

TEST_F(MonitorsEvery, PatternTwoStaysOverThePrimaryWithTheOthersBlack) {
  registry::Write(L"ScrActionRegSelectNoFlag", L"2");
  for (int n = 1; n <= 4; ++n) {
    registry::Write(Key(L"ScrNo2ActionRegSelectNo", n, L"FlagDetail"), L"5");
    registry::Write(Key(L"ScrActionRegSelectTimerNo2FormNo", n, L"Flag"), L"10");
    RegisterPicture(n, 1, WriteTestFile(Key(L"every-p2-", n, L".jpg"),
                                        test::MakeJpeg(800, 600, test::Solid(kSlides[n % 3].colour), 90)));
  }
  Module show(L"/s");
  ShowWindows windows;
  ASSERT_TRUE(WaitForCover(show, Others().size(), false, windows, kStart)) << "no black window per other monitor";
  EXPECT_TRUE(windows.slides.empty());
  // Bounce turns at an edge one step late: the windows pass the primary's edges by 2 pixels.
  const RECT reach = Inflated(Primary().rect, 2);
  for (int look = 0; look < 6; ++look) {
    PumpFor(500ms);
    const DesktopShot shot = CaptureDesktop();
    for (const Monitor& m : Others()) {
      const Mismatches other = PixelsNot(shot, m.rect, 0, 0, {reach});
      EXPECT_EQ(other.count, 0) << "not black on " << m << " at look " << look << ":" << other.first;
    }
    for (HWND h : show.TopWindows()) {
      const std::wstring title = WindowText(h);
      if (wcsncmp(title.c_str(), L"No2FormNo", 9) != 0) continue;
      RECT r = WindowRectOf(h), over{};
      EXPECT_TRUE(IntersectRect(&over, &r, &reach) && EqualRect(&over, &r))
          << Narrow(title) << " at " << Text(r) << " leaves the primary";
    }
  }
  EXPECT_TRUE(show.Running());
}

TEST_F(MonitorsEvery, EveryShowWindowIsAwareOfItsMonitorsDpiAndCoversItsPixels) {
  using GetContext = HANDLE(WINAPI*)(HWND);
  using AwarenessOf = int(WINAPI*)(HANDLE);
  HMODULE user32 = GetModuleHandleW(L"user32.dll");
  const auto context_of = reinterpret_cast<GetContext>(
      reinterpret_cast<void*>(GetProcAddress(user32, "GetWindowDpiAwarenessContext")));
  const auto awareness_of = reinterpret_cast<AwarenessOf>(
      reinterpret_cast<void*>(GetProcAddress(user32, "GetAwarenessFromDpiAwarenessContext")));
  ASSERT_TRUE(context_of && awareness_of) << "this system has no per-window DPI awareness to read";
  RegisterSlides();
  Module show(L"/s");
  const ShowWindows windows = WaitForSlides(show);
  ASSERT_NE(windows.show, nullptr);
  std::vector<HWND> all{windows.show};
  all.insert(all.end(), windows.slides.begin(), windows.slides.end());
  for (HWND h : all) {
    constexpr int kPerMonitorAware = 2;  // DPI_AWARENESS_PER_MONITOR_AWARE
    EXPECT_EQ(awareness_of(context_of(h)), kPerMonitorAware) << Narrow(WindowText(h)) << " at " << Text(WindowRectOf(h));
    RECT client{};
    GetClientRect(h, &client);
    const RECT r = WindowRectOf(h);
    EXPECT_EQ(client.right, r.right - r.left) << "a frame or a scaled client on " << Text(r);
    EXPECT_EQ(client.bottom, r.bottom - r.top) << "a frame or a scaled client on " << Text(r);
  }
}

// A scene of our own for the README: sky, sun and hills, in colours given by `seed`.
test::PixelFn Scene(int width, int height, int seed) {
  return [=](int x, int y) {
    const int horizon = height * (55 + seed * 5) / 100;
    const double hill = horizon + height * 0.08 * std::sin((x + seed * 300) * 6.283 / width * (1 + seed % 2));
    const int sx = width * (25 + 25 * seed) / 100, sy = height / 4;
    const long long dx = x - sx, dy = y - sy, r = height / 9;
    if (dx * dx + dy * dy < r * r) return test::Rgb{255, 230, 120};
    if (y > hill) {
      const int shade = 90 + 60 * (height - y) / height;
      return test::Rgb{static_cast<std::uint8_t>(30 + seed * 30), static_cast<std::uint8_t>(shade), 60};
    }
    const int t = 255 * y / std::max(1, horizon);
    return test::Rgb{static_cast<std::uint8_t>(60 + t / 3 + seed * 40), static_cast<std::uint8_t>(120 + t / 4),
                     static_cast<std::uint8_t>(230 - t / 5)};
  };
}

TEST_F(MonitorsEvery, ScenesFillTheirOwnFittedRectanglesOnEveryMonitor) {
  registry::Write(L"ScrActionRegSelectNo1FlagTimer", L"5000");
  registry::Write(L"ScrActionRegSelectNo1FlagScale", L"80");
  const SIZE sizes[] = {{1600, 1200}, {1200, 1600}, {1600, 1000}};
  for (int i = 0; i < 3; ++i)
    RegisterPicture(1, i + 1, WriteTestFile(L"scene" + std::to_wstring(i + 1) + L".jpg",
                                            test::MakeJpeg(sizes[i].cx, sizes[i].cy, Scene(sizes[i].cx, sizes[i].cy, i), 92)));
  Module show(L"/s");
  ASSERT_NE(WaitForSlides(show).show, nullptr);
  DesktopShot shot;
  const bool all = CaptureWhen(
      [&](const DesktopShot& s) {
        for (std::size_t k = 0; k < layout_.size(); ++k) {
          const RECT r = Offset(CentreRect(sizes[k], SizeOf(layout_[k]), 80), Corner(layout_[k]));
          if (Near(s.At(r.left + 4, r.top + 4), 0, 24) || Near(s.At(r.right - 5, r.bottom - 5), 0, 24)) return false;
        }
        return true;
      },
      shot, 10s);
  // The README's picture of the show on several monitors.
  Save(shot, L"show-every-monitor");
  EXPECT_TRUE(all) << "not every monitor showed its picture";
}

}  // namespace
}  // namespace tessmoor::e2e::monitors
