#pragma once

namespace tessmoor {

// A horizontal scroll bar of a dialog: its range, the step of an arrow click (small_change), of a
// click beside the thumb (large_change) and the position it has before anything sets it.
struct ScrollBarDesign {
  int min = 0;
  int max = 0;
  int small_change = 1;
  int large_change = 1;
  int design_position = 0;
};

// What a scroll notification asks for (the SB_* codes of a horizontal bar).
enum class ScrollCode {
  kLineLeft,
  kLineRight,
  kPageLeft,
  kPageRight,
  kThumbPosition,
  kThumbTrack,
  kLeft,
  kRight,
  kEndScroll,
};

// `value` moved into the bar's range.
int ClampPosition(const ScrollBarDesign& bar, int value);

// The position a notification moves a bar to from `current`; `thumb` is the thumb's position and
// is used only by the thumb codes. The end-of-scroll notification keeps the position.
int ScrollTarget(const ScrollBarDesign& bar, ScrollCode code, int current, int thumb);

}  // namespace tessmoor
