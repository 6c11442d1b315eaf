#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/image/picture.h"

namespace tessmoor {

// Resizes a picture that arrives one row at a time, top-down, with a separable Lanczos-3 filter
// whose kernel is widened by the shrink factor: photos keep their edges where a box filter
// blurs them, and fine patterns fade to their mean where nearest-neighbour sampling would turn
// them into false patterns. Only the output and the few source rows the filter spans at once are
// held, so a decoder can feed its rows straight in and never keep the larger picture whole.
//
// The weights are fixed point, multiples of 1/16384 that sum exactly to one on each axis; the sums
// run on four-lane single-precision vectors (one lane per channel), where such weights times byte
// values add up without rounding, so a flat colour comes out exactly flat. The result is rounded
// and clamped to 0..255. Source and output sizes equal on both axes give a plain copy.
// Rows are 24-bit BGR.
class RowResampler {
 public:
  // Every size must be at least 1. Allocates the output (may throw std::bad_alloc).
  RowResampler(int source_width, int source_height, int width, int height);

  // The next source row: source_width * 3 bytes. Rows past source_height are ignored.
  void PushRow(const std::uint8_t* bgr);
  int rows_pushed() const { return pushed_; }

  // The output, source_width/source_height left 0 for the caller to set. Rows that were never
  // pushed count as black, so a caller that stops early still gets a whole, defined picture.
  Picture Finish();

  // The weights of one output sample along one axis: source samples first..first+count-1.
  struct Tap {
    int first = 0;
    int count = 0;
    std::size_t weight_offset = 0;
  };
  struct AxisPlan {
    std::vector<Tap> taps;
    std::vector<std::int16_t> weights;
    int max_count = 0;
  };
  static constexpr int kWeightBits = 14;
  // The weights of one axis, each output sample's `count` of them from weight_offset on.
  static AxisPlan PlanAxis(int from, int to);

  // B, G, R and an unused lane: one pixel per vector operation.
  using Float4 = float __attribute__((vector_size(16)));

 private:
  void EmitRow(int y);

  int source_width_;
  int source_height_;
  bool copy_;
  AxisPlan columns_;
  AxisPlan rows_;
  std::vector<float> column_weights_;
  std::vector<float> row_weights_;
  // Rows are filtered across as they come, so that what is held is output-wide: the ring holds
  // the last rows_.max_count of them (row j at j % max_count), and its size stays near six
  // source widths whatever the shrink factor.
  std::vector<Float4> line_;      // the incoming row as floats
  std::vector<Float4> ring_;
  std::vector<Float4> blended_;   // one output row, before rounding
  Picture out_;
  int pushed_ = 0;
  int emitted_ = 0;
};

}  // namespace tessmoor
