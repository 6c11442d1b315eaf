#pragma once
#include <array>
#include <string>

#include "app/settings.h"

namespace tessmoor {

// A timer as the show configures it: it fires every `interval_ms` while that is above 0.
struct TimerSetting {
  int interval_ms = 0;
  bool running() const { return interval_ms > 0; }
};

// The show window's copies of the settings of the pattern it runs, as the texts read from the
// store; numbers are converted where they are used.
struct ShowSettings {
  std::string pattern;

  // Pattern 1.
  std::string detail_mode;
  std::string current_detail_mode = "1";
  std::string slide_interval;
  std::string scale;

  // Pattern 1 and 2 (from the key of the pattern that runs). The picture table forces a box
  // without a usable picture to "0" in memory.
  std::array<std::string, 4> box_use;

  // Pattern 2.
  std::array<std::string, 4> motion_mode;
  std::array<std::string, 4> window_speed;
  std::array<std::string, 4> window_scale;

  // Timers: the slide engine's and the four picture windows'.
  TimerSetting slide_timer;
  std::array<TimerSetting, 4> window_timers;
};

// Reads the pattern and then the settings of that pattern, writing the first-run value of every
// key that is not set, and configures the timers: pattern 1 starts the slide timer at 1 ms and
// stops the window timers; pattern 2 runs each window timer at its speed unless its box is
// switched off. A speed that is not a decimal number runs at the first-run speed.
ShowSettings ReadShowSettings(Settings& settings);

// Stops the window timer of every box whose use flag is "0" after the picture table has been
// built, and of every box the table found without a usable picture.
void ForceBoxOff(ShowSettings& show, int box);

}  // namespace tessmoor
