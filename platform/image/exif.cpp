#include "platform/image/exif.h"

#include <cstddef>
#include <cstring>
#include <optional>
#include <utility>

namespace tessmoor {
namespace {

constexpr std::uint16_t kOrientationTag = 0x0112;
constexpr std::uint16_t kTypeShort = 3;
constexpr std::uint16_t kTypeLong = 4;

// Reads the TIFF structure with every access bounds-checked: the payload comes straight from a file.
class TiffReader {
 public:
  TiffReader(std::span<const std::uint8_t> tiff, bool big_endian) : tiff_(tiff), big_endian_(big_endian) {}

  // Offsets are 64-bit so that a hostile offset near 2^32 cannot wrap back into the payload.
  std::optional<std::uint16_t> U16(std::uint64_t offset) const {
    if (offset > tiff_.size() || tiff_.size() - offset < 2) return std::nullopt;
    const std::uint8_t* p = tiff_.data() + offset;
    return static_cast<std::uint16_t>(big_endian_ ? (p[0] << 8) | p[1] : (p[1] << 8) | p[0]);
  }
  std::optional<std::uint32_t> U32(std::uint64_t offset) const {
    const auto a = U16(offset);
    const auto b = U16(offset + 2);
    if (!a || !b) return std::nullopt;
    return big_endian_ ? (std::uint32_t{*a} << 16) | *b : (std::uint32_t{*b} << 16) | *a;
  }

 private:
  std::span<const std::uint8_t> tiff_;
  bool big_endian_;
};

int OrientationFromTiff(std::span<const std::uint8_t> tiff) {
  if (tiff.size() < 8) return 1;
  bool big_endian = false;
  if (tiff[0] == 'M' && tiff[1] == 'M') {
    big_endian = true;
  } else if (!(tiff[0] == 'I' && tiff[1] == 'I')) {
    return 1;
  }
  const TiffReader reader(tiff, big_endian);
  if (reader.U16(2) != 42) return 1;
  const auto ifd = reader.U32(4);
  if (!ifd) return 1;
  const auto count = reader.U16(*ifd);
  if (!count) return 1;
  for (std::uint64_t i = 0; i < *count; ++i) {
    const std::uint64_t entry = std::uint64_t{*ifd} + 2 + i * 12;
    const auto tag = reader.U16(entry);
    if (!tag) return 1;  // the directory runs past the payload
    if (*tag != kOrientationTag) continue;
    const auto type = reader.U16(entry + 2);
    const auto values = reader.U32(entry + 4);
    if (!type || !values || *values < 1) return 1;
    // A single SHORT or LONG fits in the entry's value field, so no offset is followed.
    std::optional<std::uint32_t> value;
    if (*type == kTypeShort) {
      if (auto v = reader.U16(entry + 8)) value = *v;
    } else if (*type == kTypeLong) {
      value = reader.U32(entry + 8);
    }
    if (!value || *value < 1 || *value > 8) return 1;
    return static_cast<int>(*value);
  }
  return 1;
}

// Where the upright pixel (x, y) comes from in the stored picture of stored_w x stored_h.
std::pair<int, int> StoredPosition(int orientation, int x, int y, int stored_w, int stored_h) {
  switch (orientation) {
    case 2: return {stored_w - 1 - x, y};
    case 3: return {stored_w - 1 - x, stored_h - 1 - y};
    case 4: return {x, stored_h - 1 - y};
    case 5: return {y, x};
    case 6: return {y, stored_h - 1 - x};
    case 7: return {stored_w - 1 - y, stored_h - 1 - x};
    case 8: return {stored_w - 1 - y, x};
    default: return {x, y};
  }
}

}  // namespace

int ExifOrientation(std::span<const std::uint8_t> app1_payload) {
  static constexpr std::uint8_t kExifId[6] = {'E', 'x', 'i', 'f', 0, 0};
  if (app1_payload.size() < sizeof kExifId || std::memcmp(app1_payload.data(), kExifId, sizeof kExifId) != 0) {
    return 1;
  }
  return OrientationFromTiff(app1_payload.subspan(sizeof kExifId));
}

Picture ApplyOrientation(Picture stored, int orientation) {
  if (orientation < 2 || orientation > 8 || stored.empty()) return stored;
  Picture upright;
  const bool swap = OrientationSwapsAxes(orientation);
  upright.width = swap ? stored.height : stored.width;
  upright.height = swap ? stored.width : stored.height;
  upright.source_width = swap ? stored.source_height : stored.source_width;
  upright.source_height = swap ? stored.source_width : stored.source_height;
  const std::size_t out_stride = static_cast<std::size_t>(upright.stride());
  const std::size_t in_stride = static_cast<std::size_t>(stored.stride());
  upright.pixels.assign(out_stride * static_cast<std::size_t>(upright.height), 0);
  for (int y = 0; y < upright.height; ++y) {
    std::uint8_t* dst = upright.pixels.data() + static_cast<std::size_t>(y) * out_stride;
    for (int x = 0; x < upright.width; ++x) {
      const auto [sx, sy] = StoredPosition(orientation, x, y, stored.width, stored.height);
      const std::uint8_t* src = stored.pixels.data() + static_cast<std::size_t>(sy) * in_stride +
                                static_cast<std::size_t>(sx) * 3;
      dst[x * 3 + 0] = src[0];
      dst[x * 3 + 1] = src[1];
      dst[x * 3 + 2] = src[2];
    }
  }
  return upright;
}

}  // namespace tessmoor
