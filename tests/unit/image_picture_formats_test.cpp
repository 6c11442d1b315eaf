// The PNG, GIF and TIFF writers read back by independent means: zlib for the PNG's CRCs and its
// deflate stream, a plain LZW decoder for the GIF, the TIFF directory walked tag by tag (and its
// orientation through the EXIF reader, which reads the same structure).

#include <map>
#include <string>

#include <gtest/gtest.h>
#include <zlib.h>

#include "platform/image/exif.h"
#include "tests/support/picture_formats.h"

namespace tessmoor::test {
namespace {

std::uint32_t Be32(const std::vector<std::uint8_t>& b, std::size_t at) {
  return (std::uint32_t{b.at(at)} << 24) | (std::uint32_t{b.at(at + 1)} << 16) | (std::uint32_t{b.at(at + 2)} << 8) | b.at(at + 3);
}

struct PngRead {
  std::uint32_t width = 0, height = 0;
  int depth = 0, colour = 0;
  int idat_chunks = 0;
  std::vector<std::uint8_t> raw;  // the inflated rows, filter bytes included
};

PngRead ReadPng(const std::vector<std::uint8_t>& png, std::size_t expected_raw) {
  PngRead r;
  const std::vector<std::uint8_t> signature = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  EXPECT_TRUE(std::equal(signature.begin(), signature.end(), png.begin()));
  std::vector<std::uint8_t> zdata;
  std::string last;
  for (std::size_t at = 8; at < png.size();) {
    const std::uint32_t length = Be32(png, at);
    const std::string type(png.begin() + static_cast<std::ptrdiff_t>(at + 4), png.begin() + static_cast<std::ptrdiff_t>(at + 8));
    const std::uint8_t* data = png.data() + at + 8;
    EXPECT_EQ(Be32(png, at + 8 + length), crc32(crc32(0, nullptr, 0), png.data() + at + 4, length + 4)) << type;
    if (type == "IHDR") {
      r.width = Be32(png, at + 8);
      r.height = Be32(png, at + 12);
      r.depth = data[8];
      r.colour = data[9];
    } else if (type == "IDAT") {
      zdata.insert(zdata.end(), data, data + length);
      ++r.idat_chunks;
    }
    last = type;
    at += 12 + length;
  }
  EXPECT_EQ(last, "IEND");
  r.raw.resize(expected_raw + 1);  // one spare byte: a longer stream would fill it
  uLongf size = static_cast<uLongf>(r.raw.size());
  EXPECT_EQ(uncompress(r.raw.data(), &size, zdata.data(), static_cast<uLong>(zdata.size())), Z_OK);
  r.raw.resize(size);
  return r;
}

TEST(PngWriter, WritesRowsThatZlibInflatesBackStoredOrCompressed) {
  const PixelFn pixels = Quadrants(37, 21, kRed, kGreen, kBlue, kYellow);
  const AlphaFn alpha = [](int x, int) { return static_cast<std::uint8_t>(x * 7); };
  for (const bool compress : {false, true}) {
    for (const bool with_alpha : {false, true}) {
      PngOptions options;
      options.compress = compress;
      options.idat_chunks = 3;
      if (with_alpha) options.alpha = alpha;
      const int channels = with_alpha ? 4 : 3;
      const PngRead r = ReadPng(MakePng(37, 21, pixels, options), 21 * (1 + 37 * channels));
      EXPECT_EQ(r.width, 37u);
      EXPECT_EQ(r.height, 21u);
      EXPECT_EQ(r.depth, 8);
      EXPECT_EQ(r.colour, with_alpha ? 6 : 2);
      EXPECT_EQ(r.idat_chunks, 3);
      ASSERT_EQ(r.raw.size(), static_cast<std::size_t>(21 * (1 + 37 * channels)));
      for (int y = 0; y < 21; ++y) {
        const std::uint8_t* row = r.raw.data() + static_cast<std::size_t>(y * (1 + 37 * channels));
        ASSERT_EQ(row[0], 0);
        for (int x = 0; x < 37; ++x) {
          const std::uint8_t* px = row + 1 + x * channels;
          ASSERT_EQ((Rgb{px[0], px[1], px[2]}), pixels(x, y)) << x << "," << y;
          if (with_alpha) {
            ASSERT_EQ(px[3], alpha(x, y));
          }
        }
      }
    }
  }
}

TEST(PngWriter, StoresMoreThanOneBlockAndChecksumsLikeZlib) {
  const PngRead r = ReadPng(MakePng(200, 200, Gradient(200, 200)), 200 * 601);  // 120 kB: two stored blocks
  EXPECT_EQ(r.raw.size(), 200u * 601u);
  const std::vector<std::uint8_t> bytes(r.raw.begin(), r.raw.begin() + 5000);
  EXPECT_EQ(Adler32(bytes.data(), bytes.size()), adler32(adler32(0, nullptr, 0), bytes.data(), 5000));
  EXPECT_EQ(Crc32(bytes.data(), bytes.size()), crc32(crc32(0, nullptr, 0), bytes.data(), 5000));
}

TEST(PngWriter, PacksRunsIntoAFileFarSmallerThanItsPixels) {
  const std::vector<std::uint8_t> png = MakePngOfRuns(8000, 8000);
  EXPECT_LT(png.size(), 60000u);
  const PngRead r = ReadPng(png, 8000u * 1001u);
  EXPECT_EQ(r.depth, 1);
  EXPECT_EQ(r.colour, 0);
  EXPECT_EQ(r.raw, std::vector<std::uint8_t>(8000u * 1001u, 0));
}

TEST(PngWriter, RewritesTheDeclaredSizeWithAValidHeader) {
  std::vector<std::uint8_t> png = MakePng(4, 4, Solid(kRed));
  SetPngSize(png, 60000, 50000);
  const PngRead r = ReadPng(png, 4 * 13);  // the data stays that of 4 x 4
  EXPECT_EQ(r.width, 60000u);
  EXPECT_EQ(r.height, 50000u);
  EXPECT_EQ(r.raw.size(), 4u * 13u);
}

// ---- GIF -------------------------------------------------------------------------------------

std::vector<int> LzwDecode(const std::vector<std::uint8_t>& data, int min_code_size) {
  const int clear = 1 << min_code_size, end = clear + 1;
  std::vector<std::vector<int>> table;
  auto reset = [&] {
    table.assign(static_cast<std::size_t>(clear + 2), {});
    for (int i = 0; i < clear; ++i) table[static_cast<std::size_t>(i)] = {i};
  };
  reset();
  int width = min_code_size + 1, prev = -1;
  std::size_t bit = 0;
  std::vector<int> out;
  while (bit + static_cast<std::size_t>(width) <= data.size() * 8) {
    int code = 0;
    for (int i = 0; i < width; ++i, ++bit) code |= ((data[bit / 8] >> (bit % 8)) & 1) << i;
    if (code == clear) {
      reset();
      width = min_code_size + 1;
      prev = -1;
      continue;
    }
    if (code == end) return out;
    std::vector<int> entry;
    if (code < static_cast<int>(table.size())) {
      entry = table[static_cast<std::size_t>(code)];
    } else {
      entry = table[static_cast<std::size_t>(prev)];
      entry.push_back(entry.front());
    }
    if (prev >= 0) {
      std::vector<int> added = table[static_cast<std::size_t>(prev)];
      added.push_back(entry.front());
      table.push_back(added);
      if (table.size() == (1u << width) && width < 12) ++width;
    }
    out.insert(out.end(), entry.begin(), entry.end());
    prev = code;
  }
  ADD_FAILURE() << "LZW stream without an end code";
  return out;
}

TEST(GifWriter, WritesFramesThatAnLzwDecoderReadsBack) {
  const std::vector<GifFrame> frames = {
      {0, 0, 30, 20, Quadrants(30, 20, kRed, kGreen, kBlue, kYellow), std::nullopt},
      {5, 4, 11, 9, Gradient(11, 9), kBlack},
  };
  const std::vector<std::uint8_t> gif = MakeGif(30, 20, frames);
  ASSERT_EQ(std::string(gif.begin(), gif.begin() + 6), "GIF89a");
  EXPECT_EQ(gif[kGifScreenWidthAt], 30);
  EXPECT_EQ(gif[kGifScreenHeightAt], 20);
  ASSERT_EQ(gif[10], 0xF7);
  auto palette = [&](int i) { return Rgb{gif[13 + 3 * i], gif[14 + 3 * i], gif[15 + 3 * i]}; };
  std::size_t at = 13 + 768;
  std::size_t frame = 0;
  int transparent = -1;
  while (gif.at(at) != 0x3B) {
    if (gif[at] == 0x21) {  // extension: graphic control or application
      if (gif[at + 1] == 0xF9) transparent = (gif[at + 3] & 1) ? gif[at + 6] : -1;
      at += 2;
      while (gif[at] != 0) at += gif[at] + 1u;
      ++at;
      continue;
    }
    ASSERT_EQ(gif[at], 0x2C);
    ASSERT_LT(frame, frames.size());
    const GifFrame& f = frames[frame];
    EXPECT_EQ(gif[at + 1] | (gif[at + 2] << 8), f.left);
    EXPECT_EQ(gif[at + 3] | (gif[at + 4] << 8), f.top);
    EXPECT_EQ(gif[at + 5] | (gif[at + 6] << 8), f.width);
    EXPECT_EQ(gif[at + 7] | (gif[at + 8] << 8), f.height);
    const int min_code_size = gif[at + 10];
    at += 11;
    std::vector<std::uint8_t> data;
    while (gif[at] != 0) {
      data.insert(data.end(), gif.begin() + static_cast<std::ptrdiff_t>(at + 1),
                  gif.begin() + static_cast<std::ptrdiff_t>(at + 1 + gif[at]));
      at += gif[at] + 1u;
    }
    ++at;
    const std::vector<int> indices = LzwDecode(data, min_code_size);
    ASSERT_EQ(indices.size(), static_cast<std::size_t>(f.width * f.height));
    for (int y = 0; y < f.height; ++y) {
      for (int x = 0; x < f.width; ++x) {
        const int index = indices[static_cast<std::size_t>(y * f.width + x)];
        ASSERT_EQ(palette(index), f.pixels(x, y)) << frame << ": " << x << "," << y;
        ASSERT_EQ(index == transparent, f.transparent && *f.transparent == f.pixels(x, y));
      }
    }
    ++frame;
  }
  EXPECT_EQ(frame, frames.size());
}

// ---- TIFF ------------------------------------------------------------------------------------

struct TiffRead {
  bool big_endian = false;
  std::map<int, std::vector<std::uint32_t>> tags;
};

TiffRead ReadTiff(const std::vector<std::uint8_t>& t) {
  TiffRead r;
  r.big_endian = t.at(0) == 'M';
  auto u = [&](std::size_t at, int n) {
    std::uint32_t v = 0;
    for (int i = 0; i < n; ++i) {
      const std::uint32_t byte = t.at(at + static_cast<std::size_t>(r.big_endian ? i : n - 1 - i));
      v = (v << 8) | byte;
    }
    return v;
  };
  EXPECT_EQ(u(2, 2), 42u);
  const std::size_t ifd = u(4, 4);
  for (std::uint32_t i = 0, n = u(ifd, 2); i < n; ++i) {
    const std::size_t e = ifd + 2 + 12 * i;
    const int size = u(e + 2, 2) == 3 ? 2 : 4;
    const std::uint32_t count = u(e + 4, 4);
    const std::size_t values = count * static_cast<std::uint32_t>(size) > 4 ? u(e + 8, 4) : e + 8;
    for (std::uint32_t k = 0; k < count; ++k) r.tags[static_cast<int>(u(e, 2))].push_back(u(values + k * size, size));
  }
  EXPECT_EQ(u(ifd + 2 + 12 * r.tags.size(), 4), 0u);  // one directory
  return r;
}

TEST(TiffWriter, WritesStripsAndTagsInEitherByteOrder) {
  const PixelFn pixels = Gradient(23, 17);
  const AlphaFn alpha = [](int x, int y) { return static_cast<std::uint8_t>(x + y); };
  for (const bool big_endian : {false, true}) {
    for (const bool with_alpha : {false, true}) {
      TiffOptions options;
      options.big_endian = big_endian;
      options.rows_per_strip = 5;
      if (with_alpha) options.alpha = alpha;
      const std::vector<std::uint8_t> tiff = MakeTiff(23, 17, pixels, options);
      const TiffRead r = ReadTiff(tiff);
      const std::uint32_t spp = with_alpha ? 4 : 3;
      EXPECT_EQ(r.big_endian, big_endian);
      EXPECT_EQ(r.tags.at(256), std::vector<std::uint32_t>{23});
      EXPECT_EQ(r.tags.at(257), std::vector<std::uint32_t>{17});
      EXPECT_EQ(r.tags.at(258), std::vector<std::uint32_t>(spp, 8));
      EXPECT_EQ(r.tags.at(259), std::vector<std::uint32_t>{1});
      EXPECT_EQ(r.tags.at(262), std::vector<std::uint32_t>{2});
      EXPECT_EQ(r.tags.at(277), std::vector<std::uint32_t>{spp});
      EXPECT_EQ(r.tags.count(274), 0u);
      EXPECT_EQ(r.tags.count(338), with_alpha ? 1u : 0u);
      const std::vector<std::uint32_t>& offsets = r.tags.at(273);
      ASSERT_EQ(offsets.size(), 4u);  // rows 0-4, 5-9, 10-14, 15-16
      EXPECT_EQ(r.tags.at(279).back(), 2u * 23u * spp);
      for (int y = 0; y < 17; ++y) {
        for (int x = 0; x < 23; ++x) {
          const std::size_t at = offsets[static_cast<std::size_t>(y / 5)] + ((y % 5) * 23u + x) * spp;
          ASSERT_EQ((Rgb{tiff.at(at), tiff.at(at + 1), tiff.at(at + 2)}), pixels(x, y));
          if (with_alpha) {
            ASSERT_EQ(tiff.at(at + 3), alpha(x, y));
          }
        }
      }
    }
  }
}

TEST(TiffWriter, WritesAnOrientationThatTheExifReaderFinds) {
  for (const bool big_endian : {false, true}) {
    for (int orientation = 1; orientation <= 8; ++orientation) {
      TiffOptions options;
      options.big_endian = big_endian;
      options.orientation = orientation;
      std::vector<std::uint8_t> payload = {'E', 'x', 'i', 'f', 0, 0};
      const std::vector<std::uint8_t> tiff = MakeTiff(3, 2, Solid(kRed), options);
      payload.insert(payload.end(), tiff.begin(), tiff.end());
      EXPECT_EQ(ExifOrientation(payload), orientation) << big_endian;
    }
  }
}

TEST(TiffWriter, WritesTheHostileVariantsAsAsked) {
  TiffOptions options;
  options.declared_width = 60000;
  options.declared_height = 40000;
  options.strips_past_end = true;
  const std::vector<std::uint8_t> tiff = MakeTiff(4, 4, Solid(kRed), options);
  const TiffRead r = ReadTiff(tiff);
  EXPECT_EQ(r.tags.at(256), std::vector<std::uint32_t>{60000});
  EXPECT_EQ(r.tags.at(257), std::vector<std::uint32_t>{40000});
  EXPECT_GT(r.tags.at(273).front(), tiff.size());
}

}  // namespace
}  // namespace tessmoor::test
