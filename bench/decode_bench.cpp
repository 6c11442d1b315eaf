// How long the show's start-up decode takes per picture: a 12-megapixel photo shrunk to the size a
// 1920x1080 show draws it at (the 48 pictures of a full picture table are decoded this way), next
// to a full-size decode, and the same for a 24-bit BMP, which has no DCT scaling to lean on.
//
// Baseline (RelWithDebInfo, one core of the 2-core development machine, libjpeg-turbo 2.1.5):
//   JpegPhotoToShowSize   ~ 8 ms      JpegPhotoFullSize        ~ 28 ms
//   BmpPhotoToShowSize    ~ 38 ms     ResamplePhotoToShowSize  ~ 1.7 ms (1000x750 in)
// so a table of 48 such photos decodes in about 0.4 s. A change that makes the show-size decodes
// much slower than this needs a reason.

#include <cstdint>
#include <vector>

#include <benchmark/benchmark.h>

#include "platform/image/decode.h"
#include "platform/image/resample.h"
#include "tests/support/picture_files.h"

namespace {

namespace t = tessmoor::test;

constexpr int kPhotoW = 4000;
constexpr int kPhotoH = 3000;
constexpr tessmoor::DecodeTarget kShowSize{525, 394};

const std::vector<std::uint8_t>& PhotoJpeg() {
  static const std::vector<std::uint8_t> file = t::MakeJpeg(kPhotoW, kPhotoH, t::Gradient(kPhotoW, kPhotoH), 90);
  return file;
}

const std::vector<std::uint8_t>& PhotoBmp() {
  static const std::vector<std::uint8_t> file = t::MakeBmp(kPhotoW, kPhotoH, t::Gradient(kPhotoW, kPhotoH));
  return file;
}

void Decode(benchmark::State& state, const std::vector<std::uint8_t>& file, const char* extension,
            tessmoor::DecodeTarget target) {
  for (auto _ : state) {
    tessmoor::DecodeResult r = tessmoor::DecodePicture(file, extension, target);
    if (r.status != tessmoor::DecodeStatus::kOk) state.SkipWithError(r.message.c_str());
    benchmark::DoNotOptimize(r.picture.pixels.data());
  }
}

void JpegPhotoToShowSize(benchmark::State& state) { Decode(state, PhotoJpeg(), ".jpg", kShowSize); }
void JpegPhotoFullSize(benchmark::State& state) { Decode(state, PhotoJpeg(), ".jpg", {}); }
void BmpPhotoToShowSize(benchmark::State& state) { Decode(state, PhotoBmp(), ".bmp", kShowSize); }

void ResamplePhotoToShowSize(benchmark::State& state) {
  tessmoor::Picture source;
  source.width = 1000;
  source.height = 750;
  source.pixels.assign(static_cast<std::size_t>(source.stride()) * source.height, 0x80);
  for (auto _ : state) {
    tessmoor::Picture out = tessmoor::ResampleArea(source, 525, 393);
    benchmark::DoNotOptimize(out.pixels.data());
  }
}

BENCHMARK(JpegPhotoToShowSize)->Unit(benchmark::kMillisecond);
BENCHMARK(JpegPhotoFullSize)->Unit(benchmark::kMillisecond);
BENCHMARK(BmpPhotoToShowSize)->Unit(benchmark::kMillisecond);
BENCHMARK(ResamplePhotoToShowSize)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
