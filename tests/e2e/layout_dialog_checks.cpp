#include "tests/e2e/layout_dialog_checks.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cwchar>
#include <string>

#include "tests/e2e/harness.h"
#include "tests/e2e/layout_dialog_driver.h"

namespace tessmoor::e2e {

namespace {

using namespace std::chrono_literals;

const wchar_t* WindowClassOf(ControlKind kind) {
  switch (kind) {
    case ControlKind::kScrollBar: return L"ScrollBar";
    case ControlKind::kLabel:
    case ControlKind::kStaticText: return L"Static";
    case ControlKind::kPicture: return L"TessmoorWindow";
    default: return L"Button";
  }
}

bool HasJapanese(std::string_view caption) {
  for (char c : caption)
    if (static_cast<unsigned char>(c) >= 0x80) return true;
  return false;
}

// The title bar: the rows between the top of the window's frame and its client area, short of
// the close box.
RECT TitleBarOf(HWND dialog) {
  const RECT r = WindowRectOf(dialog);
  POINT client{0, 0};
  ClientToScreen(dialog, &client);
  const int caption = GetSystemMetrics(SM_CYCAPTION);
  return {client.x, client.y - caption + 2, client.x + (r.right - r.left) / 2, client.y - 2};
}

}  // namespace

int Dpi() {
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return dpi;
}

int Scaled(int value) { return MulDiv(value, Dpi(), 96); }

void ExpectLayout(HWND dialog, const std::vector<LayoutRow>& table, int dpi) {
  if (dpi == 0) dpi = Dpi();
  const auto scaled = [dpi](int value) { return MulDiv(value, dpi, 96); };
  POINT client{0, 0};
  ClientToScreen(dialog, &client);
  std::vector<POINT> origins;
  for (std::size_t i = 0; i < table.size(); ++i) {
    const LayoutRow& c = table[i];
    POINT at{c.x, c.y};
    for (std::size_t p = 0; p < i; ++p)
      if (!c.parent.empty() && table[p].name == c.parent) at = {at.x + origins[p].x, at.y + origins[p].y};
    origins.push_back(at);
    const std::string name(c.name);
    HWND h = GetDlgItem(dialog, kFirstLayoutControlId + static_cast<int>(i));
    ASSERT_NE(h, nullptr) << name;
    wchar_t window_class[64] = {};
    GetClassNameW(h, window_class, 64);
    EXPECT_EQ(_wcsicmp(window_class, WindowClassOf(c.kind)), 0) << name;
    const RECT r = WindowRectOf(h);
    EXPECT_EQ(r.left - client.x, scaled(at.x)) << name;
    EXPECT_EQ(r.top - client.y, scaled(at.y)) << name;
    EXPECT_EQ(r.right - r.left, scaled(c.width)) << name;
    EXPECT_EQ(r.bottom - r.top, scaled(c.height)) << name;
    if (!c.caption.empty()) {
      EXPECT_EQ(WindowText(h), Wide(c.caption)) << name;
    }
    const LONG type = GetWindowLongW(h, GWL_STYLE) & BS_TYPEMASK;
    switch (c.kind) {
      case ControlKind::kRadioButton: EXPECT_EQ(type, BS_RADIOBUTTON) << name; break;
      case ControlKind::kCheckBox: EXPECT_EQ(type, BS_AUTOCHECKBOX) << name; break;
      case ControlKind::kGroupBox: EXPECT_EQ(type, BS_GROUPBOX) << name; break;
      default: break;
    }
    if (c.kind == ControlKind::kScrollBar) {
      EXPECT_EQ(GetWindowLongW(h, GWL_STYLE) & SBS_VERT, 0) << name;
      SCROLLINFO si{};
      si.cbSize = sizeof(si);
      si.fMask = SIF_RANGE | SIF_PAGE;
      ASSERT_TRUE(GetScrollInfo(h, SB_CTL, &si)) << name;
      EXPECT_EQ(si.nMin, c.scroll.min) << name;
      EXPECT_EQ(si.nMax, c.scroll.max) << name;
      EXPECT_EQ(si.nPage, 0u) << name;
    }
  }
}

void ExpectDialogFrame(HWND dialog, HWND owner, const FormDesign& form) {
  EXPECT_TRUE(IsWindowVisible(dialog));
  EXPECT_TRUE(GetWindowLongW(dialog, GWL_EXSTYLE) & WS_EX_TOPMOST);
  EXPECT_EQ(GetWindow(dialog, GW_OWNER), owner);
  const RECT r = WindowRectOf(dialog);
  EXPECT_EQ(r.right - r.left, Scaled(form.width));
  EXPECT_EQ(r.bottom - r.top, Scaled(form.height));
  const LONG style = GetWindowLongW(dialog, GWL_STYLE);
  EXPECT_TRUE(style & WS_SYSMENU);
  const bool normal = form.title_buttons == TitleButtons::kNormal;
  EXPECT_EQ((style & WS_MINIMIZEBOX) != 0, normal);
  EXPECT_EQ((style & WS_MAXIMIZEBOX) != 0, normal);
}

void ExpectCaptionsDrawnAndKeep(HWND dialog, const std::vector<LayoutRow>& table, const wchar_t* name) {
  ASSERT_GE(DistinctGlyphCells(RenderCaption(L"画像の大きさ", 12), {0, 0, 1000, 100}, InkBackground::kMostCommonColour), 5)
      << "this system draws no Japanese glyphs, so no caption can be checked";
  SetForegroundWindow(dialog);
  PumpFor(500ms);
  const Screenshot shot = CaptureScreen();
  Crop(shot, WindowRectOf(dialog)).Save(name);
  EXPECT_GE(DistinctGlyphCells(shot, TitleBarOf(dialog), InkBackground::kTopRowOfColumn), 4) << "title bar";
  const Ink screen = InkOf(shot);
  for (std::size_t i = 0; i < table.size(); ++i) {
    const LayoutRow& c = table[i];
    if (!HasJapanese(c.caption)) continue;
    RECT area = WindowRectOf(GetDlgItem(dialog, kFirstLayoutControlId + static_cast<int>(i)));
    const Ink text = InkOf(RenderCaption(Wide(c.caption), c.font.height_px, c.font.bold, c.font.italic));
    if (c.kind == ControlKind::kGroupBox) area.bottom = area.top + text.height;
    ASSERT_GT(text.count, 0);
    EXPECT_LE(BestMismatch(screen, area, text), text.count / 5)
        << std::string(c.name) << ": its caption is not drawn as in the dialogs' font";
  }
}

}  // namespace tessmoor::e2e
