#pragma once
#include <algorithm>
#include <cstdint>
#include <memory>
#include <string_view>

#include "app/settings.h"
#include "platform/canvas.h"
#include "platform/random.h"
#include "show/fit.h"
#include "show/picture_source.h"
#include "show/show_settings.h"

namespace tessmoor {

// The pattern-1 slide show: one picture per tick, box 1 slots 1 to 12, then boxes 2, 3 and 4, then
// from the start again, placed by the detail mode.
//
// How the shell drives it (`TNo1Form`, timer `ScrNo1SpeedTimer`):
//   - Build the engine once per show, after ReadShowSettings and the picture table, and start the
//     timer at show.slide_timer.interval_ms (1 ms).
//   - In `ScrNo1SpeedTimerTimer`: call PictureTable::Collect() first (it may switch boxes off),
//     then Tick(), then arm the timer for SlideTick::NextTickMs() from now.
//   - A tick with a pause leaves its picture on screen for pause_seconds: the shell keeps handling
//     input during it (input ends the show at once), but no slide tick runs until the pause and the
//     interval have both passed, which NextTickMs() already covers.
// Everything the engine works with belongs to the shell and outlives it. It never sleeps, reads no
// clock and throws nothing: damaged settings keep their last good value.
class SlideEngine {
 public:
  struct Parts {
    // Current detail mode and box use flags, read at every tick (the picture table may switch a
    // box off during the show); scale percent and slide interval, taken when the engine is built.
    const ShowSettings& show;
    // The slide interval is read again at every running tick, except in random paste mode.
    Settings& settings;
    // Whether a slot is shown is asked here (Present) at every draw. Each picture drawn is taken
    // from it: a slot that names a folder shows its next picture at each visit, the same one at
    // all five places of five-direction mode.
    PictureSource& pictures;
    Canvas& canvas;
    RandomSource& random;
  };

  enum class Mode { kCentre, kRandomPlacement, kRandomPaste, kFiveDirections, kNone };

  // What the engine keeps from one tick to the next.
  struct State {
    bool started = false;   // false: the next tick is a start tick
    int current_box = 1;    // 1..4
    int slot_counter = 1;   // slot of the current box to show next; 0 right after a box change
    bool paste_clear = false;
    int five_position = 1;  // 1 centre, 2 top left, 3 top right, 4 bottom right, 5 bottom left
    friend bool operator==(const State&, const State&) = default;
  };

  static constexpr int kAfterStartMs = 500;    // start tick, or a box change to a further box
  static constexpr int kPassOverMs = 1;        // passing over boxes not in use, and a restart

  explicit SlideEngine(Parts parts);

  struct SlideTick {
    int interval_ms = 0;    // the timer's interval from now on; 0 would stop it
    int pause_seconds = 0;  // how long the picture just drawn stays, from the tick on
    // Whether the interval was set anew after the pause (the box change that follows slot 12):
    // it then counts from the pause's end. Otherwise the timer kept running through the pause,
    // so the next tick comes after the interval or the pause, whichever is longer (five
    // directions, slot 12 at places 1 to 4).
    bool interval_after_pause = true;
    std::int64_t NextTickMs() const {
      const std::int64_t pause_ms = static_cast<std::int64_t>(pause_seconds) * 1000;
      if (pause_ms == 0) return interval_ms;
      return interval_after_pause ? pause_ms + interval_ms : std::max<std::int64_t>(pause_ms, interval_ms);
    }
  };
  SlideTick Tick();

  // Makes the show begin `pictures` places later in its order (the pictures of the boxes in use
  // whose files exist now, box 1 slot 1 first, counted round again past the last): the start tick
  // comes first as always, and the next tick draws that picture. So several monitors' engines
  // over one table show different pictures at once. Only before the first tick; draws nothing.
  void BeginLater(int pictures);

  const State& state() const { return state_; }
  // The slide interval in use (the last good value read).
  int slide_interval_ms() const { return slide_interval_ms_; }

  static Mode ModeOf(std::string_view text);
  // The pause after the last slot of a box: the interval in whole seconds, as a single-precision
  // number truncated toward zero (500 ms gives none, 1500 ms gives 1 s).
  static int PauseSeconds(int slide_interval_ms);

 private:
  bool BoxInUse(int box);
  void SlotWalk(int box);
  void PositionStep();
  bool DrawSlot(int box, int slot);
  Rect Place(Size fitted);
  int Random(int n);
  void ChangeAfterLastSlot(int box);
  void ChangeFromBoxNotInUse(int box);
  // The next box in order, or the start again after the last.
  void MoveToBoxAfter(int box);
  void SearchFrom(int first_box);
  void Restart();
  void RereadSlideInterval();

  // The picture being placed in five directions: kept for its five places.
  struct Visit {
    int box = 0;
    int slot = 0;
    std::shared_ptr<const Picture> picture;
  };

  Parts parts_;
  Visit visit_;
  Mode mode_ = Mode::kNone;
  State state_;
  int interval_ms_;
  int pause_seconds_ = 0;
  int interval_at_pause_ = -1;  // the interval when the pause began
  int slide_interval_ms_;
  const int scale_percent_;
  int fit_side_ = 0;
};

}  // namespace tessmoor
