#include "platform/win32/window.h"

#include <windowsx.h>

#include "platform/user_error.h"
#include "platform/win32/form.h"
#include "platform/win32/system_message.h"

namespace tessmoor::win32 {

namespace {

constexpr const wchar_t* kClassName = L"TessmoorWindow";

void RegisterClassOnce(WNDPROC proc) {
  static const bool registered = [proc] {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = nullptr;
    wc.hIcon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1));
    wc.lpszClassName = kClassName;
    return RegisterClassExW(&wc) != 0;
  }();
  if (!registered) throw UserError(FailureMessage("ウィンドウ クラスを登録", {}));
}

// Per-window data kept beside the window: given to CreateWindowEx on the stack, copied to the
// heap when the window is made and freed when it is destroyed.
struct WindowData {
  Window* window;
  HBRUSH background;
  HCURSOR cursor;
};

}  // namespace

Window::~Window() {
  // Only when T's constructor threw after the window was made: T is gone, so nothing of it may
  // handle the messages of the window's end.
  if (!hwnd_) return;
  if (auto* data = reinterpret_cast<WindowData*>(GetWindowLongPtrW(hwnd_.get(), GWLP_USERDATA)))
    data->window = nullptr;
  hwnd_.reset();
}

void Window::Create(const WindowParams& params) {
  RegisterClassOnce(&Window::Proc);
  WindowData context{this, params.background, params.cursor};
  HWND hwnd = CreateWindowExW(params.ex_style, kClassName, params.title.c_str(), params.style, params.x, params.y,
                              params.width, params.height, params.parent, nullptr, GetModuleHandleW(nullptr),
                              &context);
  if (!hwnd) throw UserError(FailureMessage("ウィンドウを作成", SystemErrorText(GetLastError())));
}

void Window::SetTimerInterval(UINT_PTR id, int interval_ms) {
  if (!hwnd_) return;
  if (interval_ms > 0)
    SetTimer(hwnd(), id, static_cast<UINT>(interval_ms), nullptr);
  else
    KillTimer(hwnd(), id);
}

void Window::SetBoundsAndRepaint(const RECT& r, bool erase) {
  if (!hwnd_) return;
  SetWindowPos(hwnd(), nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE);
  InvalidateRect(hwnd(), nullptr, erase ? TRUE : FALSE);
}

LRESULT Window::DefaultProc(UINT message, WPARAM wparam, LPARAM lparam) {
  return DefWindowProcW(hwnd(), message, wparam, lparam);
}

LRESULT Window::OnMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  return DefaultProc(message, wparam, lparam);
}

LRESULT CALLBACK Window::Proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_NCCREATE) {
    auto* cs = reinterpret_cast<CREATESTRUCTW*>(lparam);
    auto* context = static_cast<WindowData*>(cs->lpCreateParams);
    auto* data = new WindowData(*context);
    context->window->hwnd_ = UniqueWindow(hwnd);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(data));
  }
  auto* data = reinterpret_cast<WindowData*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!data) return DefWindowProcW(hwnd, message, wparam, lparam);
  switch (message) {
    case WM_ERASEBKGND:
      if (data->background) {
        RECT rc;
        GetClientRect(hwnd, &rc);
        FillRect(reinterpret_cast<HDC>(wparam), &rc, data->background);
      }
      return 1;
    case WM_SETCURSOR:
      if (LOWORD(lparam) == HTCLIENT) {
        SetCursor(data->cursor);
        return TRUE;
      }
      break;
    case WM_NCDESTROY: {
      Window* window = data->window;
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
      UnregisterDialogWindow(hwnd);
      delete data;
      // Destroyed already: the owner lets go of the handle without destroying it again.
      if (window) window->hwnd_.release();
      return DefWindowProcW(hwnd, message, wparam, lparam);
    }
    default:
      break;
  }
  return data->window ? data->window->Dispatch(message, wparam, lparam)
                      : DefWindowProcW(hwnd, message, wparam, lparam);
}

LRESULT Window::Dispatch(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_TIMER:
      OnTimer(wparam);
      return 0;
    case WM_KEYDOWN:
      OnKeyDown(wparam);
      return 0;
    case WM_SYSKEYDOWN:
      OnKeyDown(wparam);
      return alive() ? DefaultProc(message, wparam, lparam) : 0;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_XBUTTONDOWN: {
      POINT p{GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)};
      ClientToScreen(hwnd(), &p);
      OnMouseDown(p);
      return 0;
    }
    case WM_MOUSEMOVE: {
      POINT p{GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)};
      ClientToScreen(hwnd(), &p);
      OnMouseMove(p);
      return 0;
    }
    case WM_PAINT: {
      const PaintScope paint(hwnd());
      OnPaint(paint.get(), paint.area());
      return 0;
    }
    case WM_DESTROY:
      OnDestroy();
      return 0;
    default:
      return OnMessage(message, wparam, lparam);
  }
}

int RunMessageLoop() {
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (HandleDialogMessage(msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return static_cast<int>(msg.wParam);
}

}  // namespace tessmoor::win32
