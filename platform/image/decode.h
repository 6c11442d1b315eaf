#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "platform/image/picture.h"

namespace tessmoor {

// `extension` is the lower-cased extension with its dot (".jpg", ".jpeg", ".bmp"); anything else gives
// kUnsupportedType with an empty picture.
DecodeResult DecodePicture(std::span<const std::uint8_t> file_bytes, std::string_view extension,
                           DecodeTarget target);
DecodeResult DecodeJpeg(std::span<const std::uint8_t> file_bytes, DecodeTarget target);
DecodeResult DecodeBmp(std::span<const std::uint8_t> file_bytes, DecodeTarget target);

struct PictureSize {
  int width = 0;
  int height = 0;
  friend bool operator==(const PictureSize&, const PictureSize&) = default;
};

// The decoded size that DecodePicture aims at for an (upright) source of source_width x
// source_height: the largest size with the source's aspect ratio that fits inside the target box,
// the proportional side rounded down (never below 1), and never larger than the source. A target
// side of 0 or less leaves that axis unbounded; 0 x 0 gives the source size.
PictureSize DecodedSize(int source_width, int source_height, DecodeTarget target);

// Decoders refuse, before allocating, pictures larger than this on a side or in total.
inline constexpr int kMaxPictureSide = 65500;
inline constexpr std::int64_t kMaxPicturePixels = std::int64_t{1} << 28;

}  // namespace tessmoor
