#pragma once

#include "platform/image/picture.h"

namespace tessmoor {

// Area-averaging resample (a box filter with fractional coverage): each output pixel is the mean
// of the source area it covers, source pixels on the edge of that area weighted by the part of
// them it covers. Keeps photos smooth where nearest-neighbour sampling would alias. Any sizes
// work; an equal size gives a copy. source_width/source_height are carried over unchanged.
Picture ResampleArea(const Picture& source, int width, int height);

}  // namespace tessmoor
