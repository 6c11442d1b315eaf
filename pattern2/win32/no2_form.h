#pragma once
#include <array>
#include <memory>

#include "app/settings.h"
#include "pattern2/preview_panels.h"
#include "pattern2/preview_settings.h"
#include "pattern2/win32/preview_panel.h"
#include "platform/file_system.h"
#include "platform/win32/handles.h"
#include "platform/win32/ime_ui.h"
#include "show/win32/show_music_driver.h"
#include "show/win32/show_surface.h"

namespace tessmoor::pattern2 {

// `TNo2Form`: the pattern-2 preview. Inside the host's preview window it is a black child window
// of the parent's size, in which four coloured panels stand for the picture windows and move by
// their motion modes, one timer per panel; input does nothing, and the run ends when the host
// destroys its window. Without a preview parent (`/p 0`) it covers the screen, hides the cursor,
// plays the show's music and ends on input like the show window.
class TNo2Form : public ShowSurface {
 public:
  TNo2Form(KeyValueStore& store, FileSystem& files, HWND preview_parent);

  static constexpr UINT_PTR kScrNo1SpeedTimer = 1;  // ... 4 for panel 4

 protected:
  void OnTimer(UINT_PTR id) override;
  void OnDestroy() override;
  LRESULT OnMessage(UINT message, WPARAM wparam, LPARAM lparam) override;

 private:
  void FormCreate(HWND preview_parent);
  void ScrNoSpeedTimerTimer(int panel);

  Settings settings_;
  FileSystem& files_;
  PreviewStart start_;
  // `MusicMediaPlayerLoad` and the music rotation: without a preview parent only, shut down in
  // OnDestroy.
  std::unique_ptr<ShowMusicDriver> music_driver_;
  std::unique_ptr<win32::ImeStatusWindowOff> ime_;
  PreviewSettings preview_;
  std::unique_ptr<PreviewPanels> panels_;
  win32::UniqueFont font_;
  // After the font, which they borrow.
  std::array<std::unique_ptr<PreviewPanel>, 4> panel_windows_;
};

}  // namespace tessmoor::pattern2
