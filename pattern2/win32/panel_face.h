#pragma once
#include <windows.h>

#include <string>

#include "pattern2/preview_panels.h"
#include "platform/win32/handles.h"

namespace tessmoor::pattern2 {

// The face of a preview panel in `rect` of `dc`: its colour, a raised edge and the caption centred
// in the UI font. Inline and free of any window, so the end-to-end driver can draw it into a
// bitmap of its own: Wine never shows a child window's drawing inside another process's window.
inline void DrawPanelFace(HDC dc, const RECT& rect, Rgb colour, HFONT font, const std::wstring& caption) {
  RECT r = rect;
  const win32::UniqueBrush face(CreateSolidBrush(RGB(colour.red, colour.green, colour.blue)));
  FillRect(dc, &r, face.get());
  DrawEdge(dc, &r, EDGE_RAISED, BF_RECT);
  const win32::SelectScope select(dc, font);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
  DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &r,
            DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

}  // namespace tessmoor::pattern2
