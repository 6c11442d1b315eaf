#pragma once
#include <windows.h>

#include <optional>
#include <string_view>

#include "app/settings.h"
#include "platform/win32/monitor_place.h"
#include "platform/win32/table_form.h"
#include "platform/win32/utf.h"
#include "setup/win32/save_failure_box.h"

namespace tessmoor {

// A detail dialog's window over its model: built from its table, top-most, modeless, owned by the
// settings dialog. The model shows, places and fills it; save, cancel and the close box hide it,
// and the object lives on until its owner destroys it.
//
// The two detail dialogs differ only in their `Binding`: the model, its texts and its table, the
// view that turns the model's requests into rows of the table (`Binding::ViewOf<Form>`), and
// which model call a click or a scroll of a row makes (`Clicked`, `Scrolled`).
template <class Binding>
class DetailForm : public win32::TableForm<typename Binding::Role> {
 public:
  using Role = typename Binding::Role;
  using Row = ControlDesign<Role>;

  // `texts` are the working values every open instance shares.
  DetailForm(Settings& settings, typename Binding::Texts& texts, HWND owner) {
    this->BuildForm(Binding::Form(), Binding::Controls(), owner);
    model_.emplace(settings, texts, view_);
  }

  // What the views ask of the window, by role.
  void SelectMode(Role role, int index, int item, int first_index, int first_item) const {
    this->SelectRadio(this->RowOf(role, index, item), this->RowOf(role, first_index, first_item));
  }
  void SetBar(Role role, int index, int position) const {
    win32::ScrollBar(this->ControlOf(role, index)).SetPosition(position);
  }
  void SetChecked(Role role, int index, bool checked) const {
    win32::Button(this->ControlOf(role, index)).SetChecked(checked);
  }
  void SetLabel(Role role, int index, std::string_view text) const {
    win32::Control(this->ControlOf(role, index)).SetText(win32::Widen(text));
  }

 protected:
  void OnControl(const Row& row, int, HWND control) override {
    if (model_) Binding::Clicked(*model_, row, win32::Button(control).Checked());
  }
  void OnBar(const Row& row, ScrollCode code, int position) override {
    if (model_) Binding::Scrolled(*model_, row, code, position);
  }
  void OnCloseRequest() override {
    if (model_) model_->Close();
  }

 private:
  typename Binding::template ViewOf<DetailForm> view_{*this};
  std::optional<typename Binding::Model> model_;
};

// What every detail view does with its window.
template <class View, class Form>
class DetailViewOf : public View {
 public:
  explicit DetailViewOf(Form& form) : form_(form) {}
  void MakeTopMostAndShow() override { form_.ShowTopMost(); }
  void MoveTo(int x, int y) override {
    const POINT place = win32::ReachablePlaceOf(form_.hwnd(), x, y);
    SetWindowPos(form_.hwnd(), nullptr, place.x, place.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  }
  Point WindowOrigin() override { return form_.ScreenOrigin(); }
  void CloseWindow() override { ShowWindow(form_.hwnd(), SW_HIDE); }
  void ShowSaveFailure(std::uint32_t error) override { ShowSaveFailureBox(form_.hwnd(), error); }

 protected:
  Form& form_;
};

}  // namespace tessmoor
