#pragma once
#include <windows.h>

#include <optional>
#include <vector>

#include "platform/dialog_layout.h"
#include "platform/win32/form.h"
#include "platform/win32/form_builder.h"

namespace tessmoor::win32 {

// A dialog built from its layout table: the form from the table's FormDesign, one control per row.
// Notifications arrive as calls that name the row they came from, so a dialog's shell is a list
// of bindings from its rows' roles to its model. A click on a radio button checks it and clears
// the rest of its group before the dialog hears of it. At a new DPI every row is laid out again.
template <class Role>
class TableForm : public Form {
 public:
  using Row = ControlDesign<Role>;

 protected:
  // Creates the window (hidden, owned by `owner`) and its controls. `table` must outlive the form.
  void BuildForm(const FormDesign& design, const std::vector<Row>& table, HWND owner, const BuildStyle& style = {}) {
    table_ = &table;
    CreateForm(design, owner);
    controls_.Build(*this, table, style);
  }

  const std::vector<Row>& table() const { return *table_; }
  const FormControls& controls() const { return controls_; }
  // Gives row `row`'s control a new place and size at 96 DPI, kept at a later DPI.
  void PlaceControl(std::size_t row, const Rect& design) { controls_.Place(row, design, scale()); }
  std::optional<std::size_t> RowOf(Role role, int index = 0, int item = 0) const {
    return FindRow(*table_, role, index, item);
  }
  HWND ControlOf(Role role, int index = 0, int item = 0) const { return controls_.hwnd(RowOf(role, index, item)); }
  PictureBox* PictureOf(Role role, int index = 0) const {
    const auto row = RowOf(role, index);
    return row ? controls_.picture(*row) : nullptr;
  }
  // Checks the radio button of `row`; where there is none, clears the group of `group_row` so
  // that it shows no choice.
  void SelectRadio(std::optional<std::size_t> row, std::optional<std::size_t> group_row) const {
    if (row) {
      controls_.CheckRadio(*row);
    } else if (group_row) {
      controls_.ClearRadioGroup((*table_)[*group_row].radio_group);
    }
  }

  // A button, check box or radio button was clicked, or a list or combo box notified `code`.
  virtual void OnControl(const Row& /*row*/, int /*code*/, HWND /*control*/) {}
  // A scroll bar of the table moved.
  virtual void OnBar(const Row& /*row*/, ScrollCode /*code*/, int /*position*/) {}
  virtual LRESULT OnControlNotify(const Row& /*row*/, const NMHDR& /*header*/) { return 0; }
  // A command that no control of the table sent: a menu item.
  virtual void OnOtherCommand(int /*id*/, int /*code*/) {}

  // A form with more to redo at a new DPI than its rows does it after calling this.
  void OnRescale() override { controls_.Relayout(*this); }

 private:
  static bool IsButton(ControlKind kind) {
    return kind == ControlKind::kButton || kind == ControlKind::kIconButton || kind == ControlKind::kCheckBox ||
           kind == ControlKind::kRadioButton;
  }

  void OnCommand(int id, int code, HWND control) final {
    const auto row = controls_.RowOfId(id);
    if (!table_ || !row) {
      OnOtherCommand(id, code);
      return;
    }
    const Row& r = (*table_)[*row];
    if (IsButton(r.kind) && code != BN_CLICKED) return;
    if (r.kind == ControlKind::kRadioButton) controls_.CheckRadio(*row);
    OnControl(r, code, control);
  }

  void OnScroll(HWND bar, int code, int position) final {
    const auto row = controls_.RowOf(bar);
    const auto scroll = ScrollCodeOf(code);
    if (table_ && row && scroll) OnBar((*table_)[*row], *scroll, position);
  }

  LRESULT OnNotify(const NMHDR& header) final {
    const auto row = controls_.RowOfId(static_cast<int>(header.idFrom));
    return table_ && row ? OnControlNotify((*table_)[*row], header) : 0;
  }

  const std::vector<Row>* table_ = nullptr;
  FormControls controls_;
};

}  // namespace tessmoor::win32
