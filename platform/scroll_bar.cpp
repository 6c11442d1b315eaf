#include "platform/scroll_bar.h"

#include <algorithm>

namespace tessmoor {

int ClampPosition(const ScrollBarDesign& bar, int value) { return std::clamp(value, bar.min, bar.max); }

int ScrollTarget(const ScrollBarDesign& bar, ScrollCode code, int current, int thumb) {
  // Widened so that a step added to a position near the int limits cannot overflow.
  long long target = current;
  switch (code) {
    case ScrollCode::kLineLeft: target -= bar.small_change; break;
    case ScrollCode::kLineRight: target += bar.small_change; break;
    case ScrollCode::kPageLeft: target -= bar.large_change; break;
    case ScrollCode::kPageRight: target += bar.large_change; break;
    case ScrollCode::kThumbPosition:
    case ScrollCode::kThumbTrack: target = thumb; break;
    case ScrollCode::kLeft: target = bar.min; break;
    case ScrollCode::kRight: target = bar.max; break;
    case ScrollCode::kEndScroll: break;
  }
  return static_cast<int>(std::clamp<long long>(target, bar.min, bar.max));
}

}  // namespace tessmoor
