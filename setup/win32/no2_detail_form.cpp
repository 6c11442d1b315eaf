#include "setup/win32/no2_detail_form.h"

#include "platform/win32/utf.h"
#include "setup/detail_dialog_layouts.h"

namespace tessmoor {

namespace {

using Role = Pattern2DetailRole;

const ControlSpec<Role>& Row(std::size_t row) { return Pattern2DetailControls()[row]; }

}  // namespace

TNo2SetUpDetailForm::TNo2SetUpDetailForm(Settings& settings, Pattern2DetailTexts& texts, HWND owner) {
  const FormSpec& form = Pattern2DetailForm();
  CreateForm(WindowSpecOf(form, owner));
  SetOuterSize(*this, form.width, form.height);
  controls_.Build(*this, Pattern2DetailControls());
  model_ = std::make_unique<Pattern2DetailModel>(settings, texts, *this);
}

TNo2SetUpDetailForm::~TNo2SetUpDetailForm() {
  model_.reset();
  Destroy();
}

HWND TNo2SetUpDetailForm::ControlOf(Role role, int window, int item) const {
  return controls_.hwnd(FindRow(Pattern2DetailControls(), role, window, item));
}

void TNo2SetUpDetailForm::OnCommand(int id, int code, HWND control) {
  const auto row = controls_.RowOfId(id);
  if (!model_ || !row || code != BN_CLICKED) return;
  const ControlSpec<Role>& c = Row(*row);
  switch (c.role) {
    case Role::kModeRadio:
      controls_.CheckRadio(*row);
      model_->SelectMode(c.index, c.item);
      break;
    case Role::kBoxCheck: model_->SetBoxChecked(c.index, win32::Button(control).Checked()); break;
    case Role::kSaveButton: model_->No2ImageRegFileSaveButtonClick(); break;
    case Role::kCancelButton: model_->CancelButtonClick(); break;
    default: break;
  }
}

void TNo2SetUpDetailForm::OnScroll(HWND bar, int code, int position) {
  const auto row = controls_.RowOf(bar);
  const auto scroll = ScrollCodeOf(code);
  if (!model_ || !row || !scroll) return;
  const ControlSpec<Role>& c = Row(*row);
  if (c.role == Role::kSizeBar) model_->Scroll(c.index, Pattern2Bar::kSize, *scroll, position);
  if (c.role == Role::kSpeedBar) model_->Scroll(c.index, Pattern2Bar::kSpeed, *scroll, position);
}

void TNo2SetUpDetailForm::OnCloseRequest() {
  if (model_) model_->Close();
}

void TNo2SetUpDetailForm::MakeTopMostAndShow() { tessmoor::MakeTopMostAndShow(hwnd()); }

void TNo2SetUpDetailForm::MoveTo(int x, int y) { MoveWindowTo(hwnd(), x, y); }

Point TNo2SetUpDetailForm::WindowOrigin() { return WindowOriginOf(hwnd()); }

void TNo2SetUpDetailForm::SelectMode(int window, int mode) {
  if (const auto row = FindRow(Pattern2DetailControls(), Role::kModeRadio, window, mode)) {
    controls_.CheckRadio(*row);
    return;
  }
  // No mode, or one without a button: the group shows no choice.
  if (const auto first = FindRow(Pattern2DetailControls(), Role::kModeRadio, window, 1))
    controls_.ClearRadioGroup(Row(*first).radio_group);
}

void TNo2SetUpDetailForm::SetBarPosition(int window, Pattern2Bar bar, int position) {
  const Role role = bar == Pattern2Bar::kSize ? Role::kSizeBar : Role::kSpeedBar;
  win32::ScrollBar(ControlOf(role, window)).SetPosition(position);
}

void TNo2SetUpDetailForm::SetBoxChecked(int window, bool checked) {
  win32::Button(ControlOf(Role::kBoxCheck, window)).SetChecked(checked);
}

void TNo2SetUpDetailForm::SetSizeLabel(int window, std::string_view text) {
  win32::Control(ControlOf(Role::kSizeValueLabel, window)).SetText(win32::Widen(text));
}

void TNo2SetUpDetailForm::CloseWindow() { ShowWindow(hwnd(), SW_HIDE); }

}  // namespace tessmoor
