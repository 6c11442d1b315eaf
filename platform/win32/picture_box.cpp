#include "platform/win32/picture_box.h"

#include "platform/picture_rect.h"
#include "platform/win32/gdi_canvas.h"

namespace tessmoor::win32 {

PictureBox::PictureBox(HWND parent, int id, RECT bounds, bool enlarge, COLORREF background)
    : enlarge_(enlarge), background_(CreateSolidBrush(background)) {
  Create(WindowSpec::Child(parent, bounds));
  SetWindowLongPtrW(hwnd(), GWLP_ID, id);
}

void PictureBox::SetPicture(Picture picture) {
  picture_ = std::move(picture);
  design_rect_.reset();
  InvalidateRect(hwnd(), nullptr, TRUE);
}

void PictureBox::SetPicture(Picture picture, const Rect& design_rect, DpiScale scale) {
  picture_ = std::move(picture);
  design_rect_ = design_rect;
  scale_ = scale;
  InvalidateRect(hwnd(), nullptr, TRUE);
}

void PictureBox::ClearPicture() {
  picture_.reset();
  design_rect_.reset();
  InvalidateRect(hwnd(), nullptr, TRUE);
}

void PictureBox::Rescale(DpiScale scale) {
  scale_ = scale;
  InvalidateRect(hwnd(), nullptr, TRUE);
}

void PictureBox::SetLook(bool enlarge, COLORREF background) {
  enlarge_ = enlarge;
  background_.reset(CreateSolidBrush(background));
  InvalidateRect(hwnd(), nullptr, TRUE);
}

void PictureBox::OnPaint(HDC dc, const RECT& area) {
  FillRect(dc, &area, background_.get());
  if (!picture_) return;
  RECT r{};
  if (design_rect_) {
    // Each edge scaled on its own, as the caller placed the control's own edges.
    r = scale_(RECT{design_rect_->left, design_rect_->top, design_rect_->right, design_rect_->bottom});
  } else {
    RECT client{};
    GetClientRect(hwnd(), &client);
    // Pictures are decoded no larger than their source, so the decoded size is the own size here.
    const Rect drawn =
        PictureDrawRect({client.right, client.bottom}, {picture_->width, picture_->height}, enlarge_);
    r = {drawn.left, drawn.top, drawn.right, drawn.bottom};
  }
  DrawPicture(dc, r, *picture_);
}

}  // namespace tessmoor::win32
