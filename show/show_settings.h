#pragma once
#include <array>
#include <string>

#include "app/settings.h"
#include "app/settings_keys.h"

namespace tessmoor {

// A timer as the show configures it: it fires every `interval_ms` while that is above 0.
struct TimerSetting {
  int interval_ms = 0;
  bool running() const { return interval_ms > 0; }
};

// The settings of the four pattern-2 windows (index 0..3 for window 1..4), shared by the show's
// picture windows and the preview's panels.
struct Pattern2Settings {
  std::array<Motion, 4> motion_mode{Motion::kStill, Motion::kStill, Motion::kStill, Motion::kStill};
  std::array<int, 4> speed{};                // the window timer's interval in ms
  std::array<int, 4> scale{50, 50, 50, 50};  // percent
  std::array<bool, 4> use{};
  // Each window's timer: its speed, stopped for a window whose box is switched off.
  std::array<TimerSetting, 4> timers() const;
};

// Reads the motion modes, the speeds, the scales and the box use flags of windows 1 to 4, in
// that order, writing the first-run value of every key that is not set. A speed or scale that is
// not a number counts as its first-run value, 50; only a box use of "0" stops a window.
Pattern2Settings ReadPattern2Settings(Settings& settings);

// The show window's copies of the settings of the pattern it runs.
struct ShowSettings {
  ShowPattern pattern = ShowPattern::kOther;

  // Pattern 1. The detail mode keeps its text: "9", like any text but "1" to "4", shows nothing.
  std::string detail_mode;
  std::string current_detail_mode = "1";
  int slide_interval = 1500;  // ms; a damaged text reads as the first-run value
  int scale = 50;             // percent
  // Whether every monitor runs a slide show of its own (the extended settings, which the show
  // window reads at its start); otherwise the monitors beside the primary stay black.
  bool every_monitor = false;

  // Pattern 1 and 2 (from the key of the pattern that runs). The picture table switches off a
  // box without a usable picture.
  std::array<bool, 4> box_use{};

  // Pattern 2.
  std::array<Motion, 4> motion_mode{Motion::kStill, Motion::kStill, Motion::kStill, Motion::kStill};
  std::array<int, 4> window_speed{};
  std::array<int, 4> window_scale{50, 50, 50, 50};

  // Timers: the slide engine's and the four picture windows'.
  TimerSetting slide_timer;
  std::array<TimerSetting, 4> window_timers;
};

// Reads the pattern and then the settings of that pattern, writing the first-run value of every
// key that is not set, and configures the timers: pattern 1 starts the slide timer at 1 ms and
// stops the window timers; pattern 2 runs each window timer at its speed unless its box is
// switched off.
ShowSettings ReadShowSettings(Settings& settings);

// Switches box `box` off and stops its window timer: after the picture table has been built, for
// every box the table found without a usable picture.
void ForceBoxOff(ShowSettings& show, int box);

}  // namespace tessmoor
