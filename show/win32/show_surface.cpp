#include "show/win32/show_surface.h"

namespace tessmoor {

void ShowSurface::CreateSurface(const wchar_t* title, HWND preview_parent, HBRUSH background,
                                DWORD extra_style) {
  preview_parent_ = preview_parent;
  win32::WindowParams params;
  params.title = title;
  params.x = 0;
  params.y = 0;
  params.background = background;
  if (preview_parent_) {
    RECT parent{};
    GetWindowRect(preview_parent_, &parent);
    params.style = WS_CHILD | extra_style;
    params.parent = preview_parent_;
    params.width = parent.right - parent.left;
    params.height = parent.bottom - parent.top;
    params.cursor = LoadCursorW(nullptr, IDC_ARROW);
  } else {
    params.style = WS_POPUP | extra_style;
    params.ex_style = WS_EX_TOPMOST;
    params.width = GetSystemMetrics(SM_CXSCREEN);
    params.height = GetSystemMetrics(SM_CYSCREEN);
    params.cursor = nullptr;  // hidden over the show
  }
  Create(params);
  exit_ = ExitOnInput(full_screen());
}

void ShowSurface::FormMouseMove(POINT screen) {
  if (confirming_ || !exit_.OnMouseMove(screen.x, screen.y, Now())) return;
  confirming_ = true;
  changes_before_ = exit_.changes();
  SetTimerInterval(kConfirmMoveTimer, ExitOnInput::kConfirmMoveMs);
}

bool ShowSurface::OnConfirmMoveTimer(UINT_PTR id) {
  if (id != kConfirmMoveTimer) return false;
  SetTimerInterval(kConfirmMoveTimer, 0);
  confirming_ = false;
  if (exit_.changes() != changes_before_) return true;  // heard of, and settled
  if (MonitorsChangedUnheard()) {
    MonitorsChanged();
    return true;
  }
  Close();
  return true;
}

void ShowSurface::ShowOnScreen() {
  ShowWindow(hwnd(), full_screen() ? SW_SHOW : SW_SHOWNA);
  if (full_screen()) {
    SetForegroundWindow(hwnd());
    SetFocus(hwnd());
  }
  UpdateWindow(hwnd());
}

}  // namespace tessmoor
