#include "platform/win32/gdi_canvas.h"

#include <algorithm>

#include "platform/image/picture.h"

namespace tessmoor::win32 {

void DrawPicture(HDC dc, const RECT& rect, const Picture& picture) {
  if (picture.empty()) return;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = picture.width;
  info.bmiHeader.biHeight = -picture.height;  // rows top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  const int w = rect.right - rect.left;
  const int h = rect.bottom - rect.top;
  const bool same_size = w == picture.width && h == picture.height;
  SetStretchBltMode(dc, same_size ? COLORONCOLOR : HALFTONE);
  SetBrushOrgEx(dc, 0, 0, nullptr);
  StretchDIBits(dc, rect.left, rect.top, w, h, 0, 0, picture.width, picture.height,
                picture.pixels.data(), &info, DIB_RGB_COLORS, SRCCOPY);
}

void GdiCanvas::Release() {
  if (memory_dc_ && original_bitmap_) SelectObject(memory_dc_.get(), original_bitmap_);
  original_bitmap_ = nullptr;
  bitmap_.reset();
  memory_dc_.reset();
}

void GdiCanvas::Attach(HWND hwnd, int width, int height) {
  Release();
  hwnd_ = hwnd;
  width_ = std::max(width, 0);
  height_ = std::max(height, 0);
  WindowDc window_dc(hwnd);
  memory_dc_.reset(CreateCompatibleDC(window_dc.get()));
  bitmap_.reset(CreateCompatibleBitmap(window_dc.get(), std::max(width_, 1), std::max(height_, 1)));
  original_bitmap_ = SelectObject(memory_dc_.get(), bitmap_.get());
  RECT all{0, 0, width_, height_};
  FillRect(memory_dc_.get(), &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
}

void GdiCanvas::Clear() {
  if (!memory_dc_) return;
  RECT all{0, 0, width_, height_};
  FillRect(memory_dc_.get(), &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  Present(all);
}

void GdiCanvas::StretchDraw(const Rect& rect, const Picture& picture) {
  if (!memory_dc_) return;
  const RECT r{rect.left, rect.top, rect.right, rect.bottom};
  DrawPicture(memory_dc_.get(), r, picture);
  RECT visible;
  const RECT all{0, 0, width_, height_};
  if (IntersectRect(&visible, &r, &all)) Present(visible);
}

void GdiCanvas::Present(const RECT& area) const {
  if (!hwnd_ || !IsWindow(hwnd_)) return;
  WindowDc dc(hwnd_);
  BitBlt(dc.get(), area.left, area.top, area.right - area.left, area.bottom - area.top,
         memory_dc_.get(), area.left, area.top, SRCCOPY);
}

void GdiCanvas::Paint(HDC dc, const RECT& area) const {
  if (!memory_dc_) {
    FillRect(dc, &area, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    return;
  }
  BitBlt(dc, area.left, area.top, area.right - area.left, area.bottom - area.top, memory_dc_.get(),
         area.left, area.top, SRCCOPY);
}

}  // namespace tessmoor::win32
