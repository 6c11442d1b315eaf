#pragma once
#include <atomic>
#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/image/picture_decoder.h"

namespace tessmoor::testing {

// Files of a made-up format that the tests write by the thousand: "TAG <id> <width> <height>".
// The decoder gives a 2 x 2 picture whose pixels carry the id, with the file's width and height
// as its source size; any other content is corrupt. Thread-safe.
std::vector<std::uint8_t> TagFile(int id, int width = 40, int height = 30);
// The id a decoded picture carries; -1 for nullptr.
int TagOf(const struct Picture* picture);

class TagDecoder final : public PictureDecoder {
 public:
  explicit TagDecoder(std::vector<std::string> extensions = {".bmp", ".jpeg", ".jpg", ".png", ".tif"});
  DecodeResult Decode(std::span<const std::uint8_t> file_bytes, std::string_view extension,
                      DecodeTarget target) const override;
  const std::vector<std::string>& Extensions() const override { return extensions_; }

  // Every decode sleeps this long first (set before the decoder is shared).
  std::chrono::milliseconds delay{0};
  int decodes() const { return decodes_.load(); }

 private:
  std::vector<std::string> extensions_;
  mutable std::atomic<int> decodes_{0};
};

}  // namespace tessmoor::testing
