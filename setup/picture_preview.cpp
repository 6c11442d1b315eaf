#include "setup/picture_preview.h"

#include "platform/image/decode.h"

namespace tessmoor {

namespace {

bool IsPictureExtension(std::string_view extension) {
  return extension == ".jpg" || extension == ".jpeg" || extension == ".bmp";
}

// A design length in device pixels, rounded up so that the decoded picture is never the one
// that has to be enlarged.
int DevicePixels(int design, int dpi) {
  if (dpi <= 96) return design;
  return static_cast<int>((static_cast<long long>(design) * dpi + 95) / 96);
}

Preview Failed(std::string message) {
  Preview preview;
  preview.status = PreviewStatus::kFailed;
  preview.message = std::move(message);
  return preview;
}

}  // namespace

Size PictureControlSize(Size design, Size picture) {
  if (picture.width <= 0 || picture.height <= 0) return design;
  if (picture.height > picture.width) {
    const double ratio = SideRatio(picture.width, picture.height);
    return {static_cast<int>(static_cast<long double>(design.width) * ratio), design.height};
  }
  const double ratio = SideRatio(picture.height, picture.width);
  return {design.width, static_cast<int>(static_cast<long double>(design.height) * ratio)};
}

PicturePlacement PlacePicture(Size design, Size picture, bool enlarge) {
  const Size control = PictureControlSize(design, picture);
  return {control, PictureDrawRect(control, picture, enlarge)};
}

namespace {

// Reads the file and decodes it with `decode` at the size of a control of `design` size on a
// screen of `dpi` dots per inch.
template <class Decode>
Preview Decoded(FileSystem& files, std::string_view path, Size design, bool enlarge, int dpi, Decode decode) {
  auto bytes = files.ReadFile(path, kMaxPreviewFileBytes);
  if (!bytes) return Failed("the file cannot be read");
  const DecodeTarget target{DevicePixels(design.width, dpi), DevicePixels(design.height, dpi)};
  DecodeResult decoded = decode(*bytes, target);
  if (decoded.status != DecodeStatus::kOk || decoded.picture.empty()) {
    return Failed(decoded.message.empty() ? std::string("the picture cannot be decoded")
                                          : std::move(decoded.message));
  }
  Preview preview;
  preview.status = PreviewStatus::kShown;
  // The control follows the file's own shape, not the reduced copy that was decoded.
  const Picture& p = decoded.picture;
  const Size source = p.source_width > 0 && p.source_height > 0 ? Size{p.source_width, p.source_height}
                                                                : Size{p.width, p.height};
  preview.placement = PlacePicture(design, source, enlarge);
  preview.picture = std::move(decoded.picture);
  return preview;
}

}  // namespace

Preview LoadPreview(FileSystem& files, std::string_view path, std::string_view extension, Size design,
                    bool enlarge, int dpi) {
  if (!IsPictureExtension(extension)) return {};
  return Decoded(files, path, design, enlarge, dpi, [&](std::span<const std::uint8_t> bytes, DecodeTarget target) {
    return DecodePicture(bytes, extension, target);
  });
}

Preview LoadPreview(FileSystem& files, const PictureDecoder& decoder, std::string_view path, Size design,
                    bool enlarge, int dpi) {
  const std::string extension = PictureExtension(path);
  if (!decoder.Accepts(extension)) return {};
  return Decoded(files, path, design, enlarge, dpi, [&](std::span<const std::uint8_t> bytes, DecodeTarget target) {
    return decoder.Decode(bytes, extension, target);
  });
}

Rect PaneDrawRect(Size pane, const PicturePlacement& placement) {
  const Rect& r = placement.picture;
  const int left = (pane.width - r.width()) / 2;
  const int top = (pane.height - r.height()) / 2;
  return {left, top, left + r.width(), top + r.height()};
}

}  // namespace tessmoor
