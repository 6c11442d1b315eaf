#include "setup/win32/form4.h"

#include <shellapi.h>
// <shellapi.h> names ShellExecute as a macro; here it is the view's member.
#undef ShellExecute

#include <vector>

#include "platform/win32/handles.h"
#include "platform/win32/utf.h"

namespace tessmoor {

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
  BuildForm(VersionDialogForm(), VersionDialogControls(), owner);
  if (win32::PictureBox* picture = PictureOf(VersionRole::kPicture)) picture->SetPicture(VersionArtwork());
  model_.emplace(ModulePath(), *this);
}

void TForm4::OnControl(const Row& row, int, HWND) {
  if (!model_) return;
  if (row.role == VersionRole::kHelpButton) model_->HelpButtonClick();
  if (row.role == VersionRole::kCloseButton) model_->VerCloseButtonClick();
}

void TForm4::OnCloseRequest() {
  if (model_) model_->VerCloseButtonClick();
}

void TForm4::ShellExecute(const ShellExecuteRequest& request) {
  const std::wstring verb = win32::Widen(request.verb);
  const std::wstring file = win32::Widen(request.file);
  SHELLEXECUTEINFOW info{};
  info.cbSize = sizeof(info);
  info.fMask = request.mask;
  info.lpVerb = verb.c_str();
  info.lpFile = file.c_str();
  info.nShow = request.show_command;
  // A missing file or viewer goes unreported, as the model asks; the dialog has no use for the
  // process it started.
  if (ShellExecuteExW(&info)) win32::UniqueHandle process(info.hProcess);
}

}  // namespace tessmoor
