#include "pattern2/win32/picture_windows.h"

namespace tessmoor::pattern2 {

ShowArea AreaOf(HWND window) {
  RECT outer{};
  RECT client{};
  GetWindowRect(window, &outer);
  GetClientRect(window, &client);
  return {{outer.right - outer.left, outer.bottom - outer.top}, {client.right, client.bottom}};
}

PictureWindows::PictureWindows(HWND show_window, const ShowSettings& show,
                               PictureSource& pictures, std::function<void()> close_show)
    : show_window_(show_window) {
  for (int n = 1; n <= 4; ++n) {
    if (!show.window_timers[n - 1].running()) continue;
    windows_[n - 1] = win32::MakeOwned<TNo2FormNo>(n, show_window, close_show);
    motions_[n - 1] = std::make_unique<WindowMotion>(n, show.motion_mode[n - 1],
                                                     show.window_scale[n - 1], pictures,
                                                     *windows_[n - 1]);
  }
}

void PictureWindows::OnShowWindowPosChanging(WINDOWPOS& pos) const {
  if (pos.flags & SWP_NOZORDER) return;
  if (pos.hwndInsertAfter != HWND_TOP && pos.hwndInsertAfter != HWND_TOPMOST) return;
  for (const auto& window : windows_)
    if (window && window->alive()) {
      pos.flags |= SWP_NOZORDER;
      return;
    }
}

TimerAction PictureWindows::Tick(int window) {
  if (window < 1 || window > 4 || !motions_[window - 1]) return TimerAction::kStop;
  const TimerAction action = motions_[window - 1]->Tick(AreaOf(show_window_));
  KeepBelowPictures();
  return action;
}

bool PictureWindows::IsShownPicture(HWND hwnd) const {
  for (const auto& window : windows_)
    if (window && window->alive() && window->hwnd() == hwnd) return IsWindowVisible(hwnd) != FALSE;
  return false;
}

void PictureWindows::KeepBelowPictures() const {
  int shown = 0;
  for (const auto& window : windows_)
    shown += window && window->alive() && IsWindowVisible(window->hwnd()) ? 1 : 0;
  // Only the picture windows and a few other top-most windows stand above the show window.
  int above = 0;
  for (HWND h = GetWindow(show_window_, GW_HWNDPREV); h; h = GetWindow(h, GW_HWNDPREV))
    above += IsShownPicture(h) ? 1 : 0;
  if (above == shown) return;
  HWND lowest = nullptr;
  for (HWND h = GetWindow(show_window_, GW_HWNDNEXT); h; h = GetWindow(h, GW_HWNDNEXT))
    if (IsShownPicture(h)) lowest = h;
  if (lowest) SetWindowPos(show_window_, lowest, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

}  // namespace tessmoor::pattern2
