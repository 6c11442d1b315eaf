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

  void SetBounds(Position position, Size size);

 protected:
  void OnPaint(HDC dc, const RECT& area) override;

 private:
  Rgb colour_;
  HFONT font_;
  std::wstring caption_;
};

}  // namespace tessmoor::pattern2
