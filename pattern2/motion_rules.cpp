#include "pattern2/motion_rules.h"

namespace tessmoor::pattern2 {

Position StartCorner(Motion motion, int number, Size bounds, Size item) {
  const int right = bounds.width - item.width;
  const int bottom = bounds.height - item.height;
  switch (motion) {
    case Motion::kTopLeft: return {0, 0};
    case Motion::kTopRight: return {right, 0};
    case Motion::kBottomLeft: return {0, bottom};
    case Motion::kBottomRight: return {right, bottom};
    case Motion::kBounce:
      return {number == 2 || number == 4 ? right : 0, number == 3 || number == 4 ? bottom : 0};
    case Motion::kStill: break;
  }
  return {};
}

namespace {

void StepCorner(Motion motion, int number, int step, Size bounds, MovingItem& item) {
  const bool from_top = motion == Motion::kTopLeft || motion == Motion::kTopRight;
  const bool from_left = motion == Motion::kTopLeft || motion == Motion::kBottomLeft;
  Position p = item.position();
  p.top += from_top ? step : -step;
  p.left += from_left ? step : -step;
  item.MoveTo(p);
  // Only Top ends a run. From the top the item has left the screen; from the bottom it ends as
  // soon as its top edge passes above the screen, while it is still almost wholly visible.
  const bool run_over = from_top ? p.top > bounds.height : p.top < 0;
  if (!run_over) return;
  item.Renew();
  item.MoveTo(StartCorner(motion, number, bounds, item.size()));
  item.Present();
  item.AdvancePicture();
}

// A turn at the top or the left edge puts the renewed item where the old one was.
void RenewInPlace(MovingItem& item) {
  const Position kept = item.position();
  item.Renew();
  item.MoveTo(kept);
  item.Present();
  item.AdvancePicture();
}

void StepBounce(int step, Size bounds, MovingItem& item, Directions& directions) {
  if (item.position().top + item.size().height > bounds.height) {
    directions.down = false;
    item.AdvancePicture();
  } else if (item.position().top < 0) {
    RenewInPlace(item);
    directions.down = true;
  }
  // The horizontal check sees the item as it is now, a renewed one with its new size included.
  if (item.position().left + item.size().width > bounds.width) {
    directions.right = false;
    item.AdvancePicture();
  } else if (item.position().left < 0) {
    RenewInPlace(item);
    directions.right = true;
  }
  Position p = item.position();
  p.left += directions.right ? step : -step;
  p.top += directions.down ? step : -step;
  item.MoveTo(p);
}

}  // namespace

void StepMotion(Motion motion, int number, int step, Size bounds, MovingItem& item,
                Directions& directions) {
  switch (motion) {
    case Motion::kTopLeft:
    case Motion::kTopRight:
    case Motion::kBottomLeft:
    case Motion::kBottomRight:
      StepCorner(motion, number, step, bounds, item);
      return;
    case Motion::kBounce:
      StepBounce(step, bounds, item, directions);
      return;
    case Motion::kStill:
      return;
  }
}

}  // namespace tessmoor::pattern2
