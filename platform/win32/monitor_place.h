#pragma once
#include <windows.h>

namespace tessmoor::win32 {

// Where `window` goes when asked to open at (x, y): there, unless no monitor attached now would
// show its title bar, then onto the nearest monitor (ReachablePlace over their work areas).
POINT ReachablePlaceOf(HWND window, int x, int y);

}  // namespace tessmoor::win32
