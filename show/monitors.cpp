#include "show/monitors.h"

#include <algorithm>

namespace tessmoor {

namespace {
bool Overlap(const Rect& a, const Rect& b) {
  return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}
}  // namespace

std::vector<Rect> MonitorsToBlank(const std::vector<MonitorArea>& monitors) {
  std::vector<Rect> primaries;
  for (const MonitorArea& m : monitors)
    if (m.primary) primaries.push_back(m.bounds);
  std::vector<Rect> blank;
  for (const MonitorArea& m : monitors) {
    if (m.primary || m.bounds.width() <= 0 || m.bounds.height() <= 0) continue;
    const bool over_primary = std::any_of(primaries.begin(), primaries.end(),
                                          [&](const Rect& p) { return Overlap(p, m.bounds); });
    const bool again = std::find(blank.begin(), blank.end(), m.bounds) != blank.end();
    if (!over_primary && !again) blank.push_back(m.bounds);
  }
  return blank;
}

}  // namespace tessmoor
