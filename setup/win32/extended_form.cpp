#include "setup/win32/extended_form.h"

#include "setup/win32/dialog_context.h"
#include "setup/win32/save_failure_box.h"

namespace tessmoor {

namespace {
using R = ExtendedRole;
}  // namespace

TExtendedSetUpForm::TExtendedSetUpForm(Settings& settings, HWND owner) {
  BuildForm(ExtendedDialogForm(), ExtendedDialogControls(), owner);
  model_.emplace(settings, *this);
}

void TExtendedSetUpForm::OnControl(const Row& row, int, HWND control) {
  if (!model_) return;
  switch (row.role) {
    case R::kMonitorsBlackRadio:
    case R::kMonitorsSlideShowRadio: model_->SelectEveryMonitor(row.role == R::kMonitorsSlideShowRadio); break;
    case R::kSubfoldersCheck: model_->SetSubfolders(win32::Button(control).Checked()); break;
    case R::kNameOrderRadio:
    case R::kShuffledRadio: model_->SelectNameOrder(row.role == R::kNameOrderRadio); break;
    case R::kSaveButton: model_->SaveButtonClick(); break;
    case R::kCancelButton: model_->CancelButtonClick(); break;
    default: break;
  }
}

void TExtendedSetUpForm::OnCloseRequest() {
  if (model_) model_->CancelButtonClick();
}

void TExtendedSetUpForm::SelectEveryMonitor(bool every_monitor) {
  SelectRadio(RowOf(every_monitor ? R::kMonitorsSlideShowRadio : R::kMonitorsBlackRadio), std::nullopt);
}

void TExtendedSetUpForm::SetSubfolders(bool on) { win32::Button(ControlOf(R::kSubfoldersCheck)).SetChecked(on); }

void TExtendedSetUpForm::SelectNameOrder(bool name_order) {
  SelectRadio(RowOf(name_order ? R::kNameOrderRadio : R::kShuffledRadio), std::nullopt);
}

void TExtendedSetUpForm::MakeTopMostAndShow() { ShowTopMost(); }

void TExtendedSetUpForm::CloseWindow() { ShowWindow(hwnd(), SW_HIDE); }

void TExtendedSetUpForm::ShowSaveFailure(std::uint32_t error) { ShowSaveFailureBox(hwnd(), error); }

// It shows itself, top-most, as it is built.
std::unique_ptr<win32::Window> CreateExtendedSetUpForm(const DialogContext& context) {
  return win32::MakeOwned<TExtendedSetUpForm>(context.settings, context.owner);
}

}  // namespace tessmoor
