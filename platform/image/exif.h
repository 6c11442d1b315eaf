#pragma once

#include <cstdint>
#include <span>

#include "platform/image/picture.h"

namespace tessmoor {

// The EXIF orientation tag (0x0112 in IFD0) of a JPEG APP1 segment's payload: "Exif\0\0" followed
// by a TIFF header in either byte order. Gives 1 (upright) when the payload is not EXIF, holds no
// orientation, holds a value outside 1..8, or has any offset pointing outside the payload.
int ExifOrientation(std::span<const std::uint8_t> app1_payload);

// Orientations 5..8 store the picture transposed: its width is the upright height.
constexpr bool OrientationSwapsAxes(int orientation) { return orientation >= 5 && orientation <= 8; }

// Turns a picture as stored in the file into the upright one that the EXIF orientation describes
// (rotations and mirrors). Values outside 2..8 leave it as it is. source_width/source_height are
// swapped along with the pixels for 5..8.
Picture ApplyOrientation(Picture stored, int orientation);

}  // namespace tessmoor
