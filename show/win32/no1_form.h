#pragma once
#include <memory>
#include <vector>

#include "app/extended_settings.h"
#include "app/settings.h"
#include "pattern2/win32/picture_windows.h"
#include "platform/file_system.h"
#include "platform/random.h"
#include "platform/win32/gdi_canvas.h"
#include "platform/win32/ime_ui.h"
#include "platform/win32/window.h"
#include "show/win32/monitor_window.h"
#include "show/win32/show_music_driver.h"
#include "show/win32/show_surface.h"
#include "show/monitor_shows.h"
#include "show/music_settings.h"
#include "show/picture_table.h"
#include "show/slide_engine.h"
#include "show/show_settings.h"

namespace tessmoor {

// The show window: black, borderless, top-most, over the primary monitor, or inside the host's
// preview window. It owns the timers of both patterns and ends the show, and with it the process,
// on input in full screen. In full screen every other monitor gets a window of its own, black or,
// with the every-monitor setting, running a slide show of its own; when the monitors change, the
// windows follow them.
class TNo1Form : public ShowSurface {
 public:
  // `preview_parent` is the host's preview window, or nullptr for the full-screen show.
  TNo1Form(KeyValueStore& store, FileSystem& files, HWND preview_parent);

  static constexpr UINT_PTR kScrNo1SpeedTimer = 1;
  static constexpr UINT_PTR kScrNo2FormNo1SpeedTimer = 11;  // ... 14 for window 4
  // Posted once for any number of display changes that arrive together.
  static constexpr UINT kCoverMonitorsMessage = WM_APP + 1;

 protected:
  void OnTimer(UINT_PTR id) override;
  void OnPaint(HDC dc, const RECT& area) override { canvas_.Paint(dc, area); }
  void OnDestroy() override;
  LRESULT OnMessage(UINT message, WPARAM wparam, LPARAM lparam) override;
  bool MonitorsChangedUnheard() override;

 private:
  void FormCreate(HWND preview_parent);
  void ScrNo1SpeedTimerTimer();
  void ScrNo2FormNoSpeedTimerTimer(int window);
  void ApplyTimers();
  // The system's decoders, the threads' COM apartments and the folders' shuffles.
  PicturePipeline ShowPipeline();
  // Covers the monitors as they are now: the other monitors' windows, and this one over the
  // primary (its canvas made again when the primary's size changed).
  void CoverMonitors(const std::vector<MonitorArea>& monitors);
  void PostCover();

  Settings settings_;
  FileSystem& files_;
  MusicSettings music_;
  // `MusicMediaPlayerLoad` and the music rotation: full screen only, shut down in OnDestroy.
  std::unique_ptr<ShowMusicDriver> music_driver_;
  std::unique_ptr<SplitMixRandom> random_;
  std::unique_ptr<win32::ImeStatusWindowOff> ime_;
  ExtendedSettings extended_;
  ShowSettings show_;
  win32::GdiCanvas canvas_;
  // Built after the settings; the engine borrows the table, so it is declared after it.
  std::unique_ptr<PictureTable> table_;
  std::unique_ptr<SlideEngine> slide_engine_;
  // Pattern 2: the picture windows, which also borrow the table.
  std::unique_ptr<pattern2::PictureWindows> picture_windows_;
  // Full screen: the windows over the other monitors. The shows there borrow the table.
  std::unique_ptr<MonitorWindows> monitor_windows_;
  std::unique_ptr<OtherMonitors> other_monitors_;
  std::vector<Rect> covered_;  // MonitorsToCover at the last cover
  bool cover_posted_ = false;
};

}  // namespace tessmoor
