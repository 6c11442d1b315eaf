#include "setup/win32/no1_detail_form.h"

#include "platform/win32/utf.h"
#include "setup/detail_dialog_layouts.h"

namespace tessmoor {

namespace {

using Role = Pattern1DetailRole;

const ControlSpec<Role>& Row(std::size_t row) { return Pattern1DetailControls()[row]; }

}  // namespace

TNo1SetUpDetailForm::TNo1SetUpDetailForm(Settings& settings, Pattern1DetailTexts& texts, HWND owner) {
  const FormSpec& form = Pattern1DetailForm();
  CreateForm(WindowSpecOf(form, owner));
  SetOuterSize(*this, form.width, form.height);
  controls_.Build(*this, Pattern1DetailControls());
  model_ = std::make_unique<Pattern1DetailModel>(settings, texts, *this);
}

TNo1SetUpDetailForm::~TNo1SetUpDetailForm() {
  model_.reset();
  Destroy();
}

HWND TNo1SetUpDetailForm::ControlOf(Role role, int index) const {
  return controls_.hwnd(FindRow(Pattern1DetailControls(), role, index));
}

void TNo1SetUpDetailForm::OnCommand(int id, int code, HWND control) {
  const auto row = controls_.RowOfId(id);
  if (!model_ || !row || code != BN_CLICKED) return;
  const ControlSpec<Role>& c = Row(*row);
  switch (c.role) {
    case Role::kModeRadio:
      controls_.CheckRadio(*row);
      model_->SelectMode(c.index);
      break;
    case Role::kBoxCheck: model_->SetBoxChecked(c.index, win32::Button(control).Checked()); break;
    case Role::kSaveButton: model_->No1ImageRegFileSaveButtonClick(); break;
    case Role::kCancelButton: model_->CancelButtonClick(); break;
    default: break;
  }
}

void TNo1SetUpDetailForm::OnScroll(HWND bar, int code, int position) {
  const auto row = controls_.RowOf(bar);
  const auto scroll = ScrollCodeOf(code);
  if (!model_ || !row || !scroll) return;
  if (Row(*row).role == Role::kScaleBar) model_->Scroll(Pattern1Bar::kScale, *scroll, position);
  if (Row(*row).role == Role::kTimerBar) model_->Scroll(Pattern1Bar::kTimer, *scroll, position);
}

void TNo1SetUpDetailForm::OnCloseRequest() {
  if (model_) model_->Close();
}

void TNo1SetUpDetailForm::MakeTopMostAndShow() { tessmoor::MakeTopMostAndShow(hwnd()); }

void TNo1SetUpDetailForm::MoveTo(int x, int y) { MoveWindowTo(hwnd(), x, y); }

Point TNo1SetUpDetailForm::WindowOrigin() { return WindowOriginOf(hwnd()); }

void TNo1SetUpDetailForm::SelectMode(int mode) {
  if (const auto row = FindRow(Pattern1DetailControls(), Role::kModeRadio, mode)) {
    controls_.CheckRadio(*row);
    return;
  }
  // No mode, or one without a button: the group shows no choice.
  if (const auto first = FindRow(Pattern1DetailControls(), Role::kModeRadio, 1))
    controls_.ClearRadioGroup(Row(*first).radio_group);
}

void TNo1SetUpDetailForm::SetBarPosition(Pattern1Bar bar, int position) {
  win32::ScrollBar(ControlOf(bar == Pattern1Bar::kScale ? Role::kScaleBar : Role::kTimerBar)).SetPosition(position);
}

void TNo1SetUpDetailForm::SetBoxChecked(int box, bool checked) {
  win32::Button(ControlOf(Role::kBoxCheck, box)).SetChecked(checked);
}

void TNo1SetUpDetailForm::SetScaleLabel(std::string_view text) {
  win32::Control(ControlOf(Role::kScaleValueLabel)).SetText(win32::Widen(text));
}

void TNo1SetUpDetailForm::CloseWindow() { ShowWindow(hwnd(), SW_HIDE); }

}  // namespace tessmoor
