#include "pattern2/item_size.h"

#include <algorithm>


namespace tessmoor::pattern2 {

namespace {

Size Halved(Size fitted) {
  return {std::max(0, fitted.width / 2), std::max(0, fitted.height / 2)};
}

}  // namespace

Size PictureWindowSize(Size picture, Size client, int scale_percent) {
  const int fit = FitSide(client.width, client.height, scale_percent);
  return Halved(FitPicture(picture, fit));
}

Size PanelSize(Size current, Size client, int scale_percent) {
  if (current.width <= 0 && current.height <= 0) return {};
  const int fit = FitSide(client.width, client.height, scale_percent);
  // FitPicture gives 0 x 0 for a side of 0; a panel keeps the ratio rule, in which the
  // longer side is never 0 here, so nothing divides by 0.
  if (current.width > current.height && current.height <= 0) return Halved({fit, 0});
  if (current.width <= 0) return Halved({0, fit});
  return Halved(FitPicture(current, fit));
}

}  // namespace tessmoor::pattern2
