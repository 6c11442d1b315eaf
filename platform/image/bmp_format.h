#pragma once

// The layout of a BMP file as the headers declare it, read and checked before any pixel is
// touched. Internal to the BMP decoder.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "platform/image/picture.h"

namespace tessmoor::image_detail {

enum class BmpCompression : std::uint32_t {
  kRgb = 0,
  kRle8 = 1,
  kRle4 = 2,
  kBitfields = 3,
  kJpeg = 4,
  kPng = 5,
  kAlphaBitfields = 6,
};

struct Bgr {
  std::uint8_t b = 0, g = 0, r = 0;
};

struct BmpLayout {
  int width = 0;
  int height = 0;
  bool top_down = false;
  int bits = 0;
  BmpCompression compression = BmpCompression::kRgb;
  std::size_t pixel_offset = 0;           // checked to lie inside the file
  std::array<std::uint32_t, 3> masks{};   // red, green, blue, for 16 and 32 bits per pixel
  std::vector<Bgr> palette;               // entries present in the file, at most 2^bits
};

// Fills `layout` from the headers, or gives the reason the file is refused: kCorrupt for
// headers that contradict each other or the file's length, kUnsupportedType for valid kinds we
// do not read (embedded JPEG or PNG, OS/2 2.x headers), kTooLarge for sizes over the limits.
std::optional<DecodeResult> ReadBmpLayout(std::span<const std::uint8_t> file, BmpLayout& layout);

// Little-endian reads; the caller has checked that offset + size fits.
inline std::uint16_t Le16(std::span<const std::uint8_t> b, std::size_t offset) {
  return static_cast<std::uint16_t>(b[offset] | (b[offset + 1] << 8));
}
inline std::uint32_t Le32(std::span<const std::uint8_t> b, std::size_t offset) {
  return std::uint32_t{Le16(b, offset)} | (std::uint32_t{Le16(b, offset + 2)} << 16);
}

}  // namespace tessmoor::image_detail
