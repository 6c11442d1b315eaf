#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/image/decode.h"
#include "tests/support/picture_files.h"

namespace tessmoor {
namespace {

using test::BmpEncoding;
using test::BmpHeaderKind;
using test::BmpOptions;
using test::PixelAt;
using test::Rgb;

constexpr Rgb kPalette16[] = {
    {255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 0}, {0, 255, 255}, {255, 0, 255}, {255, 255, 255}, {0, 0, 0},
    {128, 0, 0}, {0, 128, 0}, {0, 0, 128}, {128, 128, 0}, {0, 128, 128}, {128, 0, 128}, {192, 192, 192}, {64, 64, 64},
};

// Blocks of repeated colours (encoded runs) beside stretches where every pixel differs (absolute
// runs of all lengths), drawn from as many colours as the bit depth holds.
test::PixelFn Mosaic(int colours) {
  return [colours](int x, int y) {
    const int i = (x % 11 < 5) ? (x + 3 * y) : (x / 4 + y);
    return kPalette16[i % colours];
  };
}

struct Variant {
  std::string name;
  BmpOptions options;
  int tolerance = 0;  // 16-bit channels hold 5 or 6 bits
};

Variant Make(std::string name, BmpHeaderKind header, int bits, BmpEncoding encoding = BmpEncoding::kRgb,
             bool top_down = false, std::array<std::uint32_t, 4> masks = {}) {
  Variant v{std::move(name), {}, 0};
  v.options.header = header;
  v.options.bits = bits;
  v.options.encoding = encoding;
  v.options.top_down = top_down;
  v.options.masks = masks;
  if (bits == 16) v.tolerance = 8;
  return v;
}

constexpr std::array<std::uint32_t, 4> k565{0xF800, 0x07E0, 0x001F, 0};
constexpr std::array<std::uint32_t, 4> k555{0x7C00, 0x03E0, 0x001F, 0};
constexpr std::array<std::uint32_t, 4> k4444{0x0F00, 0x00F0, 0x000F, 0xF000};
constexpr std::array<std::uint32_t, 4> kXrgb{0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000};
constexpr std::array<std::uint32_t, 4> kXbgr{0x000000FF, 0x0000FF00, 0x00FF0000, 0};
constexpr std::array<std::uint32_t, 4> k101010{0x3FF00000, 0x000FFC00, 0x000003FF, 0xC0000000};

std::vector<Variant> Variants() {
  using H = BmpHeaderKind;
  using E = BmpEncoding;
  std::vector<Variant> v = {
      Make("Core1", H::kCore, 1),         Make("Core4", H::kCore, 4),
      Make("Core8", H::kCore, 8),         Make("Core24", H::kCore, 24),
      Make("Info1", H::kInfo, 1),         Make("Info4", H::kInfo, 4),
      Make("Info8", H::kInfo, 8),         Make("Info16Rgb555", H::kInfo, 16),
      Make("Info24", H::kInfo, 24),       Make("Info32Rgb", H::kInfo, 32),
      Make("Info16Fields565", H::kInfo, 16, E::kBitfields, false, k565),
      Make("Info16Fields555", H::kInfo, 16, E::kBitfields, false, k555),
      Make("Info32FieldsXrgb", H::kInfo, 32, E::kBitfields, false, kXrgb),
      Make("Info32FieldsXbgr", H::kInfo, 32, E::kBitfields, false, kXbgr),
      Make("Info32Fields101010", H::kInfo, 32, E::kBitfields, false, k101010),
      Make("InfoRle8", H::kInfo, 8, E::kRle),
      Make("InfoRle4", H::kInfo, 4, E::kRle),
      Make("Info8TopDown", H::kInfo, 8, E::kRgb, true),
      Make("Info24TopDown", H::kInfo, 24, E::kRgb, true),
      Make("Info32TopDown", H::kInfo, 32, E::kRgb, true),
      Make("Info16FieldsTopDown", H::kInfo, 16, E::kBitfields, true, k565),
      Make("V2Fields565", H::kV2, 16, E::kBitfields, false, k565),
      Make("V2Rgb24", H::kV2, 24),
      Make("V3Fields4444", H::kV3, 16, E::kBitfields, false, k4444),
      Make("V3FieldsArgb", H::kV3, 32, E::kBitfields, false, kXrgb),
      Make("V4Rgb24", H::kV4, 24),        Make("V4Pal8", H::kV4, 8),
      Make("V4Fields565", H::kV4, 16, E::kBitfields, false, k565),
      Make("V5Rgb32", H::kV5, 32),        Make("V5Pal4", H::kV5, 4),
      Make("V5Rle8", H::kV5, 8, E::kRle), Make("V5FieldsArgb", H::kV5, 32, E::kBitfields, true, kXrgb),
  };
  for (Variant& x : v) {
    if (x.options.masks == k4444) x.tolerance = 17;
  }
  Variant full = Make("Info8FullPalette", H::kInfo, 8);
  full.options.full_palette = true;
  v.push_back(full);
  Variant full4 = Make("InfoRle4FullPalette", H::kInfo, 4, E::kRle);
  full4.options.full_palette = true;
  v.push_back(full4);
  return v;
}

class BmpVariants : public ::testing::TestWithParam<Variant> {};

TEST_P(BmpVariants, DecodeEveryPixelToItsColour) {
  const Variant& v = GetParam();
  const int colours = v.options.bits == 1 ? 2 : 16;
  for (const auto& [w, h] : {std::pair{13, 7}, std::pair{1, 1}, std::pair{40, 3}, std::pair{3, 9}}) {
    const test::PixelFn fn = Mosaic(colours);
    const DecodeResult r = DecodeBmp(test::MakeBmp(w, h, fn, v.options), {});
    ASSERT_EQ(r.status, DecodeStatus::kOk) << r.message << " " << w << "x" << h;
    ASSERT_EQ(r.picture.width, w);
    ASSERT_EQ(r.picture.height, h);
    EXPECT_EQ(r.picture.source_width, w);
    EXPECT_EQ(r.picture.source_height, h);
    ASSERT_EQ(r.picture.pixels.size(), static_cast<std::size_t>(r.picture.stride()) * h);
    for (int y = 0; y < h; ++y) {
      for (int x = 0; x < w; ++x) {
        const Rgb got = PixelAt(r.picture, x, y);
        const Rgb want = fn(x, y);
        ASSERT_LE(std::abs(got.r - want.r), v.tolerance) << x << "," << y << " of " << w << "x" << h;
        ASSERT_LE(std::abs(got.g - want.g), v.tolerance) << x << "," << y << " of " << w << "x" << h;
        ASSERT_LE(std::abs(got.b - want.b), v.tolerance) << x << "," << y << " of " << w << "x" << h;
      }
    }
  }
}

INSTANTIATE_TEST_SUITE_P(AllKinds, BmpVariants, ::testing::ValuesIn(Variants()),
                         [](const ::testing::TestParamInfo<Variant>& info) { return info.param.name; });

TEST(DecodeBmp, ShrinksToTheFittedSizeAndKeepsTheSourceSize) {
  const auto fn = test::Quadrants(900, 300, test::kRed, test::kGreen, test::kBlue, test::kYellow);
  const DecodeResult r = DecodeBmp(test::MakeBmp(900, 300, fn), {600, 600});
  ASSERT_EQ(r.status, DecodeStatus::kOk) << r.message;
  EXPECT_EQ(r.picture.width, 600);
  EXPECT_EQ(r.picture.height, 200);
  EXPECT_EQ(r.picture.source_width, 900);
  EXPECT_EQ(r.picture.source_height, 300);
  EXPECT_EQ(PixelAt(r.picture, 100, 50), test::kRed);
  EXPECT_EQ(PixelAt(r.picture, 500, 50), test::kGreen);
  EXPECT_EQ(PixelAt(r.picture, 100, 150), test::kBlue);
  EXPECT_EQ(PixelAt(r.picture, 500, 150), test::kYellow);
}

TEST(DecodeBmp, DrawsIndicesPastThePaletteBlack) {
  // Two palette entries, but the pixels use index 5.
  auto file = test::MakeBmp(4, 1, [](int x, int) { return x < 2 ? test::kRed : test::kGreen; }, {.bits = 8});
  const std::size_t off = file[test::kBmpOffBitsAt] | (file[test::kBmpOffBitsAt + 1] << 8);
  file[off + 2] = 5;
  const DecodeResult r = DecodeBmp(file, {});
  ASSERT_EQ(r.status, DecodeStatus::kOk) << r.message;
  EXPECT_EQ(PixelAt(r.picture, 0, 0), test::kRed);
  EXPECT_EQ(PixelAt(r.picture, 2, 0), test::kBlack);
  EXPECT_EQ(PixelAt(r.picture, 3, 0), test::kGreen);
}

TEST(DecodeBmp, ReadsAShortPaletteAsFarAsItGoesBeforeThePixels) {
  // biClrUsed 0 declares 256 entries for 8 bits; this file holds two, with the pixels right after.
  auto file = test::MakeBmp(2, 1, [](int x, int) { return x ? test::kBlue : test::kYellow; }, {.bits = 8});
  test::PutLe32(file, test::kBmpColorsUsedAt, 0);
  const DecodeResult r = DecodeBmp(file, {});
  ASSERT_EQ(r.status, DecodeStatus::kOk) << r.message;
  EXPECT_EQ(PixelAt(r.picture, 0, 0), test::kYellow);
  EXPECT_EQ(PixelAt(r.picture, 1, 0), test::kBlue);
}

TEST(DecodeBmp, AcceptsALastRowWithoutItsPadding) {
  auto file = test::MakeBmp(5, 2, test::Solid(test::kRed));  // 15 bytes a row, 1 of padding
  file.pop_back();
  const DecodeResult r = DecodeBmp(file, {});
  ASSERT_EQ(r.status, DecodeStatus::kOk) << r.message;
  EXPECT_EQ(PixelAt(r.picture, 4, 0), test::kRed);
}

}  // namespace
}  // namespace tessmoor
