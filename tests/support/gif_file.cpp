// GIF through a writer of our own. The LZW stream codes every pixel as a literal of 9 bits and
// sends a clear code every 250 of them, before the code table could outgrow 9 bits: valid for
// every decoder, and simple enough to check by eye.

#include <algorithm>
#include <stdexcept>
#include <string_view>

#include "tests/support/picture_formats.h"

namespace tessmoor::test {
namespace {

constexpr unsigned kMinCodeSize = 8;
constexpr unsigned kClear = 1u << kMinCodeSize;
constexpr unsigned kEnd = kClear + 1;
constexpr int kLiteralsPerClear = 250;

void PutLe16(std::vector<std::uint8_t>& out, int v) {
  out.push_back(static_cast<std::uint8_t>(v));
  out.push_back(static_cast<std::uint8_t>(v >> 8));
}

class Palette {
 public:
  int IndexOf(Rgb c) {
    const auto it = std::find(colours_.begin(), colours_.end(), c);
    if (it != colours_.end()) return static_cast<int>(it - colours_.begin());
    if (colours_.size() == 256) throw std::invalid_argument("more than 256 colours for one GIF");
    colours_.push_back(c);
    return static_cast<int>(colours_.size() - 1);
  }
  void Write(std::vector<std::uint8_t>& out) const {
    for (std::size_t i = 0; i < 256; ++i) {
      const Rgb c = i < colours_.size() ? colours_[i] : Rgb{};
      out.insert(out.end(), {c.r, c.g, c.b});
    }
  }

 private:
  std::vector<Rgb> colours_;
};

std::vector<std::uint8_t> Lzw(const std::vector<int>& indices) {
  std::vector<std::uint8_t> out;
  std::uint32_t acc = 0;
  int bits = 0;
  auto code = [&](unsigned c) {
    acc |= c << bits;
    bits += static_cast<int>(kMinCodeSize) + 1;
    while (bits >= 8) {
      out.push_back(static_cast<std::uint8_t>(acc));
      acc >>= 8;
      bits -= 8;
    }
  };
  for (std::size_t i = 0; i < indices.size(); ++i) {
    if (i % kLiteralsPerClear == 0) code(kClear);
    code(static_cast<unsigned>(indices[i]));
  }
  code(kEnd);
  if (bits > 0) out.push_back(static_cast<std::uint8_t>(acc));
  return out;
}

void SubBlocks(std::vector<std::uint8_t>& out, const std::vector<std::uint8_t>& data) {
  for (std::size_t at = 0; at < data.size(); at += 255) {
    const std::size_t n = std::min<std::size_t>(255, data.size() - at);
    out.push_back(static_cast<std::uint8_t>(n));
    out.insert(out.end(), data.begin() + static_cast<std::ptrdiff_t>(at), data.begin() + static_cast<std::ptrdiff_t>(at + n));
  }
  out.push_back(0);
}

}  // namespace

std::vector<std::uint8_t> MakeGif(int screen_width, int screen_height, const std::vector<GifFrame>& frames) {
  Palette palette;
  std::vector<std::vector<int>> indices(frames.size());
  std::vector<int> transparent(frames.size(), -1);
  for (std::size_t f = 0; f < frames.size(); ++f) {
    const GifFrame& frame = frames[f];
    if (frame.transparent) transparent[f] = palette.IndexOf(*frame.transparent);
    for (int y = 0; y < frame.height; ++y) {
      for (int x = 0; x < frame.width; ++x) indices[f].push_back(palette.IndexOf(frame.pixels(x, y)));
    }
  }

  std::vector<std::uint8_t> out = {'G', 'I', 'F', '8', '9', 'a'};
  PutLe16(out, screen_width);
  PutLe16(out, screen_height);
  out.insert(out.end(), {0xF7, 0, 0});  // a global palette of 256 entries; background 0
  palette.Write(out);
  if (frames.size() > 1) {
    const std::string_view app = "NETSCAPE2.0";
    out.insert(out.end(), {0x21, 0xFF, 11});
    out.insert(out.end(), app.begin(), app.end());
    out.insert(out.end(), {3, 1, 0, 0, 0});  // loop for ever
  }
  for (std::size_t f = 0; f < frames.size(); ++f) {
    const GifFrame& frame = frames[f];
    // Graphic control: disposal "leave in place", 0.5 s, the transparent index if any.
    out.insert(out.end(), {0x21, 0xF9, 4, static_cast<std::uint8_t>(0x04 | (transparent[f] >= 0 ? 1 : 0)), 50, 0,
                           static_cast<std::uint8_t>(std::max(0, transparent[f])), 0});
    out.push_back(0x2C);
    PutLe16(out, frame.left);
    PutLe16(out, frame.top);
    PutLe16(out, frame.width);
    PutLe16(out, frame.height);
    out.push_back(0);  // no local palette, not interlaced
    out.push_back(static_cast<std::uint8_t>(kMinCodeSize));
    SubBlocks(out, Lzw(indices[f]));
  }
  out.push_back(0x3B);
  return out;
}

}  // namespace tessmoor::test
