#include "platform/win32/picture_box.h"

#include <algorithm>

#include "platform/picture_rect.h"
#include "platform/win32/folder_glyph.h"
#include "platform/win32/gdi_canvas.h"

namespace tessmoor::win32 {

PictureBox::PictureBox(HWND parent, int id, RECT bounds, bool enlarge, COLORREF background)
    : enlarge_(enlarge), background_(CreateSolidBrush(background)) {
  Create(WindowParams::Child(parent, bounds));
  SetWindowLongPtrW(hwnd(), GWLP_ID, id);
}

void PictureBox::SetPicture(Picture picture) {
  picture_ = std::move(picture);
  design_rect_.reset();
  folder_mark_.reset();
  InvalidateRect(hwnd(), nullptr, TRUE);
}

void PictureBox::SetPicture(Picture picture, const Rect& design_rect, DpiScale scale) {
  picture_ = std::move(picture);
  design_rect_ = design_rect;
  scale_ = scale;
  folder_mark_.reset();
  InvalidateRect(hwnd(), nullptr, TRUE);
}

void PictureBox::ClearPicture() {
  picture_.reset();
  design_rect_.reset();
  folder_mark_.reset();
  InvalidateRect(hwnd(), nullptr, TRUE);
}

void PictureBox::SetFolderMark(std::wstring caption) {
  folder_mark_ = std::move(caption);
  InvalidateRect(hwnd(), nullptr, TRUE);
}

void PictureBox::DrawFolderMark(HDC dc) const {
  const DpiScale s = DpiScale::ForWindow(hwnd());
  RECT client{};
  GetClientRect(hwnd(), &client);
  // The control has no font of its own; it writes in the one of the window it sits in.
  HFONT font = reinterpret_cast<HFONT>(SendMessageW(GetParent(hwnd()), WM_GETFONT, 0, 0));
  SelectScope selected(dc, font ? static_cast<HGDIOBJ>(font) : GetStockObject(DEFAULT_GUI_FONT));
  RECT text{};
  DrawTextW(dc, folder_mark_->c_str(), -1, &text, DT_SINGLELINE | DT_NOPREFIX | DT_CALCRECT);
  const int text_width = text.right - text.left;
  const int text_height = std::max<int>(text.bottom - text.top, s(12));
  // The glyph beside the caption, or above it in a control too narrow for both in a row (the box
  // of a tall picture).
  const bool row = s(22) + text_width <= client.right;
  const int width = row ? s(22) + text_width : std::max(s(17), text_width + s(6));
  const int height = row ? text_height + s(4) : s(14) + text_height + s(2);
  const RECT plate{client.left, client.bottom - height, client.left + width, client.bottom};
  FillRect(dc, &plate, GetSysColorBrush(COLOR_WINDOW));
  FrameRect(dc, &plate, GetSysColorBrush(COLOR_BTNSHADOW));
  DrawFolderGlyph(dc, plate.left + s(3), row ? plate.top + (height - s(12)) / 2 : plate.top + s(2), s, false);
  RECT caption = row ? RECT{plate.left + s(20), plate.top, plate.right, plate.bottom}
                     : RECT{plate.left + s(3), plate.top + s(14), plate.right, plate.bottom};
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
  DrawTextW(dc, folder_mark_->c_str(), -1, &caption, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
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
  if (picture_) DrawPictureIn(dc);
  if (folder_mark_) DrawFolderMark(dc);
}

void PictureBox::DrawPictureIn(HDC dc) const {
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
