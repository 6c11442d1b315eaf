#include "platform/dialog_layout.h"

#include <cstdint>
#include <cstdlib>

namespace tessmoor {

int ScaleToDpi(int value, int dpi) {
  const std::int64_t product = static_cast<std::int64_t>(value) * dpi;
  const std::int64_t magnitude = (std::llabs(product) + 48) / 96;
  return static_cast<int>(product < 0 ? -magnitude : magnitude);
}

Rect ScaleToDpi(const Rect& design, int dpi) {
  const int left = ScaleToDpi(design.left, dpi);
  const int top = ScaleToDpi(design.top, dpi);
  return {left, top, left + ScaleToDpi(design.width(), dpi), top + ScaleToDpi(design.height(), dpi)};
}

std::vector<Rect> FormPlaces(const std::vector<LayoutPlace>& places) {
  std::vector<Rect> rects;
  rects.reserve(places.size());
  for (std::size_t i = 0; i < places.size(); ++i) {
    const LayoutPlace& p = places[i];
    Point origin;
    for (std::size_t k = 0; k < i && !p.parent.empty(); ++k)
      if (places[k].name == p.parent) {
        origin = {rects[k].left, rects[k].top};
        break;
      }
    const int left = origin.x + p.x, top = origin.y + p.y;
    rects.push_back({left, top, left + p.width, top + p.height});
  }
  return rects;
}

}  // namespace tessmoor
