#include "tests/e2e/monitors_desktop.h"

#include <shlobj.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <regex>
#include <sstream>

namespace tessmoor::e2e::monitors {

std::string Text(const RECT& r) {
  return "(" + std::to_string(r.left) + ", " + std::to_string(r.top) + ", " + std::to_string(r.right) + ", " +
         std::to_string(r.bottom) + ")";
}

std::ostream& operator<<(std::ostream& out, const Monitor& m) {
  return out << Text(m.rect) << (m.primary ? " primary" : "");
}

namespace {
std::string Env(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

BOOL CALLBACK CollectMonitor(HMONITOR handle, HDC, LPRECT, LPARAM data) {
  MONITORINFO info{};
  info.cbSize = sizeof(info);
  if (GetMonitorInfoW(handle, &info))
    reinterpret_cast<std::vector<Monitor>*>(data)->push_back(
        {info.rcMonitor, (info.dwFlags & MONITORINFOF_PRIMARY) != 0});
  return TRUE;
}
}  // namespace

std::vector<Monitor> GivenLayout(std::string* error) {
  const std::string text = Env("TESSMOOR_MONITORS");
  const auto fail = [&](const std::string& why) {
    if (error) *error = why;
    return std::vector<Monitor>{};
  };
  if (text.empty()) return fail("TESSMOOR_MONITORS holds no layout");
  static const std::regex item(R"(^(\d+)x(\d+)([+-]\d+)([+-]\d+)(\*?)$)");
  std::vector<Monitor> layout;
  std::istringstream words(text);
  std::string word;
  while (words >> word) {
    std::smatch m;
    if (!std::regex_match(word, m, item)) return fail("not a monitor: '" + word + "'");
    const int w = std::stoi(m[1]), h = std::stoi(m[2]), x = std::stoi(m[3]), y = std::stoi(m[4]);
    layout.push_back({{x, y, x + w, y + h}, m[5].length() == 1});
  }
  if (std::count_if(layout.begin(), layout.end(), [](const Monitor& m) { return m.primary; }) != 1)
    return fail("not exactly one primary monitor in '" + text + "'");
  return layout;
}

std::vector<Monitor> SeenLayout() {
  std::vector<Monitor> seen;
  EnumDisplayMonitors(nullptr, nullptr, CollectMonitor, reinterpret_cast<LPARAM>(&seen));
  return seen;
}

std::vector<Monitor> Sorted(std::vector<Monitor> monitors) {
  std::sort(monitors.begin(), monitors.end(), [](const Monitor& a, const Monitor& b) {
    if (a.primary != b.primary) return a.primary;
    if (a.rect.left != b.rect.left) return a.rect.left < b.rect.left;
    return a.rect.top < b.rect.top;
  });
  return monitors;
}

std::uint32_t Backdrop() {
  const std::string text = Env("TESSMOOR_MONITORS_BACKDROP");
  if (text.size() != 6 || text.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos)
    return 0xFFFFFFFF;
  return static_cast<std::uint32_t>(std::stoul(text, nullptr, 16));
}

DesktopShot CaptureDesktop() {
  DesktopShot desk;
  desk.origin = {GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN)};
  desk.shot = CaptureScreenArea(desk.origin.x, desk.origin.y, GetSystemMetrics(SM_CXVIRTUALSCREEN),
                                GetSystemMetrics(SM_CYVIRTUALSCREEN));
  return desk;
}

void Save(const DesktopShot& shot, const std::wstring& name) {
  if (GetOptions().artifacts.empty()) return;
  SHCreateDirectoryExW(nullptr, GetOptions().artifacts.c_str(), nullptr);
  shot.shot.Save(name);
}

Mismatches PixelsNot(const DesktopShot& shot, const RECT& area, std::uint32_t rgb, int tolerance,
                     const std::vector<RECT>& except, int report) {
  Mismatches found;
  for (int y = area.top; y < area.bottom; ++y) {
    for (int x = area.left; x < area.right; ++x) {
      const POINT p{x, y};
      if (std::any_of(except.begin(), except.end(), [&](const RECT& r) { return PtInRect(&r, p) != 0; }))
        continue;
      if (!shot.Contains(x, y)) {
        ++found.count;
        if (report-- > 0) found.first += " (" + std::to_string(x) + "," + std::to_string(y) + ") off the shot";
        continue;
      }
      const std::uint32_t pixel = shot.At(x, y);
      if (Near(pixel, rgb, tolerance)) continue;
      ++found.count;
      if (report-- > 0) {
        char text[48];
        std::snprintf(text, sizeof(text), " (%d,%d)=%06X", x, y, static_cast<unsigned>(pixel));
        found.first += text;
      }
    }
  }
  return found;
}

std::vector<POINT> EdgePoints(const RECT& r) {
  const int right = r.right - 1, bottom = r.bottom - 1;
  const int cx = (r.left + r.right) / 2, cy = (r.top + r.bottom) / 2;
  return {{r.left, r.top},  {cx, r.top},     {right, r.top}, {right, cy},    {right, bottom},
          {cx, bottom},     {r.left, bottom}, {r.left, cy},   {cx, cy},       {r.left + 1, r.top + 1},
          {right - 1, bottom - 1}};
}

bool OnSomeMonitor(const std::vector<Monitor>& layout, int x, int y) {
  const POINT p{x, y};
  return std::any_of(layout.begin(), layout.end(), [&](const Monitor& m) { return PtInRect(&m.rect, p) != 0; });
}

ShowWindows WindowsOf(const Module& module) {
  ShowWindows windows;
  for (HWND h : module.TopWindows()) {
    const std::wstring title = WindowText(h);
    if (title == L"No1Form") windows.show = h;
    if (title == L"TessmoorBlank") windows.blank.push_back(h);
    if (title == L"TessmoorSlides") windows.slides.push_back(h);
  }
  return windows;
}

namespace {
HWND WindowOver(const std::vector<HWND>& windows, const Monitor& m) {
  for (HWND h : windows) {
    const RECT r = WindowRectOf(h);
    if (EqualRect(&r, &m.rect)) return h;
  }
  return nullptr;
}
}  // namespace

HWND BlankWindowOver(const ShowWindows& windows, const Monitor& m) { return WindowOver(windows.blank, m); }
HWND SlidesWindowOver(const ShowWindows& windows, const Monitor& m) { return WindowOver(windows.slides, m); }

bool WaitForCover(const Module& module, std::size_t others, bool slides, ShowWindows& windows,
                  std::chrono::milliseconds timeout) {
  return WaitUntil(
      [&] {
        windows = WindowsOf(module);
        return windows.show != nullptr && (slides ? windows.slides : windows.blank).size() == others;
      },
      timeout);
}

RECT CentreRect(SIZE picture, SIZE client, int scale) {
  const int fit = std::min(scale * (client.cx / 100), scale * (client.cy / 100));
  int w = fit, h = fit;
  if (picture.cx > picture.cy) {
    const double ratio = static_cast<double>(picture.cy) / picture.cx;
    h = static_cast<int>(static_cast<long double>(fit) * ratio);
  } else {
    const double ratio = static_cast<double>(picture.cx) / picture.cy;
    w = static_cast<int>(static_cast<long double>(fit) * ratio);
  }
  const int x = static_cast<int>(std::trunc(client.cx * 0.5 - w * 0.5));
  const int y = static_cast<int>(std::trunc(client.cy * 0.5 - h * 0.5));
  return {x, y, x + w, y + h};
}

RECT Offset(RECT r, POINT by) {
  OffsetRect(&r, by.x, by.y);
  return r;
}

RECT Inflated(RECT r, int by) {
  InflateRect(&r, by, by);
  return r;
}

RECT OnMonitors::Desktop() const {
  RECT all = Primary().rect;
  for (const Monitor& m : layout_) UnionRect(&all, &all, &m.rect);
  return all;
}

std::vector<RECT> OnMonitors::MonitorRects() const {
  std::vector<RECT> rects;
  for (const Monitor& m : layout_) rects.push_back(m.rect);
  return rects;
}

void OnMonitors::SetUp() {
  std::string error;
  const std::vector<Monitor> given = GivenLayout(&error);
  ASSERT_FALSE(given.empty()) << error;
  layout_ = Sorted(given);
  ASSERT_EQ(Sorted(SeenLayout()), layout_) << "this process does not see the desktop it was given";
  registry::DeleteSettings();
}

}  // namespace tessmoor::e2e::monitors
