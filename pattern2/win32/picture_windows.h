#pragma once
#include <windows.h>

#include <array>
#include <functional>
#include <memory>

#include "pattern2/motion_rules.h"
#include "pattern2/win32/no2_form_no.h"
#include "pattern2/window_motion.h"
#include "show/picture_source.h"
#include "show/show_settings.h"

namespace tessmoor::pattern2 {

// The area the windows move in: the outer and client size of `window` as it is now.
ShowArea AreaOf(HWND window);

// The pattern-2 part of the show window: the picture windows and their motions. The show window
// makes it once its settings are read and its picture table is built, and hands it each tick of
// its timer `ScrNo2FormNo<n>SpeedTimer`.
class PictureWindows {
 public:
  // A motion and a window for every n whose timer runs in `show`; the windows appear at their
  // first tick. `pictures` must outlive this object; `close_show` ends the show and is what a
  // key on a picture window does.
  PictureWindows(HWND show_window, const ShowSettings& show, PictureSource& pictures,
                 std::function<void()> close_show);

  // One tick of window n (1..4), over the show window's area as it is now. kStop: stop that
  // timer for good (the box has no picture left, or n was never set up). Picture windows found
  // below the show window are put back above it.
  [[nodiscard]] TimerAction Tick(int window);

  // The show window's WM_WINDOWPOSCHANGING: once a picture window exists, the show window does
  // not rise to the top. Hiding the active picture window for its renewal activates the show
  // window, its owner, and activation brings a window to the top of the top-most windows; not
  // every system lifts the owned windows along with their owner.
  void OnShowWindowPosChanging(WINDOWPOS& pos) const;

 private:
  // Puts the show window just below the lowest shown picture window when it stands above one.
  // Wine raises a window whose area the X server reports uncovered above the visible windows
  // that its server sees over that area, its own picture windows included; the show window is
  // uncovered wherever a picture window moves away.
  void KeepBelowPictures() const;
  bool IsShownPicture(HWND hwnd) const;

  HWND show_window_;
  std::array<std::unique_ptr<TNo2FormNo>, 4> windows_;
  std::array<std::unique_ptr<WindowMotion>, 4> motions_;
};

}  // namespace tessmoor::pattern2
