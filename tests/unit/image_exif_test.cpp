#include <cstdint>
#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include "platform/image/decode.h"
#include "platform/image/exif.h"
#include "tests/support/picture_files.h"

namespace tessmoor {
namespace {

using test::PixelAt;
using test::Rgb;

// The EXIF table of orientations: which edge of the upright picture the stored row 0 and the
// stored column 0 lie along.
enum class Edge { kTop, kBottom, kLeft, kRight };
struct Placement {
  Edge row0;
  Edge column0;
};
Placement PlacementOf(int orientation) {
  switch (orientation) {
    case 2: return {Edge::kTop, Edge::kRight};
    case 3: return {Edge::kBottom, Edge::kRight};
    case 4: return {Edge::kBottom, Edge::kLeft};
    case 5: return {Edge::kLeft, Edge::kTop};
    case 6: return {Edge::kRight, Edge::kTop};
    case 7: return {Edge::kRight, Edge::kBottom};
    case 8: return {Edge::kLeft, Edge::kBottom};
    default: return {Edge::kTop, Edge::kLeft};
  }
}

// Where the stored pixel (sx, sy) appears in the upright picture of upright_w x upright_h.
std::pair<int, int> UprightPosition(int orientation, int sx, int sy, int upright_w, int upright_h) {
  const Placement p = PlacementOf(orientation);
  if (p.row0 == Edge::kTop || p.row0 == Edge::kBottom) {
    return {p.column0 == Edge::kLeft ? sx : upright_w - 1 - sx, p.row0 == Edge::kTop ? sy : upright_h - 1 - sy};
  }
  return {p.row0 == Edge::kLeft ? sy : upright_w - 1 - sy, p.column0 == Edge::kTop ? sx : upright_h - 1 - sx};
}

class Orientations : public ::testing::TestWithParam<int> {};

TEST_P(Orientations, ApplyOrientationMovesEveryStoredPixelWhereTheTagSays) {
  const int o = GetParam();
  Picture stored;
  stored.width = 5;
  stored.height = 3;
  stored.source_width = 500;
  stored.source_height = 300;
  stored.pixels.assign(static_cast<std::size_t>(stored.stride()) * 3, 0);
  for (int y = 0; y < 3; ++y) {
    for (int x = 0; x < 5; ++x) stored.pixels[y * stored.stride() + x * 3 + 2] = static_cast<std::uint8_t>(y * 5 + x);
  }
  const Picture upright = ApplyOrientation(stored, o);
  const bool swapped = o >= 5;
  ASSERT_EQ(upright.width, swapped ? 3 : 5);
  ASSERT_EQ(upright.height, swapped ? 5 : 3);
  EXPECT_EQ(upright.source_width, swapped ? 300 : 500);
  EXPECT_EQ(upright.source_height, swapped ? 500 : 300);
  for (int sy = 0; sy < 3; ++sy) {
    for (int sx = 0; sx < 5; ++sx) {
      const auto [ux, uy] = UprightPosition(o, sx, sy, upright.width, upright.height);
      EXPECT_EQ(PixelAt(upright, ux, uy).r, sy * 5 + sx) << "stored " << sx << "," << sy;
    }
  }
}

// The upright picture is marked by quadrants; the file stores it turned the way the tag undoes.
struct OrientedJpeg {
  static constexpr int kUprightW = 64;
  static constexpr int kUprightH = 48;
  test::PixelFn upright = test::Quadrants(kUprightW, kUprightH, test::kRed, test::kGreen, test::kBlue, test::kYellow);
  std::vector<std::uint8_t> Make(int o, bool big_endian) const {
    const bool swapped = o >= 5;
    const int sw = swapped ? kUprightH : kUprightW;
    const int sh = swapped ? kUprightW : kUprightH;
    test::JpegOptions options;
    options.quality = 95;
    options.exif_orientation = o;
    options.exif_big_endian = big_endian;
    auto stored = [&](int sx, int sy) {
      const auto [ux, uy] = UprightPosition(o, sx, sy, kUprightW, kUprightH);
      return upright(ux, uy);
    };
    return test::MakeJpeg(sw, sh, stored, options);
  }
};

void ExpectNear(Rgb actual, Rgb expected, const std::string& where) {
  EXPECT_NEAR(actual.r, expected.r, 12) << where;
  EXPECT_NEAR(actual.g, expected.g, 12) << where;
  EXPECT_NEAR(actual.b, expected.b, 12) << where;
}

class OrientedJpegs : public ::testing::TestWithParam<std::tuple<int, bool>> {};

TEST_P(OrientedJpegs, DecodeUprightWithTheMarkedQuadrantsInPlace) {
  const auto [o, big_endian] = GetParam();
  const DecodeResult r = DecodeJpeg(OrientedJpeg{}.Make(o, big_endian), {});
  ASSERT_EQ(r.status, DecodeStatus::kOk) << r.message;
  ASSERT_EQ(r.picture.width, OrientedJpeg::kUprightW);
  ASSERT_EQ(r.picture.height, OrientedJpeg::kUprightH);
  EXPECT_EQ(r.picture.source_width, OrientedJpeg::kUprightW);
  EXPECT_EQ(r.picture.source_height, OrientedJpeg::kUprightH);
  ExpectNear(PixelAt(r.picture, 16, 12), test::kRed, "top left");
  ExpectNear(PixelAt(r.picture, 48, 12), test::kGreen, "top right");
  ExpectNear(PixelAt(r.picture, 16, 36), test::kBlue, "bottom left");
  ExpectNear(PixelAt(r.picture, 48, 36), test::kYellow, "bottom right");
}

TEST_P(OrientedJpegs, FitTheUprightPictureIntoTheTarget) {
  const auto [o, big_endian] = GetParam();
  // 64x48 upright into 32x32: the width limits, 32x24.
  const DecodeResult r = DecodeJpeg(OrientedJpeg{}.Make(o, big_endian), {32, 32});
  ASSERT_EQ(r.status, DecodeStatus::kOk) << r.message;
  EXPECT_EQ(r.picture.width, 32);
  EXPECT_EQ(r.picture.height, 24);
  EXPECT_EQ(r.picture.source_width, OrientedJpeg::kUprightW);
  EXPECT_EQ(r.picture.source_height, OrientedJpeg::kUprightH);
  ExpectNear(PixelAt(r.picture, 8, 6), test::kRed, "top left");
  ExpectNear(PixelAt(r.picture, 24, 18), test::kYellow, "bottom right");
}

INSTANTIATE_TEST_SUITE_P(AllTags, Orientations, ::testing::Range(1, 9));
INSTANTIATE_TEST_SUITE_P(AllTagsBothByteOrders, OrientedJpegs,
                         ::testing::Combine(::testing::Range(1, 9), ::testing::Bool()));

TEST(ExifOrientation, ReadsTheTagInBothByteOrders) {
  for (int o = 1; o <= 8; ++o) {
    EXPECT_EQ(ExifOrientation(test::MakeExifPayload(o, false)), o);
    EXPECT_EQ(ExifOrientation(test::MakeExifPayload(o, true)), o);
  }
}

TEST(ExifOrientation, GivesUprightForValuesOutsideTheTable) {
  for (int o : {0, 9, 255, 0xFFFF}) EXPECT_EQ(ExifOrientation(test::MakeExifPayload(o, false)), 1) << o;
}

TEST(ExifOrientation, GivesUprightForOtherApp1Segments) {
  const std::string xmp = "http://ns.adobe.com/xap/1.0/";
  EXPECT_EQ(ExifOrientation(std::vector<std::uint8_t>(xmp.begin(), xmp.end())), 1);
  EXPECT_EQ(ExifOrientation({}), 1);
}

TEST(ExifOrientation, GivesUprightWhenTheDirectoryOffsetPointsOutside) {
  for (std::uint32_t offset : {0xFFFFFFFFu, 0xFFFFFFF6u, 0x10000u, 27u}) {
    std::vector<std::uint8_t> payload = test::MakeExifPayload(6, false);
    test::PutLe32(payload, 6 + 4, offset);  // IFD0 offset, after "Exif\0\0", "II" and 42
    EXPECT_EQ(ExifOrientation(payload), 1) << offset;
  }
}

TEST(ExifOrientation, NeverReadsPastATruncatedPayload) {
  const std::vector<std::uint8_t> full = test::MakeExifPayload(8, true);
  for (std::size_t n = 0; n < full.size(); ++n) {
    // An exact-size copy, so that a read past it is caught by the address sanitizer.
    const std::vector<std::uint8_t> cut(full.begin(), full.begin() + static_cast<std::ptrdiff_t>(n));
    const int o = ExifOrientation(cut);
    EXPECT_TRUE(o == 1 || o == 8) << n;
  }
  EXPECT_EQ(ExifOrientation(full), 8);
}

TEST(ExifOrientation, GivesUprightWhenTheEntryCountRunsPastThePayload) {
  std::vector<std::uint8_t> payload = test::MakeExifPayload(3, false);
  payload.resize(payload.size() - 16);  // keep the first entry, cut the orientation entry
  test::PutLe16(payload, 6 + 8, 0xFFFF);
  EXPECT_EQ(ExifOrientation(payload), 1);
}

}  // namespace
}  // namespace tessmoor
