#pragma once
#include <functional>
#include <optional>

#include "platform/image/picture.h"
#include "platform/win32/window.h"

namespace tessmoor::win32 {

// A child control that shows one picture. The picture is drawn from the control's top-left
// corner: kShrinkToFit scales a larger picture down to fit, keeping its aspect ratio, and draws a
// smaller one at its own size; kFit also enlarges smaller pictures; kStretch fills the control.
class PictureBox final : public Window {
 public:
  enum class Mode { kShrinkToFit, kFit, kStretch };
  PictureBox(HWND parent, int id, RECT bounds, Mode mode, COLORREF background);
  ~PictureBox() override { Destroy(); }

  void SetPicture(Picture picture);
  // Draws the picture stretched into `draw_rect` (client coordinates) whatever the mode, for
  // callers that placed it themselves.
  void SetPicture(Picture picture, const RECT& draw_rect);
  void ClearPicture();
  const std::optional<Picture>& picture() const { return picture_; }
  void SetBounds(const RECT& bounds);
  // Called when something is dropped on the control (see FileDragSource).
  std::function<void()> on_drop;

  // The rectangle the picture takes inside a control of `control` size.
  static RECT DrawRect(int picture_width, int picture_height, int control_width, int control_height,
                       Mode mode);

 protected:
  void OnPaint(HDC dc, const RECT& area) override;

 private:
  Mode mode_;
  COLORREF background_;
  std::optional<Picture> picture_;
  std::optional<RECT> draw_rect_;
};

}  // namespace tessmoor::win32
