#include "platform/window_place.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace tessmoor {

namespace {

// Stored places may lie anywhere in the range of int, so edges are reckoned in 64 bits.
struct Box {
  std::int64_t left, top, right, bottom;
  std::int64_t width() const { return right - left; }
  std::int64_t height() const { return bottom - top; }
};

Box BoxOf(const Rect& r) { return {r.left, r.top, r.right, r.bottom}; }

Box Intersection(const Box& a, const Box& b) {
  return {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right), std::min(a.bottom, b.bottom)};
}

std::int64_t OverlapArea(const Box& a, const Box& b) {
  const Box r = Intersection(a, b);
  if (r.width() <= 0 || r.height() <= 0) return 0;
  return r.width() * r.height();
}

// The squared gap between two rectangles that do not overlap; in floating point, since a place
// far beyond every monitor would overflow 64 bits.
double SquaredDistance(const Box& a, const Box& b) {
  const auto dx = static_cast<double>(std::max({std::int64_t{0}, b.left - a.right, a.left - b.right}));
  const auto dy = static_cast<double>(std::max({std::int64_t{0}, b.top - a.bottom, a.top - b.bottom}));
  return dx * dx + dy * dy;
}

bool TitleBarReachable(const std::vector<Rect>& work_areas, const Box& window, int title_bar_height) {
  const Box bar{window.left, window.top, window.right, window.top + std::max(title_bar_height, 1)};
  const std::int64_t need_width =
      std::min<std::int64_t>(kReachableTitleBar.width, std::max<std::int64_t>(bar.width(), 1));
  const std::int64_t need_height = std::min<std::int64_t>(kReachableTitleBar.height, bar.height());
  return std::any_of(work_areas.begin(), work_areas.end(), [&](const Rect& area) {
    const Box piece = Intersection(bar, BoxOf(area));
    return piece.width() >= need_width && piece.height() >= need_height;
  });
}

const Rect& NearestArea(const std::vector<Rect>& work_areas, const Box& window) {
  const Rect* best = &work_areas.front();
  std::int64_t best_overlap = -1;
  double best_distance = std::numeric_limits<double>::infinity();
  for (const Rect& area : work_areas) {
    const std::int64_t overlap = OverlapArea(BoxOf(area), window);
    const double distance = overlap > 0 ? 0 : SquaredDistance(BoxOf(area), window);
    if (overlap > best_overlap || (overlap == 0 && best_overlap == 0 && distance < best_distance)) {
      best = &area;
      best_overlap = overlap;
      best_distance = distance;
    }
  }
  return *best;
}

// The start of a span of `length` moved by the least that puts it inside [low, high), or `low`
// when it is longer.
int Within(std::int64_t start, std::int64_t length, int low, int high) {
  if (length >= std::int64_t{high} - low) return low;
  return static_cast<int>(std::clamp<std::int64_t>(start, low, high - length));
}

}  // namespace

Point ReachablePlace(const std::vector<Rect>& work_areas, Point origin, Size size, int title_bar_height) {
  const Box window{origin.x, origin.y, std::int64_t{origin.x} + std::max(size.width, 0),
                   std::int64_t{origin.y} + std::max(size.height, 0)};
  if (work_areas.empty() || TitleBarReachable(work_areas, window, title_bar_height)) return origin;
  const Rect& area = NearestArea(work_areas, window);
  return {Within(window.left, window.width(), area.left, area.right),
          Within(window.top, window.height(), area.top, area.bottom)};
}

}  // namespace tessmoor
