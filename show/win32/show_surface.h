#pragma once
#include <windows.h>

#include "platform/win32/window.h"
#include "show/exit_on_input.h"

namespace tessmoor {

// The window a show or a preview runs in. Inside the host's preview window it is a child of the
// parent's size that input does not end; without a parent it is borderless and top-most over the
// primary monitor, hides the cursor, and any key, button or second mouse position ends it.
class ShowSurface : public win32::Window {
 public:
  void Close() { Destroy(); }

 protected:
  // `preview_parent` is the host's preview window, or nullptr for full screen. `background`
  // null: the window paints its whole client area itself.
  void CreateSurface(const wchar_t* title, HWND preview_parent, HBRUSH background, DWORD extra_style);
  // Shows the window; in full screen it is also made active and given the keyboard.
  void ShowOnScreen();
  bool full_screen() const { return preview_parent_ == nullptr; }

  // The form's input, which the windows over other monitors pass on as well.
  void FormKeyDown() {
    if (exit_.OnKey()) Close();
  }
  void FormMouseDown() {
    if (exit_.OnMouseDown()) Close();
  }
  void FormMouseMove(POINT screen) {
    if (exit_.OnMouseMove(screen.x, screen.y)) Close();
  }

  void OnKeyDown(WPARAM) override { FormKeyDown(); }
  void OnMouseDown(POINT) override { FormMouseDown(); }
  void OnMouseMove(POINT screen) override { FormMouseMove(screen); }

 private:
  HWND preview_parent_ = nullptr;
  ExitOnInput exit_{false};
};

}  // namespace tessmoor
