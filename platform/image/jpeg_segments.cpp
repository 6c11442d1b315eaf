#include "platform/image/jpeg_segments.h"

namespace tessmoor::image_detail {
namespace {

constexpr std::uint8_t kSos = 0xDA;
constexpr std::uint8_t kEoi = 0xD9;

bool StandsAlone(std::uint8_t marker) {
  return marker == 0x01 || (marker >= 0xD0 && marker <= 0xD8);  // TEM, RSTn, SOI
}

}  // namespace

std::size_t JpegCompletePrefix(std::span<const std::uint8_t> f) {
  const std::size_t size = f.size();
  std::size_t at = 2;  // after SOI
  while (at < size) {
    if (f[at] != 0xFF) return size;  // not at a marker: nothing this walk can improve on
    const std::size_t marker_start = at;
    while (at < size && f[at] == 0xFF) ++at;  // fill bytes
    if (at >= size) return marker_start;
    const std::uint8_t marker = f[at++];
    if (marker == kEoi) return size;
    if (StandsAlone(marker)) continue;
    if (size - at < 2) return marker_start;
    const std::size_t length = (std::size_t{f[at]} << 8) | f[at + 1];
    if (length < 2 || size - at < length) return marker_start;
    at += length;
    if (marker != kSos) continue;
    // Entropy-coded data runs to the next marker other than a stuffed zero or a restart.
    while (at + 1 < size && !(f[at] == 0xFF && f[at + 1] != 0 && !(f[at + 1] >= 0xD0 && f[at + 1] <= 0xD7))) {
      ++at;
    }
    if (at + 1 >= size) return size;
  }
  return size;
}

}  // namespace tessmoor::image_detail
