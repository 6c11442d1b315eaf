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

// The monitors the show covers, in the order the show counts them: the primary first (the first
// one marked primary, else the first one), then those of MonitorsToBlank from left to right and,
// at the same left edge, from top to bottom. The order follows the desk rather than the order the
// system lists the monitors in, which may change when one is plugged in. Empty for no monitor.
std::vector<Rect> MonitorsToCover(const std::vector<MonitorArea>& monitors);

// How the windows over the monitors beside the primary follow a new layout. `covered` are the
// areas the windows cover now, `wanted` those they must cover; the result refers to both by index.
struct CoverPlan {
  struct Pair {
    int window;   // index into `covered`
    int monitor;  // index into `wanted`
    friend bool operator==(const Pair&, const Pair&) = default;
  };
  std::vector<Pair> keep;   // the same area
  std::vector<Pair> move;   // a monitor that changed size or place: the window (and what it shows) follows
  std::vector<int> open;    // monitors without a window yet
  std::vector<int> close;   // windows over a monitor that is gone
};
// Windows stay where a monitor still has their exact area; then a window goes to the remaining
// monitor it overlaps most (a monitor set to another resolution keeps its top-left corner or part
// of its area); the rest are closed, and the monitors left over get new windows.
CoverPlan PlanCover(const std::vector<Rect>& covered, const std::vector<Rect>& wanted);

}  // namespace tessmoor
