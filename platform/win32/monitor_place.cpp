#include "platform/win32/monitor_place.h"

#include <vector>

#include "platform/window_place.h"

namespace tessmoor::win32 {

namespace {

BOOL CALLBACK CollectWorkArea(HMONITOR monitor, HDC, LPRECT, LPARAM data) {
  MONITORINFO info{};
  info.cbSize = sizeof(info);
  if (!GetMonitorInfoW(monitor, &info)) return TRUE;
  auto& list = *reinterpret_cast<std::vector<Rect>*>(data);
  const Rect work{info.rcWork.left, info.rcWork.top, info.rcWork.right, info.rcWork.bottom};
  if (info.dwFlags & MONITORINFOF_PRIMARY)
    list.insert(list.begin(), work);
  else
    list.push_back(work);
  return TRUE;
}

// The work areas of the monitors, the primary's first.
std::vector<Rect> WorkAreas() {
  std::vector<Rect> areas;
  EnumDisplayMonitors(nullptr, nullptr, &CollectWorkArea, reinterpret_cast<LPARAM>(&areas));
  return areas;
}

}  // namespace

POINT ReachablePlaceOf(HWND window, int x, int y) {
  RECT outer{};
  GetWindowRect(window, &outer);
  // The window is dragged by what lies above its client area: frame, caption and menu.
  POINT client{0, 0};
  ClientToScreen(window, &client);
  const Point place = ReachablePlace(WorkAreas(), {x, y}, {outer.right - outer.left, outer.bottom - outer.top},
                                     static_cast<int>(client.y - outer.top));
  return {place.x, place.y};
}

}  // namespace tessmoor::win32
