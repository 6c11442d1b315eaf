#pragma once
#include <windows.h>

#include "platform/canvas.h"
#include "platform/win32/handles.h"

namespace tessmoor::win32 {

// Draws into an off-screen copy of the window's client area and copies each change to the
// window at once; Paint puts the copy back when the window is uncovered.
class GdiCanvas final : public Canvas {
 public:
  GdiCanvas() = default;
  GdiCanvas(const GdiCanvas&) = delete;
  GdiCanvas& operator=(const GdiCanvas&) = delete;
  ~GdiCanvas() override { Release(); }
  // (Re)creates the copy for a window of that client size, black.
  void Attach(HWND hwnd, int width, int height);

  int ClientWidth() const override { return width_; }
  int ClientHeight() const override { return height_; }
  void Clear() override;
  void StretchDraw(const Rect& rect, const Picture& picture) override;

  void Paint(HDC dc, const RECT& area) const;

 private:
  // A bitmap still selected into a DC cannot be deleted: put the DC's own back first.
  void Release();
  void Present(const RECT& area) const;

  HWND hwnd_ = nullptr;
  int width_ = 0;
  int height_ = 0;
  UniqueMemoryDc memory_dc_;
  UniqueBitmap bitmap_;
  HGDIOBJ original_bitmap_ = nullptr;
};

// Draws a picture scaled into a rectangle of `dc` with the halftone filter.
void DrawPicture(HDC dc, const RECT& rect, const Picture& picture);

}  // namespace tessmoor::win32
