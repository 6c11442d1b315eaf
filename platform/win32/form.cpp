#include "platform/win32/form.h"

#include <algorithm>
#include <vector>

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

Form::~Form() {
  if (hwnd()) UnregisterDialogWindow(hwnd());
  Destroy();
}

void Form::CreateForm(const FormSpec& params) {
  InitCommonControlsOnce();
  scale_ = DpiScale::ForSystem();
  const DWORD style = WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
  const DWORD ex_style = WS_EX_CONTROLPARENT | WS_EX_DLGMODALFRAME | (params.topmost ? WS_EX_TOPMOST : 0);
  RECT r{0, 0, scale_(params.client_width), scale_(params.client_height)};
  AdjustWindowRectEx(&r, style, params.menu_bar ? TRUE : FALSE, ex_style);
  WindowSpec ws;
  ws.title = params.caption;
  ws.style = style;
  ws.ex_style = ex_style;
  ws.parent = params.owner;
  ws.x = params.left;
  ws.y = params.top;
  ws.width = r.right - r.left;
  ws.height = r.bottom - r.top;
  ws.background = GetSysColorBrush(COLOR_BTNFACE);
  ws.cursor = LoadCursorW(nullptr, IDC_ARROW);
  Create(ws);
  // The DPI of the monitor the window landed on may differ from the system's.
  scale_ = DpiScale::ForWindow(hwnd());
  font_ = MakeUiFont(params.font_pixels, scale_);
  SendMessageW(hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
  RegisterDialogWindow(hwnd());
}

RECT Form::ScreenRect() const {
  RECT r{};
  GetWindowRect(hwnd(), &r);
  return r;
}

void Form::MoveTo(int left, int top) const {
  SetWindowPos(hwnd(), nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

HWND Form::AddControl(const wchar_t* window_class, std::wstring_view text, DWORD style,
                      ControlBounds bounds, int id, DWORD ex_style) {
  return CreateControl(hwnd(), window_class, text, style, bounds, id, scale_, font_.get(), ex_style);
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
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
      SetBkColor(reinterpret_cast<HDC>(wparam), GetSysColor(COLOR_BTNFACE));
      return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    default:
      return DefaultProc(message, wparam, lparam);
  }
}

}  // namespace tessmoor::win32
