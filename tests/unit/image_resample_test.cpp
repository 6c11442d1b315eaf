#include <cstdint>
#include <tuple>

#include <gtest/gtest.h>

#include "platform/image/resample.h"
#include "tests/support/picture_files.h"

namespace tessmoor {
namespace {

using test::PixelAt;
using test::Rgb;

Picture MakePicture(int width, int height, const test::PixelFn& pixels) {
  Picture p;
  p.width = width;
  p.height = height;
  p.source_width = width * 10;
  p.source_height = height * 10;
  p.pixels.assign(static_cast<std::size_t>(p.stride()) * height, 0xEE);  // padding must not leak in
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const Rgb c = pixels(x, y);
      std::uint8_t* px = p.pixels.data() + static_cast<std::size_t>(y) * p.stride() + x * 3;
      px[0] = c.b;
      px[1] = c.g;
      px[2] = c.r;
    }
  }
  return p;
}

class ResampleSizes : public ::testing::TestWithParam<std::tuple<int, int, int, int>> {};

TEST_P(ResampleSizes, GivesExactlyTheAskedSizeAndKeepsASolidColour) {
  const auto [sw, sh, dw, dh] = GetParam();
  const Rgb colour{200, 100, 30};
  const Picture out = ResampleArea(MakePicture(sw, sh, test::Solid(colour)), dw, dh);
  ASSERT_EQ(out.width, dw);
  ASSERT_EQ(out.height, dh);
  EXPECT_EQ(out.pixels.size(), static_cast<std::size_t>(out.stride()) * dh);
  EXPECT_EQ(out.source_width, sw * 10);
  EXPECT_EQ(out.source_height, sh * 10);
  for (int y = 0; y < dh; ++y) {
    for (int x = 0; x < dw; ++x) ASSERT_EQ(PixelAt(out, x, y), colour) << x << "," << y;
  }
}

INSTANTIATE_TEST_SUITE_P(Ratios, ResampleSizes,
                         ::testing::Values(std::make_tuple(8, 8, 4, 4), std::make_tuple(1000, 750, 525, 394),
                                           std::make_tuple(7, 3, 7, 3), std::make_tuple(13, 11, 1, 1),
                                           std::make_tuple(5, 5, 3, 2), std::make_tuple(2, 2, 5, 3),
                                           std::make_tuple(1, 1, 1, 1)));

TEST(ResampleArea, AveragesEachCoveredBlock) {
  // 4x2 → 2x1: each output pixel is the mean of a 2x2 block.
  const Picture src = MakePicture(4, 2, [](int x, int y) {
    return Rgb{static_cast<std::uint8_t>(x * 40 + y * 20), 0, static_cast<std::uint8_t>(x < 2 ? 0 : 100)};
  });
  const Picture out = ResampleArea(src, 2, 1);
  EXPECT_EQ(PixelAt(out, 0, 0), (Rgb{30, 0, 0}));    // (0 + 40 + 20 + 60) / 4
  EXPECT_EQ(PixelAt(out, 1, 0), (Rgb{110, 0, 100}));  // (80 + 120 + 100 + 140) / 4
}

TEST(ResampleArea, WeighsPartlyCoveredPixelsByTheirCoverage) {
  // Three pixels into two: each output covers one and a half source pixels.
  const Picture src = MakePicture(3, 1, [](int x, int) { return Rgb{static_cast<std::uint8_t>(x * 90), 0, 0}; });
  const Picture out = ResampleArea(src, 2, 1);
  EXPECT_EQ(PixelAt(out, 0, 0).r, 30);   // (0 * 1 + 90 * 0.5) / 1.5
  EXPECT_EQ(PixelAt(out, 1, 0).r, 150);  // (90 * 0.5 + 180 * 1) / 1.5
}

TEST(ResampleArea, TurnsFinePatternsGreyInsteadOfAliasing) {
  const Picture src = MakePicture(64, 64, [](int x, int y) { return (x + y) % 2 ? test::kWhite : test::kBlack; });
  for (int side : {32, 16, 8}) {
    const Picture out = ResampleArea(src, side, side);
    for (int y = 0; y < side; ++y) {
      for (int x = 0; x < side; ++x) ASSERT_EQ(PixelAt(out, x, y), (Rgb{128, 128, 128})) << side;
    }
  }
}

TEST(ResampleArea, KeepsColoursApartAlongTheSplit) {
  const Picture src = MakePicture(40, 30, test::Quadrants(40, 30, test::kRed, test::kGreen, test::kBlue, test::kYellow));
  const Picture out = ResampleArea(src, 20, 15);
  EXPECT_EQ(PixelAt(out, 0, 0), test::kRed);
  EXPECT_EQ(PixelAt(out, 9, 0), test::kRed);
  EXPECT_EQ(PixelAt(out, 10, 0), test::kGreen);
  EXPECT_EQ(PixelAt(out, 0, 14), test::kBlue);
  EXPECT_EQ(PixelAt(out, 19, 14), test::kYellow);
}

TEST(ResampleArea, GivesAnEmptyPictureForAnEmptySourceOrSize) {
  EXPECT_TRUE(ResampleArea(Picture{}, 10, 10).empty());
  EXPECT_TRUE(ResampleArea(MakePicture(4, 4, test::Solid(test::kRed)), 0, 3).empty());
}

}  // namespace
}  // namespace tessmoor
