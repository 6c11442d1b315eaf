#pragma once

// PNG, GIF and TIFF files made in memory by our own writers, for the tests of the system's imaging
// codecs: plain pictures, pictures with alpha, several frames, orientation tags, and the hostile
// files a library may hold (sizes that lie, cut files, decompression bombs). Nothing binary is
// kept in the tree.

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "tests/support/picture_files.h"

namespace tessmoor::test {

// The alpha of the pixel at (x, y): 0 transparent, 255 opaque.
using AlphaFn = std::function<std::uint8_t(int x, int y)>;

// ---- PNG --------------------------------------------------------------------------------------

struct PngOptions {
  AlphaFn alpha;              // set: colour type 6 (RGBA); unset: colour type 2 (RGB)
  bool compress = false;      // deflate with fixed Huffman codes and runs; else stored blocks
  int idat_chunks = 1;        // the compressed stream split over this many IDAT chunks
};
std::vector<std::uint8_t> MakePng(int width, int height, const PixelFn& pixels, const PngOptions& options = {});

// A 1-bit grey PNG of width x height, all black, compressed as runs: about 150 times smaller than
// its pixel data (8000 x 8000 in 50 KB), a decompression bomb in small.
std::vector<std::uint8_t> MakePngOfRuns(std::uint32_t width, std::uint32_t height);

// Rewrites the size in a PNG's header (and the header's CRC), leaving the pixel data as it is.
void SetPngSize(std::vector<std::uint8_t>& png, std::uint32_t width, std::uint32_t height);

// Deflate helpers the PNG writer uses, exposed for their own checks.
std::uint32_t Crc32(const std::uint8_t* data, std::size_t size, std::uint32_t crc = 0);
std::uint32_t Adler32(const std::uint8_t* data, std::size_t size);

// ---- GIF --------------------------------------------------------------------------------------

struct GifFrame {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  PixelFn pixels;                  // the frame's own coordinates
  std::optional<Rgb> transparent;  // pixels of this colour are written transparent
};

// One global palette for every colour of every frame (at most 256 with the transparent one),
// LZW with 9-bit codes and a clear code often enough that the width never grows. Two frames or
// more make an animation (a Netscape loop block is written).
std::vector<std::uint8_t> MakeGif(int screen_width, int screen_height, const std::vector<GifFrame>& frames);

inline constexpr std::size_t kGifScreenWidthAt = 6;
inline constexpr std::size_t kGifScreenHeightAt = 8;

// ---- TIFF -------------------------------------------------------------------------------------

struct TiffOptions {
  bool big_endian = false;
  int orientation = 0;        // written as tag 274 when 1..8 (any other value as it is, when not 0)
  AlphaFn alpha;              // set: a fourth, unassociated alpha sample
  int rows_per_strip = 0;     // 0: the whole picture in one strip
  std::uint32_t declared_width = 0;   // non-zero: written instead of the real size
  std::uint32_t declared_height = 0;
  bool strips_past_end = false;  // every strip offset points past the end of the file
};
std::vector<std::uint8_t> MakeTiff(int width, int height, const PixelFn& pixels, const TiffOptions& options = {});

}  // namespace tessmoor::test
