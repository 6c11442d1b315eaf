#include <cstdint>
#include <optional>
#include <vector>

#include <gtest/gtest.h>

#include "platform/image/decode.h"
#include "tests/support/picture_files.h"

namespace tessmoor {
namespace {

// A JPEG's marker segments up to the first scan: where its frame header sits and where the
// header ends (the first byte after the first SOS segment).
struct JpegLandmarks {
  std::size_t frame = 0;       // offset of the SOFn marker
  std::size_t header_end = 0;  // end of the first SOS segment
};

std::optional<JpegLandmarks> FindLandmarks(const std::vector<std::uint8_t>& f) {
  JpegLandmarks marks;
  std::size_t at = 2;
  while (at + 4 <= f.size() && f[at] == 0xFF) {
    const std::uint8_t marker = f[at + 1];
    const std::size_t length = (f[at + 2] << 8) | f[at + 3];
    if (marker >= 0xC0 && marker <= 0xC2) marks.frame = at;
    if (marker == 0xDA) {
      marks.header_end = at + 2 + length;
      return marks;
    }
    at += 2 + length;
  }
  return std::nullopt;
}

std::vector<std::uint8_t> SmallJpeg(bool progressive) {
  return test::MakeJpeg(40, 24, test::Quadrants(40, 24, test::kRed, test::kGreen, test::kBlue, test::kYellow), 80,
                        progressive);
}

std::vector<std::uint8_t> WithDeclaredSize(std::vector<std::uint8_t> file, int width, int height) {
  const auto marks = FindLandmarks(file);
  if (!marks) throw std::runtime_error("no frame header");
  file[marks->frame + 5] = static_cast<std::uint8_t>(height >> 8);
  file[marks->frame + 6] = static_cast<std::uint8_t>(height);
  file[marks->frame + 7] = static_cast<std::uint8_t>(width >> 8);
  file[marks->frame + 8] = static_cast<std::uint8_t>(width);
  return file;
}

class JpegHostile : public ::testing::TestWithParam<bool> {};

TEST_P(JpegHostile, RefusesDeclaredSizesOverTheLimits) {
  for (const auto& [w, h] : {std::pair{60000, 60000}, std::pair{65535, 10}, std::pair{20000, 20000}}) {
    const DecodeResult r = DecodeJpeg(WithDeclaredSize(SmallJpeg(GetParam()), w, h), {});
    EXPECT_EQ(r.status, DecodeStatus::kTooLarge) << w << "x" << h << ": " << r.message;
    EXPECT_TRUE(r.picture.empty());
  }
}

TEST_P(JpegHostile, RefusesTheSizeEvenWhenATargetWouldScaleItDown) {
  const DecodeResult r = DecodeJpeg(WithDeclaredSize(SmallJpeg(GetParam()), 60000, 60000), {100, 100});
  EXPECT_EQ(r.status, DecodeStatus::kTooLarge) << r.message;
}

// Data that ends early is shown as far as it goes once the header is complete; a cut inside the
// header is corrupt.
TEST_P(JpegHostile, ShowsFilesCutAfterTheHeaderAndRefusesFilesCutInsideIt) {
  const auto full = SmallJpeg(GetParam());
  const auto marks = FindLandmarks(full);
  ASSERT_TRUE(marks);
  for (std::size_t n = 0; n < full.size(); ++n) {
    // An exact-size copy, so that a read past it is caught by the address sanitizer.
    const std::vector<std::uint8_t> cut(full.begin(), full.begin() + static_cast<std::ptrdiff_t>(n));
    const DecodeResult r = DecodeJpeg(cut, {});
    if (n < marks->header_end) {
      ASSERT_EQ(r.status, DecodeStatus::kCorrupt) << "cut at " << n;
      ASSERT_TRUE(r.picture.empty());
    } else {
      ASSERT_EQ(r.status, DecodeStatus::kOk) << "cut at " << n << ": " << r.message;
      ASSERT_EQ(r.picture.width, 40);
      ASSERT_EQ(r.picture.height, 24);
    }
  }
}

TEST_P(JpegHostile, SurvivesGarbledScanData) {
  const auto full = SmallJpeg(GetParam());
  const auto marks = FindLandmarks(full);
  ASSERT_TRUE(marks);
  std::uint32_t seed = 12345;
  for (int round = 0; round < 200; ++round) {
    auto garbled = full;
    for (int k = 0; k < 4; ++k) {
      seed = seed * 1664525u + 1013904223u;
      const std::size_t at = marks->header_end + seed % (full.size() - marks->header_end);
      garbled[at] = static_cast<std::uint8_t>(seed >> 24);
    }
    const DecodeResult r = DecodeJpeg(garbled, {20, 20});
    ASSERT_TRUE(r.status == DecodeStatus::kOk || r.status == DecodeStatus::kCorrupt) << round;
    if (r.status == DecodeStatus::kOk) {
      ASSERT_EQ(r.picture.width, 20);
      ASSERT_EQ(r.picture.height, 12);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(BaselineAndProgressive, JpegHostile, ::testing::Bool());

TEST(DecodeJpegHostile, RefusesProgressiveFilesNeedingTooMuchWorkingMemory) {
  // Within the pixel limit, but a progressive 4:4:4 file of this size keeps 1.5 GB of coefficients.
  test::JpegOptions options;
  options.progressive = true;
  options.subsample_chroma = false;
  const auto file = WithDeclaredSize(test::MakeJpeg(40, 24, test::Solid(test::kRed), options), 16000, 16000);
  const DecodeResult r = DecodeJpeg(file, {100, 100});
  EXPECT_EQ(r.status, DecodeStatus::kTooLarge) << r.message;
}

TEST(DecodeJpegHostile, RefusesWhatIsNotAJpeg) {
  EXPECT_EQ(DecodeJpeg({}, {}).status, DecodeStatus::kCorrupt);
  const std::vector<std::uint8_t> bmp = test::MakeBmp(4, 4, test::Solid(test::kRed));
  EXPECT_EQ(DecodeJpeg(bmp, {}).status, DecodeStatus::kCorrupt);
  const std::vector<std::uint8_t> soi_only = {0xFF, 0xD8};
  EXPECT_EQ(DecodeJpeg(soi_only, {}).status, DecodeStatus::kCorrupt);
}

TEST(DecodeJpegHostile, IgnoresAnExifSegmentWithOffsetsPointingOutside) {
  std::vector<std::uint8_t> exif = test::MakeExifPayload(6, false);
  test::PutLe32(exif, 6 + 4, 0xFFFFFFF0u);
  test::JpegOptions options;
  options.app1 = exif;
  const auto file = test::MakeJpeg(40, 24, test::Solid(test::kRed), options);
  const DecodeResult r = DecodeJpeg(file, {});
  ASSERT_EQ(r.status, DecodeStatus::kOk) << r.message;
  EXPECT_EQ(r.picture.width, 40);  // not turned
  EXPECT_EQ(r.picture.height, 24);
}

}  // namespace
}  // namespace tessmoor
