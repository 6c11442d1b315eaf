#pragma once
#include <functional>
#include <memory>
#include <vector>

#include "platform/win32/gdi_canvas.h"
#include "platform/win32/window.h"
#include "show/monitor_shows.h"
#include "show/monitors.h"

namespace tessmoor {

// The monitors as the system lists them now, in its order, in physical pixels (the process is
// aware of each monitor's DPI, so nothing is scaled).
std::vector<MonitorArea> CurrentMonitors();

// Input on a window over a monitor beside the primary, handed to the show, which ends on it as
// it does on its own window.
struct MonitorInput {
  std::function<void()> key;
  std::function<void()> mouse_down;
  std::function<void(POINT)> mouse_move;
};

// A top-most window over one monitor beside the primary, so that no screen is left unblanked:
// black ("TessmoorBlank"), or with a canvas of the monitor's size on which a slide show of its own
// draws ("TessmoorSlides"), driven by the window's own timer.
class MonitorWindow : public win32::Window, public MonitorSurface {
 public:
  MonitorWindow(const RECT& monitor, HWND owner, bool slides, MonitorInput input, std::function<void()> tick);

  void MoveTo(const Rect& bounds) override;
  Canvas* canvas() override { return slides_ ? &canvas_ : nullptr; }
  void ArmTimer(std::int64_t ms) override;

 protected:
  void OnKeyDown(WPARAM) override { if (input_.key) input_.key(); }
  void OnMouseDown(POINT) override { if (input_.mouse_down) input_.mouse_down(); }
  void OnMouseMove(POINT p) override { if (input_.mouse_move) input_.mouse_move(p); }
  void OnTimer(UINT_PTR id) override;
  void OnPaint(HDC dc, const RECT& area) override;

 private:
  static constexpr UINT_PTR kTimer = 1;
  const bool slides_;
  MonitorInput input_;
  std::function<void()> tick_;
  win32::GdiCanvas canvas_;
};

// Opens MonitorWindows owned by the show window, all handing their input to the same show.
class MonitorWindows final : public MonitorSurfaces {
 public:
  MonitorWindows(HWND owner, MonitorInput input) : owner_(owner), input_(std::move(input)) {}
  std::unique_ptr<MonitorSurface> Open(const Rect& bounds, bool slides, std::function<void()> tick) override;

 private:
  HWND owner_;
  MonitorInput input_;
};

}  // namespace tessmoor
