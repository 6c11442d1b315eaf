#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/image/decode.h"
#include "tests/support/picture_files.h"

namespace tessmoor {
namespace {

struct SizeCase {
  int source_w, source_h, box_w, box_h, want_w, want_h;
};

class FittedSizes : public ::testing::TestWithParam<SizeCase> {};

TEST_P(FittedSizes, KeepTheAspectRoundDownAndNeverGrow) {
  const SizeCase c = GetParam();
  EXPECT_EQ(DecodedSize(c.source_w, c.source_h, {c.box_w, c.box_h}), (PictureSize{c.want_w, c.want_h}));
}

INSTANTIATE_TEST_SUITE_P(Boxes, FittedSizes,
                         ::testing::Values(SizeCase{4000, 3000, 350, 350, 350, 262},
                                           SizeCase{900, 300, 600, 600, 600, 200},
                                           SizeCase{300, 900, 600, 600, 200, 600},
                                           SizeCase{3000, 4000, 350, 350, 262, 350},
                                           SizeCase{4000, 3000, 800, 100, 133, 100},
                                           SizeCase{100, 50, 600, 600, 100, 50},
                                           SizeCase{100, 50, 100, 50, 100, 50},
                                           SizeCase{640, 480, 0, 0, 640, 480},
                                           SizeCase{4000, 3000, 0, 300, 400, 300},
                                           SizeCase{4000, 3000, 500, 0, 500, 375},
                                           SizeCase{1, 1000, 10, 10, 1, 10},
                                           SizeCase{1000, 1, 10, 10, 10, 1},
                                           SizeCase{65500, 4096, 1920, 1080, 1920, 120},
                                           SizeCase{0, 10, 10, 10, 0, 0}));

TEST(DecodePicture, ChoosesTheDecoderByExtension) {
  const auto jpeg = test::MakeJpeg(16, 8, test::Solid(test::kBlue), 90);
  const auto bmp = test::MakeBmp(16, 8, test::Solid(test::kBlue));
  for (const char* ext : {".jpg", ".jpeg"}) {
    const DecodeResult r = DecodePicture(jpeg, ext, {});
    EXPECT_EQ(r.status, DecodeStatus::kOk) << ext << ": " << r.message;
    EXPECT_EQ(r.picture.width, 16);
    EXPECT_EQ(DecodePicture(bmp, ext, {}).status, DecodeStatus::kCorrupt) << ext;
  }
  const DecodeResult r = DecodePicture(bmp, ".bmp", {8, 8});
  ASSERT_EQ(r.status, DecodeStatus::kOk) << r.message;
  EXPECT_EQ(r.picture.width, 8);
  EXPECT_EQ(r.picture.height, 4);
  EXPECT_EQ(DecodePicture(jpeg, ".bmp", {}).status, DecodeStatus::kCorrupt);
}

TEST(DecodePicture, GivesUnsupportedTypeWithAnEmptyPictureForOtherExtensions) {
  const auto jpeg = test::MakeJpeg(16, 8, test::Solid(test::kBlue), 90);
  for (const char* ext : {".png", ".jpe", ".gif", "", "jpg", ".JPG", ".bmp.txt"}) {
    const DecodeResult r = DecodePicture(jpeg, ext, {});
    EXPECT_EQ(r.status, DecodeStatus::kUnsupportedType) << ext;
    EXPECT_TRUE(r.picture.empty()) << ext;
    EXPECT_TRUE(r.picture.pixels.empty()) << ext;
    EXPECT_FALSE(r.message.empty());
  }
}

TEST(DecodePicture, PadsRowsToFourBytesForATopDownDib) {
  const auto bmp = test::MakeBmp(5, 3, test::Quadrants(5, 3, test::kRed, test::kGreen, test::kBlue, test::kYellow));
  const DecodeResult r = DecodePicture(bmp, ".bmp", {});
  ASSERT_EQ(r.status, DecodeStatus::kOk) << r.message;
  EXPECT_EQ(r.picture.stride(), 16);
  ASSERT_EQ(r.picture.pixels.size(), 48u);
  // Row 0 is the top row: its first pixel is the top-left quadrant's red, stored B, G, R.
  EXPECT_EQ(r.picture.pixels[0], 0);
  EXPECT_EQ(r.picture.pixels[2], 255);
  EXPECT_EQ(test::PixelAt(r.picture, 0, 2), test::kBlue);
}

}  // namespace
}  // namespace tessmoor
