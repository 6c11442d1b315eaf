#include "platform/win32/form.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "platform/win32/utf.h"

namespace tessmoor::win32 {

namespace {
std::vector<HWND>& DialogWindows() {
  static std::vector<HWND> windows;
  return windows;
}
}  // namespace

void RegisterDialogWindow(HWND hwnd) { DialogWindows().push_back(hwnd); }

void UnregisterDialogWindow(HWND hwnd) {
  auto& w = DialogWindows();
  w.erase(std::remove(w.begin(), w.end(), hwnd), w.end());
}

bool HandleDialogMessage(MSG& msg) {
  for (HWND hwnd : DialogWindows())
    if ((hwnd == msg.hwnd || IsChild(hwnd, msg.hwnd)) && IsDialogMessageW(hwnd, &msg)) return true;
  return false;
}

void Form::CreateForm(const FormDesign& design, HWND owner) {
  InitCommonControlsOnce();
  DWORD style = WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
  if (design.title_buttons == TitleButtons::kNormal) style |= WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
  const DWORD ex_style = WS_EX_CONTROLPARENT | WS_EX_DLGMODALFRAME | (design.top_most ? WS_EX_TOPMOST : 0);
  design_ = design;
  scale_ = DpiScale::ForSystem();
  WindowParams ws;
  ws.title = Widen(design.caption);
  ws.style = style;
  ws.ex_style = ex_style;
  ws.parent = owner;
  ws.x = design.left;
  ws.y = design.top;
  ws.width = scale_(design.width);
  ws.height = scale_(design.height);
  ws.background = GetSysColorBrush(COLOR_BTNFACE);
  ws.cursor = LoadCursorW(nullptr, IDC_ARROW);
  Create(ws);
  // The DPI of the monitor the window landed on may differ from the system's.
  scale_ = DpiScale::ForWindow(hwnd());
  SetWindowPos(hwnd(), nullptr, 0, 0, scale_(design.width), scale_(design.height),
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  font_ = MakeUiFont(design.font.height_px, scale_);
  SendMessageW(hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
  RegisterDialogWindow(hwnd());
}

RECT Form::ScreenRect() const {
  RECT r{};
  GetWindowRect(hwnd(), &r);
  return r;
}

Point Form::ScreenOrigin() const {
  const RECT r = ScreenRect();
  return {r.left, r.top};
}

void Form::MoveTo(int left, int top) const {
  SetWindowPos(hwnd(), nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Form::Rescale(int dpi, const RECT* window_rect) {
  scale_ = DpiScale(dpi);
  const UniqueFont old_font = std::exchange(font_, MakeUiFont(design_.font.height_px, scale_));
  SendMessageW(hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
  OnRescale();
  RECT r = ScreenRect();
  if (window_rect) {
    r = *window_rect;
  } else {
    r.right = r.left + scale_(design_.width);
    r.bottom = r.top + scale_(design_.height);
  }
  SetWindowPos(hwnd(), nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE);
  InvalidateRect(hwnd(), nullptr, TRUE);
}

void Form::ShowTopMost() const {
  SetWindowPos(hwnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
}

LRESULT Form::OnMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_COMMAND:
      OnCommand(LOWORD(wparam), HIWORD(wparam), reinterpret_cast<HWND>(lparam));
      return 0;
    case WM_HSCROLL:
    case WM_VSCROLL:
      OnScroll(reinterpret_cast<HWND>(lparam), LOWORD(wparam), static_cast<short>(HIWORD(wparam)));
      return 0;
    case WM_NOTIFY:
      return OnNotify(*reinterpret_cast<const NMHDR*>(lparam));
    case WM_CLOSE:
      OnCloseRequest();
      return 0;
    case WM_DPICHANGED:
      // The system suggests where the window goes at its new DPI: take it.
      Rescale(LOWORD(wparam), reinterpret_cast<const RECT*>(lparam));
      return 0;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
      SetBkColor(reinterpret_cast<HDC>(wparam), GetSysColor(COLOR_BTNFACE));
      return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    default:
      return DefaultProc(message, wparam, lparam);
  }
}

}  // namespace tessmoor::win32
