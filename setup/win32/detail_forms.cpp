// Which row of each detail dialog stands for what its model asks, and which model call each row's
// notifications make.
#include "setup/win32/detail_forms.h"

namespace tessmoor {

namespace {
using P1 = Pattern1DetailRole;
using P2 = Pattern2DetailRole;
}  // namespace

TNo1SetUpDetailForm::TNo1SetUpDetailForm(Settings& settings, Pattern1DetailTexts& texts, HWND owner)
    : DetailForm(owner, Pattern1DetailForm(), Pattern1DetailControls()) {
  StartModel(settings, texts);
}

void TNo1SetUpDetailForm::OnControl(const Row& row, int, HWND control) {
  Pattern1DetailModel* m = model();
  if (!m) return;
  if (row.role == P1::kModeRadio) m->SelectMode(row.index);
  if (row.role == P1::kBoxCheck) m->SetBoxChecked(row.index, win32::Button(control).Checked());
  if (row.role == P1::kSaveButton) m->No1ImageRegFileSaveButtonClick();
  if (row.role == P1::kCancelButton) m->CancelButtonClick();
}

void TNo1SetUpDetailForm::OnBar(const Row& row, ScrollCode code, int position) {
  if (!model()) return;
  if (row.role == P1::kScaleBar) model()->Scroll(Pattern1Bar::kScale, code, position);
  if (row.role == P1::kTimerBar) model()->Scroll(Pattern1Bar::kTimer, code, position);
}

void TNo1SetUpDetailForm::SelectMode(int mode) { SelectRadio(RowOf(P1::kModeRadio, mode), RowOf(P1::kModeRadio, 1)); }

void TNo1SetUpDetailForm::SetBarPosition(Pattern1Bar bar, int position) {
  SetBar(bar == Pattern1Bar::kScale ? P1::kScaleBar : P1::kTimerBar, 0, position);
}

void TNo1SetUpDetailForm::SetBoxChecked(int box, bool checked) { SetChecked(P1::kBoxCheck, box, checked); }

void TNo1SetUpDetailForm::SetScaleLabel(std::string_view text) { SetLabel(P1::kScaleValueLabel, 0, text); }

TNo2SetUpDetailForm::TNo2SetUpDetailForm(Settings& settings, Pattern2DetailTexts& texts, HWND owner)
    : DetailForm(owner, Pattern2DetailForm(), Pattern2DetailControls()) {
  StartModel(settings, texts);
}

void TNo2SetUpDetailForm::OnControl(const Row& row, int, HWND control) {
  Pattern2DetailModel* m = model();
  if (!m) return;
  switch (row.role) {
    case P2::kModeRadio: m->SelectMode(row.index, row.item); break;
    case P2::kBoxCheck: m->SetBoxChecked(row.index, win32::Button(control).Checked()); break;
    case P2::kSaveButton: m->No2ImageRegFileSaveButtonClick(); break;
    case P2::kCancelButton: m->CancelButtonClick(); break;
    default: break;
  }
}

void TNo2SetUpDetailForm::OnBar(const Row& row, ScrollCode code, int position) {
  if (!model() || (row.role != P2::kSizeBar && row.role != P2::kSpeedBar)) return;
  model()->Scroll(row.index, row.role == P2::kSizeBar ? Pattern2Bar::kSize : Pattern2Bar::kSpeed, code, position);
}

void TNo2SetUpDetailForm::SelectMode(int window, int mode) {
  SelectRadio(RowOf(P2::kModeRadio, window, mode), RowOf(P2::kModeRadio, window, 1));
}

void TNo2SetUpDetailForm::SetBarPosition(int window, Pattern2Bar bar, int position) {
  SetBar(bar == Pattern2Bar::kSize ? P2::kSizeBar : P2::kSpeedBar, window, position);
}

void TNo2SetUpDetailForm::SetBoxChecked(int window, bool checked) { SetChecked(P2::kBoxCheck, window, checked); }

void TNo2SetUpDetailForm::SetSizeLabel(int window, std::string_view text) {
  SetLabel(P2::kSizeValueLabel, window, text);
}

}  // namespace tessmoor
