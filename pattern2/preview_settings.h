#pragma once
#include <array>

#include "app/settings.h"
#include "app/extended_settings.h"
#include "platform/file_system.h"
#include "show/music_settings.h"
#include "show/show_settings.h"

// What the pattern-2 preview form (`TNo2Form`) reads from the store when it starts.
//
// The shell constructs the form in this order:
//   1. `FormCreate`: StartPreviewForm (the start-up reads and first-run writes of a show, then the
//      music settings); size the form to the preview parent's window rectangle, or to
//      the screen without one (then hide the cursor and start the music); put it at 0, 0; make
//      its ExitOnInput enabled only without a preview parent.
//   2. The constructor body: turn off the input-method status window as the show window does,
//      then ReadPreviewSettings, and run the four panel timers at its intervals.
//   3. PreviewPanels(settings) drives the panels from the first tick on.
namespace tessmoor::pattern2 {

struct PreviewStart {
  // What the show's start-up reads read; they are made for their first-run writes.
  StartUpValues start_up;
  // Used only when the form runs without a preview parent.
  MusicSettings music;
};

PreviewStart StartPreviewForm(Settings& settings, FileSystem& files);

// The preview's own copies of the pattern-2 settings.
struct PreviewSettings {
  ShowPattern pattern = ShowPattern::kOther;
  // Read only for pattern "2"; otherwise every panel keeps still at scale 50.
  Pattern2Settings windows;
  // The panel timers, which run at these designed intervals unless the pattern is "2".
  std::array<TimerSetting, 4> timers{{{100}, {1500}, {1000}, {1000}}};
};

// Reads the pattern ("2" when not set) and, for pattern "2", the pattern-2 settings as the show
// reads them (ReadPattern2Settings), writing the same first-run values as the show (motion modes
// "1" to "4"), so a preview that runs first does not change the show's defaults. The picture
// paths are not looked at: a box without pictures still has a panel.
PreviewSettings ReadPreviewSettings(Settings& settings);

}  // namespace tessmoor::pattern2
