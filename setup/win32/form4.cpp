#include "setup/win32/form4.h"

#include <shellapi.h>
// <shellapi.h> names ShellExecute as a macro; here it is the view's member.
#undef ShellExecute

#include <vector>

#include "platform/win32/utf.h"

namespace tessmoor {

namespace {

const ControlSpec<VersionRole>& Row(std::size_t row) { return VersionDialogControls()[row]; }

}  // namespace

std::string ModulePath() {
  std::vector<wchar_t> path(MAX_PATH);
  for (;;) {
    const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n == 0) return {};
    if (n < path.size()) return win32::Narrow(std::wstring_view(path.data(), n));
    path.resize(path.size() * 2);
  }
}

TForm4::TForm4(HWND owner) {
  const FormSpec& form = VersionDialogForm();
  CreateForm(WindowSpecOf(form, owner));
  if (form.title_buttons == TitleButtons::kNormal) {
    // The whole set of title-bar buttons; the size stays the design's.
    SetWindowLongPtrW(hwnd(), GWL_STYLE, GetWindowLongPtrW(hwnd(), GWL_STYLE) | WS_MINIMIZEBOX | WS_MAXIMIZEBOX);
    SetWindowPos(hwnd(), nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  }
  SetOuterSize(*this, form.width, form.height);
  controls_.Build(*this, VersionDialogControls());
  for (std::size_t i = 0; i < controls_.size(); ++i)
    if (Row(i).role == VersionRole::kPicture)
      if (win32::PictureBox* picture = controls_.picture(i)) picture->SetPicture(VersionArtwork());
  model_ = std::make_unique<VersionDialogModel>(ModulePath(), *this);
}

TForm4::~TForm4() {
  model_.reset();
  Destroy();
}

void TForm4::OnCommand(int id, int code, HWND) {
  const auto row = controls_.RowOfId(id);
  if (!model_ || !row || code != BN_CLICKED) return;
  if (Row(*row).role == VersionRole::kHelpButton) model_->HelpButtonClick();
  if (Row(*row).role == VersionRole::kCloseButton) model_->VerCloseButtonClick();
}

void TForm4::OnCloseRequest() {
  if (model_) model_->VerCloseButtonClick();
}

void TForm4::MakeTopMostAndShow() { tessmoor::MakeTopMostAndShow(hwnd()); }

void TForm4::ShellExecute(const ShellExecuteRequest& request) {
  const std::wstring verb = win32::Widen(request.verb);
  const std::wstring file = win32::Widen(request.file);
  SHELLEXECUTEINFOW info{};
  info.cbSize = sizeof(info);
  info.fMask = request.mask;
  info.lpVerb = verb.c_str();
  info.lpFile = file.c_str();
  info.nShow = request.show_command;
  // A missing file or viewer goes unreported, as the model asks.
  if (ShellExecuteExW(&info) && info.hProcess) CloseHandle(info.hProcess);
}

void TForm4::CloseWindow() { ShowWindow(hwnd(), SW_HIDE); }

}  // namespace tessmoor
