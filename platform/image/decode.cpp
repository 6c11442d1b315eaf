#include "platform/image/decode.h"

#include <algorithm>
#include <limits>
#include <new>
#include <utility>

#include "platform/image/decode_common.h"
#include "platform/image/exif.h"
#include "platform/image/resample.h"

namespace tessmoor {

PictureSize DecodedSize(int source_width, int source_height, DecodeTarget target) {
  if (source_width <= 0 || source_height <= 0) return {};
  const std::int64_t w = source_width;
  const std::int64_t h = source_height;
  const bool bounded_w = target.max_width > 0;
  const bool bounded_h = target.max_height > 0;
  const std::int64_t mw = bounded_w ? target.max_width : std::numeric_limits<int>::max();
  const std::int64_t mh = bounded_h ? target.max_height : std::numeric_limits<int>::max();
  if (w <= mw && h <= mh) return {source_width, source_height};
  // w / mw >= h / mh: the width is what limits the fit.
  if (w * mh >= h * mw) {
    return {static_cast<int>(mw), static_cast<int>(std::max<std::int64_t>(1, h * mw / w))};
  }
  return {static_cast<int>(std::max<std::int64_t>(1, w * mh / h)), static_cast<int>(mh)};
}

DecodeResult DecodePicture(std::span<const std::uint8_t> file_bytes, std::string_view extension,
                           DecodeTarget target) {
  if (extension == ".jpg" || extension == ".jpeg") return DecodeJpeg(file_bytes, target);
  if (extension == ".bmp") return DecodeBmp(file_bytes, target);
  return image_detail::Failure(DecodeStatus::kUnsupportedType, "not a JPEG or BMP file name");
}

namespace image_detail {

DecodeResult Failure(DecodeStatus status, std::string message) {
  return DecodeResult{status, Picture{}, std::move(message)};
}

std::optional<DecodeResult> RefuseDeclaredSize(std::int64_t width, std::int64_t height) {
  if (width <= 0 || height <= 0) return Failure(DecodeStatus::kCorrupt, "picture has no pixels");
  if (width > kMaxPictureSide || height > kMaxPictureSide || width * height > kMaxPicturePixels) {
    return Failure(DecodeStatus::kTooLarge, "picture is too large");
  }
  return std::nullopt;
}

Picture BlackPicture(int width, int height) {
  Picture picture;
  picture.width = width;
  picture.height = height;
  picture.source_width = width;
  picture.source_height = height;
  picture.pixels.assign(static_cast<std::size_t>(picture.stride()) * static_cast<std::size_t>(height), 0);
  return picture;
}

PictureSize StoredTargetSize(int stored_width, int stored_height, int orientation, DecodeTarget target) {
  const bool swap = OrientationSwapsAxes(orientation);
  const PictureSize upright = swap ? DecodedSize(stored_height, stored_width, target)
                                   : DecodedSize(stored_width, stored_height, target);
  return swap ? PictureSize{upright.height, upright.width} : upright;
}

DecodeResult FinishPicture(Picture stored, int orientation, DecodeTarget target) {
  const PictureSize size = StoredTargetSize(stored.source_width, stored.source_height, orientation, target);
  if (stored.width > size.width || stored.height > size.height) {
    stored = Resample(stored, size.width, size.height);
  }
  return DecodeResult{DecodeStatus::kOk, ApplyOrientation(std::move(stored), orientation), {}};
}

RowResampler StoredResampler(PictureSize decoded, PictureSize stored, int orientation, DecodeTarget target) {
  const PictureSize size = StoredTargetSize(stored.width, stored.height, orientation, target);
  return RowResampler(decoded.width, decoded.height, size.width, size.height);
}

DecodeResult FinishRows(RowResampler& rows, PictureSize stored, int orientation) {
  Picture picture = rows.Finish();
  picture.source_width = stored.width;
  picture.source_height = stored.height;
  return DecodeResult{DecodeStatus::kOk, ApplyOrientation(std::move(picture), orientation), {}};
}

}  // namespace image_detail
}  // namespace tessmoor
