#include "show/win32/blank_window.h"

#include "show/monitors.h"

namespace tessmoor {

BlankWindow::BlankWindow(const RECT& monitor, HWND owner, Input input) : input_(std::move(input)) {
  win32::WindowSpec params;
  params.title = L"TessmoorBlank";
  params.style = WS_POPUP;
  params.ex_style = WS_EX_TOPMOST | WS_EX_TOOLWINDOW;
  params.parent = owner;
  params.background = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  Create(params.At(monitor));
  ShowWindow(hwnd(), SW_SHOWNA);
}

void BlankWindow::OnPaint(HDC dc, const RECT& area) {
  FillRect(dc, &area, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
}

namespace {
BOOL CALLBACK CollectMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM data) {
  MONITORINFO info{};
  info.cbSize = sizeof(info);
  if (GetMonitorInfoW(monitor, &info)) {
    const RECT& r = info.rcMonitor;
    reinterpret_cast<std::vector<MonitorArea>*>(data)->push_back(
        {{r.left, r.top, r.right, r.bottom}, (info.dwFlags & MONITORINFOF_PRIMARY) != 0});
  }
  return TRUE;
}
}  // namespace

std::vector<std::unique_ptr<BlankWindow>> BlankWindow::CoverOtherMonitors(HWND owner,
                                                                         const Input& input) {
  std::vector<MonitorArea> monitors;
  EnumDisplayMonitors(nullptr, nullptr, CollectMonitor, reinterpret_cast<LPARAM>(&monitors));
  std::vector<std::unique_ptr<BlankWindow>> windows;
  for (const Rect& r : MonitorsToBlank(monitors)) {
    const RECT area{r.left, r.top, r.right, r.bottom};
    windows.push_back(win32::MakeOwned<BlankWindow>(area, owner, input));
  }
  return windows;
}

}  // namespace tessmoor
