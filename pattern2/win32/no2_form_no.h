#pragma once
#include <functional>

#include "pattern2/picture_window_port.h"
#include "platform/win32/window.h"

namespace tessmoor::pattern2 {

// `TNo2FormNo1` .. `TNo2FormNo4`: picture window n of the pattern-2 show. The four differ by their
// number only, so one class serves them all. The window is borderless, top-most and owned by the
// show window (so it stays above it and goes with it), and shows its picture stretched over the
// whole client area. Its Windows window is made at the first Create and reused for every later
// picture, so a show that runs for days holds exactly one window per number.
//
// Input: any key while the window is active ends the show; the mouse over it does nothing (only
// mouse input over the show window itself counts), and the cursor stays hidden over it.
class TNo2FormNo : public win32::Window, public PictureWindowPort {
 public:
  // `number` is 1..4; `owner` is the show window; `close_show` ends the show.
  TNo2FormNo(int number, HWND owner, std::function<void()> close_show);

  void Create(const Picture& picture, Size size) override;
  void SetPosition(int left, int top) override;
  void Show() override;
  void Close() override;

  // The values last set, which a window pushed partly or wholly off the screen keeps as well.
  int Left() const override { return left_; }
  int Top() const override { return top_; }
  int Width() const override { return width_; }
  int Height() const override { return height_; }

 protected:
  void OnKeyDown(WPARAM key) override;
  void OnPaint(HDC dc, const RECT& area) override;

 private:
  int number_;
  HWND owner_;
  std::function<void()> close_show_;
  const Picture* picture_ = nullptr;
  int left_ = 0;
  int top_ = 0;
  int width_ = 0;
  int height_ = 0;
};

}  // namespace tessmoor::pattern2
