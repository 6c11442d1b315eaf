// The Windows Imaging Component decoder, run in this process on the system's own codecs: PNG, GIF
// and TIFF files made by our writers decode to their pixels, upright, at the asked size, with alpha
// on black; hostile ones are refused whole; the extension list comes from the installed codecs;
// several threads decode at once.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <memory>
#include <optional>
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "platform/image/decode.h"
#include "platform/image/exif.h"
#include "platform/image/resample.h"
#include "platform/win32/handles.h"
#include "platform/win32/wic_decoder.h"
#include "tests/support/picture_compare.h"
#include "tests/support/picture_formats.h"

namespace tessmoor {
namespace {

using test::PixelAt;
using test::PictureOf;
using test::PixelFn;
using test::Rgb;
using Bytes = std::vector<std::uint8_t>;

const PictureDecoder& System() {
  static const std::unique_ptr<PictureDecoder> decoder = win32::MakeSystemPictureDecoder();
  return *decoder;
}

// The upright picture and the file's size as its source size, exactly.
void ExpectSamePicture(const Picture& got, const Picture& want, const std::string& what) {
  test::ExpectSamePixels(got, want, what);
  EXPECT_EQ(got.source_width, want.source_width) << what;
  EXPECT_EQ(got.source_height, want.source_height) << what;
}

DecodeResult DecodeOk(const Bytes& file, const char* extension, DecodeTarget target = {}) {
  DecodeResult r = System().Decode(file, extension, target);
  EXPECT_EQ(r.status, DecodeStatus::kOk) << extension << ": " << r.message;
  return r;
}

const PixelFn kQuadrants = test::Quadrants(64, 48, test::kRed, test::kGreen, test::kBlue, test::kYellow);

TEST(WicDecode, ListsTheInstalledCodecsExtensionsWithOurOwn) {
  const win32::WicPictureDecoder wic;
  std::string joined;
  for (const std::string& e : wic.Extensions()) joined += e + " ";
  std::printf("WIC decoders' extensions: %s\n", joined.c_str());
  for (const char* e : {".png", ".gif", ".tif", ".tiff"}) EXPECT_TRUE(wic.Accepts(e)) << e;
  const std::vector<std::string>& all = System().Extensions();
  for (const char* e : {".png", ".gif", ".tif", ".tiff", ".jpg", ".jpeg", ".bmp"}) {
    EXPECT_TRUE(std::binary_search(all.begin(), all.end(), std::string(e))) << e;
  }
  EXPECT_TRUE(std::is_sorted(all.begin(), all.end()));
  EXPECT_EQ(std::adjacent_find(all.begin(), all.end()), all.end());
  for (const std::string& e : all) {
    EXPECT_EQ(e.front(), '.') << e;
    EXPECT_EQ(e, PictureExtension("x" + e)) << "not lower-cased: " << e;
  }
}

TEST(WicDecode, DecodesPngToItsExactPixelsStoredOrCompressed) {
  for (const bool compress : {false, true}) {
    test::PngOptions options;
    options.compress = compress;
    options.idat_chunks = 2;
    const DecodeResult r = DecodeOk(test::MakePng(64, 48, kQuadrants, options), ".png");
    ExpectSamePicture(r.picture, PictureOf(64, 48, kQuadrants), compress ? "deflate" : "stored");
  }
}

TEST(WicDecode, DecodesTheFirstFrameOfAnAnimatedGif) {
  const PixelFn second = test::Solid(test::kWhite);
  const DecodeResult r = DecodeOk(test::MakeGif(64, 48, {{0, 0, 64, 48, kQuadrants, {}}, {0, 0, 64, 48, second, {}}}), ".gif");
  ExpectSamePicture(r.picture, PictureOf(64, 48, kQuadrants), "first frame");
}

TEST(WicDecode, PlacesAGifsFirstFrameOnItsScreen) {
  // A 20 x 10 frame at (30, 12) on a 64 x 48 screen: the rest of the screen is black.
  const PixelFn frame = test::Gradient(20, 10);
  const DecodeResult r = DecodeOk(test::MakeGif(64, 48, {{30, 12, 20, 10, frame, {}}}), ".gif");
  ExpectSamePicture(r.picture, PictureOf(64, 48, [&](int x, int y) {
    const bool inside = x >= 30 && x < 50 && y >= 12 && y < 22;
    return inside ? frame(x - 30, y - 12) : test::kBlack;
  }), "placed frame");
}

TEST(WicDecode, DecodesTiffInEitherByteOrderAndStrips) {
  for (const bool big_endian : {false, true}) {
    test::TiffOptions options;
    options.big_endian = big_endian;
    options.rows_per_strip = 7;
    const DecodeResult r = DecodeOk(test::MakeTiff(64, 48, kQuadrants, options), ".tif");
    ExpectSamePicture(r.picture, PictureOf(64, 48, kQuadrants), big_endian ? "big-endian" : "little-endian");
  }
}

TEST(WicDecode, TurnsTiffUprightByItsOrientationTag) {
  const PixelFn stored = test::Gradient(40, 24);
  for (int orientation = 1; orientation <= 8; ++orientation) {
    test::TiffOptions options;
    options.orientation = orientation;
    const DecodeResult r = DecodeOk(test::MakeTiff(40, 24, stored, options), ".tiff");
    ExpectSamePicture(r.picture, ApplyOrientation(PictureOf(40, 24, stored), orientation),
                      "orientation " + std::to_string(orientation));
  }
}

TEST(WicDecode, DecodesToTheFittedSizeWithTheSharedResample) {
  const PixelFn photo = test::Gradient(640, 480);
  const Picture full = PictureOf(640, 480, photo);
  const std::vector<std::pair<Bytes, const char*>> files = {
      {test::MakePng(640, 480, photo), ".png"}, {test::MakeTiff(640, 480, photo), ".tif"}};
  for (const auto& [file, extension] : files) {
    for (const DecodeTarget target : {DecodeTarget{100, 100}, DecodeTarget{0, 31}, DecodeTarget{1, 1}}) {
      const DecodeResult r = DecodeOk(file, extension, target);
      const PictureSize size = DecodedSize(640, 480, target);
      ExpectSamePicture(r.picture, Resample(full, size.width, size.height), extension);
    }
  }
  // Orientation 6 stores the picture on its side: the fitted size is the upright one's.
  test::TiffOptions turned;
  turned.orientation = 6;
  const DecodeResult r = DecodeOk(test::MakeTiff(480, 640, test::Gradient(480, 640), turned), ".tif", {100, 100});
  EXPECT_EQ(r.picture.width, 100);
  EXPECT_EQ(r.picture.height, 75);
  EXPECT_EQ(r.picture.source_width, 640);
  EXPECT_EQ(r.picture.source_height, 480);
}

TEST(WicDecode, DrawsTransparentPixelsOnBlack) {
  // White with alpha rising along x: on black the grey level is the alpha itself.
  const test::AlphaFn ramp = [](int x, int y) { return static_cast<std::uint8_t>((x * 4 + y) & 0xFF); };
  const PixelFn on_black = [&](int x, int y) {
    const std::uint8_t a = ramp(x, y);
    return Rgb{a, a, a};
  };
  test::PngOptions png;
  png.alpha = ramp;
  ExpectSamePicture(DecodeOk(test::MakePng(64, 48, test::Solid(test::kWhite), png), ".png").picture,
                    PictureOf(64, 48, on_black), "PNG");
  test::TiffOptions tiff;
  tiff.alpha = ramp;
  ExpectSamePicture(DecodeOk(test::MakeTiff(64, 48, test::Solid(test::kWhite), tiff), ".tif").picture,
                    PictureOf(64, 48, on_black), "TIFF");
  const PixelFn holes = [](int x, int y) { return (x / 8 + y / 8) % 2 ? test::kRed : test::kGreen; };
  ExpectSamePicture(DecodeOk(test::MakeGif(64, 48, {{0, 0, 64, 48, holes, test::kGreen}}), ".gif").picture,
                    PictureOf(64, 48, [&](int x, int y) { return holes(x, y) == test::kGreen ? test::kBlack : test::kRed; }),
                    "GIF");
}

TEST(WicDecode, DecodesADecompressionBombWithinTheLimitsToTheTargetOnly) {
  // 8000 x 8000 in about 50 kB; decoded no larger than asked, in bounded time.
  const auto start = std::chrono::steady_clock::now();
  const DecodeResult r = DecodeOk(test::MakePngOfRuns(8000, 8000), ".png", {640, 480});
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(60));
  EXPECT_EQ(r.picture.width, 480);
  EXPECT_EQ(r.picture.height, 480);
  EXPECT_EQ(r.picture.source_width, 8000);
  EXPECT_EQ(PixelAt(r.picture, 240, 240), test::kBlack);
}

struct Hostile {
  const char* name;
  Bytes file;
  const char* extension;
  DecodeStatus status;
  // Where codecs differ: Wine's PNG codec reads the whole image while it opens the file, and so
  // fails on the missing data before the size can be refused.
  std::optional<DecodeStatus> or_status = std::nullopt;
};

Bytes Cut(Bytes file, double keep) {
  file.resize(static_cast<std::size_t>(static_cast<double>(file.size()) * keep));
  return file;
}

std::vector<Hostile> HostileFiles() {
  const PixelFn photo = test::Gradient(300, 200);
  Bytes huge_png = test::MakePng(4, 4, kQuadrants);
  test::SetPngSize(huge_png, 65000, 5000);  // within a side's limit, past the pixel count's
  Bytes short_png = test::MakePng(4, 4, kQuadrants);
  test::SetPngSize(short_png, 3000, 3000);
  Bytes huge_gif = test::MakeGif(8, 8, {{0, 0, 8, 8, kQuadrants, {}}});
  test::PutLe16(huge_gif, test::kGifScreenWidthAt, 65535);
  test::PutLe16(huge_gif, test::kGifScreenHeightAt, 65535);
  test::TiffOptions huge_tiff, short_tiff, lost_strips;
  huge_tiff.declared_width = 60000;
  huge_tiff.declared_height = 40000;
  short_tiff.declared_width = 3000;
  short_tiff.declared_height = 3000;
  lost_strips.strips_past_end = true;
  return {
      {"PNG declaring 65000 x 5000", huge_png, ".png", DecodeStatus::kTooLarge, DecodeStatus::kCorrupt},
      {"PNG bomb of 20000 x 20000", test::MakePngOfRuns(20000, 20000), ".png", DecodeStatus::kTooLarge},
      {"PNG declaring far more than it holds", short_png, ".png", DecodeStatus::kCorrupt},
      {"PNG cut in half", Cut(test::MakePng(300, 200, photo), 0.5), ".png", DecodeStatus::kCorrupt},
      {"GIF declaring a 65535 x 65535 screen", huge_gif, ".gif", DecodeStatus::kTooLarge},
      {"GIF cut in its pixel data", Cut(test::MakeGif(300, 200, {{0, 0, 300, 200, kQuadrants, {}}}), 0.5), ".gif",
       DecodeStatus::kCorrupt},
      {"TIFF declaring 60000 x 40000", test::MakeTiff(4, 4, kQuadrants, huge_tiff), ".tif", DecodeStatus::kTooLarge},
      {"TIFF declaring far more than it holds", test::MakeTiff(4, 4, kQuadrants, short_tiff), ".tif",
       DecodeStatus::kCorrupt},
      {"TIFF with its strips past the end", test::MakeTiff(64, 48, kQuadrants, lost_strips), ".tif", DecodeStatus::kCorrupt},
      {"TIFF cut in its strips", Cut(test::MakeTiff(300, 200, photo), 0.3), ".tif", DecodeStatus::kCorrupt},
      {"text named .png", Bytes{'n', 'o', 't', ' ', 'a', ' ', 'p', 'n', 'g'}, ".png", DecodeStatus::kCorrupt},
      {"empty .gif", Bytes{}, ".gif", DecodeStatus::kCorrupt},
      {"PNG named .xyz", test::MakePng(4, 4, kQuadrants), ".xyz", DecodeStatus::kUnsupportedType},
  };
}

TEST(WicDecode, RefusesHostileFilesWholeWithAClearStatus) {
  for (const Hostile& h : HostileFiles()) {
    for (const DecodeTarget target : {DecodeTarget{}, DecodeTarget{64, 64}}) {
      const DecodeResult r = System().Decode(h.file, h.extension, target);
      EXPECT_TRUE(r.status == h.status || r.status == h.or_status) << h.name << ": " << r.message;
      EXPECT_TRUE(r.picture.pixels.empty()) << h.name;
      EXPECT_TRUE(r.picture.empty()) << h.name;
      EXPECT_FALSE(r.message.empty()) << h.name;
    }
  }
}

TEST(WicDecode, DecodesOnManyThreadsAtOnce) {
  test::TiffOptions turned;
  turned.orientation = 8;
  const std::vector<std::pair<Bytes, const char*>> files = {
      {test::MakePng(200, 150, test::Gradient(200, 150)), ".png"},
      {test::MakeGif(120, 90, {{0, 0, 120, 90, kQuadrants, {}}, {0, 0, 120, 90, test::Solid(test::kWhite), {}}}), ".gif"},
      {test::MakeTiff(150, 200, test::Gradient(150, 200), turned), ".tif"},
  };
  constexpr DecodeTarget kTarget{64, 64};
  std::vector<Bytes> alone;
  for (const auto& [file, extension] : files) alone.push_back(DecodeOk(file, extension, kTarget).picture.pixels);
  std::atomic<int> wrong{0};
  std::vector<std::thread> threads;
  for (int t = 0; t < 6; ++t) {
    threads.emplace_back([&, t] {
      // Half the threads hold COM for their life, as the show's workers do; the others leave it
      // to each call.
      std::optional<win32::ComApartment> com;
      if (t % 2) com.emplace();
      for (int i = 0; i < 12; ++i) {
        const std::size_t k = static_cast<std::size_t>(t + i) % files.size();
        const DecodeResult r = System().Decode(files[k].first, files[k].second, kTarget);
        if (r.status != DecodeStatus::kOk || r.picture.pixels != alone[k]) ++wrong;
      }
    });
  }
  for (std::thread& t : threads) t.join();
  EXPECT_EQ(wrong, 0);
}

}  // namespace
}  // namespace tessmoor
