#pragma once

#include "app/settings_keys.h"
#include "show/fit.h"

// The motion shared by the four picture windows of the pattern-2 show and the four panels of its
// preview: where an item starts, how it drifts from a corner or bounces off the edges, and when it
// is renewed. The windows move 2 pixels per tick, the panels 1.
namespace tessmoor::pattern2 {

// What a tick asks of the timer that drives it.
enum class TimerAction {
  kKeepRunning,
  kStop,  // nothing left to show: the shell stops this timer for good
};

// The area an item moves in. `bounds` is the outer size of the window the items float over (the
// whole screen for the show, the preview form for the preview): the corners and the edges of the
// bounce. `client` is its client size, which the fit side is taken from. For the borderless
// windows of this program both are the same.
struct ShowArea {
  Size bounds;
  Size client;
};

struct Position {
  int left = 0;
  int top = 0;
  friend bool operator==(const Position&, const Position&) = default;
};

// Where item `number` (1..4) of size `item` is put at its first tick, and where a corner mode
// starts each new run. The bounce starts each item in its own corner: 1 top left, 2 top right,
// 3 bottom left, 4 bottom right. kStill has no corner: the caller keeps its designed position.
Position StartCorner(Motion motion, int number, Size bounds, Size item);

// Bounce directions; every item starts moving right and down.
struct Directions {
  bool right = true;
  bool down = true;
};

// What moves: a picture window or a preview panel.
class MovingItem {
 public:
  virtual ~MovingItem() = default;
  virtual Position position() const = 0;
  virtual Size size() const = 0;
  virtual void MoveTo(Position position) = 0;
  // Puts up the item anew, with its size worked out again (the next picture for a window, the
  // panel resized from its own last size); its position is set by the MoveTo that follows.
  virtual void Renew() = 0;
  // Makes a renewed item visible in front of the others.
  virtual void Present() = 0;
  // Moves the window's picture index on; nothing for a panel.
  virtual void AdvancePicture() = 0;
};

// One tick of motion of an item that has been placed already (its first placement is the
// caller's, in the same tick before this). The corner modes move Top and Left by `step` in one
// move and start a new run, renewed at the corner, once Top has passed the far edge. The bounce
// checks before it moves, with strict tests, so an item overshoots an edge by up to `step`
// before it turns; only a turn at the top or the left edge renews the item.
void StepMotion(Motion motion, int number, int step, Size bounds, MovingItem& item,
                Directions& directions);

}  // namespace tessmoor::pattern2
