#include "show/win32/monitor_window.h"

#include <algorithm>
#include <limits>

namespace tessmoor {

namespace {
RECT ToRect(const Rect& r) { return {r.left, r.top, r.right, r.bottom}; }

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

std::vector<MonitorArea> CurrentMonitors() {
  std::vector<MonitorArea> monitors;
  EnumDisplayMonitors(nullptr, nullptr, CollectMonitor, reinterpret_cast<LPARAM>(&monitors));
  return monitors;
}

MonitorWindow::MonitorWindow(const RECT& monitor, HWND owner, bool slides, MonitorInput input,
                             std::function<void()> tick)
    : slides_(slides), input_(std::move(input)), tick_(std::move(tick)) {
  win32::WindowParams params;
  params.title = slides_ ? L"TessmoorSlides" : L"TessmoorBlank";
  params.style = WS_POPUP;
  params.ex_style = WS_EX_TOPMOST | WS_EX_TOOLWINDOW;
  params.parent = owner;
  params.background = slides_ ? nullptr : static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  Create(params.At(monitor));
  if (slides_) canvas_.Attach(hwnd(), monitor.right - monitor.left, monitor.bottom - monitor.top);
  ShowWindow(hwnd(), SW_SHOWNA);
}

void MonitorWindow::MoveTo(const Rect& bounds) {
  const RECT r = ToRect(bounds);
  SetWindowPos(hwnd(), HWND_TOPMOST, r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_NOACTIVATE);
  if (slides_) canvas_.Attach(hwnd(), r.right - r.left, r.bottom - r.top);
  InvalidateRect(hwnd(), nullptr, TRUE);
}

void MonitorWindow::ArmTimer(std::int64_t ms) {
  SetTimerInterval(kTimer, static_cast<int>(std::clamp<std::int64_t>(ms, 0, std::numeric_limits<int>::max())));
}

void MonitorWindow::OnTimer(UINT_PTR id) {
  if (id == kTimer && tick_) tick_();
}

void MonitorWindow::OnPaint(HDC dc, const RECT& area) {
  if (slides_) {
    canvas_.Paint(dc, area);
  } else {
    FillRect(dc, &area, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  }
}

std::unique_ptr<MonitorSurface> MonitorWindows::Open(const Rect& bounds, bool slides, std::function<void()> tick) {
  return std::make_unique<win32::Owned<MonitorWindow>>(ToRect(bounds), owner_, slides, input_, std::move(tick));
}

}  // namespace tessmoor
