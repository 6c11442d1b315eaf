#include <cstdint>
#include <cstdlib>
#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include "platform/image/decode.h"
#include "tests/support/picture_files.h"

namespace tessmoor {
namespace {

using test::JpegColour;
using test::JpegOptions;
using test::PixelAt;
using test::Rgb;

void ExpectNear(Rgb actual, Rgb expected, int tolerance, const std::string& where) {
  EXPECT_NEAR(actual.r, expected.r, tolerance) << where;
  EXPECT_NEAR(actual.g, expected.g, tolerance) << where;
  EXPECT_NEAR(actual.b, expected.b, tolerance) << where;
}

// Checks the centre of each quadrant of a picture made by test::Quadrants.
void ExpectQuadrants(const Picture& p, Rgb tl, Rgb tr, Rgb bl, Rgb br, int tolerance) {
  const int x0 = p.width / 4, x1 = p.width * 3 / 4, y0 = p.height / 4, y1 = p.height * 3 / 4;
  ExpectNear(PixelAt(p, x0, y0), tl, tolerance, "top left");
  ExpectNear(PixelAt(p, x1, y0), tr, tolerance, "top right");
  ExpectNear(PixelAt(p, x0, y1), bl, tolerance, "bottom left");
  ExpectNear(PixelAt(p, x1, y1), br, tolerance, "bottom right");
}

constexpr Rgb kOrange{240, 140, 20};
constexpr Rgb kTeal{20, 160, 150};
constexpr Rgb kPlum{120, 40, 110};
constexpr Rgb kSand{220, 210, 170};

class JpegKinds : public ::testing::TestWithParam<std::tuple<bool, int>> {};

TEST_P(JpegKinds, DecodeToTheirColoursWithinTolerance) {
  const auto [progressive, quality] = GetParam();
  const auto file = test::MakeJpeg(80, 60, test::Quadrants(80, 60, kOrange, kTeal, kPlum, kSand), quality, progressive);
  const DecodeResult r = DecodeJpeg(file, {});
  ASSERT_EQ(r.status, DecodeStatus::kOk) << r.message;
  ASSERT_EQ(r.picture.width, 80);
  ASSERT_EQ(r.picture.height, 60);
  EXPECT_EQ(r.picture.source_width, 80);
  EXPECT_EQ(r.picture.source_height, 60);
  EXPECT_EQ(r.picture.pixels.size(), static_cast<std::size_t>(r.picture.stride()) * 60);
  ExpectQuadrants(r.picture, kOrange, kTeal, kPlum, kSand, 12);
}

INSTANTIATE_TEST_SUITE_P(BaselineAndProgressive, JpegKinds,
                         ::testing::Combine(::testing::Bool(), ::testing::Values(75, 95)));

TEST(DecodeJpeg, DecodesGrayscaleToEqualBgrChannels) {
  const auto file = test::MakeJpeg(32, 32, test::Quadrants(32, 32, test::kWhite, test::kBlack, Rgb{100, 100, 100},
                                                           Rgb{200, 200, 200}),
                                   95, false, true);
  const DecodeResult r = DecodeJpeg(file, {});
  ASSERT_EQ(r.status, DecodeStatus::kOk) << r.message;
  ExpectQuadrants(r.picture, test::kWhite, test::kBlack, Rgb{100, 100, 100}, Rgb{200, 200, 200}, 6);
  const Rgb c = PixelAt(r.picture, 5, 20);
  EXPECT_EQ(c.r, c.g);
  EXPECT_EQ(c.g, c.b);
}

class CmykJpegs : public ::testing::TestWithParam<std::tuple<JpegColour, bool>> {};

TEST_P(CmykJpegs, DecodeToBgr) {
  const auto [colour, adobe] = GetParam();
  JpegOptions options;
  options.quality = 95;
  options.colour = colour;
  options.adobe_marker = adobe;
  const auto file = test::MakeJpeg(48, 48, test::Quadrants(48, 48, kOrange, kTeal, kPlum, kSand), options);
  const DecodeResult r = DecodeJpeg(file, {});
  ASSERT_EQ(r.status, DecodeStatus::kOk) << r.message;
  ExpectQuadrants(r.picture, kOrange, kTeal, kPlum, kSand, 14);
}

// YCCK always carries the Adobe marker (its transform flag says YCCK).
INSTANTIATE_TEST_SUITE_P(InvertedAndPlain, CmykJpegs,
                         ::testing::Values(std::make_tuple(JpegColour::kCmyk, true),
                                           std::make_tuple(JpegColour::kCmyk, false),
                                           std::make_tuple(JpegColour::kYcck, true)));

struct ScaledCase {
  int width, height, box_w, box_h, want_w, want_h;
};

class ScaledJpegs : public ::testing::TestWithParam<ScaledCase> {};

TEST_P(ScaledJpegs, DecodeToExactlyTheFittedSizeAndKeepTheSourceSize) {
  const ScaledCase c = GetParam();
  const auto file = test::MakeJpeg(c.width, c.height, test::Quadrants(c.width, c.height, kOrange, kTeal, kPlum, kSand), 85);
  const DecodeResult r = DecodeJpeg(file, {c.box_w, c.box_h});
  ASSERT_EQ(r.status, DecodeStatus::kOk) << r.message;
  EXPECT_EQ(r.picture.width, c.want_w);
  EXPECT_EQ(r.picture.height, c.want_h);
  EXPECT_EQ(r.picture.source_width, c.width);
  EXPECT_EQ(r.picture.source_height, c.height);
  ExpectQuadrants(r.picture, kOrange, kTeal, kPlum, kSand, 14);
}

INSTANTIATE_TEST_SUITE_P(Boxes, ScaledJpegs,
                         ::testing::Values(ScaledCase{4000, 3000, 350, 350, 350, 262},
                                           ScaledCase{900, 300, 600, 600, 600, 200},
                                           ScaledCase{300, 900, 600, 600, 200, 600},
                                           ScaledCase{4000, 3000, 525, 394, 525, 393},
                                           ScaledCase{640, 480, 1024, 768, 640, 480},
                                           ScaledCase{640, 480, 0, 0, 640, 480},
                                           ScaledCase{333, 111, 100, 100, 100, 33}));

TEST(DecodeJpeg, SmoothsFineDetailWhenShrinking) {
  // One-pixel stripes: a nearest-neighbour shrink would give black or white, an area shrink grey.
  const auto file = test::MakeJpeg(800, 800, [](int x, int) { return x % 2 ? test::kWhite : test::kBlack; }, 95);
  const DecodeResult r = DecodeJpeg(file, {100, 100});
  ASSERT_EQ(r.status, DecodeStatus::kOk) << r.message;
  for (int x = 10; x < 90; x += 7) ExpectNear(PixelAt(r.picture, x, 50), Rgb{128, 128, 128}, 24, std::to_string(x));
}

}  // namespace
}  // namespace tessmoor
