// What the settings dialog's model asks of its window: the window's place, the radio buttons,
// the picture controls, the messages and the open-picture dialog.
#include "platform/win32/monitor_place.h"
#include "platform/win32/open_file_dialog.h"
#include "platform/win32/utf.h"
#include "setup/win32/save_failure_box.h"
#include "setup/win32/settings_form.h"

namespace tessmoor {

namespace {
using R = SettingsRole;
}  // namespace

void TScrSetUpForm::PlacePicture(SettingsRole role, int index, Size size, std::optional<Picture> picture,
                                 const Rect& drawn) {
  const auto row = RowOf(role, index);
  win32::PictureBox* box = PictureOf(role, index);
  if (!row || !box) return;
  const Rect& at = controls().at(*row).design;
  PlaceControl(*row, {at.left, at.top, at.left + size.width, at.top + size.height});
  if (picture)
    box->SetPicture(std::move(*picture), drawn, scale());
  else
    box->ClearPicture();
}

void TScrSetUpForm::View::MoveTo(int x, int y) {
  const POINT place = win32::ReachablePlaceOf(form_.hwnd(), x, y);
  form_.Form::MoveTo(place.x, place.y);
}

Point TScrSetUpForm::View::WindowOrigin() { return form_.ScreenOrigin(); }

void TScrSetUpForm::View::SelectPattern(bool pattern2) {
  form_.SelectRadio(form_.RowOf(pattern2 ? R::kPattern2Radio : R::kPattern1Radio), std::nullopt);
}

void TScrSetUpForm::View::SelectMusicPlay(bool play) {
  form_.SelectRadio(form_.RowOf(play ? R::kMusicPlayRadio : R::kMusicStopRadio), std::nullopt);
}

void TScrSetUpForm::View::ShowBoxPicture(int box, const PicturePlacement& placement, Picture picture) {
  form_.PlacePicture(R::kBoxPicture, box, placement.control, std::move(picture), placement.picture);
}

void TScrSetUpForm::View::ClearBoxPicture(int box) {
  form_.PlacePicture(R::kBoxPicture, box, kBoxPictureDesign, std::nullopt, {});
}

void TScrSetUpForm::View::MarkBoxFolder(int box, std::optional<std::size_t> pictures) {
  if (win32::PictureBox* picture = form_.PictureOf(R::kBoxPicture, box))
    picture->SetFolderMark(win32::Widen(FolderMarkCaption(pictures)));
}

void TScrSetUpForm::View::ShowFilePreview(const PicturePlacement& placement, Picture picture) {
  form_.PlacePicture(R::kFilePreview, 0, placement.control, std::move(picture), placement.picture);
}

void TScrSetUpForm::View::ClearFilePreview() {
  form_.PlacePicture(R::kFilePreview, 0, kFilePreviewDesign, std::nullopt, {});
}

void TScrSetUpForm::View::ShowPictureError(std::string_view path, std::string_view reason) {
  const std::wstring text = win32::Widen(path) + L"\n\n" + win32::Widen(reason);
  MessageBoxW(form_.hwnd(), text.c_str(), L"Tessmoor", MB_OK | MB_ICONERROR);
}

std::optional<std::string> TScrSetUpForm::View::ChoosePictureFile(int, std::string_view initial_folder) {
  const std::vector<win32::OpenFilter> filters = win32::OpenFiltersOf(form_.picture_filters_);
  win32::PreviewPane pane;
  pane.side = kOpenDialogPreviewSide;
  pane.folder_button = win32::Widen(kChooseFolderCaption);
  pane.load = [this](const std::wstring& path, SIZE size) -> std::optional<win32::PanePicture> {
    const Size area{size.cx, size.cy};
    Preview preview = LoadPreview(form_.files_, *form_.decoder_, win32::Narrow(path), area, false);
    if (preview.status != PreviewStatus::kShown) return std::nullopt;
    const Rect drawn = PaneDrawRect(area, preview.placement);
    return win32::PanePicture{std::move(preview.picture), {drawn.left, drawn.top, drawn.right, drawn.bottom}};
  };
  const auto chosen = win32::RunOpenFileDialog(form_.hwnd(), filters, win32::Widen(initial_folder), &pane);
  if (!chosen) return std::nullopt;
  return win32::Narrow(chosen->path);
}

void TScrSetUpForm::View::CloseWindow() { form_.Destroy(); }

void TScrSetUpForm::View::ShowSaveFailure(std::uint32_t error) { ShowSaveFailureBox(form_.hwnd(), error); }

int TScrSetUpForm::View::DotsPerInch() { return form_.scale().dpi(); }

}  // namespace tessmoor
