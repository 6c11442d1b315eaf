#include "tests/support/tag_decoder.h"

#include <cstdio>
#include <string>
#include <thread>

#include "platform/image/picture.h"

namespace tessmoor::testing {

std::vector<std::uint8_t> TagFile(int id, int width, int height) {
  const std::string text = "TAG " + std::to_string(id) + " " + std::to_string(width) + " " + std::to_string(height);
  return {text.begin(), text.end()};
}

int TagOf(const Picture* picture) {
  if (picture == nullptr || picture->pixels.size() < 3) return -1;
  return picture->pixels[0] | picture->pixels[1] << 8 | picture->pixels[2] << 16;
}

TagDecoder::TagDecoder(std::vector<std::string> extensions) : extensions_(NormalizeExtensions(std::move(extensions))) {}

DecodeResult TagDecoder::Decode(std::span<const std::uint8_t> file_bytes, std::string_view extension,
                                DecodeTarget) const {
  ++decodes_;
  if (delay.count() > 0) std::this_thread::sleep_for(delay);
  if (!Accepts(extension)) return {DecodeStatus::kUnsupportedType, {}, "not a tag extension"};
  const std::string text(file_bytes.begin(), file_bytes.end());
  int id = 0, width = 0, height = 0;
  char tail = 0;
  if (std::sscanf(text.c_str(), "TAG %d %d %d%c", &id, &width, &height, &tail) != 3 || width <= 0 || height <= 0)
    return {DecodeStatus::kCorrupt, {}, "not a tag file"};
  Picture picture;
  picture.width = 2;
  picture.height = 2;
  picture.source_width = width;
  picture.source_height = height;
  picture.pixels.assign(static_cast<std::size_t>(picture.stride()) * 2, 0);
  for (int row = 0; row < 2; ++row)
    for (int x = 0; x < 2; ++x) {
      std::uint8_t* p = &picture.pixels[static_cast<std::size_t>(row * picture.stride() + x * 3)];
      p[0] = static_cast<std::uint8_t>(id);
      p[1] = static_cast<std::uint8_t>(id >> 8);
      p[2] = static_cast<std::uint8_t>(id >> 16);
    }
  return {DecodeStatus::kOk, std::move(picture), {}};
}

}  // namespace tessmoor::testing
