#pragma once
#include <array>
#include <memory>
#include <string>

#include "app/settings.h"
#include "platform/file_system.h"
#include "setup/settings_dialog_model.h"
#include "show/music_settings.h"
#include "show/show_settings.h"

// What the pattern-2 preview form (`TNo2Form`) reads from the store when it starts.
//
// The shell constructs the form in this order:
//   1. `FormCreate`: StartPreviewForm (the hidden settings dialog's start-up reads and default
//      writes, then the music settings); size the form to the preview parent's window rectangle,
//      or to the screen without one (then hide the cursor and start the music); put it at 0, 0;
//      make its ExitOnInput enabled only without a preview parent.
//   2. The constructor body: turn off the input-method status window as the show window does,
//      then ReadPreviewSettings, and run the four panel timers at its intervals.
//   3. PreviewPanels(settings) drives the panels from the first tick on.
namespace tessmoor::pattern2 {

struct PreviewStart {
  // Never shown; it exists for the reads and first-run writes its construction makes.
  std::unique_ptr<SettingsDialogModel> hidden_dialog;
  // Used only when the form runs without a preview parent.
  MusicSettings music;
};

PreviewStart StartPreviewForm(Settings& settings, FileSystem& files);

// The preview's own copies of the pattern-2 settings, as the texts read from the store.
struct PreviewSettings {
  std::string pattern;
  std::array<std::string, 4> motion_mode;
  std::array<std::string, 4> speed;
  std::array<std::string, 4> scale;
  std::array<std::string, 4> box_use;
  // The panel timers, which run at these designed intervals unless the pattern is "2".
  std::array<TimerSetting, 4> timers{{{100}, {1500}, {1000}, {1000}}};
};

// Reads the pattern ("2" when not set) and, for pattern "2", the motion modes, speeds, scales and
// box use flags of windows 1 to 4 in that order, writing the same first-run values as the show
// (motion modes "1" to "4"), so a preview that runs first does not change the show's defaults.
// A speed that is not a decimal number runs at the first-run speed; box use "0" stops the
// panel's timer. The picture paths are not looked at: a box without pictures still has a panel.
PreviewSettings ReadPreviewSettings(Settings& settings);

}  // namespace tessmoor::pattern2
