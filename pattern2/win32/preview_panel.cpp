#include "pattern2/win32/preview_panel.h"

#include "pattern2/win32/panel_face.h"
#include "platform/win32/utf.h"

namespace tessmoor::pattern2 {

PreviewPanel::PreviewPanel(HWND form, const PanelDesign& design, HFONT font)
    : colour_(design.colour),
      font_(font),
      caption_(win32::Widen(design.caption)) {
  win32::WindowSpec spec;
  spec.title = caption_;
  spec.style = WS_CHILD | WS_VISIBLE;
  spec.parent = form;
  spec.x = design.position.left;
  spec.y = design.position.top;
  spec.width = design.size.width;
  spec.height = design.size.height;
  spec.cursor = LoadCursorW(nullptr, IDC_ARROW);
  Create(spec);
}

void PreviewPanel::SetBounds(Position position, Size size) {
  if (!alive()) return;
  SetWindowPos(hwnd(), nullptr, position.left, position.top, size.width, size.height,
               SWP_NOZORDER | SWP_NOACTIVATE);
  // The caption is centred, so a new size moves it: the whole face is drawn again.
  InvalidateRect(hwnd(), nullptr, FALSE);
}

void PreviewPanel::OnPaint(HDC dc, const RECT&) {
  RECT client{};
  GetClientRect(hwnd(), &client);
  DrawPanelFace(dc, client, colour_, font_, caption_);
}

}  // namespace tessmoor::pattern2
