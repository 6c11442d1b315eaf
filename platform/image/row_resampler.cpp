#include "platform/image/row_resampler.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <numbers>

namespace tessmoor {
namespace {

constexpr double kLobes = 3.0;
constexpr std::int32_t kOne = 1 << RowResampler::kWeightBits;

double Lanczos3(double x) {
  x = std::abs(x);
  if (x < 1e-9) return 1.0;
  if (x >= kLobes) return 0.0;
  const double px = std::numbers::pi * x;
  return kLobes * std::sin(px) * std::sin(px / kLobes) / (px * px);
}

std::uint8_t ToByte(float v) { return static_cast<std::uint8_t>(std::clamp(v, 0.0f, 255.0f) + 0.5f); }

std::vector<float> AsFloats(const std::vector<std::int16_t>& weights) {
  std::vector<float> out(weights.size());
  for (std::size_t i = 0; i < weights.size(); ++i) out[i] = static_cast<float>(weights[i]) / kOne;
  return out;
}

// Each byte value as a float in its own lane: three loads and two adds turn a BGR pixel into a
// vector, cheaper than converting and shuffling each channel.
const std::array<std::array<RowResampler::Float4, 256>, 3> kLanes = [] {
  std::array<std::array<RowResampler::Float4, 256>, 3> lanes{};
  for (std::size_t i = 0; i < 256; ++i) {
    const float v = static_cast<float>(i);
    lanes[0][i] = RowResampler::Float4{v, 0, 0, 0};
    lanes[1][i] = RowResampler::Float4{0, v, 0, 0};
    lanes[2][i] = RowResampler::Float4{0, 0, v, 0};
  }
  return lanes;
}();

}  // namespace

RowResampler::AxisPlan RowResampler::PlanAxis(int from, int to) {
  AxisPlan plan;
  plan.taps.resize(static_cast<std::size_t>(to));
  const double ratio = static_cast<double>(from) / static_cast<double>(to);
  // Shrinking widens the kernel so that it low-passes below the output's own frequency limit;
  // enlarging keeps it at the source's sample spacing.
  const double spread = std::max(1.0, ratio);
  const double support = kLobes * spread;
  std::vector<double> w;
  std::vector<std::int32_t> q;
  for (int i = 0; i < to; ++i) {
    const double centre = (i + 0.5) * ratio - 0.5;
    const int lo = static_cast<int>(std::ceil(centre - support));
    const int hi = static_cast<int>(std::floor(centre + support));
    const int first = std::clamp(lo, 0, from - 1);
    const int last = std::clamp(hi, 0, from - 1);
    w.assign(static_cast<std::size_t>(last - first + 1), 0.0);
    double total = 0;
    // Samples past an edge repeat the edge sample.
    for (int j = lo; j <= hi; ++j) {
      const double weight = Lanczos3((j - centre) / spread);
      w[static_cast<std::size_t>(std::clamp(j, first, last) - first)] += weight;
      total += weight;
    }
    q.resize(w.size());
    std::int32_t sum = 0;
    std::size_t biggest = 0;
    for (std::size_t k = 0; k < w.size(); ++k) {
      q[k] = static_cast<std::int32_t>(std::lround(w[k] / total * kOne));
      sum += q[k];
      if (q[k] > q[biggest]) biggest = k;
    }
    q[biggest] += kOne - sum;  // rounding must not move a flat colour
    std::size_t begin = 0;
    std::size_t end = q.size();
    while (begin + 1 < end && q[begin] == 0) ++begin;
    while (end - 1 > begin && q[end - 1] == 0) --end;
    Tap& tap = plan.taps[static_cast<std::size_t>(i)];
    tap.first = first + static_cast<int>(begin);
    tap.count = static_cast<int>(end - begin);
    tap.weight_offset = plan.weights.size();
    for (std::size_t k = begin; k < end; ++k) plan.weights.push_back(static_cast<std::int16_t>(q[k]));
  }
  // The rows one output row needs must all still be held when it is made, which is once every
  // earlier output row could be made too.
  int latest_last = 0;
  for (const Tap& tap : plan.taps) {
    latest_last = std::max(latest_last, tap.first + tap.count - 1);
    plan.max_count = std::max(plan.max_count, latest_last - tap.first + 1);
  }
  return plan;
}

RowResampler::RowResampler(int source_width, int source_height, int width, int height)
    : source_width_(source_width),
      source_height_(source_height),
      copy_(source_width == width && source_height == height) {
  out_.width = width;
  out_.height = height;
  out_.pixels.assign(static_cast<std::size_t>(out_.stride()) * static_cast<std::size_t>(height), 0);
  if (copy_) return;
  columns_ = PlanAxis(source_width, width);
  rows_ = PlanAxis(source_height, height);
  column_weights_ = AsFloats(columns_.weights);
  row_weights_ = AsFloats(rows_.weights);
  line_.resize(static_cast<std::size_t>(source_width));
  ring_.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(rows_.max_count));
  blended_.resize(static_cast<std::size_t>(width));
}

void RowResampler::PushRow(const std::uint8_t* bgr) {
  if (pushed_ >= source_height_) return;
  if (copy_) {
    std::memcpy(out_.pixels.data() + static_cast<std::size_t>(pushed_) * static_cast<std::size_t>(out_.stride()),
                bgr, static_cast<std::size_t>(source_width_) * 3);
    ++pushed_;
    return;
  }
  Float4* line = line_.data();
  for (int x = 0; x < source_width_; ++x, bgr += 3) line[x] = kLanes[0][bgr[0]] + kLanes[1][bgr[1]] + kLanes[2][bgr[2]];
  const std::size_t width = static_cast<std::size_t>(out_.width);
  Float4* slot = ring_.data() + static_cast<std::size_t>(pushed_ % rows_.max_count) * width;
  for (std::size_t x = 0; x < width; ++x) {
    const Tap& tap = columns_.taps[x];
    const float* weights = column_weights_.data() + tap.weight_offset;
    const Float4* px = line + tap.first;
    Float4 sum = px[0] * weights[0];
    for (int k = 1; k < tap.count; ++k) sum += px[k] * weights[k];
    slot[x] = sum;
  }
  ++pushed_;
  while (emitted_ < out_.height) {
    const Tap& tap = rows_.taps[static_cast<std::size_t>(emitted_)];
    if (tap.first + tap.count > pushed_) break;
    EmitRow(emitted_++);
  }
}

void RowResampler::EmitRow(int y) {
  const Tap& vertical = rows_.taps[static_cast<std::size_t>(y)];
  const std::size_t width = static_cast<std::size_t>(out_.width);
  Float4* blended = blended_.data();
  const float* weights = row_weights_.data() + vertical.weight_offset;
  auto row = [&](int k) {
    return ring_.data() + static_cast<std::size_t>((vertical.first + k) % rows_.max_count) * width;
  };
  // Up to three rows per pass over the output row: fewer passes than one per row, and the loop
  // body still simple enough for the compiler to keep in registers.
  for (int k = 0; k < vertical.count;) {
    const int n = std::min(vertical.count - k, 3);
    const Float4* r0 = row(k);
    const Float4* r1 = n > 1 ? row(k + 1) : r0;
    const Float4* r2 = n > 2 ? row(k + 2) : r0;
    const float w0 = weights[k];
    const float w1 = n > 1 ? weights[k + 1] : 0.0f;
    const float w2 = n > 2 ? weights[k + 2] : 0.0f;
    if (k == 0) {
      for (std::size_t x = 0; x < width; ++x) blended[x] = r0[x] * w0 + r1[x] * w1 + r2[x] * w2;
    } else {
      for (std::size_t x = 0; x < width; ++x) blended[x] += r0[x] * w0 + r1[x] * w1 + r2[x] * w2;
    }
    k += n;
  }
  std::uint8_t* dst = out_.pixels.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(out_.stride());
  for (std::size_t x = 0; x < width; ++x, dst += 3) {
    dst[0] = ToByte(blended[x][0]);
    dst[1] = ToByte(blended[x][1]);
    dst[2] = ToByte(blended[x][2]);
  }
}

Picture RowResampler::Finish() {
  if (!copy_ && pushed_ < source_height_) {
    const std::vector<std::uint8_t> black(static_cast<std::size_t>(source_width_) * 3, 0);
    while (pushed_ < source_height_) PushRow(black.data());
  }
  return std::move(out_);
}

}  // namespace tessmoor
