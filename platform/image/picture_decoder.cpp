#include "platform/image/picture_decoder.h"

#include <algorithm>
#include <utility>

#include "platform/image/decode.h"
#include "platform/image/decode_common.h"
#include "platform/text.h"

namespace tessmoor {

bool PictureDecoder::Accepts(std::string_view extension) const {
  const std::vector<std::string>& list = Extensions();
  return std::binary_search(list.begin(), list.end(), extension, std::less<>{});
}

BuiltInPictureDecoder::BuiltInPictureDecoder() : extensions_(NormalizeExtensions({".bmp", ".jpeg", ".jpg"})) {}

DecodeResult BuiltInPictureDecoder::Decode(std::span<const std::uint8_t> file_bytes, std::string_view extension,
                                           DecodeTarget target) const {
  return DecodePicture(file_bytes, extension, target);
}

PictureDecoderSet::PictureDecoderSet(std::vector<std::unique_ptr<PictureDecoder>> decoders)
    : decoders_(std::move(decoders)) {
  std::vector<std::string> all;
  for (const auto& decoder : decoders_) {
    all.insert(all.end(), decoder->Extensions().begin(), decoder->Extensions().end());
  }
  extensions_ = NormalizeExtensions(std::move(all));
}

DecodeResult PictureDecoderSet::Decode(std::span<const std::uint8_t> file_bytes, std::string_view extension,
                                       DecodeTarget target) const {
  for (const auto& decoder : decoders_) {
    if (decoder->Accepts(extension)) return decoder->Decode(file_bytes, extension, target);
  }
  return image_detail::Failure(DecodeStatus::kUnsupportedType,
                               "no decoder for \"" + std::string(extension) + "\" files");
}

std::string PictureExtension(std::string_view path) { return LowerCase(FileExtension(path)); }

std::vector<std::string> NormalizeExtensions(std::vector<std::string> extensions) {
  std::vector<std::string> out;
  out.reserve(extensions.size());
  for (std::string& e : extensions) {
    if (e.empty() || e == ".") continue;
    out.push_back(LowerCase(e.front() == '.' ? e : "." + e));
  }
  std::sort(out.begin(), out.end());
  out.erase(std::unique(out.begin(), out.end()), out.end());
  return out;
}

std::vector<std::string> SplitExtensionList(std::string_view list) {
  constexpr std::string_view kSeparators = ",; \t";
  std::vector<std::string> out;
  std::size_t start = 0;
  while ((start = list.find_first_not_of(kSeparators, start)) != std::string_view::npos) {
    const std::size_t end = std::min(list.find_first_of(kSeparators, start), list.size());
    out.emplace_back(list.substr(start, end - start));
    start = end;
  }
  return NormalizeExtensions(std::move(out));
}

std::string ExtensionPatterns(const std::vector<std::string>& extensions) {
  std::string out;
  for (const std::string& e : extensions) {
    if (!out.empty()) out += ';';
    out += '*';
    out += e;
  }
  return out;
}

}  // namespace tessmoor
