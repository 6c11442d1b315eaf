#include "show/monitors.h"

#include <algorithm>

namespace tessmoor {

namespace {
bool Overlap(const Rect& a, const Rect& b) {
  return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

long long OverlapArea(const Rect& a, const Rect& b) {
  if (!Overlap(a, b)) return 0;
  const long long w = std::min(a.right, b.right) - std::max(a.left, b.left);
  const long long h = std::min(a.bottom, b.bottom) - std::max(a.top, b.top);
  return w * h;
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

std::vector<Rect> MonitorsToCover(const std::vector<MonitorArea>& monitors) {
  if (monitors.empty()) return {};
  std::vector<MonitorArea> marked = monitors;
  auto primary = std::find_if(marked.begin(), marked.end(), [](const MonitorArea& m) { return m.primary; });
  if (primary == marked.end()) primary = marked.begin();
  // Only one primary: a second one marked so is covered like any other monitor.
  for (MonitorArea& m : marked) m.primary = &m == &*primary;
  std::vector<Rect> others = MonitorsToBlank(marked);
  std::stable_sort(others.begin(), others.end(), [](const Rect& a, const Rect& b) {
    return a.left != b.left ? a.left < b.left : a.top < b.top;
  });
  std::vector<Rect> covered{primary->bounds};
  covered.insert(covered.end(), others.begin(), others.end());
  return covered;
}

CoverPlan PlanCover(const std::vector<Rect>& covered, const std::vector<Rect>& wanted) {
  CoverPlan plan;
  std::vector<bool> window_done(covered.size(), false);
  std::vector<bool> monitor_done(wanted.size(), false);
  for (std::size_t w = 0; w < covered.size(); ++w) {
    for (std::size_t m = 0; m < wanted.size(); ++m) {
      if (monitor_done[m] || covered[w] != wanted[m]) continue;
      plan.keep.push_back({static_cast<int>(w), static_cast<int>(m)});
      window_done[w] = monitor_done[m] = true;
      break;
    }
  }
  for (;;) {
    long long best_area = 0;
    std::size_t best_w = 0, best_m = 0;
    for (std::size_t w = 0; w < covered.size(); ++w) {
      for (std::size_t m = 0; m < wanted.size(); ++m) {
        if (window_done[w] || monitor_done[m]) continue;
        const long long area = OverlapArea(covered[w], wanted[m]);
        if (area > best_area) {
          best_area = area;
          best_w = w;
          best_m = m;
        }
      }
    }
    if (best_area == 0) break;
    plan.move.push_back({static_cast<int>(best_w), static_cast<int>(best_m)});
    window_done[best_w] = monitor_done[best_m] = true;
  }
  for (std::size_t w = 0; w < covered.size(); ++w)
    if (!window_done[w]) plan.close.push_back(static_cast<int>(w));
  for (std::size_t m = 0; m < wanted.size(); ++m)
    if (!monitor_done[m]) plan.open.push_back(static_cast<int>(m));
  return plan;
}

}  // namespace tessmoor
