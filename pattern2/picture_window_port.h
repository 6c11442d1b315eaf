#pragma once
#include "show/fit.h"

namespace tessmoor {
struct Picture;
}

namespace tessmoor::pattern2 {

// One of the four borderless, top-most picture windows of the pattern-2 show (`TNo2FormNo1` ..
// `TNo2FormNo4`), as its motion drives it. The Windows shell implements it over one window per
// number that it creates at the first Create and reuses from then on, so closed windows never
// pile up over a show that runs for days.
class PictureWindowPort {
 public:
  virtual ~PictureWindowPort() = default;

  // Puts up `picture` stretched over a client area of `size` (which may be 0 wide or high). The
  // window stays hidden and keeps whatever position it had until the caller sets one. The
  // picture stays valid until the next Create: the motion keeps it.
  virtual void Create(const Picture& picture, Size size) = 0;
  // The window's top-left corner in screen coordinates; it may lie off the screen.
  virtual void SetPosition(int left, int top) = 0;
  // Makes the window visible, in front of the other picture windows, and the active window, so
  // that a key pressed now reaches it and ends the show.
  virtual void Show() = 0;
  // Hides the window before it is put up again with the next picture.
  virtual void Close() = 0;

  virtual int Left() const = 0;
  virtual int Top() const = 0;
  virtual int Width() const = 0;
  virtual int Height() const = 0;
};

}  // namespace tessmoor::pattern2
