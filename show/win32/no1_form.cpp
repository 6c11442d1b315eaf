#include "show/win32/no1_form.h"

#include <ctime>

#include "app/extended_settings.h"
#include "platform/win32/handles.h"
#include "platform/win32/wic_decoder.h"

namespace tessmoor {

TNo1Form::TNo1Form(KeyValueStore& store, FileSystem& files, HWND preview_parent)
    : settings_(store), files_(files) {
  FormCreate(preview_parent);

  ime_ = std::make_unique<win32::ImeStatusWindowOff>();
  show_ = ReadShowSettings(settings_);
  PictureTable::Options options;
  options.targets = ShowDecodeTargets(show_, canvas_.ClientWidth(), canvas_.ClientHeight());
  table_ = std::make_unique<PictureTable>(settings_, files_, show_, options, ShowPipeline());
  if (show_.pattern == ShowPattern::kPattern1) {
    slide_engine_ = std::make_unique<SlideEngine>(
        SlideEngine::Parts{show_, settings_, *table_, canvas_, *random_});
  }
  if (show_.pattern == ShowPattern::kPattern2) {
    picture_windows_ =
        std::make_unique<pattern2::PictureWindows>(hwnd(), show_, *table_, [this] { Close(); });
  }
  ApplyTimers();
  ShowOnScreen();
}

PicturePipeline TNo1Form::ShowPipeline() {
  PicturePipeline pipeline;
  pipeline.decoder = win32::MakeSystemPictureDecoder();
  // Every thread that decodes stays in one COM apartment for its life, rather than one per picture.
  pipeline.thread_scope = [] { return std::make_shared<win32::ComApartment>(); };
  pipeline.random = random_.get();
  return pipeline;
}

void TNo1Form::FormCreate(HWND preview_parent) {
  // The start-up reads, for the first-run values they leave in the store.
  (void)ReadStartUpValues(settings_);
  music_ = ReadMusicSettings(settings_, files_);

  CreateSurface(L"No1Form", preview_parent, nullptr, 0);
  RECT client{};
  GetClientRect(hwnd(), &client);
  canvas_.Attach(hwnd(), client.right, client.bottom);
  if (full_screen()) {
    music_driver_ = std::make_unique<ShowMusicDriver>(*this, music_, files_);
    music_driver_->Start();
  }

  if (full_screen()) {
    BlankWindow::Input input;
    input.key = [this] { FormKeyDown(); };
    input.mouse_down = [this] { FormMouseDown(); };
    input.mouse_move = [this](POINT p) { FormMouseMove(p); };
    other_monitors_ = BlankWindow::CoverOtherMonitors(hwnd(), input);
  }
  random_ = std::make_unique<SplitMixRandom>(static_cast<std::uint64_t>(std::time(nullptr)));
}

void TNo1Form::ApplyTimers() {
  SetTimerInterval(kScrNo1SpeedTimer, show_.slide_timer.interval_ms);
  for (int n = 1; n <= 4; ++n)
    SetTimerInterval(kScrNo2FormNo1SpeedTimer + n - 1, show_.window_timers[n - 1].interval_ms);
}

void TNo1Form::OnDestroy() {
  // The show is the process's main window: when it goes, by input or because the host destroyed
  // the preview window, the run ends.
  if (music_driver_) music_driver_->Shutdown();
  PostQuitMessage(0);
}

LRESULT TNo1Form::OnMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  if (music_driver_ && music_driver_->OnMessage(message, wparam, lparam)) return 0;
  if (message == WM_WINDOWPOSCHANGING && picture_windows_)
    picture_windows_->OnShowWindowPosChanging(*reinterpret_cast<WINDOWPOS*>(lparam));
  return Window::OnMessage(message, wparam, lparam);
}

void TNo1Form::OnTimer(UINT_PTR id) {
  if (music_driver_ && music_driver_->OnTimer(id)) return;
  if (id == kScrNo1SpeedTimer) {
    ScrNo1SpeedTimerTimer();
  } else if (id >= kScrNo2FormNo1SpeedTimer && id < kScrNo2FormNo1SpeedTimer + 4) {
    ScrNo2FormNoSpeedTimerTimer(static_cast<int>(id - kScrNo2FormNo1SpeedTimer) + 1);
  }
}

void TNo1Form::ScrNo1SpeedTimerTimer() {
  if (!slide_engine_) return;
  for (int box : table_->Collect()) SetTimerInterval(kScrNo2FormNo1SpeedTimer + box - 1, 0);
  const SlideEngine::SlideTick tick = slide_engine_->Tick();
  if (!alive()) return;
  SetTimerInterval(kScrNo1SpeedTimer, static_cast<int>(tick.NextTickMs()));
}

void TNo1Form::ScrNo2FormNoSpeedTimerTimer(int window) {
  if (!picture_windows_) return;
  const UINT_PTR timer = kScrNo2FormNo1SpeedTimer + window - 1;
  bool switched_off = false;
  for (int box : table_->Collect()) {
    SetTimerInterval(kScrNo2FormNo1SpeedTimer + box - 1, 0);
    switched_off = switched_off || box == window;
  }
  if (switched_off) return;
  if (picture_windows_->Tick(window) == pattern2::TimerAction::kStop) SetTimerInterval(timer, 0);
}

}  // namespace tessmoor
