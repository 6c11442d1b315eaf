// The pattern-2 preview in the real module: inside a host window made by the test, the four
// coloured panels move one pixel per tick by their motion modes and ignore input; their face is
// drawn in this process, as Wine never shows a child window's drawing inside another process's
// window.
#include <gtest/gtest.h>

#include <array>
#include <set>
#include <string>

#include "pattern2/win32/panel_face.h"
#include "tests/e2e/harness.h"
#include "tests/e2e/pattern2_motion.h"

namespace tessmoor::e2e {
namespace {

using namespace std::chrono_literals;
using namespace pattern2_motion;

constexpr auto kStart = 15s;
constexpr auto kExit = 5s;


struct PanelSetup {
  std::string mode;
  int speed_ms = 10;
  int scale = 50;
  bool use = true;
};

class Pattern2Preview : public ::testing::Test {
 protected:
  static constexpr Dim kForm{152, 112};

  void SetUp() override { registry::DeleteSettings(); }

  static void Write(const std::array<PanelSetup, 4>& panels) {
    registry::Write(L"ScrActionRegSelectNoFlag", L"2");
    for (int n = 1; n <= 4; ++n) {
      const PanelSetup& p = panels[n - 1];
      registry::Write(Key(L"ScrNo2ActionRegSelectNo", n, L"FlagDetail"), Wide(p.mode));
      registry::Write(Key(L"ScrActionRegSelectTimerNo2FormNo", n, L"Flag"), std::to_wstring(p.speed_ms));
      registry::Write(Key(L"ScrActionRegSelectScaleNo2FormNo", n, L"Flag"), std::to_wstring(p.scale));
      registry::Write(Key(L"ImageRegForm2No", n, L"BoxScrSetUpFormTabControlCheckBoxReg"), p.use ? L"1" : L"0");
    }
  }

  // The preview form inside the host, once it is there with its four panels.
  static HWND WaitForm(const PreviewHost& host) {
    HWND form = nullptr;
    WaitUntil(
        [&] {
          for (HWND h : ChildWindows(host.hwnd()))
            if (GetParent(h) == host.hwnd() && WindowText(h) == L"No2Form" && ChildWindows(h).size() == 4)
              form = h;
          return form != nullptr;
        },
        kStart);
    return form;
  }

  static HWND Panel(HWND form, int n) {
    for (HWND h : ChildWindows(form))
      if (GetParent(h) == form && WindowText(h) == Key(L"No", n, L"")) return h;
    return nullptr;
  }

  static POINT Origin(HWND form) {
    const RECT r = WindowRectOf(form);
    return {r.left, r.top};
  }
};

TEST_F(Pattern2Preview, PanelsMoveOnePixelPerTickInsideTheHostAndInputChangesNothing) {
  const std::array<PanelSetup, 4> panels = {{{"1", 10, 50}, {"5", 10, 100}, {"2", 10, 50, false}, {"x", 1000, 50}}};
  Write(panels);
  PreviewHost host(kForm.width, kForm.height);
  ASSERT_NE(host.hwnd(), nullptr);
  const auto started = Clock::now();
  Module preview(L"/p " + host.Handle());
  const HWND form = WaitForm(host);
  ASSERT_NE(form, nullptr) << "no preview form with four panels inside the host";
  DWORD pid = 0;
  GetWindowThreadProcessId(form, &pid);
  EXPECT_EQ(pid, preview.pid());
  const RECT fr = WindowRectOf(form), hr = WindowRectOf(host.hwnd());
  EXPECT_TRUE(EqualRect(&fr, &hr)) << "the form does not cover the host window";
  EXPECT_TRUE(GetWindowLongW(form, GWL_STYLE) & WS_CHILD);

  std::array<std::optional<Track>, 4> tracks;
  for (int n : {1, 2, 4})
    tracks[n - 1].emplace(Expected::Panel(n, panels[n - 1].mode, kForm, panels[n - 1].scale),
                          panels[n - 1].speed_ms, started);
  const POINT origin = Origin(form);
  const auto find = [&](int n) { return Panel(form, n); };
  // Two runs of panel 1 (113 ticks each), panel 2 past its turns at every edge, panel 4 resized.
  const auto far_enough = [&] { return tracks[0]->tick() >= 240 && tracks[1]->tick() >= 240 && tracks[3]->tick() >= 1; };
  const auto half_way = [&] { return tracks[0]->tick() >= 120; };
  ASSERT_TRUE(Follow(find, origin, tracks, half_way, 10s));

  const auto before = registry::All();
  for (HWND target : {form, Panel(form, 1), Panel(form, 3)}) {
    PostMessageW(target, WM_KEYDOWN, 'A', 0);
    PostMessageW(target, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    PostMessageW(target, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    PostMessageW(target, WM_MOUSEMOVE, 0, MAKELPARAM(50, 40));
  }
  ASSERT_TRUE(Follow(find, origin, tracks, far_enough, 15s));
  EXPECT_TRUE(preview.Running()) << "input ended the preview";
  EXPECT_EQ(registry::All(), before);

  EXPECT_EQ(tracks[0]->sizes(), (std::set<Dim>{{25, 18}, {25, 17}}));
  // 50 x 37, flattened at each turn at the top or the left edge: 36, 35, then 34 for good.
  const std::set<Dim> flattening = {{50, 37}, {50, 36}, {50, 35}, {50, 34}};
  for (Dim d : {Dim{50, 37}, Dim{50, 36}, Dim{50, 35}}) EXPECT_TRUE(tracks[1]->sizes().count(d)) << d.height;
  for (Dim d : tracks[1]->sizes()) EXPECT_TRUE(flattening.count(d)) << d.width << "x" << d.height;
  EXPECT_EQ(tracks[3]->first_tick(), 0) << "panel 4 was not seen at its designed bounds first";
  EXPECT_EQ(StableBox(Panel(form, 4), origin), (Box{464, 288, {25, 18}}));
  // Its box is switched off: panel 3 never moves from its designed bounds.
  EXPECT_EQ(StableBox(Panel(form, 3), origin), kDesignedPanels[2]);

  DestroyWindow(host.hwnd());
  EXPECT_EQ(preview.WaitExit(kExit), 0u) << "the preview outlived its host window";
}

TEST_F(Pattern2Preview, FirstRunWritesTheShowsModesOneToFourAndEachPanelStartsInItsOwnCorner) {
  registry::Write(L"ScrActionRegSelectNoFlag", L"2");
  PreviewHost host(kForm.width, kForm.height);
  const auto started = Clock::now();
  Module preview(L"/p " + host.Handle());
  const HWND form = WaitForm(host);
  ASSERT_NE(form, nullptr);
  const auto values = registry::All();
  for (int n = 1; n <= 4; ++n) {
    EXPECT_EQ(values.at(Key(L"ScrNo2ActionRegSelectNo", n, L"FlagDetail")), std::to_wstring(n));
    EXPECT_EQ(values.at(Key(L"ScrActionRegSelectTimerNo2FormNo", n, L"Flag")), L"50");
    EXPECT_EQ(values.at(Key(L"ScrActionRegSelectScaleNo2FormNo", n, L"Flag")), L"50");
  }
  std::array<std::optional<Track>, 4> tracks;
  for (int n = 1; n <= 4; ++n) tracks[n - 1].emplace(Expected::Panel(n, std::to_string(n), kForm, 50), 50, started);
  ASSERT_TRUE(Follow([&](int n) { return Panel(form, n); }, Origin(form), tracks,
                     [&] {
                       for (const auto& t : tracks)
                         if (t->tick() < 30) return false;
                       return true;
                     },
                     10s));
  EXPECT_TRUE(preview.Running());
}

// Wine never shows the drawing of a child window inside another process's window, so the
// panels' face is drawn here, in this process, by the same function the module's panels paint with.
TEST(Pattern2PanelFace, EachPanelIsItsColourWithARaisedEdgeAndItsCaptionInTheMiddle) {
  constexpr int w = 161, h = 121;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = w;
  info.bmiHeader.biHeight = -h;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP dib = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  ASSERT_NE(dib, nullptr);
  HGDIOBJ old_bitmap = SelectObject(dc, dib);
  HFONT font = CreateFontW(-12, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Tahoma");
  const auto at = [&](int x, int y) {  // as a COLORREF
    const std::uint32_t p = static_cast<const std::uint32_t*>(bits)[y * w + x];
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
  };
  for (int n = 1; n <= 4; ++n) {
    SCOPED_TRACE("panel " + std::to_string(n));
    const auto& design = pattern2::kPanelDesigns[n - 1];
    const COLORREF colour = RGB(design.colour.red, design.colour.green, design.colour.blue);
    const std::wstring caption(design.caption.begin(), design.caption.end());
    pattern2::DrawPanelFace(dc, {0, 0, w, h}, design.colour, font, caption);
    GdiFlush();
    // Raised: light outside and white inside at the top left, dark outside and grey inside at the
    // bottom right.
    EXPECT_EQ(at(0, 0), GetSysColor(COLOR_3DLIGHT));
    EXPECT_EQ(at(1, 1), GetSysColor(COLOR_3DHILIGHT));
    EXPECT_EQ(at(w - 1, h - 1), GetSysColor(COLOR_3DDKSHADOW));
    EXPECT_EQ(at(w - 2, h - 2), GetSysColor(COLOR_3DSHADOW));
    for (const auto& [x, y] : {std::pair{8, 8}, {w - 9, 8}, {8, h - 9}, {w - 9, h - 9}, {8, h / 2}})
      EXPECT_EQ(at(x, y), colour) << x << "," << y;
    // The caption: ink inside the edge, centred both ways.
    int left = w, right = -1, top = h, bottom = -1;
    for (int y = 2; y < h - 2; ++y)
      for (int x = 2; x < w - 2; ++x)
        if (at(x, y) != colour) {
          left = std::min(left, x), right = std::max(right, x);
          top = std::min(top, y), bottom = std::max(bottom, y);
        }
    ASSERT_GE(right, left) << "no caption drawn";
    EXPECT_NEAR((left + right) / 2.0, w / 2.0, 3.0);
    EXPECT_NEAR((top + bottom) / 2.0, h / 2.0, 4.0);
    EXPECT_LT(right - left, w / 3);
    EXPECT_LT(bottom - top, h / 3);
    Screenshot face;
    face.width = w;
    face.height = h;
    face.pixels.assign(static_cast<const std::uint32_t*>(bits), static_cast<const std::uint32_t*>(bits) + w * h);
    face.Save(L"pattern2-panel-" + std::to_wstring(n));
  }
  DeleteObject(font);
  SelectObject(dc, old_bitmap);
  DeleteObject(dib);
  DeleteDC(dc);
}

}  // namespace
}  // namespace tessmoor::e2e
