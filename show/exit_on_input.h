#pragma once
#include <cstdint>
#include <limits>

namespace tessmoor {

// When input ends the show. In full screen any key, any button and any mouse movement after the
// first reported position ends it, with no tolerance; in preview nothing does. Positions are in
// screen coordinates, so that every window of the show (one per monitor) shares one first position.
class ExitOnInput {
 public:
  // How long after a change of the monitors a reported mouse position counts as the system's.
  static constexpr std::int64_t kSettleMs = 1000;
  // How long a move that would end the show waits to be confirmed: a change of the monitors
  // heard meanwhile shows that the system moved the mouse (some drivers move it while they apply
  // the change, before any program can see the new monitors).
  static constexpr int kConfirmMoveMs = 500;

  explicit ExitOnInput(bool enabled) : enabled_(enabled) {}

  bool OnKey() const { return enabled_; }
  bool OnMouseDown() const { return enabled_; }
  // `now_ms` is the time of the report on the clock MonitorsChanged is given.
  bool OnMouseMove(int x, int y, std::int64_t now_ms = std::numeric_limits<std::int64_t>::max());
  // The monitors changed at `now_ms`. The system may put the mouse elsewhere by itself then (off
  // a monitor that is gone, or wherever its driver likes), and it reports the mouse afresh to the
  // windows made or moved over it: every position reported until kSettleMs later is taken as the
  // first one, and only a move after that ends the show. Keys and buttons still do.
  void MonitorsChanged(std::int64_t now_ms);
  // How many changes of the monitors have been heard.
  int changes() const { return changes_; }

 private:
  bool enabled_;
  // A flag rather than negative coordinates: monitors left of or above the primary one have
  // negative screen coordinates.
  bool has_first_ = false;
  int first_x_ = 0;
  int first_y_ = 0;
  std::int64_t settled_at_ = std::numeric_limits<std::int64_t>::min();
  int changes_ = 0;
};

}  // namespace tessmoor
