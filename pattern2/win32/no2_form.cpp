#include "pattern2/win32/no2_form.h"

#include "pattern2/win32/picture_windows.h"
#include "platform/win32/controls.h"

namespace tessmoor::pattern2 {

TNo2Form::TNo2Form(KeyValueStore& store, FileSystem& files, HWND preview_parent)
    : settings_(store), files_(files) {
  FormCreate(preview_parent);

  ime_ = std::make_unique<win32::ImeStatusWindowOff>();
  preview_ = ReadPreviewSettings(settings_);
  panels_ = std::make_unique<PreviewPanels>(preview_);
  for (int n = 1; n <= 4; ++n)
    SetTimerInterval(kScrNo1SpeedTimer + n - 1, preview_.timers[n - 1].interval_ms);
  ShowOnScreen();
}

void TNo2Form::FormCreate(HWND preview_parent) {
  start_ = StartPreviewForm(settings_, files_);

  CreateSurface(L"No2Form", preview_parent, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)), WS_CLIPCHILDREN);
  if (const auto music = MusicToPlay(start_, !full_screen())) {
    music_driver_ = std::make_unique<ShowMusicDriver>(*this, *music, files_);
    music_driver_->Start();
  }

  font_ = win32::MakeUiFont(12, win32::DpiScale::ForWindow(hwnd()));
  for (int n = 1; n <= 4; ++n)
    panel_windows_[n - 1] = win32::MakeOwned<PreviewPanel>(hwnd(), kPanelDesigns[n - 1], font_.get());
}

void TNo2Form::OnDestroy() {
  // The preview is the process's main window: when the host destroys its window, or input ends
  // it on its own, the run ends.
  if (music_driver_) music_driver_->Shutdown();
  PostQuitMessage(0);
}

LRESULT TNo2Form::OnMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  if (music_driver_ && music_driver_->OnMessage(message, wparam, lparam)) return 0;
  return ShowSurface::OnMessage(message, wparam, lparam);
}

void TNo2Form::OnTimer(UINT_PTR id) {
  if (music_driver_ && music_driver_->OnTimer(id)) return;
  if (id >= kScrNo1SpeedTimer && id < kScrNo1SpeedTimer + 4)
    ScrNoSpeedTimerTimer(static_cast<int>(id - kScrNo1SpeedTimer) + 1);
}

void TNo2Form::ScrNoSpeedTimerTimer(int panel) {
  if (panels_->Tick(panel, AreaOf(hwnd())) == TimerAction::kStop) {
    SetTimerInterval(kScrNo1SpeedTimer + panel - 1, 0);
    return;
  }
  panel_windows_[panel - 1]->SetBounds(panels_->position(panel), panels_->size(panel));
}

}  // namespace tessmoor::pattern2
