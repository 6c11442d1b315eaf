#include "pattern2/win32/preview_panel.h"

#include "pattern2/win32/panel_face.h"
#include "platform/win32/utf.h"

namespace tessmoor::pattern2 {

PreviewPanel::PreviewPanel(HWND form, const PanelDesign& design, HFONT font)
    : colour_(design.colour),
      font_(font),
      caption_(win32::Widen(design.caption)) {
  Create(win32::WindowParams::Child(form, BoundsOf(design.position, design.size), caption_));
}

RECT PreviewPanel::BoundsOf(Position position, Size size) {
  return {position.left, position.top, position.left + size.width, position.top + size.height};
}

void PreviewPanel::OnPaint(HDC dc, const RECT&) {
  RECT client{};
  GetClientRect(hwnd(), &client);
  DrawPanelFace(dc, client, colour_, font_, caption_);
}

}  // namespace tessmoor::pattern2
