#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/image/picture_decoder.h"

namespace tessmoor::win32 {

// Every format the Windows Imaging Component has a decoder for: PNG, GIF (its first frame), TIFF,
// JPEG XR, ICO everywhere; WebP, HEIF, AVIF, camera RAW where their codecs are installed.
//
// A decode reads the declared size and refuses it (kTooLarge) against kMaxPictureSide and
// kMaxPicturePixels before any pixel is asked for; lets the codec scale at decode where it can
// (IWICBitmapSourceTransform); then takes the pixels in strips, converted to 32-bit BGRA,
// composites them on black (the show's background) and streams them into the resampler, so that
// what it holds beyond the codec's own buffers is the output and a strip. (Some codecs, Wine's
// PNG and GIF ones among them, decode the whole frame as soon as the file is opened; the size
// limits bound what that can take.) The orientation in the
// metadata (System.Photo.Orientation, or the TIFF and EXIF tag) turns the picture upright. Any
// failing step fails the whole decode: nothing half-decoded is returned.
//
// Threading: as every PictureDecoder. Each Decode initialises COM on its thread for the call (the
// multithreaded apartment, or the single-threaded one the thread is already in) and makes its own
// codec objects, so calls on several threads share nothing. A thread that decodes many pictures
// should hold a ComApartment for its life (see com.h).
class WicPictureDecoder final : public PictureDecoder {
 public:
  // Asks the system for its installed decoders' extensions (on this thread, within its own COM
  // scope). Without COM or WIC the list is empty and every decode is kUnsupportedType.
  WicPictureDecoder();

  DecodeResult Decode(std::span<const std::uint8_t> file_bytes, std::string_view extension,
                      DecodeTarget target) const override;
  const std::vector<std::string>& Extensions() const override { return extensions_; }

 private:
  std::vector<std::string> extensions_;
};

// What the show and the dialogs decode with on Windows: JPEG and BMP through the portable decoders,
// every other installed format through WIC. Its extension list always holds .bmp, .jpeg and .jpg.
std::unique_ptr<PictureDecoder> MakeSystemPictureDecoder();

}  // namespace tessmoor::win32
