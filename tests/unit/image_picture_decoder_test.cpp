#include <atomic>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "platform/image/decode.h"
#include "platform/image/picture_decoder.h"
#include "tests/support/picture_files.h"

namespace tessmoor {
namespace {

using Strings = std::vector<std::string>;

// Answers every file with a 1 x 1 picture whose red value names the decoder.
class NamedDecoder final : public PictureDecoder {
 public:
  NamedDecoder(std::uint8_t name, Strings extensions) : name_(name), extensions_(NormalizeExtensions(std::move(extensions))) {}
  DecodeResult Decode(std::span<const std::uint8_t>, std::string_view extension, DecodeTarget) const override {
    ++calls;
    last_extension = std::string(extension);
    Picture p;
    p.width = p.height = p.source_width = p.source_height = 1;
    p.pixels = {0, 0, name_, 0};
    return DecodeResult{DecodeStatus::kOk, std::move(p), {}};
  }
  const Strings& Extensions() const override { return extensions_; }
  mutable std::atomic<int> calls{0};
  mutable std::string last_extension;

 private:
  std::uint8_t name_;
  Strings extensions_;
};

TEST(BuiltInPictureDecoder, TakesJpegAndBmpAndDecodesThemAsDecodePictureDoes) {
  const BuiltInPictureDecoder decoder;
  EXPECT_EQ(decoder.Extensions(), (Strings{".bmp", ".jpeg", ".jpg"}));
  EXPECT_TRUE(decoder.Accepts(".jpeg"));
  EXPECT_FALSE(decoder.Accepts(".png"));
  EXPECT_FALSE(decoder.Accepts(".JPG"));  // callers pass the lower-cased extension
  const auto jpeg = test::MakeJpeg(64, 48, test::Quadrants(64, 48, test::kRed, test::kGreen, test::kBlue, test::kYellow), 95);
  const auto bmp = test::MakeBmp(30, 20, test::Gradient(30, 20));
  for (const auto& [bytes, extension] : {std::pair{&jpeg, ".jpg"}, std::pair{&jpeg, ".jpeg"}, std::pair{&bmp, ".bmp"}}) {
    const DecodeResult got = decoder.Decode(*bytes, extension, {20, 20});
    const DecodeResult want = DecodePicture(*bytes, extension, {20, 20});
    ASSERT_EQ(got.status, DecodeStatus::kOk) << extension;
    EXPECT_EQ(got.picture.pixels, want.picture.pixels) << extension;
    EXPECT_EQ(got.picture.width, want.picture.width);
    EXPECT_EQ(got.picture.source_width, want.picture.source_width);
  }
  const DecodeResult png = decoder.Decode(jpeg, ".png", {});
  EXPECT_EQ(png.status, DecodeStatus::kUnsupportedType);
  EXPECT_TRUE(png.picture.pixels.empty());
}

TEST(PictureDecoderSet, SendsEachExtensionToTheFirstDecoderThatTakesIt) {
  auto first = std::make_unique<NamedDecoder>(1, Strings{".jpg", ".bmp"});
  auto second = std::make_unique<NamedDecoder>(2, Strings{".png", ".jpg", ".GIF"});
  NamedDecoder& a = *first;
  NamedDecoder& b = *second;
  std::vector<std::unique_ptr<PictureDecoder>> decoders;
  decoders.push_back(std::move(first));
  decoders.push_back(std::move(second));
  const PictureDecoderSet set(std::move(decoders));

  EXPECT_EQ(set.Extensions(), (Strings{".bmp", ".gif", ".jpg", ".png"}));
  const std::vector<std::uint8_t> bytes = {1, 2, 3};
  EXPECT_EQ(set.Decode(bytes, ".jpg", {}).picture.pixels[2], 1);
  EXPECT_EQ(set.Decode(bytes, ".png", {}).picture.pixels[2], 2);
  EXPECT_EQ(set.Decode(bytes, ".gif", {}).picture.pixels[2], 2);
  EXPECT_EQ(b.last_extension, ".gif");
  EXPECT_EQ(a.calls, 1);
  EXPECT_EQ(b.calls, 2);

  const DecodeResult none = set.Decode(bytes, ".tga", {});
  EXPECT_EQ(none.status, DecodeStatus::kUnsupportedType);
  EXPECT_TRUE(none.picture.pixels.empty());
  EXPECT_NE(none.message.find(".tga"), std::string::npos);
  EXPECT_EQ(set.Decode(bytes, "", {}).status, DecodeStatus::kUnsupportedType);
  EXPECT_EQ(a.calls + b.calls, 3);
}

TEST(PictureDecoderSet, DecodesFromManyThreadsAtOnce) {
  std::vector<std::unique_ptr<PictureDecoder>> decoders;
  decoders.push_back(std::make_unique<BuiltInPictureDecoder>());
  const PictureDecoderSet set(std::move(decoders));
  const auto jpeg = test::MakeJpeg(320, 240, test::Gradient(320, 240), 90, true, false, 6);
  const auto bmp = test::MakeBmp(200, 100, test::Gradient(200, 100));
  const DecodeResult jpeg_alone = set.Decode(jpeg, ".jpg", {100, 100});
  const DecodeResult bmp_alone = set.Decode(bmp, ".bmp", {64, 64});
  ASSERT_EQ(jpeg_alone.status, DecodeStatus::kOk);
  ASSERT_EQ(bmp_alone.status, DecodeStatus::kOk);
  std::atomic<int> mismatches{0};
  std::vector<std::thread> threads;
  for (int t = 0; t < 6; ++t) {
    threads.emplace_back([&, t] {
      for (int i = 0; i < 10; ++i) {
        const bool use_jpeg = (t + i) % 2 == 0;
        const DecodeResult r = use_jpeg ? set.Decode(jpeg, ".jpg", {100, 100}) : set.Decode(bmp, ".bmp", {64, 64});
        if (r.picture.pixels != (use_jpeg ? jpeg_alone : bmp_alone).picture.pixels) ++mismatches;
      }
    });
  }
  for (std::thread& t : threads) t.join();
  EXPECT_EQ(mismatches, 0);
}

TEST(PictureExtension, IsTheLastDotOfTheNameOnLowerCased) {
  EXPECT_EQ(PictureExtension("C:\\Photos\\IMG_1.JPG"), ".jpg");
  EXPECT_EQ(PictureExtension("C:\\Photos\\写真.Png"), ".png");
  EXPECT_EQ(PictureExtension("D:\\a.b\\archive.tar.TIFF"), ".tiff");
  EXPECT_EQ(PictureExtension("D:\\a.b\\noextension"), "");
  EXPECT_EQ(PictureExtension(""), "");
}

TEST(NormalizeExtensions, LowerCasesAddsTheDotSortsAndDropsRepeats) {
  EXPECT_EQ(NormalizeExtensions({".PNG", "png", ".Tif", "", ".", ".tiff", ".jpg"}),
            (Strings{".jpg", ".png", ".tif", ".tiff"}));
  EXPECT_EQ(ExtensionPatterns({".bmp", ".gif", ".jpg"}), "*.bmp;*.gif;*.jpg");
  EXPECT_EQ(ExtensionPatterns({}), "");
}

TEST(SplitExtensionList, ReadsCommaAndSemicolonListsWithOrWithoutSpaces) {
  EXPECT_EQ(SplitExtensionList(".jpeg,.jpe,.JPG"), (Strings{".jpe", ".jpeg", ".jpg"}));
  EXPECT_EQ(SplitExtensionList(".tif;.tiff"), (Strings{".tif", ".tiff"}));
  EXPECT_EQ(SplitExtensionList(" .heic, .heif ,,.avif; "), (Strings{".avif", ".heic", ".heif"}));
  EXPECT_EQ(SplitExtensionList(""), Strings{});
}

}  // namespace
}  // namespace tessmoor
