#pragma once
#include <functional>
#include <memory>
#include <vector>

#include "platform/win32/window.h"

namespace tessmoor {

// A black, top-most window over one monitor other than the primary one, so that no screen is left
// unblanked. Input on it is handed to the show, which ends on it as it does on its own window.
class BlankWindow : public win32::Window {
 public:
  struct Input {
    std::function<void()> key;
    std::function<void()> mouse_down;
    std::function<void(POINT)> mouse_move;
  };
  BlankWindow(const RECT& monitor, HWND owner, Input input);

  // One window for every monitor except the primary one.
  static std::vector<std::unique_ptr<BlankWindow>> CoverOtherMonitors(HWND owner, const Input& input);

 protected:
  void OnKeyDown(WPARAM) override { if (input_.key) input_.key(); }
  void OnMouseDown(POINT) override { if (input_.mouse_down) input_.mouse_down(); }
  void OnMouseMove(POINT p) override { if (input_.mouse_move) input_.mouse_move(p); }
  void OnPaint(HDC dc, const RECT& area) override;

 private:
  Input input_;
};

}  // namespace tessmoor
