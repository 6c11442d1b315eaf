#pragma once
#include "platform/geometry.h"

// Where a picture control draws its picture. Pure arithmetic, shared by the dialogs' models and
// the picture control that draws.
namespace tessmoor {

// The ratio of two sides as a true double. x87 code (the i686 build) would otherwise keep the
// quotient in 80 bits, and 900 x 300 at 300 would give 300 x 100, not 300 x 99; the store
// through a volatile forces the rounding.
inline double SideRatio(int numerator, int denominator) {
  const volatile double ratio = static_cast<double>(numerator) / denominator;
  return ratio;
}

// Where a control of `control` size draws a picture of `picture` size: at the top-left corner,
// at the picture's own size unless it is larger than the control in either direction, in which
// case it is shrunk to fit keeping its aspect ratio. A control that enlarges (box 3's) fits every
// picture that way, so a 50 × 40 picture fills 137 × 109 there but stays 50 × 40 elsewhere.
Rect PictureDrawRect(Size control, Size picture, bool enlarge);

}  // namespace tessmoor
