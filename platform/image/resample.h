#pragma once

#include "platform/image/picture.h"

namespace tessmoor {

// The resample every decoder ends with: a Lanczos-3 filter widened by the shrink factor (see
// RowResampler), sharp and free of aliasing. Any sizes work; an equal size gives a copy; an empty
// source or size gives an empty picture. source_width/source_height are carried over unchanged.
Picture Resample(const Picture& source, int width, int height);

// Area averaging (a box filter with fractional coverage): each output pixel is the mean of the
// source area it covers, source pixels on the edge of that area weighted by the part of them it
// covers. Free of aliasing but softer than Resample; the decoders used it until Resample came,
// and the decode benchmark keeps it as its baseline. Same size rules as Resample.
Picture ResampleArea(const Picture& source, int width, int height);

}  // namespace tessmoor
