#include "pattern2/preview_settings.h"

#include "app/settings_keys.h"

namespace tessmoor::pattern2 {

PreviewStart StartPreviewForm(Settings& settings, FileSystem& files) {
  PreviewStart start;
  start.hidden_dialog = std::make_unique<SettingsDialogModel>(settings, files, nullptr);
  start.music = ReadMusicSettings(settings, files);
  return start;
}

PreviewSettings ReadPreviewSettings(Settings& settings) {
  PreviewSettings preview;
  // The entry starts this form only for pattern "2", so that is what a missing key means here.
  preview.pattern = settings.Read(keys::kPattern, "2");
  if (preview.pattern != "2") return preview;
  for (int n = 1; n <= keys::kWindowCount; ++n)
    preview.motion_mode[n - 1] = settings.Read(keys::MotionMode(n));
  for (int n = 1; n <= keys::kWindowCount; ++n) {
    const std::string key = keys::WindowSpeed(n);
    preview.speed[n - 1] = settings.Read(key);
    preview.timers[n - 1].interval_ms = NumberOr(preview.speed[n - 1], Settings::FirstRun(key));
  }
  for (int n = 1; n <= keys::kWindowCount; ++n)
    preview.scale[n - 1] = settings.Read(keys::WindowScale(n));
  for (int n = 1; n <= keys::kWindowCount; ++n) {
    preview.box_use[n - 1] = settings.Read(keys::Pattern2BoxUse(n));
    if (preview.box_use[n - 1] == "0") preview.timers[n - 1].interval_ms = 0;
  }
  return preview;
}

}  // namespace tessmoor::pattern2
