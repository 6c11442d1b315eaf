#include "platform/win32/picture_box.h"

#include "platform/win32/gdi_canvas.h"

namespace tessmoor::win32 {

PictureBox::PictureBox(HWND parent, int id, RECT bounds, Mode mode, COLORREF background)
    : mode_(mode), background_(background) {
  WindowSpec params;
  params.title = L"";
  params.style = WS_CHILD | WS_VISIBLE;
  params.parent = parent;
  params.x = bounds.left;
  params.y = bounds.top;
  params.width = bounds.right - bounds.left;
  params.height = bounds.bottom - bounds.top;
  params.cursor = LoadCursorW(nullptr, IDC_ARROW);
  Create(params);
  SetWindowLongPtrW(hwnd(), GWLP_ID, id);
}

void PictureBox::SetPicture(Picture picture) {
  picture_ = std::move(picture);
  draw_rect_.reset();
  InvalidateRect(hwnd(), nullptr, TRUE);
}

void PictureBox::SetPicture(Picture picture, const RECT& draw_rect) {
  picture_ = std::move(picture);
  draw_rect_ = draw_rect;
  InvalidateRect(hwnd(), nullptr, TRUE);
}

void PictureBox::ClearPicture() {
  picture_.reset();
  draw_rect_.reset();
  InvalidateRect(hwnd(), nullptr, TRUE);
}

void PictureBox::SetBounds(const RECT& bounds) {
  SetWindowPos(hwnd(), nullptr, bounds.left, bounds.top, bounds.right - bounds.left,
               bounds.bottom - bounds.top, SWP_NOZORDER | SWP_NOACTIVATE);
  InvalidateRect(hwnd(), nullptr, TRUE);
}

RECT PictureBox::DrawRect(int pw, int ph, int cw, int ch, Mode mode) {
  if (pw <= 0 || ph <= 0) return {0, 0, 0, 0};
  if (mode == Mode::kStretch) return {0, 0, cw, ch};
  const bool larger = pw > cw || ph > ch;
  if (!larger && mode == Mode::kShrinkToFit) return {0, 0, pw, ph};
  // Scale by the tighter of the two sides, keeping the aspect ratio.
  const long long by_width = static_cast<long long>(cw) * ph;
  const long long by_height = static_cast<long long>(ch) * pw;
  if (by_width <= by_height)
    return {0, 0, cw, static_cast<int>(by_width / pw)};
  return {0, 0, static_cast<int>(by_height / ph), ch};
}

void PictureBox::OnPaint(HDC dc, const RECT& area) {
  RECT client;
  GetClientRect(hwnd(), &client);
  HBRUSH brush = CreateSolidBrush(background_);
  FillRect(dc, &area, brush);
  DeleteObject(brush);
  if (!picture_) return;
  // Pictures are decoded no larger than their source, so the decoded size is the own size here.
  const RECT r = draw_rect_ ? *draw_rect_
                            : DrawRect(picture_->width, picture_->height, client.right, client.bottom, mode_);
  DrawPicture(dc, r, *picture_);
}

}  // namespace tessmoor::win32
