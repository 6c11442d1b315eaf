#pragma once

// Picture decoding behind one interface: the portable decoders (libjpeg-turbo for JPEG, our reader
// for BMP), and on Windows the system's imaging codecs for every other format installed; a set
// puts several together and is what the show and the dialogs hold.
//
// Threading: Decode is const, keeps no state between calls and may run on any number of threads at
// once on one decoder object; Extensions is fixed when the decoder is made and may be read from
// any thread. A decoder must outlive the calls made on it. Making a decoder may take a while (the
// Windows one asks the system for its codecs): make it once, on any thread, and share it.

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/image/picture.h"

namespace tessmoor {

class PictureDecoder {
 public:
  virtual ~PictureDecoder() = default;

  // Decodes a whole file held in memory into a 24-bit BGR picture no larger than the target
  // (DecodedSize), upright, with the file's upright size as its source size. `extension` is the
  // file name's, lower-cased, dot included (PictureExtension); one the decoder does not accept
  // gives kUnsupportedType. A failure holds no pixels: nothing half-decoded is ever returned.
  virtual DecodeResult Decode(std::span<const std::uint8_t> file_bytes, std::string_view extension,
                              DecodeTarget target) const = 0;

  // The extensions Decode accepts: lower-cased, dot included, sorted, each once.
  virtual const std::vector<std::string>& Extensions() const = 0;

  bool Accepts(std::string_view extension) const;
};

// JPEG (".jpg", ".jpeg") and BMP (".bmp") through the portable decoders, as DecodePicture does.
class BuiltInPictureDecoder final : public PictureDecoder {
 public:
  BuiltInPictureDecoder();
  DecodeResult Decode(std::span<const std::uint8_t> file_bytes, std::string_view extension,
                      DecodeTarget target) const override;
  const std::vector<std::string>& Extensions() const override { return extensions_; }

 private:
  std::vector<std::string> extensions_;
};

// Several decoders as one: a file goes to the first decoder, in the order given, that accepts its
// extension; Extensions is the union of theirs.
class PictureDecoderSet final : public PictureDecoder {
 public:
  explicit PictureDecoderSet(std::vector<std::unique_ptr<PictureDecoder>> decoders);
  DecodeResult Decode(std::span<const std::uint8_t> file_bytes, std::string_view extension,
                      DecodeTarget target) const override;
  const std::vector<std::string>& Extensions() const override { return extensions_; }

 private:
  std::vector<std::unique_ptr<PictureDecoder>> decoders_;
  std::vector<std::string> extensions_;
};

// The extension a decoder is asked with: the file name's last dot on, lower-cased as the system
// lower-cases names ("C:\\Photos\\IMG_1.JPG" gives ".jpg"); empty when the name has no dot.
std::string PictureExtension(std::string_view path);

// Each given with its dot, lower-cased, sorted and once: ".JPG", "png" and ".png" give ".jpg",
// ".png". Empty entries are dropped.
std::vector<std::string> NormalizeExtensions(std::vector<std::string> extensions);

// The extensions in a codec's list: ".jpeg,.jpe,.jpg" as documented, ".tif;.tiff" as Wine
// writes them, spaces or not; normalised as above.
std::vector<std::string> SplitExtensionList(std::string_view list);

// The pattern a file list or an open dialog's filter takes: "*.bmp;*.gif;*.jpg".
std::string ExtensionPatterns(const std::vector<std::string>& extensions);

}  // namespace tessmoor
