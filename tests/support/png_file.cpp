// PNG through a writer of our own: zlib streams of stored blocks, or fixed-Huffman deflate that
// codes runs of equal bytes as matches at distance 1 (a real compressed stream, and the way to make
// a few kilobytes stand for megabytes).

#include <algorithm>
#include <array>
#include <stdexcept>
#include <string_view>

#include "tests/support/picture_formats.h"

namespace tessmoor::test {
namespace {

void PutBe32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<std::uint8_t>(v >> shift));
}

void Chunk(std::vector<std::uint8_t>& png, std::string_view type, const std::vector<std::uint8_t>& data) {
  PutBe32(png, static_cast<std::uint32_t>(data.size()));
  const std::size_t type_at = png.size();
  png.insert(png.end(), type.begin(), type.end());
  png.insert(png.end(), data.begin(), data.end());
  PutBe32(png, Crc32(png.data() + type_at, png.size() - type_at));
}

class BitWriter {
 public:
  explicit BitWriter(std::vector<std::uint8_t>& out) : out_(out) {}
  void Bits(std::uint32_t value, int count) {  // least significant bit first
    for (int i = 0; i < count; ++i) Bit((value >> i) & 1);
  }
  void Code(std::uint32_t code, int length) {  // Huffman codes go most significant bit first
    for (int i = length - 1; i >= 0; --i) Bit((code >> i) & 1);
  }
  void Align() {
    while (used_ != 0) Bit(0);
  }

 private:
  void Bit(std::uint32_t bit) {
    if (used_ == 0) out_.push_back(0);
    out_.back() = static_cast<std::uint8_t>(out_.back() | (bit << used_));
    used_ = (used_ + 1) % 8;
  }
  std::vector<std::uint8_t>& out_;
  int used_ = 0;
};

void FixedLiteral(BitWriter& bits, unsigned symbol) {
  if (symbol < 144) return bits.Code(0x30 + symbol, 8);
  if (symbol < 256) return bits.Code(0x190 + symbol - 144, 9);
  if (symbol < 280) return bits.Code(symbol - 256, 7);
  bits.Code(0xC0 + symbol - 280, 8);
}

// A match of `length` (3..258) at distance 1.
void FixedMatch(BitWriter& bits, unsigned length) {
  static constexpr std::array<unsigned, 29> kBase = {3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27,
                                                     31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
  static constexpr std::array<int, 29> kExtra = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                                 2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
  std::size_t i = kBase.size() - 1;
  while (kBase[i] > length) --i;
  FixedLiteral(bits, 257 + static_cast<unsigned>(i));
  bits.Bits(length - kBase[i], kExtra[i]);
  bits.Code(0, 5);  // distance code 0: distance 1
}

// Feeds raw bytes, possibly in pieces, into one zlib stream.
class ZlibWriter {
 public:
  ZlibWriter(std::vector<std::uint8_t>& out, bool compress) : out_(out), bits_(out), compress_(compress) {
    out_.insert(out_.end(), {0x78, 0x01});
    if (compress_) bits_.Bits(0b011, 3);  // the one and final block, fixed codes
  }
  void Write(const std::uint8_t* data, std::size_t size) {
    for (std::size_t i = 0; i < size; ++i) {
      a_ = (a_ + data[i]) % 65521;
      b_ = (b_ + a_) % 65521;
    }
    if (!compress_) {
      pending_.insert(pending_.end(), data, data + size);
      return;
    }
    for (std::size_t i = 0; i < size;) {
      std::size_t run = 0;
      if (have_last_) {
        while (i + run < size && data[i + run] == last_ && run < 258) ++run;
      }
      if (run >= 3) {
        FixedMatch(bits_, static_cast<unsigned>(run));
        i += run;
      } else {
        FixedLiteral(bits_, data[i]);
        last_ = data[i];
        have_last_ = true;
        ++i;
      }
    }
  }
  void Finish() {
    if (compress_) {
      FixedLiteral(bits_, 256);
      bits_.Align();
    } else {
      std::size_t at = 0;
      do {
        const std::size_t n = std::min<std::size_t>(pending_.size() - at, 65535);
        const bool final = at + n == pending_.size();
        out_.push_back(final ? 1 : 0);
        out_.insert(out_.end(), {static_cast<std::uint8_t>(n), static_cast<std::uint8_t>(n >> 8),
                                 static_cast<std::uint8_t>(~n), static_cast<std::uint8_t>(~n >> 8)});
        out_.insert(out_.end(), pending_.begin() + static_cast<std::ptrdiff_t>(at),
                    pending_.begin() + static_cast<std::ptrdiff_t>(at + n));
        at += n;
      } while (at < pending_.size());
    }
    PutBe32(out_, (b_ << 16) | a_);
  }

 private:
  std::vector<std::uint8_t>& out_;
  BitWriter bits_;
  bool compress_;
  std::vector<std::uint8_t> pending_;
  std::uint8_t last_ = 0;
  bool have_last_ = false;
  std::uint32_t a_ = 1, b_ = 0;
};

std::vector<std::uint8_t> Header(std::uint32_t width, std::uint32_t height, int bit_depth, int colour_type) {
  std::vector<std::uint8_t> ihdr;
  PutBe32(ihdr, width);
  PutBe32(ihdr, height);
  ihdr.insert(ihdr.end(), {static_cast<std::uint8_t>(bit_depth), static_cast<std::uint8_t>(colour_type), 0, 0, 0});
  return ihdr;
}

std::vector<std::uint8_t> Assemble(const std::vector<std::uint8_t>& ihdr, const std::vector<std::uint8_t>& zlib,
                                   int idat_chunks) {
  std::vector<std::uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  Chunk(png, "IHDR", ihdr);
  const std::size_t pieces = static_cast<std::size_t>(std::max(1, idat_chunks));
  const std::size_t step = (zlib.size() + pieces - 1) / pieces;
  for (std::size_t at = 0; at < zlib.size(); at += step) {
    const std::size_t end = std::min(zlib.size(), at + step);
    Chunk(png, "IDAT", std::vector<std::uint8_t>(zlib.begin() + static_cast<std::ptrdiff_t>(at),
                                                 zlib.begin() + static_cast<std::ptrdiff_t>(end)));
  }
  Chunk(png, "IEND", {});
  return png;
}

}  // namespace

std::uint32_t Crc32(const std::uint8_t* data, std::size_t size, std::uint32_t crc) {
  crc = ~crc;
  for (std::size_t i = 0; i < size; ++i) {
    crc ^= data[i];
    for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1)));
  }
  return ~crc;
}

std::uint32_t Adler32(const std::uint8_t* data, std::size_t size) {
  std::uint32_t a = 1, b = 0;
  for (std::size_t i = 0; i < size; ++i) {
    a = (a + data[i]) % 65521;
    b = (b + a) % 65521;
  }
  return (b << 16) | a;
}

std::vector<std::uint8_t> MakePng(int width, int height, const PixelFn& pixels, const PngOptions& options) {
  const bool alpha = static_cast<bool>(options.alpha);
  std::vector<std::uint8_t> zlib;
  ZlibWriter writer(zlib, options.compress);
  std::vector<std::uint8_t> row;
  for (int y = 0; y < height; ++y) {
    row.assign(1, 0);  // filter type None
    for (int x = 0; x < width; ++x) {
      const Rgb c = pixels(x, y);
      row.insert(row.end(), {c.r, c.g, c.b});
      if (alpha) row.push_back(options.alpha(x, y));
    }
    writer.Write(row.data(), row.size());
  }
  writer.Finish();
  return Assemble(Header(static_cast<std::uint32_t>(width), static_cast<std::uint32_t>(height), 8, alpha ? 6 : 2),
                  zlib, options.idat_chunks);
}

std::vector<std::uint8_t> MakePngOfRuns(std::uint32_t width, std::uint32_t height) {
  std::vector<std::uint8_t> zlib;
  ZlibWriter writer(zlib, true);
  const std::vector<std::uint8_t> row(1 + (static_cast<std::size_t>(width) + 7) / 8, 0);
  for (std::uint32_t y = 0; y < height; ++y) writer.Write(row.data(), row.size());
  writer.Finish();
  return Assemble(Header(width, height, 1, 0), zlib, 1);
}

void SetPngSize(std::vector<std::uint8_t>& png, std::uint32_t width, std::uint32_t height) {
  constexpr std::size_t kIhdrData = 16;  // signature, length, "IHDR"
  if (png.size() < kIhdrData + 17) throw std::invalid_argument("not a PNG of ours");
  for (int i = 0; i < 4; ++i) {
    png[kIhdrData + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(width >> (24 - 8 * i));
    png[kIhdrData + 4 + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(height >> (24 - 8 * i));
  }
  const std::uint32_t crc = Crc32(png.data() + 12, 17);
  for (int i = 0; i < 4; ++i) png[kIhdrData + 13 + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(crc >> (24 - 8 * i));
}

}  // namespace tessmoor::test
