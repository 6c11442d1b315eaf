// The two detail dialogs: which row of each table stands for what its model asks, and which model
// call each row's notifications make.
#include "setup/win32/detail_forms.h"

#include "setup/detail_dialog_layouts.h"
#include "setup/pattern1_detail_model.h"
#include "setup/pattern2_detail_model.h"
#include "setup/win32/dialog_context.h"

namespace tessmoor {

namespace {

// A binding's types and table.
template <class R, class M, class T, const FormDesign& (*form)(), const std::vector<ControlDesign<R>>& (*controls)()>
struct BindingOf {
  using Role = R;
  using Model = M;
  using Texts = T;
  static const FormDesign& Form() { return form(); }
  static const std::vector<ControlDesign<R>>& Controls() { return controls(); }
};

// `TNo1SetUpDetailForm`: detail mode, scale, slide interval and the four box use flags.
struct Pattern1Binding : BindingOf<Pattern1DetailRole, Pattern1DetailModel, Pattern1DetailTexts, &Pattern1DetailForm,
                                   &Pattern1DetailControls> {

  template <class F>
  struct ViewOf final : DetailViewOf<Pattern1DetailView, F> {
    using DetailViewOf<Pattern1DetailView, F>::DetailViewOf;
    void SelectMode(int mode) override { this->form_.SelectMode(Role::kModeRadio, mode, 0, 1, 0); }
    void SetBarPosition(Pattern1Bar bar, int position) override {
      this->form_.SetBar(bar == Pattern1Bar::kScale ? Role::kScaleBar : Role::kTimerBar, 0, position);
    }
    void SetBoxChecked(int box, bool on) override { this->form_.SetChecked(Role::kBoxCheck, box, on); }
    void SetScaleLabel(std::string_view text) override { this->form_.SetLabel(Role::kScaleValueLabel, 0, text); }
  };

  static void Clicked(Model& model, const ControlDesign<Role>& row, bool checked) {
    if (row.role == Role::kModeRadio) model.SelectMode(row.index);
    if (row.role == Role::kBoxCheck) model.SetBoxChecked(row.index, checked);
    if (row.role == Role::kSaveButton) model.No1ImageRegFileSaveButtonClick();
    if (row.role == Role::kCancelButton) model.CancelButtonClick();
  }
  static void Scrolled(Model& model, const ControlDesign<Role>& row, ScrollCode code, int position) {
    if (row.role == Role::kScaleBar) model.Scroll(Pattern1Bar::kScale, code, position);
    if (row.role == Role::kTimerBar) model.Scroll(Pattern1Bar::kTimer, code, position);
  }
};

// `TNo2SetUpDetailForm`: one group per picture window with its size, speed, use flag and motion;
// the rows of window n have index n.
struct Pattern2Binding : BindingOf<Pattern2DetailRole, Pattern2DetailModel, Pattern2DetailTexts, &Pattern2DetailForm,
                                   &Pattern2DetailControls> {
  static Role BarRole(Pattern2Bar bar) { return bar == Pattern2Bar::kSize ? Role::kSizeBar : Role::kSpeedBar; }

  template <class F>
  struct ViewOf final : DetailViewOf<Pattern2DetailView, F> {
    using DetailViewOf<Pattern2DetailView, F>::DetailViewOf;
    void SelectMode(int n, int mode) override { this->form_.SelectMode(Role::kModeRadio, n, mode, n, 1); }
    void SetBarPosition(int n, Pattern2Bar bar, int position) override {
      this->form_.SetBar(BarRole(bar), n, position);
    }
    void SetBoxChecked(int n, bool on) override { this->form_.SetChecked(Role::kBoxCheck, n, on); }
    void SetSizeLabel(int n, std::string_view text) override { this->form_.SetLabel(Role::kSizeValueLabel, n, text); }
  };

  static void Clicked(Model& model, const ControlDesign<Role>& row, bool checked) {
    switch (row.role) {
      case Role::kModeRadio: model.SelectMode(row.index, row.item); break;
      case Role::kBoxCheck: model.SetBoxChecked(row.index, checked); break;
      case Role::kSaveButton: model.No2ImageRegFileSaveButtonClick(); break;
      case Role::kCancelButton: model.CancelButtonClick(); break;
      default: break;
    }
  }
  static void Scrolled(Model& model, const ControlDesign<Role>& row, ScrollCode code, int position) {
    if (row.role == Role::kSizeBar || row.role == Role::kSpeedBar)
      model.Scroll(row.index, row.role == Role::kSizeBar ? Pattern2Bar::kSize : Pattern2Bar::kSpeed, code, position);
  }
};

using TNo1SetUpDetailForm = DetailForm<Pattern1Binding>;
using TNo2SetUpDetailForm = DetailForm<Pattern2Binding>;

}  // namespace

// They show themselves, top-most, as they are built.
std::unique_ptr<win32::Window> CreateNo1SetUpDetailForm(const DialogContext& context) {
  return win32::MakeOwned<TNo1SetUpDetailForm>(context.settings, context.setup.pattern1_detail_texts(),
                                                context.owner);
}
std::unique_ptr<win32::Window> CreateNo2SetUpDetailForm(const DialogContext& context) {
  return win32::MakeOwned<TNo2SetUpDetailForm>(context.settings, context.setup.pattern2_detail_texts(),
                                                context.owner);
}

}  // namespace tessmoor
