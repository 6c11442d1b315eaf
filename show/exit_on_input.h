#pragma once

namespace tessmoor {

// When input ends the show. In full screen any key, any button and any mouse movement after the
// first reported position ends it, with no tolerance; in preview nothing does. Positions are in
// screen coordinates, so that every window of the show (one per monitor) shares one first position.
class ExitOnInput {
 public:
  explicit ExitOnInput(bool enabled) : enabled_(enabled) {}

  bool OnKey() const { return enabled_; }
  bool OnMouseDown() const { return enabled_; }
  bool OnMouseMove(int x, int y);

 private:
  bool enabled_;
  // A flag rather than negative coordinates: monitors left of or above the primary one have
  // negative screen coordinates.
  bool has_first_ = false;
  int first_x_ = 0;
  int first_y_ = 0;
};

}  // namespace tessmoor
