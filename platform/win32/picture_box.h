#pragma once
#include <functional>
#include <optional>
#include <string>

#include "platform/geometry.h"
#include "platform/image/picture.h"
#include "platform/win32/controls.h"
#include "platform/win32/handles.h"
#include "platform/win32/window.h"

namespace tessmoor::win32 {

// A child control that shows one picture, from its top-left corner by PictureDrawRect: a larger
// picture is shrunk to fit keeping its aspect ratio, a smaller one keeps its own size unless the
// control enlarges.
class PictureBox : public Window {
 public:
  PictureBox(HWND parent, int id, RECT bounds, bool enlarge, COLORREF background);

  void SetPicture(Picture picture);
  // Draws the picture stretched into `design_rect` (client coordinates at 96 DPI) scaled by
  // `scale`, for callers that placed it themselves.
  void SetPicture(Picture picture, const Rect& design_rect, DpiScale scale);
  void ClearPicture();
  // A folder glyph and `caption` in a plate at the bottom-left corner, over the picture or the
  // empty control. SetPicture and ClearPicture take it away.
  void SetFolderMark(std::wstring caption);
  const std::optional<Picture>& picture() const { return picture_; }
  void SetBounds(const RECT& bounds) { SetBoundsAndRepaint(bounds, true); }
  void SetLook(bool enlarge, COLORREF background);
  // The window's DPI changed: a picture placed by its caller is drawn at the new scale.
  void Rescale(DpiScale scale);

 protected:
  void OnPaint(HDC dc, const RECT& area) override;

 private:
  void DrawPictureIn(HDC dc) const;
  void DrawFolderMark(HDC dc) const;

  bool enlarge_;
  UniqueBrush background_;
  std::optional<Picture> picture_;
  std::optional<Rect> design_rect_;
  std::optional<std::wstring> folder_mark_;
  DpiScale scale_;
};

}  // namespace tessmoor::win32
