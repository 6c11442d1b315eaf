#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include "platform/image/resample.h"
#include "platform/image/row_resampler.h"
#include "tests/support/picture_files.h"

namespace tessmoor {
namespace {

using test::PixelAt;
using test::Rgb;

// Source sizes that differ from the picture's, so that carrying them over shows.
Picture MakePicture(int width, int height, const test::PixelFn& pixels) {
  Picture p = test::PictureOf(width, height, pixels);
  p.source_width = width * 10;
  p.source_height = height * 10;
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

// ---- Lanczos ---------------------------------------------------------------------------------

test::PixelFn Grey(const std::function<int(int, int)>& level) {
  return [level](int x, int y) {
    const auto v = static_cast<std::uint8_t>(std::clamp(level(x, y), 0, 255));
    return Rgb{v, v, v};
  };
}

// A straightforward floating-point Lanczos-3 resample of one channel (red), written from the
// kernel's definition: the fixed-point resampler must agree with it to within rounding.
double Kernel(double x) {
  x = std::abs(x);
  if (x == 0) return 1.0;
  if (x >= 3) return 0.0;
  const double px = std::numbers::pi * x;
  return 3 * std::sin(px) * std::sin(px / 3) / (px * px);
}

// Resamples each of `lines` rows of `from` values (row-major) to `to` values; the result comes
// out transposed (column-major), ready for the other axis.
std::vector<double> ReferencePass(const std::vector<double>& in, int from, int to, int lines) {
  std::vector<double> out(static_cast<std::size_t>(to) * static_cast<std::size_t>(lines));
  const double ratio = static_cast<double>(from) / to;
  const double spread = std::max(1.0, ratio);
  for (int line = 0; line < lines; ++line) {
    for (int i = 0; i < to; ++i) {
      const double centre = (i + 0.5) * ratio - 0.5;
      double sum = 0, total = 0;
      for (int j = static_cast<int>(std::ceil(centre - 3 * spread)); j <= centre + 3 * spread; ++j) {
        const double w = Kernel((j - centre) / spread);
        sum += w * in[static_cast<std::size_t>(line) * from + static_cast<std::size_t>(std::clamp(j, 0, from - 1))];
        total += w;
      }
      out[static_cast<std::size_t>(i) * lines + static_cast<std::size_t>(line)] = sum / total;
    }
  }
  return out;
}

std::vector<double> Reference(const Picture& src, int width, int height) {
  std::vector<double> in;
  for (int y = 0; y < src.height; ++y) {
    for (int x = 0; x < src.width; ++x) in.push_back(PixelAt(src, x, y).r);
  }
  const std::vector<double> columns = ReferencePass(in, src.width, width, src.height);
  std::vector<double> out = ReferencePass(columns, src.height, height, width);  // row-major again
  for (double& v : out) v = std::clamp(v, 0.0, 255.0);
  return out;
}

// Mean squared deviation from mid-grey over the output.
double RmsFromGrey(const Picture& p) {
  double sum = 0;
  for (int y = 0; y < p.height; ++y) {
    for (int x = 0; x < p.width; ++x) sum += std::pow(PixelAt(p, x, y).r - 127.5, 2);
  }
  return std::sqrt(sum / (p.width * p.height));
}

Picture Nearest(const Picture& src, int width, int height) {
  return MakePicture(width, height, [&](int x, int y) {
    return PixelAt(src, (2 * x + 1) * src.width / (2 * width), (2 * y + 1) * src.height / (2 * height));
  });
}

class LanczosSizes : public ::testing::TestWithParam<std::tuple<int, int, int, int>> {};

TEST_P(LanczosSizes, KeepsAFlatColourExactlyFlatIncludingBlackAndWhite) {
  const auto [sw, sh, dw, dh] = GetParam();
  for (const Rgb colour : {Rgb{200, 100, 30}, test::kBlack, test::kWhite, Rgb{255, 0, 255}}) {
    const Picture out = Resample(MakePicture(sw, sh, test::Solid(colour)), dw, dh);
    ASSERT_EQ(out.width, dw);
    ASSERT_EQ(out.height, dh);
    EXPECT_EQ(out.pixels.size(), static_cast<std::size_t>(out.stride()) * dh);
    EXPECT_EQ(out.source_width, sw * 10);
    EXPECT_EQ(out.source_height, sh * 10);
    for (int y = 0; y < dh; ++y) {
      for (int x = 0; x < dw; ++x) ASSERT_EQ(PixelAt(out, x, y), colour) << x << "," << y;
    }
  }
}

TEST_P(LanczosSizes, AgreesWithAFloatingPointLanczosWithinRounding) {
  const auto [sw, sh, dw, dh] = GetParam();
  // Hard black and white edges make the kernel overshoot past both ends of the range; the result
  // must be clamped there, never wrapped round.
  const Picture src = MakePicture(sw, sh, Grey([](int x, int y) { return ((x / 2 + y / 3) % 2) ? 255 : 0; }));
  const Picture out = Resample(src, dw, dh);
  const std::vector<double> want = Reference(src, dw, dh);
  for (int y = 0; y < dh; ++y) {
    for (int x = 0; x < dw; ++x) {
      ASSERT_NEAR(PixelAt(out, x, y).r, want[static_cast<std::size_t>(y * dw + x)], 1.0) << x << "," << y;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Ratios, LanczosSizes,
                         ::testing::Values(std::make_tuple(8, 8, 4, 4), std::make_tuple(1000, 750, 525, 394),
                                           std::make_tuple(2000, 1500, 1440, 1080),
                                           std::make_tuple(7, 3, 7, 3), std::make_tuple(13, 11, 1, 1),
                                           std::make_tuple(5, 5, 3, 2), std::make_tuple(2, 2, 5, 3),
                                           std::make_tuple(1, 1, 1, 1), std::make_tuple(1, 97, 1, 13),
                                           std::make_tuple(97, 1, 31, 1), std::make_tuple(301, 17, 300, 17),
                                           std::make_tuple(64, 64, 64, 9), std::make_tuple(33, 65, 7, 64)));

TEST(Lanczos, CopiesAPictureOfTheSameSizeByteForByte) {
  const Picture src = MakePicture(37, 21, test::Gradient(37, 21));
  const Picture out = Resample(src, 37, 21);
  for (int y = 0; y < 21; ++y) {
    for (int x = 0; x < 37; ++x) ASSERT_EQ(PixelAt(out, x, y), PixelAt(src, x, y));
  }
}

TEST(Lanczos, FadesPatternsFinerThanTheOutputToGreyWhereNearestNeighbourAliases) {
  // A zone plate: rings whose frequency grows from the middle to four times the output's limit.
  constexpr int kSide = 512;
  const auto plate = Grey([](int x, int y) {
    const double dx = x - kSide / 2.0, dy = y - kSide / 2.0;
    return static_cast<int>(std::lround(127.5 + 127.5 * std::cos(std::numbers::pi * (dx * dx + dy * dy) / kSide)));
  });
  const Picture src = MakePicture(kSide, kSide, plate);
  const Picture fine = MakePicture(96, 64, [](int x, int y) { return (x + y) % 2 ? test::kWhite : test::kBlack; });
  for (const auto& [source, w, h] : {std::tuple{&src, 97, 97}, std::tuple{&src, 128, 128}, std::tuple{&fine, 41, 27}}) {
    // Only the outer part, where the source's rings are finer than the output can hold.
    const auto outer = [&](const Picture& p) {
      Picture ring = MakePicture(p.width, p.height, [&](int x, int y) {
        const double r = std::hypot(x + 0.5 - p.width / 2.0, y + 0.5 - p.height / 2.0) / p.width;
        return (source == &fine || r > 0.35) ? PixelAt(p, x, y) : Rgb{128, 128, 128};
      });
      return RmsFromGrey(ring);
    };
    const double lanczos = outer(Resample(*source, w, h));
    const double nearest = outer(Nearest(*source, w, h));
    EXPECT_LT(lanczos, 4.0) << w;  // the box filter lets 7 through at 128
    EXPECT_GT(nearest, 40.0) << w;
  }
}

// The amplitude of the row's component at `cycles` per pixel (a whole number of periods long).
double Amplitude(const Picture& p, double cycles, int from, int count) {
  double s = 0, c = 0;
  for (int x = from; x < from + count; ++x) {
    const double v = PixelAt(p, x, p.height / 2).r - 127.5;
    s += v * std::sin(2 * std::numbers::pi * cycles * (x + 0.5));
    c += v * std::cos(2 * std::numbers::pi * cycles * (x + 0.5));
  }
  return 2 * std::hypot(s, c) / count;
}

TEST(Lanczos, KeepsMoreOfAFineDetailThanTheBoxFilter) {
  // Stripes of amplitude 100 at 0.4 cycles per output pixel: below the output's limit, so they
  // should survive; the box filter's gentle roll-off takes a quarter of them, Lanczos much less.
  constexpr int kWide = 1000, kOut = 300;
  const Picture src = MakePicture(kWide, 8, Grey([](int x, int) {
    return static_cast<int>(std::lround(127.5 + 100 * std::sin(2 * std::numbers::pi * 0.4 * kOut * (x + 0.5) / kWide)));
  }));
  const double lanczos = Amplitude(Resample(src, kOut, 8), 0.4, 10, 280);
  const double box = Amplitude(ResampleArea(src, kOut, 8), 0.4, 10, 280);
  EXPECT_GT(lanczos, 80.0);
  EXPECT_GT(lanczos, box * 1.08) << lanczos << " against " << box;
}

// How many pixels a dark-to-light edge takes to climb from 10 % to 90 %.
double RiseDistance(const Picture& p) {
  const int y = p.height / 2;
  auto crossing = [&](double level) {
    for (int x = 1; x < p.width; ++x) {
      const double a = PixelAt(p, x - 1, y).r, b = PixelAt(p, x, y).r;
      if (b >= level && a < level) return x - 1 + (level - a) / (b - a);
    }
    return -1.0;
  };
  return crossing(229.5) - crossing(25.5);
}

TEST(Lanczos, KeepsAnEdgeShorterThanTheBoxFilter) {
  // An edge as a lens draws it (a Gaussian blur of two source pixels) shrunk by three ratios.
  for (const int width : {300, 333, 371}) {
    const Picture src = MakePicture(1000, 4, Grey([](int x, int) {
      return static_cast<int>(std::lround(127.5 * (1 + std::erf((x + 0.5 - 501.3) / (2.0 * std::sqrt(2.0))))));
    }));
    const double lanczos = RiseDistance(Resample(src, width, 4));
    const double box = RiseDistance(ResampleArea(src, width, 4));
    EXPECT_LT(lanczos, box - 0.07) << lanczos << " against " << box << " at " << width;
  }
}

TEST(Lanczos, GivesAnEmptyPictureForAnEmptySourceOrSize) {
  EXPECT_TRUE(Resample(Picture{}, 10, 10).empty());
  EXPECT_TRUE(Resample(MakePicture(4, 4, test::Solid(test::kRed)), 0, 3).empty());
  EXPECT_TRUE(Resample(MakePicture(4, 4, test::Solid(test::kRed)), 3, -1).empty());
}

TEST(RowResampler, GivesTheSameRowByRowAsWhole) {
  const Picture src = MakePicture(123, 77, test::Gradient(123, 77));
  RowResampler rows(123, 77, 50, 31);
  for (int y = 0; y < 77; ++y) rows.PushRow(src.pixels.data() + static_cast<std::size_t>(y) * src.stride());
  rows.PushRow(src.pixels.data());  // past the last row: ignored
  EXPECT_EQ(rows.rows_pushed(), 77);
  const Picture streamed = rows.Finish();
  EXPECT_EQ(streamed.pixels, Resample(src, 50, 31).pixels);
}

TEST(RowResampler, FillsRowsThatNeverCameWithBlack) {
  const Picture src = MakePicture(40, 40, test::Solid(test::kWhite));
  for (const auto& [w, h] : {std::pair{40, 40}, std::pair{20, 20}}) {
    RowResampler rows(40, 40, w, h);
    for (int y = 0; y < 20; ++y) rows.PushRow(src.pixels.data() + static_cast<std::size_t>(y) * src.stride());
    const Picture out = rows.Finish();
    EXPECT_EQ(PixelAt(out, w / 2, 0), test::kWhite) << w;
    EXPECT_EQ(PixelAt(out, w / 2, h - 1), test::kBlack) << w;
  }
}

TEST(RowResampler, PlansWeightsThatSumToOneAndStayInsideTheSource) {
  for (const auto& [from, to] : {std::pair{2000, 1440}, std::pair{7, 3}, std::pair{3, 7}, std::pair{65500, 1},
                                 std::pair{5, 5}}) {
    const RowResampler::AxisPlan plan = RowResampler::PlanAxis(from, to);
    ASSERT_EQ(plan.taps.size(), static_cast<std::size_t>(to));
    for (const RowResampler::Tap& tap : plan.taps) {
      ASSERT_GE(tap.first, 0);
      ASSERT_GE(tap.count, 1);
      ASSERT_LE(tap.first + tap.count, from);
      ASSERT_LE(tap.count, plan.max_count);
      int sum = 0;
      for (int k = 0; k < tap.count; ++k) sum += plan.weights[tap.weight_offset + static_cast<std::size_t>(k)];
      ASSERT_EQ(sum, 1 << RowResampler::kWeightBits) << from << "->" << to;
    }
  }
  // The same size needs one tap per sample: it is a copy along that axis.
  EXPECT_EQ(RowResampler::PlanAxis(9, 9).max_count, 1);
}

}  // namespace
}  // namespace tessmoor
