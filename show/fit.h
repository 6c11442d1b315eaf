#pragma once
#include <algorithm>

#include "platform/geometry.h"
#include "platform/picture_rect.h"

namespace tessmoor {

// The side of the square a picture is fitted into: scale percent of the client size, the
// division by 100 first (1024 x 768 at 50 % gives min(10 * 50, 7 * 50) = 350).
inline int FitSide(int client_width, int client_height, int scale_percent) {
  return std::min((client_width / 100) * scale_percent, (client_height / 100) * scale_percent);
}

// A picture of `source` size fitted into a square of side `fit`: the longer side becomes `fit`,
// the other the truncated proportional length. The ratio is a double and the product is formed
// in extended precision (80-bit on x86), so 900 x 300 at 600 gives 600 x 199: the double nearest
// one third lies just below it. A picture without pixels fits to 0 x 0.
inline Size FitPicture(Size source, int fit) {
  if (source.width <= 0 || source.height <= 0) return {};
  if (source.width > source.height) {
    const double ratio = SideRatio(source.height, source.width);
    return {fit, static_cast<int>(static_cast<long double>(fit) * ratio)};
  }
  const double ratio = SideRatio(source.width, source.height);
  return {static_cast<int>(static_cast<long double>(fit) * ratio), fit};
}

}  // namespace tessmoor
