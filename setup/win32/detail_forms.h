#pragma once
#include <windows.h>

#include <optional>
#include <string_view>

#include "app/settings.h"
#include "platform/win32/table_form.h"
#include "platform/win32/utf.h"
#include "setup/detail_dialog_layouts.h"
#include "setup/detail_shared.h"
#include "setup/pattern1_detail_model.h"
#include "setup/pattern2_detail_model.h"

namespace tessmoor {

// A detail dialog's window over its model: built from its table, top-most, modeless, owned by the
// settings dialog. The model shows, places and fills it; save, cancel and the close box hide it,
// and the object lives on until its owner destroys it. The two dialogs differ only in their
// tables and in which rows stand for what their models ask.
template <class Model, class View, class Role>
class DetailForm : public win32::TableForm<Role>, public View {
 protected:
  DetailForm(HWND owner, const FormSpec& design, const std::vector<ControlSpec<Role>>& table) {
    this->BuildForm(design, table, owner);
  }
  // Called by the dialog's own constructor, once the view the model calls is complete. `texts`
  // are the working values every open instance shares.
  template <class Texts>
  void StartModel(Settings& settings, Texts& texts) {
    model_.emplace(settings, texts, *this);
  }

  Model* model() { return model_ ? &*model_ : nullptr; }

  void OnCloseRequest() override {
    if (model_) model_->Close();
  }

  void MakeTopMostAndShow() override { this->ShowTopMost(); }
  void MoveTo(int x, int y) override {
    SetWindowPos(this->hwnd(), nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  }
  Point WindowOrigin() override { return this->ScreenOrigin(); }
  void CloseWindow() override { ShowWindow(this->hwnd(), SW_HIDE); }

  void SetBar(Role role, int index, int position) const {
    win32::ScrollBar(this->ControlOf(role, index)).SetPosition(position);
  }
  void SetChecked(Role role, int index, bool checked) const {
    win32::Button(this->ControlOf(role, index)).SetChecked(checked);
  }
  void SetLabel(Role role, int index, std::string_view text) const {
    win32::Control(this->ControlOf(role, index)).SetText(win32::Widen(text));
  }

 private:
  std::optional<Model> model_;
};

// `TNo1SetUpDetailForm`: detail mode, scale, slide interval and the four box use flags.
class TNo1SetUpDetailForm
    : public DetailForm<Pattern1DetailModel, Pattern1DetailView, Pattern1DetailRole> {
 public:
  TNo1SetUpDetailForm(Settings& settings, Pattern1DetailTexts& texts, HWND owner);

 protected:
  void OnControl(const Row& row, int code, HWND control) override;
  void OnBar(const Row& row, ScrollCode code, int position) override;

 private:
  void SelectMode(int mode) override;
  void SetBarPosition(Pattern1Bar bar, int position) override;
  void SetBoxChecked(int box, bool checked) override;
  void SetScaleLabel(std::string_view text) override;
};

// `TNo2SetUpDetailForm`: one group per picture window with its size, speed, use flag and motion.
class TNo2SetUpDetailForm
    : public DetailForm<Pattern2DetailModel, Pattern2DetailView, Pattern2DetailRole> {
 public:
  TNo2SetUpDetailForm(Settings& settings, Pattern2DetailTexts& texts, HWND owner);

 protected:
  void OnControl(const Row& row, int code, HWND control) override;
  void OnBar(const Row& row, ScrollCode code, int position) override;

 private:
  void SelectMode(int window, int mode) override;
  void SetBarPosition(int window, Pattern2Bar bar, int position) override;
  void SetBoxChecked(int window, bool checked) override;
  void SetSizeLabel(int window, std::string_view text) override;
};

}  // namespace tessmoor
