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

TimerAction PictureWindows::Tick(int window) {
  if (window < 1 || window > 4 || !motions_[window - 1]) return TimerAction::kStop;
  return motions_[window - 1]->Tick(AreaOf(show_window_));
}

}  // namespace tessmoor::pattern2
