#pragma once
#include <windows.h>

#include <memory>
#include <string>
#include <utility>

#include "platform/win32/handles.h"

namespace tessmoor::win32 {

struct WindowParams {
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

  // Puts the window at `r`: in its parent's client coordinates, or the screen's.
  WindowParams& At(const RECT& r) {
    x = r.left;
    y = r.top;
    width = r.right - r.left;
    height = r.bottom - r.top;
    return *this;
  }
  // A visible child window of `parent` at `r`, under the arrow cursor.
  static WindowParams Child(HWND parent, const RECT& r, std::wstring title = {}) {
    WindowParams params;
    params.title = std::move(title);
    params.style = WS_CHILD | WS_VISIBLE;
    params.parent = parent;
    params.cursor = LoadCursorW(nullptr, IDC_ARROW);
    return params.At(r);
  }
};

// A window this process owns. One window procedure serves every such window: it turns the raw
// messages into the typed calls below; anything else goes to OnMessage. DestroyWindow from
// elsewhere (the host destroying a parent) is noticed too.
//
// A window class is abstract until it is made as Owned<T> (below), whose destructor destroys the
// window while T's handlers and members still exist. So no class has to remember to destroy its
// window itself, and a class that is not made that way does not compile.
class Window {
 public:
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;
  virtual ~Window();

  HWND hwnd() const { return hwnd_.get(); }
  bool alive() const { return static_cast<bool>(hwnd_); }
  // Destroys the window now (OnDestroy runs); the object lives on without one.
  void Destroy() { hwnd_.reset(); }

  // Starts, restarts or (interval 0) stops timer `id`; like a component timer, setting the
  // interval again restarts the count.
  void SetTimerInterval(UINT_PTR id, int interval_ms);

 protected:
  Window() = default;
  // Throws UserError when the window cannot be created.
  void Create(const WindowParams& params);
  // Moves and sizes the window to `r` (its parent's client coordinates) and has it repainted,
  // its background erased first or not.
  void SetBoundsAndRepaint(const RECT& r, bool erase);

  virtual LRESULT OnMessage(UINT message, WPARAM wparam, LPARAM lparam);
  virtual void OnTimer(UINT_PTR /*id*/) {}
  virtual void OnKeyDown(WPARAM /*key*/) {}
  virtual void OnMouseDown(POINT /*screen*/) {}
  virtual void OnMouseMove(POINT /*screen*/) {}
  virtual void OnPaint(HDC /*dc*/, const RECT& /*area*/) {}
  // The window is going away (by Destroy, by its owner or by its parent); hwnd() is still valid
  // here, and so is every member of the most-derived class.
  virtual void OnDestroy() {}

  LRESULT DefaultProc(UINT message, WPARAM wparam, LPARAM lparam);

 private:
  // Defined by Owned<T> alone.
  virtual void MadeAsOwned() = 0;

  static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);
  LRESULT Dispatch(UINT message, WPARAM wparam, LPARAM lparam);

  UniqueWindow hwnd_;
};

// The most-derived type of every window: destroying it destroys the window first.
template <class T>
class Owned final : public T {
 public:
  template <class... Args>
  explicit Owned(Args&&... args) : T(std::forward<Args>(args)...) {}
  ~Owned() override { this->Destroy(); }

 private:
  void MadeAsOwned() override {}
};

// A new window of class T, for holders that know it as T.
template <class T, class... Args>
std::unique_ptr<T> MakeOwned(Args&&... args) {
  return std::make_unique<Owned<T>>(std::forward<Args>(args)...);
}

// Runs the thread's message loop until WM_QUIT; returns its exit code.
int RunMessageLoop();

}  // namespace tessmoor::win32
