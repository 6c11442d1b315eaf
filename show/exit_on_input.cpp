#include "show/exit_on_input.h"

namespace tessmoor {

bool ExitOnInput::OnMouseMove(int x, int y) {
  if (!enabled_) return false;
  if (!has_first_) {
    has_first_ = true;
    first_x_ = x;
    first_y_ = y;
    return false;
  }
  return x != first_x_ || y != first_y_;
}

}  // namespace tessmoor
