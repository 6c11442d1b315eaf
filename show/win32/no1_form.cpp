#include "show/win32/no1_form.h"

#include <ctime>

namespace tessmoor {

TNo1Form::TNo1Form(KeyValueStore& store, FileSystem& files, HWND preview_parent)
    : settings_(store), files_(files), preview_parent_(preview_parent) {
  FormCreate();

  ime_ = std::make_unique<win32::ImeStatusWindowOff>();
  show_ = ReadShowSettings(settings_);
  PictureTable::Options options;
  options.targets = ShowDecodeTargets(show_, canvas_.ClientWidth(), canvas_.ClientHeight());
  table_ = std::make_unique<PictureTable>(settings_, files_, show_, *scr_set_up_form_, options);
  if (show_.pattern == "1") {
    slide_engine_ = std::make_unique<SlideEngine>(SlideEngine::Parts{
        show_, settings_, *scr_set_up_form_, files_, *table_, canvas_, *random_});
  }
  if (show_.pattern == "2") {
    picture_windows_ =
        std::make_unique<pattern2::PictureWindows>(hwnd(), show_, *table_, [this] { Close(); });
  }
  ApplyTimers();

  ShowWindow(hwnd(), preview_parent_ ? SW_SHOWNA : SW_SHOW);
  if (!preview_parent_) {
    SetForegroundWindow(hwnd());
    SetFocus(hwnd());
  }
  UpdateWindow(hwnd());
}

TNo1Form::~TNo1Form() {
  other_monitors_.clear();
  Destroy();
}

void TNo1Form::FormCreate() {
  scr_set_up_form_ = std::make_unique<SettingsDialogModel>(settings_, files_, nullptr);
  music_ = ReadMusicSettings(settings_, files_);

  win32::WindowSpec params;
  params.title = L"No1Form";
  params.x = 0;
  params.y = 0;
  if (preview_parent_) {
    RECT parent{};
    GetWindowRect(preview_parent_, &parent);
    params.style = WS_CHILD;
    params.parent = preview_parent_;
    params.width = parent.right - parent.left;
    params.height = parent.bottom - parent.top;
    params.cursor = LoadCursorW(nullptr, IDC_ARROW);
  } else {
    params.style = WS_POPUP;
    params.ex_style = WS_EX_TOPMOST;
    params.width = GetSystemMetrics(SM_CXSCREEN);
    params.height = GetSystemMetrics(SM_CYSCREEN);
    params.cursor = nullptr;  // hidden over the show
  }
  Create(params);
  RECT client{};
  GetClientRect(hwnd(), &client);
  canvas_.Attach(hwnd(), client.right, client.bottom);
  if (!preview_parent_) {
    music_driver_ = std::make_unique<ShowMusicDriver>(*this, music_, files_);
    music_driver_->Start();
  }

  exit_ = ExitOnInput(preview_parent_ == nullptr);
  if (!preview_parent_) {
    BlankWindow::Input input;
    input.key = [this] { FormKeyDown(0); };
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

void TNo1Form::Close() { Destroy(); }

void TNo1Form::OnDestroy() {
  // The show is the process's main window: when it goes, by input or because the host destroyed
  // the preview window, the run ends.
  if (music_driver_) music_driver_->Shutdown();
  PostQuitMessage(0);
}

LRESULT TNo1Form::OnMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  if (music_driver_ && music_driver_->OnMessage(message, wparam, lparam)) return 0;
  return Window::OnMessage(message, wparam, lparam);
}

void TNo1Form::FormKeyDown(WPARAM) {
  if (exit_.OnKey()) Close();
}

void TNo1Form::FormMouseDown() {
  if (exit_.OnMouseDown()) Close();
}

void TNo1Form::FormMouseMove(POINT screen) {
  if (exit_.OnMouseMove(screen.x, screen.y)) Close();
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
