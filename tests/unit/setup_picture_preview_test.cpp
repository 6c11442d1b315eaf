#include "setup/picture_preview.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "tests/support/fake_dialog_views.h"
#include "tests/support/fakes.h"
#include "tests/support/picture_files.h"

namespace tessmoor {
namespace {

using testing::FakeFileSystem;

std::string Text(Size s) { return std::to_string(s.width) + "x" + std::to_string(s.height); }
std::string Text(Rect r) {
  return "(" + std::to_string(r.left) + "," + std::to_string(r.top) + ")-(" + std::to_string(r.right) + "," +
         std::to_string(r.bottom) + ")";
}

struct ControlSizeCase {
  Size design;
  Size picture;
  Size control;
};

class PictureControlSizeTest : public ::testing::TestWithParam<ControlSizeCase> {};

TEST_P(PictureControlSizeTest, ShrinksTheShorterSideOfTheDesignSize) {
  EXPECT_EQ(Text(PictureControlSize(GetParam().design, GetParam().picture)), Text(GetParam().control));
}

INSTANTIATE_TEST_SUITE_P(
    BoxAndPreview, PictureControlSizeTest,
    ::testing::Values(ControlSizeCase{kBoxPictureDesign, {640, 480}, {137, 102}},
                      ControlSizeCase{kBoxPictureDesign, {480, 640}, {102, 137}},
                      ControlSizeCase{kBoxPictureDesign, {300, 900}, {45, 137}},
                      ControlSizeCase{kBoxPictureDesign, {900, 300}, {137, 45}},
                      ControlSizeCase{kBoxPictureDesign, {500, 500}, {137, 137}},
                      ControlSizeCase{kBoxPictureDesign, {50, 40}, {137, 109}},
                      ControlSizeCase{kBoxPictureDesign, {4000, 3000}, {137, 102}},
                      ControlSizeCase{kBoxPictureDesign, {1, 1000}, {0, 137}},
                      ControlSizeCase{kBoxPictureDesign, {0, 0}, {137, 137}},
                      ControlSizeCase{kFilePreviewDesign, {640, 480}, {97, 72}},
                      ControlSizeCase{kFilePreviewDesign, {480, 640}, {72, 97}},
                      ControlSizeCase{Size{200, 100}, {100, 100}, {200, 100}}));

TEST(PlacePicture, SizesTheControlAndDrawsIntoIt) {
  EXPECT_EQ(PlacePicture(kBoxPictureDesign, {50, 40}, true), (PicturePlacement{{137, 109}, {0, 0, 137, 109}}));
  EXPECT_EQ(PlacePicture(kBoxPictureDesign, {50, 40}, false), (PicturePlacement{{137, 109}, {0, 0, 50, 40}}));
  EXPECT_EQ(PlacePicture(kBoxPictureDesign, {300, 900}, false), (PicturePlacement{{45, 137}, {0, 0, 45, 137}}));
}

class LoadPreviewTest : public ::testing::Test {
 protected:
  void AddJpeg(const std::string& path, int w, int h) {
    files_.Add(path, test::MakeJpeg(w, h, test::Gradient(w, h), 85));
  }
  FakeFileSystem files_;
};

TEST_F(LoadPreviewTest, DecodesALargePhotoNoLargerThanTheControl) {
  AddJpeg("c:\\big.jpg", 4000, 3000);
  const Preview p = LoadPreview(files_, "c:\\big.jpg", ".jpg", kBoxPictureDesign, false);
  ASSERT_EQ(p.status, PreviewStatus::kShown) << p.message;
  EXPECT_EQ(p.placement, (PicturePlacement{{137, 102}, {0, 0, 137, 102}}));
  EXPECT_LE(p.picture.width, 137);
  EXPECT_LE(p.picture.height, 137);
  EXPECT_EQ(p.picture.source_width, 4000);
  EXPECT_EQ(p.picture.source_height, 3000);
}

TEST_F(LoadPreviewTest, DecodesAtTheScreenSizeOfTheControlOnAHighDpiScreen) {
  AddJpeg("c:\\big.jpeg", 4000, 3000);
  const Preview p = LoadPreview(files_, "c:\\big.jpeg", ".jpeg", kBoxPictureDesign, false, 192);
  ASSERT_EQ(p.status, PreviewStatus::kShown) << p.message;
  EXPECT_EQ(Text(p.placement.control), "137x102");  // still in 96-DPI units
  EXPECT_GT(p.picture.width, 137);
  EXPECT_LE(p.picture.width, 274);
}

TEST_F(LoadPreviewTest, KeepsASmallPictureAtItsOwnSizeAndPlacesItByTheRule) {
  files_.Add("c:\\small.bmp", test::MakeBmp(50, 40, test::Solid(test::kRed)));
  const Preview box3 = LoadPreview(files_, "c:\\small.bmp", ".bmp", kBoxPictureDesign, true);
  ASSERT_EQ(box3.status, PreviewStatus::kShown) << box3.message;
  EXPECT_EQ(box3.picture.width, 50);
  EXPECT_EQ(Text(box3.placement.picture), "(0,0)-(137,109)");
  const Preview box1 = LoadPreview(files_, "c:\\small.bmp", ".bmp", kBoxPictureDesign, false);
  EXPECT_EQ(Text(box1.placement.picture), "(0,0)-(50,40)");
}

TEST_F(LoadPreviewTest, AnotherExtensionIsNoPictureEvenForAPictureFile) {
  AddJpeg("c:\\a.JPG", 64, 48);
  AddJpeg("c:\\a.png", 64, 48);
  EXPECT_EQ(LoadPreview(files_, "c:\\a.JPG", ".JPG", kBoxPictureDesign, false).status, PreviewStatus::kNoPicture);
  EXPECT_EQ(LoadPreview(files_, "c:\\a.png", ".png", kBoxPictureDesign, false).status, PreviewStatus::kNoPicture);
  EXPECT_EQ(LoadPreview(files_, "", "", kFilePreviewDesign, false).status, PreviewStatus::kNoPicture);
}

TEST_F(LoadPreviewTest, AMissingOrDamagedFileFailsWithAReason) {
  const Preview missing = LoadPreview(files_, "c:\\gone.jpg", ".jpg", kBoxPictureDesign, false);
  EXPECT_EQ(missing.status, PreviewStatus::kFailed);
  EXPECT_FALSE(missing.message.empty());
  files_.Add("c:\\bad.jpg", {0xFF, 0xD8, 0xFF, 0xE0, 1, 2, 3});
  const Preview bad = LoadPreview(files_, "c:\\bad.jpg", ".jpg", kBoxPictureDesign, false);
  EXPECT_EQ(bad.status, PreviewStatus::kFailed);
  EXPECT_FALSE(bad.message.empty());
  EXPECT_TRUE(bad.picture.empty());
}

// A decoder that takes ".png" files and reports the target it was asked to decode for.
class PngOnlyDecoder final : public PictureDecoder {
 public:
  DecodeResult Decode(std::span<const std::uint8_t> bytes, std::string_view extension,
                      DecodeTarget target) const override {
    asked = target;
    if (extension != ".png" || bytes.size() < 2) return {DecodeStatus::kUnsupportedType, {}, "no"};
    Picture p;
    p.width = std::min(target.max_width, 300);
    p.height = std::min(target.max_height, 100);
    p.source_width = 600;
    p.source_height = 200;
    p.pixels.assign(static_cast<std::size_t>(p.width) * p.height * 3, 0x80);
    return {DecodeStatus::kOk, std::move(p), {}};
  }
  const std::vector<std::string>& Extensions() const override { return extensions_; }
  mutable DecodeTarget asked{};

 private:
  std::vector<std::string> extensions_{".png"};
};

TEST_F(LoadPreviewTest, ThroughADecoderTakesWhatItsExtensionsNameAndDecodesAtThePaneSize) {
  PngOnlyDecoder png;
  files_.Add("c:\\Shots\\Wide.PNG", {1, 2, 3});
  AddJpeg("c:\\a.jpg", 64, 48);
  const Size pane{160, 160};
  const Preview wide = LoadPreview(files_, png, "c:\\Shots\\Wide.PNG", pane, false);
  ASSERT_EQ(wide.status, PreviewStatus::kShown) << wide.message;
  EXPECT_EQ(png.asked.max_width, 160);
  EXPECT_EQ(png.asked.max_height, 160);
  EXPECT_EQ(wide.placement, (PicturePlacement{{160, 53}, {0, 0, 160, 53}}));
  EXPECT_EQ(LoadPreview(files_, png, "c:\\a.jpg", pane, false).status, PreviewStatus::kNoPicture);
  EXPECT_EQ(LoadPreview(files_, png, "c:\\gone.png", pane, false).status, PreviewStatus::kFailed);

  const BuiltInPictureDecoder built_in;
  const Preview jpeg = LoadPreview(files_, built_in, "c:\\a.jpg", pane, false);
  ASSERT_EQ(jpeg.status, PreviewStatus::kShown) << jpeg.message;
  EXPECT_EQ(jpeg.placement, (PicturePlacement{{160, 120}, {0, 0, 64, 48}}));
  files_.Add("c:\\bad.bmp", {'B', 'M', 1, 2});
  EXPECT_EQ(LoadPreview(files_, built_in, "c:\\bad.bmp", pane, false).status, PreviewStatus::kFailed);
}

TEST(PaneDrawRect, CentresThePictureInThePane) {
  EXPECT_EQ(Text(PaneDrawRect({160, 160}, {{160, 53}, {0, 0, 160, 53}})), "(0,53)-(160,106)");
  EXPECT_EQ(Text(PaneDrawRect({160, 160}, {{120, 160}, {0, 0, 120, 160}})), "(20,0)-(140,160)");
  // A small picture keeps its own size.
  EXPECT_EQ(Text(PaneDrawRect({160, 160}, {{160, 120}, {0, 0, 64, 48}})), "(48,56)-(112,104)");
  EXPECT_EQ(Text(PaneDrawRect({200, 100}, {{200, 100}, {0, 0, 200, 100}})), "(0,0)-(200,100)");
}

}  // namespace
}  // namespace tessmoor
