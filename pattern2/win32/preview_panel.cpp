#include "pattern2/win32/preview_panel.h"

#include "pattern2/win32/panel_face.h"
#include "platform/win32/utf.h"

namespace tessmoor::pattern2 {

PreviewPanel::PreviewPanel(HWND form, const PanelDesign& design, HFONT font)
    : colour_(design.colour),
      font_(font),
      caption_(win32::Widen(design.caption)) {
  win32::WindowSpec params;
  params.title = caption_;
  params.style = WS_CHILD | WS_VISIBLE;
  params.parent = form;
  params.x = design.position.left;
  params.y = design.position.top;
  params.width = design.size.width;
  params.height = design.size.height;
  params.cursor = LoadCursorW(nullptr, IDC_ARROW);
  Create(params);
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
