#include "pattern2/win32/no2_form_no.h"

#include <algorithm>
#include <string>

#include "platform/image/picture.h"
#include "platform/win32/gdi_canvas.h"

namespace tessmoor::pattern2 {

TNo2FormNo::TNo2FormNo(int number, HWND owner, std::function<void()> close_show)
    : number_(number), owner_(owner), close_show_(std::move(close_show)) {}

void TNo2FormNo::Create(const Picture& picture, Size size) {
  picture_ = &picture;
  width_ = std::max(size.width, 0);
  height_ = std::max(size.height, 0);
  if (!alive()) {
    win32::WindowParams params;
    params.title = L"No2FormNo" + std::to_wstring(number_);
    params.style = WS_POPUP;
    // A tool window: never a taskbar button or an Alt+Tab entry of its own.
    params.ex_style = WS_EX_TOPMOST | WS_EX_TOOLWINDOW;
    params.parent = owner_;
    params.x = left_;
    params.y = top_;
    params.width = width_;
    params.height = height_;
    params.cursor = nullptr;  // hidden, as over the show window
    Window::Create(params);
    return;
  }
  // Hidden by Close: the new size and the picture show together at the next Show.
  SetWindowPos(hwnd(), nullptr, 0, 0, width_, height_,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
  InvalidateRect(hwnd(), nullptr, FALSE);
}

void TNo2FormNo::SetPosition(int left, int top) {
  left_ = left;
  top_ = top;
  if (alive())
    SetWindowPos(hwnd(), nullptr, left_, top_, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TNo2FormNo::Show() {
  if (!alive()) return;
  // HWND_TOP among the top-most windows: in front of the other picture windows, above the show.
  SetWindowPos(hwnd(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
  // Active and focused, so the next key reaches this window and ends the show.
  SetForegroundWindow(hwnd());
  SetFocus(hwnd());
  UpdateWindow(hwnd());
}

void TNo2FormNo::Close() {
  if (!alive()) return;
  SetWindowPos(hwnd(), nullptr, 0, 0, 0, 0,
               SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TNo2FormNo::OnKeyDown(WPARAM) {
  if (close_show_) close_show_();
}

void TNo2FormNo::OnPaint(HDC dc, const RECT& area) {
  if (picture_ == nullptr || picture_->empty()) {
    FillRect(dc, &area, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    return;
  }
  RECT client{};
  GetClientRect(hwnd(), &client);
  win32::DrawPicture(dc, client, *picture_);
}

}  // namespace tessmoor::pattern2
