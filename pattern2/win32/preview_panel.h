#pragma once
#include <string>

#include "pattern2/preview_panels.h"
#include "platform/win32/window.h"

namespace tessmoor::pattern2 {

// `Form2No<n>PreviewPanel`: a raised panel in its colour with its caption centred, a child of the
// preview form. It takes no input; its bounds are set by the preview's motion.
class PreviewPanel : public win32::Window {
 public:
  // `font` is borrowed from the form and must outlive the panel.
  PreviewPanel(HWND form, const PanelDesign& design, HFONT font);

  // The caption is centred, so a new size moves it: the whole face is drawn again.
  void SetBounds(Position position, Size size) { SetBoundsAndRepaint(BoundsOf(position, size), false); }

 protected:
  void OnPaint(HDC dc, const RECT& area) override;

 private:
  static RECT BoundsOf(Position position, Size size);

  Rgb colour_;
  HFONT font_;
  std::wstring caption_;
};

}  // namespace tessmoor::pattern2
