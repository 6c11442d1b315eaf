#pragma once
#include "show/fit.h"

// How big a pattern-2 picture window or preview panel is made.
namespace tessmoor::pattern2 {

// A picture window is half the size of its picture fitted into the square of the fit side, the
// same fit as the pattern-1 show's: at 1024 x 768 and 50 % a 1600 x 1200 picture gets a 175 x 131
// window. A size that would come out negative (a negative scale) is 0.
Size PictureWindowSize(Size picture, Size client, int scale_percent);

// A preview panel takes its own current size for the picture's, so every resize starts from the
// last one and truncation flattens the panel a little until it settles (161 x 121 on a 152 x 112
// form at 50 %: 25 x 18, then 25 x 17 for good). A panel of 0 x 0 has no shape left and stays
// 0 x 0; one with a single side of 0 keeps it (1 x 0 stays 1 x 0).
Size PanelSize(Size current, Size client, int scale_percent);

}  // namespace tessmoor::pattern2
