#pragma once
#include <cstdint>
#include <vector>

#include "platform/canvas.h"
#include "platform/image/picture.h"

namespace tessmoor::testing {

// A canvas that really draws: a buffer of the client's size in 0xRRGGBB pixels, cleared to black
// and drawn on by scaling the picture into the rectangle (nearest pixel), clipped to the buffer.
// Its cost grows with the client's and the rectangle's size as a window's would.
class MemoryCanvas final : public Canvas {
 public:
  MemoryCanvas(int width, int height);
  // Made again at another size, black.
  void Resize(int width, int height);
  int ClientWidth() const override { return width_; }
  int ClientHeight() const override { return height_; }
  void Clear() override;
  void StretchDraw(const Rect& rect, const Picture& picture) override;

  std::uint32_t At(int x, int y) const { return pixels_[static_cast<std::size_t>(y) * width_ + x]; }
  // Pixels that are not black.
  long Lit() const;
  std::size_t bytes() const { return pixels_.size() * sizeof(std::uint32_t); }

 private:
  int width_ = 0;
  int height_ = 0;
  std::vector<std::uint32_t> pixels_;
};

// A picture of `width` x `height` pixels in one colour (0xRRGGBB), whose file was `source_width`
// x `source_height`.
Picture SolidPicture(int width, int height, std::uint32_t rgb, int source_width, int source_height);

}  // namespace tessmoor::testing
