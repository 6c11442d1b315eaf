#pragma once
#include <windows.h>

#include <cstdint>

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
  // A move that would end the show ends it only if no change of the monitors is heard of within
  // a moment (ExitOnInput::kConfirmMoveMs): the system moves the mouse itself then.
  void FormMouseMove(POINT screen);
  // The monitors changed now: mouse positions reported for a moment are the system's.
  void MonitorsChanged() { exit_.MonitorsChanged(Now()); }
  // Whether the monitors are no longer those the show covers (and the show sets about covering
  // them); a window that covers none has nothing to tell.
  virtual bool MonitorsChangedUnheard() { return false; }
  // The derived window's OnTimer hands every timer here first; true when it was this one's.
  bool OnConfirmMoveTimer(UINT_PTR id);

  void OnKeyDown(WPARAM) override { FormKeyDown(); }
  void OnMouseDown(POINT) override { FormMouseDown(); }
  void OnMouseMove(POINT screen) override { FormMouseMove(screen); }

 private:
  static constexpr UINT_PTR kConfirmMoveTimer = 0x7E10;
  static std::int64_t Now() { return static_cast<std::int64_t>(GetTickCount64()); }

  HWND preview_parent_ = nullptr;
  ExitOnInput exit_{false};
  // A move that would end the show waits for its confirmation.
  bool confirming_ = false;
  int changes_before_ = 0;
};

}  // namespace tessmoor
