// Our own BMP reader, so that the core needs no Windows imaging call: file header, OS/2 core and
// Windows info headers (V1 to V5), 1/4/8-bit palettes, 16/32-bit masks, 24 bits, RLE8 and RLE4.
// Alpha is ignored: the picture is drawn opaque, as a DIB blit would draw it.

#include <bit>
#include <cstddef>
#include <cstdint>
#include <new>
#include <string>
#include <utility>

#include "platform/image/bmp_format.h"
#include "platform/image/decode.h"
#include "platform/image/decode_common.h"

namespace tessmoor {
namespace {

using image_detail::Bgr;
using image_detail::BmpCompression;
using image_detail::BmpLayout;
using image_detail::Failure;

DecodeResult Corrupt(std::string message) { return Failure(DecodeStatus::kCorrupt, "BMP " + message); }

// Scales one masked channel to 8 bits, whatever its width (5, 6, 8, 10 bits ...).
class Channel {
 public:
  explicit Channel(std::uint32_t mask)
      : mask_(mask), shift_(mask ? std::countr_zero(mask) : 0), max_(mask ? mask >> shift_ : 1) {}
  std::uint8_t operator()(std::uint32_t value) const {
    const std::uint64_t v = (value & mask_) >> shift_;
    return static_cast<std::uint8_t>((v * 255 + max_ / 2) / max_);
  }

 private:
  std::uint32_t mask_;
  int shift_;
  std::uint64_t max_;
};

class Canvas {
 public:
  Canvas(Picture& picture, const BmpLayout& layout) : picture_(picture), layout_(layout) {}
  // Row `file_row` in the file's order (bottom-up unless the header says top-down).
  std::uint8_t* Row(int file_row) const {
    const int y = layout_.top_down ? file_row : layout_.height - 1 - file_row;
    return picture_.pixels.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(picture_.stride());
  }
  static void Put(std::uint8_t* row, int x, Bgr c) {
    row[x * 3 + 0] = c.b;
    row[x * 3 + 1] = c.g;
    row[x * 3 + 2] = c.r;
  }
  // Indices past the palette are black.
  Bgr Colour(unsigned index) const {
    return index < layout_.palette.size() ? layout_.palette[index] : Bgr{};
  }

 private:
  Picture& picture_;
  const BmpLayout& layout_;
};

struct RowGeometry {
  std::uint64_t stride = 0;
  std::uint64_t needed = 0;  // bytes of pixel data the picture needs
};

RowGeometry UncompressedGeometry(const BmpLayout& layout) {
  const std::uint64_t row_bits = static_cast<std::uint64_t>(layout.width) * static_cast<unsigned>(layout.bits);
  const std::uint64_t stride = (row_bits + 31) / 32 * 4;
  // The last row's padding is not needed to draw it, so a file that leaves it out still decodes.
  return {stride, stride * static_cast<std::uint64_t>(layout.height - 1) + (row_bits + 7) / 8};
}

// Checked before the picture is allocated, so that a few bytes of lying header cost nothing.
std::optional<DecodeResult> CheckUncompressed(std::span<const std::uint8_t> file, const BmpLayout& layout) {
  if (file.size() - layout.pixel_offset < UncompressedGeometry(layout).needed) {
    return Corrupt("pixel data shorter than its header says");
  }
  return std::nullopt;
}

void ReadUncompressed(std::span<const std::uint8_t> file, const BmpLayout& layout, Picture& picture) {
  const std::uint64_t stride = UncompressedGeometry(layout).stride;
  const Canvas canvas(picture, layout);
  const Channel red(layout.masks[0]), green(layout.masks[1]), blue(layout.masks[2]);
  for (int r = 0; r < layout.height; ++r) {
    const std::uint8_t* src = file.data() + layout.pixel_offset + stride * static_cast<std::uint64_t>(r);
    std::uint8_t* dst = canvas.Row(r);
    for (int x = 0; x < layout.width; ++x) {
      switch (layout.bits) {
        case 1: Canvas::Put(dst, x, canvas.Colour((src[x >> 3] >> (7 - (x & 7))) & 1)); break;
        case 4: Canvas::Put(dst, x, canvas.Colour((src[x >> 1] >> ((x & 1) ? 0 : 4)) & 0xF)); break;
        case 8: Canvas::Put(dst, x, canvas.Colour(src[x])); break;
        case 24: Canvas::Put(dst, x, Bgr{src[x * 3], src[x * 3 + 1], src[x * 3 + 2]}); break;
        case 16: {
          const std::uint32_t v = static_cast<std::uint32_t>(src[x * 2] | (src[x * 2 + 1] << 8));
          Canvas::Put(dst, x, Bgr{blue(v), green(v), red(v)});
          break;
        }
        default: {
          const std::uint8_t* p = src + x * 4;
          const std::uint32_t v = std::uint32_t{p[0]} | (std::uint32_t{p[1]} << 8) |
                                  (std::uint32_t{p[2]} << 16) | (std::uint32_t{p[3]} << 24);
          Canvas::Put(dst, x, Bgr{blue(v), green(v), red(v)});
          break;
        }
      }
    }
  }
}

// RLE8 / RLE4, always bottom-up. Pixels the stream skips (deltas, early ends of line) stay black,
// as GDI leaves them. Runs that leave their row or the picture, and streams that stop before the
// end-of-bitmap code, make the file kCorrupt. Without a picture the stream is only checked: that
// pass runs before the picture is allocated, since a few bytes can declare a huge one.
std::optional<DecodeResult> ReadRle(std::span<const std::uint8_t> file, const BmpLayout& layout, Picture* picture) {
  const bool rle4 = layout.compression == BmpCompression::kRle4;
  Picture unused;
  const Canvas canvas(picture ? *picture : unused, layout);
  const std::span<const std::uint8_t> data = file.subspan(layout.pixel_offset);
  std::size_t at = 0;
  int x = 0;
  int y = 0;
  auto pixels_fit = [&](int count) { return y < layout.height && count <= layout.width - x; };
  while (true) {
    if (data.size() - at < 2) return Corrupt("RLE data ends before its end marker");
    const unsigned count = data[at];
    const unsigned code = data[at + 1];
    at += 2;
    if (count > 0) {
      if (!pixels_fit(static_cast<int>(count))) return Corrupt("RLE run leaves its row");
      if (picture) {
        std::uint8_t* row = canvas.Row(y);
        for (unsigned i = 0; i < count; ++i) {
          const unsigned index = rle4 ? ((i & 1) ? code & 0xF : code >> 4) : code;
          Canvas::Put(row, x + static_cast<int>(i), canvas.Colour(index));
        }
      }
      x += static_cast<int>(count);
      continue;
    }
    if (code == 0) {  // end of line
      if (y >= layout.height) return Corrupt("RLE data runs past the top of the picture");
      x = 0;
      ++y;
    } else if (code == 1) {  // end of bitmap
      return std::nullopt;
    } else if (code == 2) {  // delta
      if (data.size() - at < 2) return Corrupt("RLE data ends inside a delta");
      const int dx = data[at];
      const int dy = data[at + 1];
      at += 2;
      if (dx > layout.width - x || dy > layout.height - y) return Corrupt("RLE delta leaves the picture");
      x += dx;
      y += dy;
    } else {  // absolute run of `code` pixels, padded to a 16-bit boundary
      const std::size_t bytes = rle4 ? (code + 1) / 2 : code;
      const std::size_t padded = (bytes + 1) & ~std::size_t{1};
      if (data.size() - at < padded) return Corrupt("RLE data ends inside an absolute run");
      if (!pixels_fit(static_cast<int>(code))) return Corrupt("RLE run leaves its row");
      if (picture) {
        std::uint8_t* row = canvas.Row(y);
        for (unsigned i = 0; i < code; ++i) {
          const std::uint8_t byte = data[at + (rle4 ? i / 2 : i)];
          const unsigned index = rle4 ? ((i & 1) ? byte & 0xF : byte >> 4) : byte;
          Canvas::Put(row, x + static_cast<int>(i), canvas.Colour(index));
        }
      }
      x += static_cast<int>(code);
      at += padded;
    }
  }
}

}  // namespace

DecodeResult DecodeBmp(std::span<const std::uint8_t> file_bytes, DecodeTarget target) {
  try {
    BmpLayout layout;
    if (auto refusal = image_detail::ReadBmpLayout(file_bytes, layout)) return std::move(*refusal);
    const bool rle = layout.compression == BmpCompression::kRle8 || layout.compression == BmpCompression::kRle4;
    if (auto failure = rle ? ReadRle(file_bytes, layout, nullptr) : CheckUncompressed(file_bytes, layout)) {
      return std::move(*failure);
    }
    Picture picture = image_detail::BlackPicture(layout.width, layout.height);
    if (rle) {
      ReadRle(file_bytes, layout, &picture);
    } else {
      ReadUncompressed(file_bytes, layout, picture);
    }
    return image_detail::FinishPicture(std::move(picture), 1, target);
  } catch (const std::bad_alloc&) {
    return Failure(DecodeStatus::kTooLarge, "not enough memory for the BMP picture");
  }
}

}  // namespace tessmoor
