#include "platform/image/bmp_format.h"

#include <algorithm>
#include <string>

#include "platform/image/decode_common.h"

namespace tessmoor::image_detail {
namespace {

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::uint32_t kCoreHeaderSize = 12;

bool IsInfoHeaderSize(std::uint32_t size) {
  return size == 40 || size == 52 || size == 56 || size == 108 || size == 124;
}

bool BitsValid(int bits, BmpCompression compression, bool core) {
  switch (compression) {
    case BmpCompression::kRgb:
      return bits == 1 || bits == 4 || bits == 8 || bits == 24 || (!core && (bits == 16 || bits == 32));
    case BmpCompression::kRle8: return bits == 8;
    case BmpCompression::kRle4: return bits == 4;
    case BmpCompression::kBitfields:
    case BmpCompression::kAlphaBitfields: return bits == 16 || bits == 32;
    default: return false;
  }
}

DecodeResult Corrupt(std::string message) { return Failure(DecodeStatus::kCorrupt, "BMP " + message); }

}  // namespace

std::optional<DecodeResult> ReadBmpLayout(std::span<const std::uint8_t> file, BmpLayout& layout) {
  if (file.size() < kFileHeaderSize + 4 || file[0] != 'B' || file[1] != 'M') {
    return Corrupt("signature missing");
  }
  const std::uint32_t pixel_offset = Le32(file, 10);
  const std::uint32_t header_size = Le32(file, kFileHeaderSize);
  const bool core = header_size == kCoreHeaderSize;
  if (!core && !IsInfoHeaderSize(header_size)) {
    return Failure(DecodeStatus::kUnsupportedType, "BMP header kind not supported");
  }
  if (file.size() - kFileHeaderSize < header_size) return Corrupt("header runs past the end of the file");
  const std::size_t h = kFileHeaderSize;

  std::int64_t width = 0;
  std::int64_t height = 0;
  std::uint32_t colors_used = 0;
  if (core) {
    width = Le16(file, h + 4);
    height = Le16(file, h + 6);
    layout.bits = Le16(file, h + 10);
    layout.compression = BmpCompression::kRgb;
  } else {
    width = static_cast<std::int32_t>(Le32(file, h + 4));
    height = static_cast<std::int32_t>(Le32(file, h + 8));
    layout.bits = Le16(file, h + 14);
    layout.compression = static_cast<BmpCompression>(Le32(file, h + 16));
    colors_used = Le32(file, h + 32);
  }
  if (layout.compression == BmpCompression::kJpeg || layout.compression == BmpCompression::kPng) {
    return Failure(DecodeStatus::kUnsupportedType, "BMP with embedded JPEG or PNG not supported");
  }
  if (!BitsValid(layout.bits, layout.compression, core)) {
    return Corrupt("bit depth and compression do not fit together");
  }
  layout.top_down = height < 0;
  if (layout.top_down) height = -height;
  if (layout.top_down && (layout.compression == BmpCompression::kRle8 ||
                          layout.compression == BmpCompression::kRle4)) {
    return Corrupt("RLE picture stored top-down");
  }
  if (auto refusal = RefuseDeclaredSize(width, height)) return refusal;
  layout.width = static_cast<int>(width);
  layout.height = static_cast<int>(height);

  // Masks sit inside V2 and later headers, and right after a plain info header.
  std::size_t tables = h + header_size;
  const bool bitfields = layout.compression == BmpCompression::kBitfields ||
                         layout.compression == BmpCompression::kAlphaBitfields;
  if (bitfields) {
    const std::size_t mask_at = h + 40;
    if (header_size == 40) {
      const std::size_t mask_bytes = layout.compression == BmpCompression::kAlphaBitfields ? 16 : 12;
      if (file.size() - tables < mask_bytes) return Corrupt("colour masks run past the end of the file");
      tables += mask_bytes;
    }
    for (std::size_t i = 0; i < 3; ++i) layout.masks[i] = Le32(file, mask_at + 4 * i);
  } else if (layout.bits == 16) {
    layout.masks = {0x7C00, 0x03E0, 0x001F};
  } else if (layout.bits == 32) {
    layout.masks = {0x00FF0000, 0x0000FF00, 0x000000FF};
  }

  if (pixel_offset < tables || pixel_offset > file.size()) return Corrupt("pixel data offset outside the file");
  layout.pixel_offset = pixel_offset;

  layout.palette.clear();
  if (layout.bits <= 8) {
    const std::uint32_t full = 1u << layout.bits;
    if (colors_used > full) return Corrupt("palette larger than its bit depth allows");
    const std::size_t declared = colors_used == 0 ? full : colors_used;
    const std::size_t entry_size = core ? 3 : 4;
    // Writers that store fewer entries than declared put the pixels right after them; missing
    // entries then read as black rather than as pixel bytes.
    const std::size_t present = std::min(declared, (pixel_offset - tables) / entry_size);
    layout.palette.resize(present);
    for (std::size_t i = 0; i < present; ++i) {
      const std::size_t at = tables + i * entry_size;
      layout.palette[i] = Bgr{file[at], file[at + 1], file[at + 2]};
    }
  }
  return std::nullopt;
}

}  // namespace tessmoor::image_detail
