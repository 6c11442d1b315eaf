#include "pattern2/preview_settings.h"

#include "app/settings_keys.h"

namespace tessmoor::pattern2 {

PreviewStart StartPreviewForm(Settings& settings, FileSystem& files) {
  PreviewStart start;
  start.start_up = ReadStartUpValues(settings);
  start.music = ReadMusicSettings(settings, files);
  return start;
}

PreviewSettings ReadPreviewSettings(Settings& settings) {
  PreviewSettings preview;
  // The entry starts this form only for pattern "2", so that is what a missing key means here.
  preview.pattern = PatternOf(settings.Read(keys::kPattern, PatternText(ShowPattern::kPattern2)));
  if (preview.pattern != ShowPattern::kPattern2) return preview;
  preview.windows = ReadPattern2Settings(settings);
  preview.timers = preview.windows.timers();
  return preview;
}

}  // namespace tessmoor::pattern2
