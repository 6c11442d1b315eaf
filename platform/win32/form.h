#pragma once
#include <string>

#include "platform/dialog_layout.h"
#include "platform/win32/controls.h"
#include "platform/win32/window.h"

namespace tessmoor::win32 {

// A dialog window: title bar with the system menu (and the minimise and maximise boxes where its
// design asks for them), the dialog background, the UI font, and its controls' notifications
// turned into typed calls. Tab and the arrow keys move between controls.
//
// The process is per-monitor DPI aware: a form moved onto a monitor of another DPI gets
// WM_DPICHANGED and lays itself out again at that DPI (Rescale), as if it had been built there.
class Form : public Window {
 public:
  DpiScale scale() const { return scale_; }
  HFONT font() const { return font_.get(); }
  // Window rectangle on the screen.
  RECT ScreenRect() const;
  Point ScreenOrigin() const;
  // Moves the top-left corner, keeping the size, the stacking order and the active window.
  void MoveTo(int left, int top) const;
  // Puts the window above all others and shows it, without moving or sizing it.
  void ShowTopMost() const;

  // Takes `dpi` as the window's DPI: the font made again, OnRescale, then the window moved and
  // sized to `window_rect` (screen coordinates), or without one to its design size at the new
  // scale from its top-left corner.
  void Rescale(int dpi, const RECT* window_rect);

 protected:
  // Creates the window, hidden, owned by `owner`: at the design's place in screen pixels, of its
  // outer size scaled by the window's DPI (the client area is what this system's frame leaves of
  // it), top-most where the design says so, with the design's font.
  void CreateForm(const FormDesign& design, HWND owner);

  virtual void OnCommand(int /*id*/, int /*code*/, HWND /*control*/) {}
  virtual void OnScroll(HWND /*bar*/, int /*code*/, int /*position*/) {}
  virtual LRESULT OnNotify(const NMHDR& /*header*/) { return 0; }
  // The close box or Alt+F4. The default destroys the window.
  virtual void OnCloseRequest() { Destroy(); }
  // The scale and the form's font have changed: the controls are laid out again at them. The old
  // font is still alive here, so that no control is left with a deleted one.
  virtual void OnRescale() {}

  LRESULT OnMessage(UINT message, WPARAM wparam, LPARAM lparam) override;

 private:
  FormDesign design_;
  DpiScale scale_;
  UniqueFont font_;
};

// Lets the message loop give dialog keys (Tab, arrows, Enter) to the active form.
void RegisterDialogWindow(HWND hwnd);
void UnregisterDialogWindow(HWND hwnd);
bool HandleDialogMessage(MSG& msg);

}  // namespace tessmoor::win32
