#pragma once
#include <windows.h>

#include <array>
#include <chrono>
#include <functional>
#include <map>
#include <optional>
#include <ostream>
#include <set>
#include <string>
#include <vector>

// The motion of the pattern-2 picture windows and preview panels, written out again for the
// end-to-end tests from its definition rather than taken from the module's code, and the means to
// follow the real windows against it: each observed window is matched, in order, to a state its
// rules let it pass through, within the ticks its timer can have given it by then.
namespace tessmoor::e2e::pattern2_motion {

using Clock = std::chrono::steady_clock;

inline constexpr int kScreenWidth = 1024;
inline constexpr int kScreenHeight = 768;

struct Dim {
  int width = 0;
  int height = 0;
  friend bool operator==(const Dim&, const Dim&) = default;
  friend auto operator<=>(const Dim&, const Dim&) = default;
};

struct Box {
  int left = 0;
  int top = 0;
  Dim size;
  friend bool operator==(const Box&, const Box&) = default;
};
std::ostream& operator<<(std::ostream& out, const Box& b);
std::ostream& operator<<(std::ostream& out, const Dim& d);

// The size rule: fit side F = min(P * (W div 100), P * (H div 100)); the longer side becomes F and
// the other F times the side ratio (the ratio in double, the product in extended precision,
// truncated); the window or panel is half of that. 0 x 0 stays 0 x 0.
Dim HalfFitted(Dim item, int scale, Dim client);

inline constexpr std::array<std::pair<int, int>, 4> kDesignedWindowPlaces = {
    {{395, 282}, {284, 260}, {192, 107}, {498, 245}}};
inline constexpr std::array<Box, 4> kDesignedPanels = {
    {{112, 40, {161, 121}}, {496, 40, {161, 121}}, {112, 296, {161, 121}}, {464, 288, {161, 121}}}};

struct Step {
  int tick = 0;
  Box box;
};

// The states one picture window or preview panel passes through, tick by tick, generated on demand.
// A window shows every state it is shown in during a tick (a renewed window is shown before the
// tick moves it on); a panel takes its bounds once, at the end of the tick.
class Expected {
 public:
  // Window n over the screen; `slots` maps each slot of its box that holds a picture to the
  // window size that picture gives.
  static Expected Window(int n, const std::string& mode, std::map<int, Dim> slots);
  // Panel n on a preview form of `form` pixels at `scale` percent; before its first tick it sits
  // at its designed bounds (step 0).
  static Expected Panel(int n, const std::string& mode, Dim form, int scale);

  const Step& At(std::size_t i);

 private:
  enum class Mode { kTopLeft, kTopRight, kBottomLeft, kBottomRight, kBounce, kStill };

  Expected(int n, const std::string& mode, int step, Dim bounds);
  std::pair<int, int> Corner() const;
  void Advance() { index_ = index_ + 1 == 13 ? 0 : index_ + 1; }
  void Renew();
  void Shown();
  void Record();
  void Tick();
  void Bounce();

  int n_;
  Mode mode_;
  int step_;
  Dim bounds_;
  bool window_ = false;
  std::map<int, Dim> slots_;
  int index_ = 1;
  Dim picture_;
  int scale_ = 50;
  bool placed_ = false;
  Box box_;
  bool right_ = true;
  bool down_ = true;
  int tick_ = 0;
  std::vector<Step> steps_;
};

// Follows one item's observed boxes through its expected states. A box must be a state at or
// after the last one matched, no more ticks on than its timer can have fired since (half as
// many again, and 5, for the timer's jitter).
class Track {
 public:
  Track(Expected expected, int interval_ms, Clock::time_point started)
      : expected_(std::move(expected)), interval_ms_(interval_ms), last_at_(started) {}

  // False, with failure() saying why, when `box` is no state the item can be in at `at`.
  bool See(const Box& box, Clock::time_point at);

  // The tick of the last state matched, -1 before any.
  int tick() const { return tick_; }
  // The tick of the first state matched.
  int first_tick() const { return first_tick_; }
  int samples() const { return samples_; }
  // The sizes seen from the first tick on.
  const std::set<Dim>& sizes() const { return sizes_; }
  const std::string& failure() const { return failure_; }

 private:
  Expected expected_;
  int interval_ms_;
  std::size_t index_ = 0;
  int tick_ = -1;
  int first_tick_ = -1;
  Clock::time_point last_at_;
  std::set<Dim> sizes_;
  int samples_ = 0;
  std::string failure_;
};

// A window's box relative to `origin`, only when the two reads around a visibility check agree:
// a box read while a window is hidden for its renewal is never taken for a visible state.
std::optional<Box> StableBox(HWND hwnd, POINT origin);

// Samples items 1..4 (those with a track; `find` gives an item's window, looked up again while
// it is hidden) until `done` says so or `timeout` passes, pumping this thread's messages and
// calling `every_second` about once a second. Returns done(); false at once, with a test failure
// added, when an item is seen where its rules cannot have put it.
bool Follow(const std::function<HWND(int)>& find, POINT origin, std::array<std::optional<Track>, 4>& tracks,
            const std::function<bool()>& done, std::chrono::milliseconds timeout,
            const std::function<void()>& every_second = {});

}  // namespace tessmoor::e2e::pattern2_motion
