#pragma once
#include <windows.h>

#include "platform/win32/controls.h"

namespace tessmoor::win32 {

// A folder drawn in code, 14 × 12 at 96 DPI (16 wide when open) from (left, top): a tab and a
// body, and for an open folder a front flap lifted off it.
void DrawFolderGlyph(HDC dc, int left, int top, DpiScale s, bool open);

}  // namespace tessmoor::win32
