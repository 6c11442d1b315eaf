#include "show/win32/blank_window.h"

namespace tessmoor {

BlankWindow::BlankWindow(const RECT& monitor, HWND owner, Input input) : input_(std::move(input)) {
  win32::WindowSpec spec;
  spec.title = L"TessmoorBlank";
  spec.style = WS_POPUP;
  spec.ex_style = WS_EX_TOPMOST | WS_EX_TOOLWINDOW;
  spec.parent = owner;
  spec.x = monitor.left;
  spec.y = monitor.top;
  spec.width = monitor.right - monitor.left;
  spec.height = monitor.bottom - monitor.top;
  spec.background = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  Create(spec);
  ShowWindow(hwnd(), SW_SHOWNA);
}

void BlankWindow::OnPaint(HDC dc, const RECT& area) {
  FillRect(dc, &area, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
}

namespace {
BOOL CALLBACK CollectOtherMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM data) {
  MONITORINFO info{};
  info.cbSize = sizeof(info);
  if (GetMonitorInfoW(monitor, &info) && !(info.dwFlags & MONITORINFOF_PRIMARY))
    reinterpret_cast<std::vector<RECT>*>(data)->push_back(info.rcMonitor);
  return TRUE;
}
}  // namespace

std::vector<std::unique_ptr<BlankWindow>> BlankWindow::CoverOtherMonitors(HWND owner,
                                                                         const Input& input) {
  std::vector<RECT> others;
  EnumDisplayMonitors(nullptr, nullptr, CollectOtherMonitor, reinterpret_cast<LPARAM>(&others));
  std::vector<std::unique_ptr<BlankWindow>> windows;
  for (const RECT& r : others) windows.push_back(std::make_unique<BlankWindow>(r, owner, input));
  return windows;
}

}  // namespace tessmoor
