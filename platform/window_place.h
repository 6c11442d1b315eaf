#pragma once
#include <vector>

#include "platform/geometry.h"

// Where a window with a stored place opens when the monitors have changed since it was stored.
namespace tessmoor {

// How much of a title bar must lie on a monitor for the user to reach it and drag the window: a
// piece this wide and this high (or the whole bar, where the bar is smaller).
inline constexpr Size kReachableTitleBar{32, 8};

// The top-left corner at which a window of outer size `size`, asked to open at `origin`, opens,
// given the work areas of the monitors (the screen without the task bar). `title_bar_height` is
// the height of the band at the window's top by which it is dragged.
//
// A window keeps its place while some work area holds a reachable piece of its title bar
// (kReachableTitleBar): a window partly off the screen, or on a monitor left of or above the
// primary one at negative coordinates, stays where the user put it. Otherwise (the place lies on
// a monitor that has been unplugged since) it goes to the nearest work area, the way the system
// chooses the nearest monitor for a rectangle: the one it overlaps most, or, overlapping none,
// the one at the shortest distance, the first given on a tie. There it is moved by the least
// that puts it wholly inside; a window wider or higher than the area keeps its left or top edge
// on the area's, so that its title bar is on the screen. Without any work area the place stays.
Point ReachablePlace(const std::vector<Rect>& work_areas, Point origin, Size size, int title_bar_height);

}  // namespace tessmoor
