#include "show/show_settings.h"

namespace tessmoor {

std::array<TimerSetting, 4> Pattern2Settings::timers() const {
  std::array<TimerSetting, 4> t;
  for (int n = 0; n < keys::kWindowCount; ++n) t[n].interval_ms = use[n] ? speed[n] : 0;
  return t;
}

Pattern2Settings ReadPattern2Settings(Settings& settings) {
  Pattern2Settings p;
  for (int n = 1; n <= keys::kWindowCount; ++n) p.motion_mode[n - 1] = MotionOf(settings.Read(keys::MotionMode(n)));
  for (int n = 1; n <= keys::kWindowCount; ++n) p.speed[n - 1] = settings.ReadNumber(keys::WindowSpeed(n));
  for (int n = 1; n <= keys::kWindowCount; ++n) p.scale[n - 1] = settings.ReadNumber(keys::WindowScale(n));
  for (int n = 1; n <= keys::kWindowCount; ++n) p.use[n - 1] = settings.ReadSwitch(keys::Pattern2BoxUse(n));
  return p;
}

ShowSettings ReadShowSettings(Settings& settings) {
  ShowSettings show;
  show.pattern = PatternOf(settings.Read(keys::kPattern));
  if (show.pattern == ShowPattern::kPattern1) {
    show.detail_mode = settings.Read(keys::kDetailMode);
    show.current_detail_mode = show.detail_mode;
    show.slide_interval = settings.ReadNumber(keys::kSlideInterval);
    show.slide_timer.interval_ms = 1;
    show.scale = settings.ReadNumber(keys::kSlideScale);
    for (int b = 1; b <= keys::kBoxCount; ++b) show.box_use[b - 1] = settings.ReadSwitch(keys::Pattern1BoxUse(b));
  }
  if (show.pattern == ShowPattern::kPattern2) {
    const Pattern2Settings windows = ReadPattern2Settings(settings);
    show.motion_mode = windows.motion_mode;
    show.window_speed = windows.speed;
    show.window_scale = windows.scale;
    show.box_use = windows.use;
    show.window_timers = windows.timers();
  }
  return show;
}

void ForceBoxOff(ShowSettings& show, int box) {
  show.box_use[box - 1] = false;
  show.window_timers[box - 1].interval_ms = 0;
}

}  // namespace tessmoor
