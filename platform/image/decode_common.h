#pragma once

// Pieces shared by the decoders; not part of the public face (decode.h).

#include <cstdint>
#include <optional>
#include <string>

#include "platform/image/decode.h"
#include "platform/image/picture.h"
#include "platform/image/row_resampler.h"

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

// For decoders that hand over their rows as they decode them: a resampler from the decoded size
// (the file's own size, or a smaller one the codec scaled to, in the file's orientation) straight
// to StoredTargetSize, so the larger picture is never held whole.
RowResampler StoredResampler(PictureSize decoded, PictureSize stored, int orientation, DecodeTarget target);

// The resampler's picture turned upright, with the file's size (stored, in its own orientation)
// as the source size.
DecodeResult FinishRows(RowResampler& rows, PictureSize stored, int orientation);

}  // namespace tessmoor::image_detail
