#include "platform/image/resample.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/image/row_resampler.h"

namespace tessmoor {
namespace {

// The source pixels one output pixel covers along one axis, with their weights (summing to 1).
struct Span1D {
  int first = 0;
  int count = 0;
  std::size_t weight_offset = 0;
};

struct AxisPlan {
  std::vector<Span1D> spans;
  std::vector<float> weights;
};

// Output pixel i covers [i * from, (i + 1) * from) and source pixel j covers [j * to, (j + 1) * to)
// on a common integer scale, so the overlaps are exact integers whatever the ratio.
AxisPlan PlanAxis(int from, int to) {
  AxisPlan plan;
  plan.spans.resize(static_cast<std::size_t>(to));
  const std::int64_t f = from;
  const std::int64_t t = to;
  const float scale = 1.0f / static_cast<float>(from);
  for (std::int64_t i = 0; i < t; ++i) {
    const std::int64_t start = i * f;
    const std::int64_t end = start + f;
    const std::int64_t j0 = start / t;
    const std::int64_t j1 = (end - 1) / t;
    Span1D& span = plan.spans[static_cast<std::size_t>(i)];
    span.first = static_cast<int>(j0);
    span.count = static_cast<int>(j1 - j0 + 1);
    span.weight_offset = plan.weights.size();
    for (std::int64_t j = j0; j <= j1; ++j) {
      const std::int64_t overlap = std::min(end, (j + 1) * t) - std::max(start, j * t);
      plan.weights.push_back(static_cast<float>(overlap) * scale);
    }
  }
  return plan;
}

std::uint8_t ToByte(float v) {
  return static_cast<std::uint8_t>(std::clamp(v + 0.5f, 0.0f, 255.0f));
}

}  // namespace

Picture Resample(const Picture& source, int width, int height) {
  if (source.empty() || width <= 0 || height <= 0) {
    Picture out;
    out.source_width = source.source_width;
    out.source_height = source.source_height;
    return out;
  }
  RowResampler resampler(source.width, source.height, width, height);
  for (int y = 0; y < source.height; ++y) {
    resampler.PushRow(source.pixels.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(source.stride()));
  }
  Picture out = resampler.Finish();
  out.source_width = source.source_width;
  out.source_height = source.source_height;
  return out;
}

Picture ResampleArea(const Picture& source, int width, int height) {
  Picture out;
  out.source_width = source.source_width;
  out.source_height = source.source_height;
  if (source.empty() || width <= 0 || height <= 0) return out;
  out.width = width;
  out.height = height;
  out.pixels.assign(static_cast<std::size_t>(out.stride()) * static_cast<std::size_t>(height), 0);
  if (width == source.width && height == source.height) {
    out.pixels = source.pixels;
    return out;
  }

  const AxisPlan columns = PlanAxis(source.width, width);
  const AxisPlan rows = PlanAxis(source.height, height);
  const std::size_t src_stride = static_cast<std::size_t>(source.stride());
  const std::size_t src_row_values = static_cast<std::size_t>(source.width) * 3;
  // Rows are blended first, one output row at a time, so only one source-wide row of sums is
  // held, whatever the picture's height.
  std::vector<float> blended(src_row_values);
  for (int y = 0; y < height; ++y) {
    const Span1D& vs = rows.spans[static_cast<std::size_t>(y)];
    std::fill(blended.begin(), blended.end(), 0.0f);
    for (int k = 0; k < vs.count; ++k) {
      const float w = rows.weights[vs.weight_offset + static_cast<std::size_t>(k)];
      const std::uint8_t* src =
          source.pixels.data() + static_cast<std::size_t>(vs.first + k) * src_stride;
      for (std::size_t i = 0; i < src_row_values; ++i) blended[i] += w * static_cast<float>(src[i]);
    }
    std::uint8_t* dst = out.pixels.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(out.stride());
    for (int x = 0; x < width; ++x) {
      const Span1D& hs = columns.spans[static_cast<std::size_t>(x)];
      float b = 0, g = 0, r = 0;
      const float* px = blended.data() + static_cast<std::size_t>(hs.first) * 3;
      for (int k = 0; k < hs.count; ++k, px += 3) {
        const float w = columns.weights[hs.weight_offset + static_cast<std::size_t>(k)];
        b += w * px[0];
        g += w * px[1];
        r += w * px[2];
      }
      dst[x * 3 + 0] = ToByte(b);
      dst[x * 3 + 1] = ToByte(g);
      dst[x * 3 + 2] = ToByte(r);
    }
  }
  return out;
}

}  // namespace tessmoor
