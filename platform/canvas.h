#pragma once
#include "platform/geometry.h"

namespace tessmoor {

struct Picture;

// The show window's drawing surface. What is drawn stays until it is cleared or drawn over; the
// Windows implementation keeps it in an off-screen copy, so the window repaints it when uncovered.
class Canvas {
 public:
  virtual ~Canvas() = default;
  virtual int ClientWidth() const = 0;
  virtual int ClientHeight() const = 0;
  // Fills the whole client area with black.
  virtual void Clear() = 0;
  // Draws the whole picture scaled into `rect` (which may reach past the client area) with a
  // good-quality filter.
  virtual void StretchDraw(const Rect& rect, const Picture& picture) = 0;
};

}  // namespace tessmoor
