#include "show/show_settings.h"

#include "app/settings_keys.h"

namespace tessmoor {

ShowSettings ReadShowSettings(Settings& settings) {
  ShowSettings show;
  show.pattern = settings.Read(keys::kPattern);
  if (show.pattern == "1") {
    show.detail_mode = settings.Read(keys::kDetailMode);
    show.current_detail_mode = show.detail_mode;
    show.slide_interval = settings.Read(keys::kSlideInterval);
    show.slide_timer.interval_ms = 1;
    show.scale = settings.Read(keys::kSlideScale);
    for (int b = 1; b <= keys::kBoxCount; ++b)
      show.box_use[b - 1] = settings.Read(keys::Pattern1BoxUse(b));
  }
  if (show.pattern == "2") {
    for (int n = 1; n <= keys::kWindowCount; ++n)
      show.motion_mode[n - 1] = settings.Read(keys::MotionMode(n));
    for (int n = 1; n <= keys::kWindowCount; ++n) {
      const std::string key = keys::WindowSpeed(n);
      show.window_speed[n - 1] = settings.Read(key);
      show.window_timers[n - 1].interval_ms =
          NumberOr(show.window_speed[n - 1], Settings::FirstRun(key));
    }
    for (int n = 1; n <= keys::kWindowCount; ++n)
      show.window_scale[n - 1] = settings.Read(keys::WindowScale(n));
    for (int n = 1; n <= keys::kWindowCount; ++n) {
      show.box_use[n - 1] = settings.Read(keys::Pattern2BoxUse(n));
      if (show.box_use[n - 1] == "0") show.window_timers[n - 1].interval_ms = 0;
    }
  }
  return show;
}

void ForceBoxOff(ShowSettings& show, int box) {
  show.box_use[box - 1] = "0";
  show.window_timers[box - 1].interval_ms = 0;
}

}  // namespace tessmoor
