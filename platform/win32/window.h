#pragma once
#include <windows.h>

#include <string>

namespace tessmoor::win32 {

struct WindowSpec {
  std::wstring title;
  DWORD style = WS_OVERLAPPEDWINDOW;
  DWORD ex_style = 0;
  HWND parent = nullptr;  // owner for a top-level window, parent for a child
  int x = CW_USEDEFAULT;
  int y = CW_USEDEFAULT;
  int width = CW_USEDEFAULT;
  int height = CW_USEDEFAULT;
  HBRUSH background = nullptr;  // nullptr: the window paints its whole client area itself
  HCURSOR cursor = nullptr;     // nullptr: the arrow
};

// A window this process owns. One window procedure serves every such window: it turns the raw
// messages into the typed calls below; anything else goes to OnMessage. The window is destroyed
// with the object; DestroyWindow from elsewhere (the host destroying a parent) is noticed too.
class Window {
 public:
  Window() = default;
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;
  virtual ~Window();

  HWND hwnd() const { return hwnd_; }
  bool alive() const { return hwnd_ != nullptr; }
  void Destroy();

  // Starts, restarts or (interval 0) stops timer `id`; like a component timer, setting the
  // interval again restarts the count.
  void SetTimerInterval(UINT_PTR id, int interval_ms);

 protected:
  // Throws std::runtime_error when the window cannot be created.
  void Create(const WindowSpec& params);

  virtual LRESULT OnMessage(UINT message, WPARAM wparam, LPARAM lparam);
  virtual void OnTimer(UINT_PTR /*id*/) {}
  virtual void OnKeyDown(WPARAM /*key*/) {}
  virtual void OnMouseDown(POINT /*screen*/) {}
  virtual void OnMouseMove(POINT /*screen*/) {}
  virtual void OnPaint(HDC /*dc*/, const RECT& /*area*/) {}
  // The window is going away (by Destroy or by its parent); hwnd() is still valid here.
  virtual void OnDestroy() {}

  LRESULT DefaultProc(UINT message, WPARAM wparam, LPARAM lparam);

 private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);
  LRESULT Dispatch(UINT message, WPARAM wparam, LPARAM lparam);

  HWND hwnd_ = nullptr;
};

// Runs the thread's message loop until WM_QUIT; returns its exit code.
int RunMessageLoop();

}  // namespace tessmoor::win32
