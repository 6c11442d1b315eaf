#include <cstdint>
#include <limits>
#include <vector>

#include <gtest/gtest.h>

#include "platform/image/decode.h"
#include "tests/support/picture_files.h"

namespace tessmoor {
namespace {

using test::BmpEncoding;
using test::BmpOptions;
using test::PixelAt;

std::vector<std::uint8_t> SmallBmp(const BmpOptions& options = {}) {
  const auto pixels = options.bits == 1
                          ? test::Quadrants(6, 4, test::kBlack, test::kWhite, test::kWhite, test::kBlack)
                          : test::Quadrants(6, 4, test::kRed, test::kGreen, test::kBlue, test::kYellow);
  return test::MakeBmp(6, 4, pixels, options);
}

std::size_t OffBits(const std::vector<std::uint8_t>& file) {
  return file[10] | (file[11] << 8) | (file[12] << 16) | (std::size_t{file[13]} << 24);
}

// An 8-bit picture whose palette starts white, red, green, with its pixels replaced by `stream`.
std::vector<std::uint8_t> Rle8(int width, int height, const std::vector<std::uint8_t>& stream) {
  const test::Rgb first[] = {test::kWhite, test::kRed, test::kGreen};
  auto file = test::MakeBmp(width, height, [&](int x, int y) { return first[(y * width + x) % 3]; },
                            {.bits = 8});
  file.resize(OffBits(file));
  file.insert(file.end(), stream.begin(), stream.end());
  test::PutLe32(file, test::kBmpCompressionAt, 1);
  test::PutLe32(file, 34, static_cast<std::uint32_t>(stream.size()));
  return file;
}

DecodeStatus StatusOf(const std::vector<std::uint8_t>& file) { return DecodeBmp(file, {}).status; }

TEST(DecodeBmpHostile, RefusesDeclaredSizesOverTheLimitsBeforeAllocating) {
  struct Case {
    std::int32_t width, height;
  };
  for (const Case c : {Case{60000, 60000}, Case{70000, 1}, Case{1, -70000}, Case{40000, 40000},
                       Case{std::numeric_limits<std::int32_t>::max(), 2}, Case{2, std::numeric_limits<std::int32_t>::min()}}) {
    auto file = SmallBmp();
    test::PutLe32(file, test::kBmpWidthAt, static_cast<std::uint32_t>(c.width));
    test::PutLe32(file, test::kBmpHeightAt, static_cast<std::uint32_t>(c.height));
    EXPECT_EQ(StatusOf(file), DecodeStatus::kTooLarge) << c.width << "x" << c.height;
  }
}

TEST(DecodeBmpHostile, RefusesZeroAndNegativeWidthsAndZeroHeights) {
  for (const auto& [w, h] : {std::pair{0, 4}, std::pair{6, 0}, std::pair{-6, 4}}) {
    auto file = SmallBmp();
    test::PutLe32(file, test::kBmpWidthAt, static_cast<std::uint32_t>(w));
    test::PutLe32(file, test::kBmpHeightAt, static_cast<std::uint32_t>(h));
    EXPECT_EQ(StatusOf(file), DecodeStatus::kCorrupt) << w << "x" << h;
  }
}

TEST(DecodeBmpHostile, RefusesPixelOffsetsOutsideTheFileOrInsideTheHeaders) {
  for (std::uint32_t off : {0u, 13u, 53u, 1u << 20, 0xFFFFFFFFu}) {
    auto file = SmallBmp();
    test::PutLe32(file, test::kBmpOffBitsAt, off);
    EXPECT_EQ(StatusOf(file), DecodeStatus::kCorrupt) << off;
  }
  auto file = SmallBmp();
  test::PutLe32(file, test::kBmpOffBitsAt, static_cast<std::uint32_t>(file.size()));
  EXPECT_EQ(StatusOf(file), DecodeStatus::kCorrupt) << "offset at the end, no pixels";
}

TEST(DecodeBmpHostile, RefusesPalettesLargerThanTheBitDepthAllows) {
  for (std::uint32_t count : {257u, 0x10000u, 0xFFFFFFFFu}) {
    auto file = SmallBmp({.bits = 8});
    test::PutLe32(file, test::kBmpColorsUsedAt, count);
    EXPECT_EQ(StatusOf(file), DecodeStatus::kCorrupt) << count;
  }
}

TEST(DecodeBmpHostile, RefusesPixelDataShorterThanDeclared) {
  for (int bits : {1, 4, 8, 16, 24, 32}) {
    auto file = SmallBmp({.bits = bits});
    const std::size_t row = (6 * bits + 31) / 32 * 4;
    const std::size_t padding = row - (6 * bits + 7) / 8;
    file.resize(file.size() - padding - 1);
    EXPECT_EQ(StatusOf(file), DecodeStatus::kCorrupt) << bits;
  }
}

TEST(DecodeBmpHostile, NeverReadsPastAFileCutAtAnyByte) {
  for (const BmpOptions& options :
       {BmpOptions{.bits = 24}, BmpOptions{.bits = 1}, BmpOptions{.bits = 8, .encoding = BmpEncoding::kRle},
        BmpOptions{.bits = 4, .encoding = BmpEncoding::kRle},
        BmpOptions{.bits = 16, .header = test::BmpHeaderKind::kV5, .encoding = BmpEncoding::kBitfields,
                   .masks = {0xF800, 0x07E0, 0x001F, 0}},
        BmpOptions{.bits = 24, .header = test::BmpHeaderKind::kCore}}) {
    const auto full = SmallBmp(options);
    ASSERT_EQ(StatusOf(full), DecodeStatus::kOk) << options.bits;
    for (std::size_t n = 0; n + 4 < full.size(); ++n) {
      // An exact-size copy, so that a read past it is caught by the address sanitizer.
      const std::vector<std::uint8_t> cut(full.begin(), full.begin() + static_cast<std::ptrdiff_t>(n));
      ASSERT_EQ(StatusOf(cut), DecodeStatus::kCorrupt) << "bits " << options.bits << " cut at " << n;
    }
  }
}

TEST(DecodeBmpHostile, RefusesBitDepthsThatDoNotFitTheCompression) {
  for (const auto& [bits, compression] : {std::pair{24, 1}, std::pair{8, 2}, std::pair{4, 1}, std::pair{24, 3},
                                         std::pair{8, 3}, std::pair{7, 0}, std::pair{0, 0}, std::pair{48, 0}}) {
    auto file = SmallBmp();
    test::PutLe16(file, test::kBmpBitsAt, static_cast<std::uint16_t>(bits));
    test::PutLe32(file, test::kBmpCompressionAt, static_cast<std::uint32_t>(compression));
    EXPECT_EQ(StatusOf(file), DecodeStatus::kCorrupt) << bits << "/" << compression;
  }
}

TEST(DecodeBmpHostile, CallsEmbeddedJpegAndPngAndOtherHeaderKindsUnsupported) {
  for (std::uint32_t compression : {4u, 5u}) {
    auto file = SmallBmp();
    test::PutLe32(file, test::kBmpCompressionAt, compression);
    EXPECT_EQ(StatusOf(file), DecodeStatus::kUnsupportedType) << compression;
  }
  auto os2 = SmallBmp();
  test::PutLe32(os2, 14, 64);
  EXPECT_EQ(StatusOf(os2), DecodeStatus::kUnsupportedType);
}

TEST(DecodeBmpHostile, RefusesFilesWithoutTheSignature) {
  EXPECT_EQ(StatusOf({}), DecodeStatus::kCorrupt);
  auto file = SmallBmp();
  file[0] = 'X';
  EXPECT_EQ(StatusOf(file), DecodeStatus::kCorrupt);
}

TEST(DecodeBmpRle, LeavesPixelsTheStreamSkipsBlack) {
  // Row 0 (bottom): two red, end of line. Row 1: delta right 2, one green, end of bitmap.
  const auto r = DecodeBmp(Rle8(4, 2, {2, 1, 0, 0, 0, 2, 2, 0, 1, 2, 0, 1}), {});
  ASSERT_EQ(r.status, DecodeStatus::kOk) << r.message;
  EXPECT_EQ(PixelAt(r.picture, 0, 1), test::kRed);
  EXPECT_EQ(PixelAt(r.picture, 1, 1), test::kRed);
  EXPECT_EQ(PixelAt(r.picture, 2, 1), test::kBlack);  // not palette entry 0, which is white
  EXPECT_EQ(PixelAt(r.picture, 0, 0), test::kBlack);
  EXPECT_EQ(PixelAt(r.picture, 2, 0), test::kGreen);
  EXPECT_EQ(PixelAt(r.picture, 3, 0), test::kBlack);
}

TEST(DecodeBmpRle, ReadsAbsoluteRunsWithTheirPadding) {
  // Absolute run of 3 (padded to 4 bytes), then one white by an encoded run, end of bitmap.
  const auto r = DecodeBmp(Rle8(4, 1, {0, 3, 1, 2, 1, 0xAA, 1, 0, 0, 1}), {});
  ASSERT_EQ(r.status, DecodeStatus::kOk) << r.message;
  EXPECT_EQ(PixelAt(r.picture, 0, 0), test::kRed);
  EXPECT_EQ(PixelAt(r.picture, 1, 0), test::kGreen);
  EXPECT_EQ(PixelAt(r.picture, 2, 0), test::kRed);
  EXPECT_EQ(PixelAt(r.picture, 3, 0), test::kWhite);
}

TEST(DecodeBmpRle, AcceptsAnEndOfLineAfterTheLastRow) {
  EXPECT_EQ(StatusOf(Rle8(2, 1, {2, 1, 0, 0, 0, 1})), DecodeStatus::kOk);
}

TEST(DecodeBmpRle, RefusesStreamsThatLeaveTheirRowOrThePicture) {
  const std::vector<std::vector<std::uint8_t>> streams = {
      {5, 1, 0, 1},                    // encoded run past the row end
      {0, 5, 1, 1, 1, 1, 1, 0, 0, 1},  // absolute run past the row end
      {0, 0, 0, 0, 1, 1, 0, 1},        // run above the top row
      {0, 2, 5, 0, 0, 1},              // delta past the right edge
      {0, 2, 0, 3, 0, 1},              // delta past the top
      {0, 0, 0, 0, 0, 0, 0, 1},        // ends of line past the top
      {2, 1, 0, 0},                    // no end of bitmap
      {0, 4, 1, 2},                    // absolute run cut short
      {0, 2, 1},                       // delta cut short
  };
  for (const auto& stream : streams) {
    EXPECT_EQ(StatusOf(Rle8(4, 2, stream)), DecodeStatus::kCorrupt) << ::testing::PrintToString(stream);
  }
}

TEST(DecodeBmpRle, RefusesTopDownRle) {
  auto file = SmallBmp({.bits = 8, .encoding = BmpEncoding::kRle});
  test::PutLe32(file, test::kBmpHeightAt, static_cast<std::uint32_t>(-4));
  EXPECT_EQ(StatusOf(file), DecodeStatus::kCorrupt);
}

}  // namespace
}  // namespace tessmoor
