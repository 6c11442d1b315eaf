#include "tests/support/memory_canvas.h"

#include <algorithm>

namespace tessmoor::testing {

MemoryCanvas::MemoryCanvas(int width, int height) { Resize(width, height); }

void MemoryCanvas::Resize(int width, int height) {
  width_ = std::max(width, 0);
  height_ = std::max(height, 0);
  pixels_.assign(static_cast<std::size_t>(width_) * height_, 0);
}

void MemoryCanvas::Clear() { std::fill(pixels_.begin(), pixels_.end(), 0u); }

void MemoryCanvas::StretchDraw(const Rect& rect, const Picture& picture) {
  const int w = rect.width(), h = rect.height();
  if (picture.empty() || w <= 0 || h <= 0) return;
  const int left = std::max(rect.left, 0), right = std::min(rect.right, width_);
  const int top = std::max(rect.top, 0), bottom = std::min(rect.bottom, height_);
  if (left >= right || top >= bottom) return;
  // The source column under the centre of every destination column, as a byte offset.
  std::vector<int> columns(static_cast<std::size_t>(right - left));
  for (int x = left; x < right; ++x) {
    const long long sx = ((2LL * (x - rect.left) + 1) * picture.width) / (2LL * w);
    columns[x - left] = static_cast<int>(std::min<long long>(sx, picture.width - 1)) * 3;
  }
  for (int y = top; y < bottom; ++y) {
    const long long sy = ((2LL * (y - rect.top) + 1) * picture.height) / (2LL * h);
    const std::uint8_t* row = picture.pixels.data() + std::min<long long>(sy, picture.height - 1) * picture.stride();
    std::uint32_t* out = pixels_.data() + static_cast<std::size_t>(y) * width_;
    for (int x = left; x < right; ++x) {
      const std::uint8_t* bgr = row + columns[x - left];
      out[x] = static_cast<std::uint32_t>(bgr[2]) << 16 | static_cast<std::uint32_t>(bgr[1]) << 8 | bgr[0];
    }
  }
}

long MemoryCanvas::Lit() const {
  return static_cast<long>(std::count_if(pixels_.begin(), pixels_.end(), [](std::uint32_t p) { return p != 0; }));
}

Picture SolidPicture(int width, int height, std::uint32_t rgb, int source_width, int source_height) {
  Picture picture;
  picture.width = width;
  picture.height = height;
  picture.source_width = source_width;
  picture.source_height = source_height;
  picture.pixels.assign(static_cast<std::size_t>(picture.stride()) * height, 0);
  for (int y = 0; y < height; ++y) {
    std::uint8_t* row = picture.pixels.data() + static_cast<std::size_t>(y) * picture.stride();
    for (int x = 0; x < width; ++x) {
      row[3 * x] = static_cast<std::uint8_t>(rgb);
      row[3 * x + 1] = static_cast<std::uint8_t>(rgb >> 8);
      row[3 * x + 2] = static_cast<std::uint8_t>(rgb >> 16);
    }
  }
  return picture;
}

}  // namespace tessmoor::testing
