#pragma once

// Picture files made in memory for the decoder tests and fuzz seeds: JPEGs through libjpeg's own
// compressor, BMPs of every kind the reader handles through a writer of our own. Nothing binary
// is kept in the tree; every test makes the files it needs.

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <span>
#include <vector>

#include "platform/image/picture.h"

namespace tessmoor::test {

struct Rgb {
  std::uint8_t r = 0, g = 0, b = 0;
  friend bool operator==(const Rgb&, const Rgb&) = default;
};

inline constexpr Rgb kBlack{0, 0, 0};
inline constexpr Rgb kWhite{255, 255, 255};
inline constexpr Rgb kRed{255, 0, 0};
inline constexpr Rgb kGreen{0, 255, 0};
inline constexpr Rgb kBlue{0, 0, 255};
inline constexpr Rgb kYellow{255, 255, 0};

// The colour of the pixel at (x, y), top-down.
using PixelFn = std::function<Rgb(int x, int y)>;

PixelFn Solid(Rgb colour);
// Four quadrants split at width / 2 and height / 2.
PixelFn Quadrants(int width, int height, Rgb top_left, Rgb top_right, Rgb bottom_left, Rgb bottom_right);
// Smooth diagonal colour ramps: what a photo looks like to a compressor.
PixelFn Gradient(int width, int height);

// The colour a decoded picture holds at (x, y).
Rgb PixelAt(const Picture& picture, int x, int y);

// The picture a decoder would hand over for these pixels, with its own size as the source size.
// The padding at the end of each row holds junk (0xEE), so that a reader of it shows.
Picture PictureOf(int width, int height, const PixelFn& pixels);

enum class JpegColour { kRgb, kGray, kCmyk, kYcck };

struct JpegOptions {
  int quality = 90;
  bool progressive = false;
  JpegColour colour = JpegColour::kRgb;
  // CMYK and YCCK files: with the Adobe marker the ink values are stored inverted, as
  // Photoshop writes them; without it, plain.
  bool adobe_marker = true;
  bool subsample_chroma = true;  // 4:2:0 as libjpeg's defaults; false gives 4:4:4
  int exif_orientation = 0;  // 0: no EXIF segment
  bool exif_big_endian = false;
  std::vector<std::uint8_t> app1;  // written as an APP1 segment as it is, when not empty
};

std::vector<std::uint8_t> MakeJpeg(int width, int height, const PixelFn& pixels, const JpegOptions& options);
std::vector<std::uint8_t> MakeJpeg(int width, int height, const PixelFn& pixels, int quality,
                                   bool progressive = false, bool gray = false, int exif_orientation = 0);

// An APP1 payload: "Exif\0\0", a TIFF header in the given byte order and IFD0 with an image-width
// entry followed by the orientation (tag 0x0112, SHORT).
std::vector<std::uint8_t> MakeExifPayload(int orientation, bool big_endian);

enum class BmpHeaderKind : std::uint32_t { kCore = 12, kInfo = 40, kV2 = 52, kV3 = 56, kV4 = 108, kV5 = 124 };
// kRle is RLE8 for 8 bits and RLE4 for 4 bits per pixel.
enum class BmpEncoding { kRgb, kBitfields, kRle };

struct BmpOptions {
  int bits = 24;
  BmpHeaderKind header = BmpHeaderKind::kInfo;
  BmpEncoding encoding = BmpEncoding::kRgb;
  bool top_down = false;
  // Red, green, blue, alpha masks for kBitfields; alpha is written (as 0, fully transparent)
  // only where the header has room for its mask.
  std::array<std::uint32_t, 4> masks{};
  // Palettes hold the picture's distinct colours in order of first use, biClrUsed their count;
  // with full_palette they are padded to 2^bits entries and biClrUsed is 0.
  bool full_palette = false;
};

std::vector<std::uint8_t> MakeBmp(int width, int height, const PixelFn& pixels, const BmpOptions& options = {});

// Offsets of BMP header fields that hostile tests rewrite.
inline constexpr std::size_t kBmpOffBitsAt = 10;
inline constexpr std::size_t kBmpWidthAt = 18;
inline constexpr std::size_t kBmpHeightAt = 22;
inline constexpr std::size_t kBmpBitsAt = 28;
inline constexpr std::size_t kBmpCompressionAt = 30;
inline constexpr std::size_t kBmpColorsUsedAt = 46;

void PutLe16(std::vector<std::uint8_t>& bytes, std::size_t offset, std::uint16_t value);
void PutLe32(std::vector<std::uint8_t>& bytes, std::size_t offset, std::uint32_t value);

void WriteFile(const std::filesystem::path& path, std::span<const std::uint8_t> bytes);

}  // namespace tessmoor::test
