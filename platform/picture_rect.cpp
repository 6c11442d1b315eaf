#include "platform/picture_rect.h"

namespace tessmoor {

Rect PictureDrawRect(Size control, Size picture, bool enlarge) {
  int w = picture.width;
  int h = picture.height;
  const int cw = control.width;
  const int ch = control.height;
  if (w > 0 && h > 0 && (enlarge || w > cw || h > ch)) {
    const double aspect = SideRatio(w, h);
    // The longer side meets the control first; if the other side then still overflows (a control
    // narrower than the picture's aspect), that side limits instead.
    if (w > h) {
      w = cw;
      h = static_cast<int>(static_cast<long double>(cw) / aspect);
      if (h > ch) {
        h = ch;
        w = static_cast<int>(static_cast<long double>(ch) * aspect);
      }
    } else {
      h = ch;
      w = static_cast<int>(static_cast<long double>(ch) * aspect);
      if (w > cw) {
        w = cw;
        h = static_cast<int>(static_cast<long double>(cw) / aspect);
      }
    }
  }
  return {0, 0, w, h};
}

}  // namespace tessmoor
