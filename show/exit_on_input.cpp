#include "show/exit_on_input.h"

namespace tessmoor {

bool ExitOnInput::OnMouseMove(int x, int y, std::int64_t now_ms) {
  if (!enabled_) return false;
  if (!has_first_ || now_ms < settled_at_) {
    has_first_ = true;
    first_x_ = x;
    first_y_ = y;
    return false;
  }
  return x != first_x_ || y != first_y_;
}

void ExitOnInput::MonitorsChanged(std::int64_t now_ms) {
  has_first_ = false;
  settled_at_ = now_ms + kSettleMs;
  ++changes_;
}

}  // namespace tessmoor
