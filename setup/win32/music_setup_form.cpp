#include "setup/win32/music_setup_form.h"

#include <utility>

#include "platform/win32/open_file_dialog.h"
#include "platform/win32/utf.h"
#include "setup/win32/music_glyphs.h"
#include "setup/win32/save_failure_box.h"

namespace tessmoor {

namespace {
using R = MusicRole;

void SetIcon(HWND button, HICON icon) {
  SendMessageW(button, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(icon));
}
}  // namespace

TMusicSetUpForm::TMusicSetUpForm(Settings& settings, FileSystem& files, HWND owner,
                                 std::shared_ptr<MusicPaths> paths) {
  const FormSpec& design = MusicDialogForm();
  win32::BuildStyle style;
  style.keyboard_groups = false;
  BuildForm(design, MusicDialogControls(), owner, style);
  // This one dialog is placed at its design place scaled like its size.
  const win32::DpiScale s = scale();
  MoveTo(s(design.left), s(design.top));

  DrawGlyphs();
  FormCreate(settings, files, std::move(paths));
}

void TMusicSetUpForm::DrawGlyphs() {
  // The buttons hold the old icons until they get the new ones.
  win32::UniqueIcon play = win32::DrawLoudspeakerGlyph(win32::LoudspeakerGlyph::kPlay, scale()(kMusicGlyphSide));
  win32::UniqueIcon stop = win32::DrawLoudspeakerGlyph(win32::LoudspeakerGlyph::kStop, scale()(kMusicGlyphSide));
  for (int n = 1; n <= kMusicDialogSlots; ++n) SetIcon(ControlOf(R::kPlayButton, n), play.get());
  SetIcon(ControlOf(R::kStopButton), stop.get());
  play_glyph_ = std::move(play);
  stop_glyph_ = std::move(stop);
}

void TMusicSetUpForm::OnRescale() {
  TableForm::OnRescale();
  DrawGlyphs();
}

void TMusicSetUpForm::FormCreate(Settings& settings, FileSystem& files, std::shared_ptr<MusicPaths> paths) {
  if (!paths) paths = std::make_shared<MusicPaths>();
  player_.emplace(hwnd());
  model_.emplace(settings, files, *player_, std::move(paths), this);
}

void TMusicSetUpForm::Show() {
  ShowWindow(hwnd(), SW_SHOW);
  SetForegroundWindow(hwnd());
}

void TMusicSetUpForm::OnControl(const Row& row, int, HWND control) {
  if (!model_) return;
  switch (row.role) {
    case R::kSlotCheck: model_->MusicNameCheckBoxClick(row.index, win32::Button(control).Checked()); break;
    case R::kOpenButton: model_->MusicNoOpenDialogButtonClick(row.index); break;
    case R::kEraseButton: model_->MusicNoOpenDialogEraseButtonClick(row.index); break;
    case R::kPlayButton: model_->MusicPlayNoBitBtnClick(row.index); break;
    case R::kStopButton: model_->MusicStopBitBtnClick(); break;
    case R::kSaveButton: model_->MusicRegFileSaveButtonClick(); break;
    case R::kCancelButton: model_->CancelButtonClick(); break;
  }
}

void TMusicSetUpForm::OnCloseRequest() {
  if (model_) model_->FormClose();
  HideWindow();
}

void TMusicSetUpForm::OnDestroy() {
  if (model_) model_->FormClose();
}

LRESULT TMusicSetUpForm::OnMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == MM_MCINOTIFY) {
    if (const auto kind = win32::MediaNotifyFromMci(wparam); kind && model_)
      model_->MusicMediaPlayerNotify(*kind, win32::DeviceIdFromMci(lparam));
    return 0;
  }
  return TableForm::OnMessage(message, wparam, lparam);
}

void TMusicSetUpForm::ShowCaption(int slot, std::string_view caption) {
  win32::Control(ControlOf(R::kSlotCheck, slot)).SetText(win32::Widen(caption));
}

void TMusicSetUpForm::ShowTicked(int slot, bool ticked) {
  win32::Button(ControlOf(R::kSlotCheck, slot)).SetChecked(ticked);
}

void TMusicSetUpForm::ShowButtons(const MusicButtonStates& states) {
  for (int n = 1; n <= kMusicDialogSlots; ++n) {
    win32::Control(ControlOf(R::kPlayButton, n)).Enable(states.play_enabled);
    win32::Control(ControlOf(R::kOpenButton, n)).Enable(states.open_enabled);
  }
  win32::Control(ControlOf(R::kStopButton)).Enable(states.stop_enabled);
}

std::string TMusicSetUpForm::ChooseMusicFile() {
  const auto chosen = win32::RunOpenFileDialog(hwnd(), win32::OpenFiltersOf(kMusicFileFilters), last_folder_);
  if (!chosen) return {};
  if (!chosen->folder.empty()) last_folder_ = chosen->folder;
  return win32::Narrow(chosen->path);
}

void TMusicSetUpForm::HideWindow() { ShowWindow(hwnd(), SW_HIDE); }

void TMusicSetUpForm::ShowSaveFailure(std::uint32_t error) { ShowSaveFailureBox(hwnd(), error); }

}  // namespace tessmoor
