#pragma once

#include <cstddef>

#include "platform/image/decode.h"

namespace tessmoor::fuzz {

// What every decode must give whatever its input: a failure holds no pixels, and a success holds
// a picture the show can draw as it is, at exactly the fitted size of its source.
inline void CheckDecodeResult(const DecodeResult& r, DecodeTarget target) {
  if (r.status != DecodeStatus::kOk) {
    if (!r.picture.pixels.empty()) __builtin_trap();
    return;
  }
  const Picture& p = r.picture;
  if (p.empty() || p.pixels.size() != static_cast<std::size_t>(p.stride()) * static_cast<std::size_t>(p.height)) {
    __builtin_trap();
  }
  if (DecodedSize(p.source_width, p.source_height, target) != PictureSize{p.width, p.height}) __builtin_trap();
}

inline constexpr DecodeTarget kFuzzTargets[] = {{0, 0}, {7, 5}, {1, 300}};

}  // namespace tessmoor::fuzz
