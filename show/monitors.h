#pragma once
#include <vector>

#include "show/fit.h"

namespace tessmoor {

struct MonitorArea {
  Rect bounds;
  bool primary = false;
};

// The monitors the show covers with black windows of their own: every monitor but the primary
// one, leaving out those that overlap it (mirrored screens report the primary's area again) and
// duplicates of one already covered.
std::vector<Rect> MonitorsToBlank(const std::vector<MonitorArea>& monitors);

}  // namespace tessmoor
