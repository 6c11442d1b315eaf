#pragma once

// Pieces shared by the JPEG and BMP decoders; not part of the public face (decode.h).

#include <cstdint>
#include <optional>
#include <string>

#include "platform/image/decode.h"
#include "platform/image/picture.h"

namespace tessmoor::image_detail {

DecodeResult Failure(DecodeStatus status, std::string message);

// kTooLarge (or kCorrupt for a zero or negative side) for a declared size the decoders refuse,
// checked before anything is allocated for it.
std::optional<DecodeResult> RefuseDeclaredSize(std::int64_t width, std::int64_t height);

// A black picture of width x height.
Picture BlackPicture(int width, int height);

// The size to decode to in the file's own orientation, so that the upright picture comes out at
// DecodedSize of the upright source.
PictureSize StoredTargetSize(int stored_width, int stored_height, int orientation, DecodeTarget target);

// Shrinks a picture decoded in the file's orientation to StoredTargetSize (when it is larger) and
// turns it upright. stored.source_width/source_height hold the file's own (stored) size.
DecodeResult FinishPicture(Picture stored, int orientation, DecodeTarget target);

}  // namespace tessmoor::image_detail
