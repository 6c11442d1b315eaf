#include "pattern2/win32/no2_form.h"

#include "platform/win32/controls.h"

namespace tessmoor::pattern2 {

TNo2Form::TNo2Form(KeyValueStore& store, FileSystem& files, HWND preview_parent)
    : settings_(store), files_(files), preview_parent_(preview_parent) {
  FormCreate();

  ime_ = std::make_unique<win32::ImeStatusWindowOff>();
  preview_ = ReadPreviewSettings(settings_);
  panels_ = std::make_unique<PreviewPanels>(preview_);
  for (int n = 1; n <= 4; ++n)
    SetTimerInterval(kScrNo1SpeedTimer + n - 1, preview_.timers[n - 1].interval_ms);

  ShowWindow(hwnd(), preview_parent_ ? SW_SHOWNA : SW_SHOW);
  if (!preview_parent_) {
    SetForegroundWindow(hwnd());
    SetFocus(hwnd());
  }
  UpdateWindow(hwnd());
}

TNo2Form::~TNo2Form() { Destroy(); }

void TNo2Form::FormCreate() {
  start_ = StartPreviewForm(settings_, files_);

  win32::WindowSpec params;
  params.title = L"No2Form";
  params.x = 0;
  params.y = 0;
  params.background = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  if (preview_parent_) {
    RECT parent{};
    GetWindowRect(preview_parent_, &parent);
    params.style = WS_CHILD | WS_CLIPCHILDREN;
    params.parent = preview_parent_;
    params.width = parent.right - parent.left;
    params.height = parent.bottom - parent.top;
    params.cursor = LoadCursorW(nullptr, IDC_ARROW);
  } else {
    params.style = WS_POPUP | WS_CLIPCHILDREN;
    params.ex_style = WS_EX_TOPMOST;
    params.width = GetSystemMetrics(SM_CXSCREEN);
    params.height = GetSystemMetrics(SM_CYSCREEN);
    params.cursor = nullptr;  // hidden
  }
  Create(params);
  exit_ = ExitOnInput(preview_parent_ == nullptr);

  font_ = win32::MakeUiFont(12, win32::DpiScale::ForWindow(hwnd()));
  for (int n = 1; n <= 4; ++n)
    panel_windows_[n - 1] = std::make_unique<PreviewPanel>(hwnd(), kPanelDesigns[n - 1], font_.get());
}

void TNo2Form::OnDestroy() {
  // The preview is the process's main window: when the host destroys its window, the run ends.
  PostQuitMessage(0);
}

void TNo2Form::FormKeyDown() {
  if (exit_.OnKey()) Destroy();
}

void TNo2Form::FormMouseDown() {
  if (exit_.OnMouseDown()) Destroy();
}

void TNo2Form::FormMouseMove(POINT screen) {
  if (exit_.OnMouseMove(screen.x, screen.y)) Destroy();
}

void TNo2Form::OnTimer(UINT_PTR id) {
  if (id >= kScrNo1SpeedTimer && id < kScrNo1SpeedTimer + 4)
    ScrNoSpeedTimerTimer(static_cast<int>(id - kScrNo1SpeedTimer) + 1);
}

void TNo2Form::ScrNoSpeedTimerTimer(int panel) {
  RECT outer{};
  RECT client{};
  GetWindowRect(hwnd(), &outer);
  GetClientRect(hwnd(), &client);
  const ShowArea form{{outer.right - outer.left, outer.bottom - outer.top},
                      {client.right, client.bottom}};
  if (panels_->Tick(panel, form) == TimerAction::kStop) {
    SetTimerInterval(kScrNo1SpeedTimer + panel - 1, 0);
    return;
  }
  panel_windows_[panel - 1]->SetBounds(panels_->position(panel), panels_->size(panel));
}

}  // namespace tessmoor::pattern2
