#include "tests/e2e/layout_dialog_driver.h"

namespace tessmoor::e2e {

bool DialogDriver::Checked(HWND button) { return SendBounded(button, BM_GETCHECK) == BST_CHECKED; }

int DialogDriver::BarPosition(HWND bar) { return static_cast<int>(SendBounded(bar, SBM_GETPOS)); }

void DialogDriver::Click(HWND button) { SendBounded(button, BM_CLICK); }

void DialogDriver::Scroll(HWND bar, int code, int position) const {
  SendBounded(dialog_, WM_HSCROLL, MAKEWPARAM(code, position), reinterpret_cast<LPARAM>(bar));
  SendBounded(dialog_, WM_HSCROLL, MAKEWPARAM(SB_ENDSCROLL, 0), reinterpret_cast<LPARAM>(bar));
}

void DialogDriver::ArrowRight(HWND bar) const { Scroll(bar, SB_LINERIGHT, 0); }
void DialogDriver::ArrowLeft(HWND bar) const { Scroll(bar, SB_LINELEFT, 0); }
void DialogDriver::ThumbTo(HWND bar, int position) const { Scroll(bar, SB_THUMBPOSITION, position); }

void DialogDriver::ThumbTrack(HWND bar, int position) const {
  SendBounded(dialog_, WM_HSCROLL, MAKEWPARAM(SB_THUMBTRACK, position), reinterpret_cast<LPARAM>(bar));
}

Point DialogDriver::Origin() const {
  const RECT r = WindowRectOf(dialog_);
  return {r.left, r.top};
}

void DialogDriver::MoveTo(int x, int y) const {
  SetWindowPos(dialog_, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void DialogDriver::PressCloseBox() const { PostMessageW(dialog_, WM_SYSCOMMAND, SC_CLOSE, 0); }

bool DialogDriver::WaitClosed() const {
  return WaitUntil([&] { return !IsWindowVisible(dialog_); }, kDialogOpen);
}

}  // namespace tessmoor::e2e
