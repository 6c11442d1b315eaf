#pragma once
#include <windows.h>

#include <memory>
#include <optional>
#include <string_view>
#include <vector>

#include "platform/dialog_layout.h"
#include "platform/scroll_bar.h"
#include "platform/win32/form.h"
#include "platform/win32/handles.h"
#include "platform/win32/picture_box.h"

// Builds a dialog's controls from its layout table, so that positions, sizes, captions, fonts and
// scroll ranges come from the one table the core tests. Controls inside a group box or a tab
// control are the form's children (neither passes notifications on), placed at their parent's
// position plus their own (FormPlaces); everything is given at 96 DPI and scaled by the form's
// DPI, again whenever that changes.
namespace tessmoor::win32 {

// Where the dialogs differ in how their controls are made.
struct BuildStyle {
  // The id of the table's first row; each later row's is one more, unless the row gives its own.
  int first_id = 1000;
  // A label is made as large as its caption in its font, instead of the table's size.
  bool labels_fit_captions = false;
  // Group boxes paint their inside themselves, and group boxes and tab controls lie under the
  // controls placed on them; otherwise a group box is transparent and the form paints through it.
  bool filled_group_boxes = false;
  // Every control but a radio button after the first of its group starts a keyboard group of
  // its own, so that the arrow keys move only between the radio buttons of one group. Without,
  // the whole form is one group and the arrow keys move between all its controls.
  bool keyboard_groups = true;
};

// One control as the builder made it.
struct BuiltControl {
  HWND hwnd = nullptr;
  int id = 0;
  ControlKind kind{};
  int radio_group = 0;
  Rect design;  // at 96 DPI, in the form's client coordinates; its row's unless placed since
};

// What a table row needs to be built, without its dialog's own role type.
struct ControlRow {
  ControlKind kind{};
  std::string_view name;
  std::string_view parent;
  int x = 0, y = 0, width = 0, height = 0;
  std::string_view caption;
  int radio_group = 0;
  ScrollBarDesign scroll{};
  FontDesign font{};
  int id = 0;
};

// The controls of one form, one per table row in the table's order.
class FormControls {
 public:
  template <class Role>
  void Build(Form& form, const std::vector<ControlDesign<Role>>& table, const BuildStyle& style) {
    style_ = style;
    const std::vector<Rect> places = FormPlaces(PlacesOf(table));
    for (std::size_t i = 0; i < table.size(); ++i) {
      const ControlDesign<Role>& c = table[i];
      Add(form,
          {c.kind, c.name, c.parent, c.x, c.y, c.width, c.height, c.caption, c.radio_group, c.scroll, c.font, c.id},
          places[i]);
    }
    Finish();
  }

  // Moves and sizes every control and gives it its font at the form's scale, as Build would have
  // at that scale: after the form's DPI changed.
  void Relayout(Form& form);
  // Gives control `row` a new place and size at 96 DPI, kept through later relayouts.
  void Place(std::size_t row, const Rect& design, DpiScale scale);

  // The table row of control `id` or handle `hwnd`; nothing for another window.
  std::optional<std::size_t> RowOfId(int id) const;
  std::optional<std::size_t> RowOf(HWND hwnd) const;
  const BuiltControl& at(std::size_t row) const { return controls_[row]; }
  std::size_t size() const { return controls_.size(); }
  HWND hwnd(std::optional<std::size_t> row) const { return row ? controls_[*row].hwnd : nullptr; }

  // Checks the radio button of row `row` and clears the others of its group (radio buttons
  // here are plain ones, so that a click and a choice by the model take the same path).
  void CheckRadio(std::size_t row) const;
  // Clears every radio button of `group`.
  void ClearRadioGroup(int group) const;

  // The picture control of row `row`, or nullptr for a row of another kind.
  PictureBox* picture(std::size_t row) const;

 private:
  void Add(Form& form, const ControlRow& row, const Rect& design);
  HWND AddWindow(Form& form, const ControlRow& row, int id, const Rect& design);
  // The font of a row, made for rows whose font is not the form's (kept in fonts_), and what the
  // control needs once it has its font.
  void ApplyFont(Form& form, std::size_t row);
  void Finish() const;

  BuildStyle style_;
  std::vector<BuiltControl> controls_;
  std::vector<ControlRow> rows_;
  std::vector<std::unique_ptr<PictureBox>> pictures_;  // one per row, empty but for pictures
  // Fonts of rows whose font is not the form's.
  std::vector<UniqueFont> fonts_;
};

// The row of `table` with this role and numbers.
template <class Role>
std::optional<std::size_t> FindRow(const std::vector<ControlDesign<Role>>& table, Role role, int index = 0,
                                   int item = 0) {
  for (std::size_t i = 0; i < table.size(); ++i)
    if (table[i].role == role && table[i].index == index && table[i].item == item) return i;
  return std::nullopt;
}

// The scroll code of a WM_HSCROLL, nothing for one the bars do not know.
std::optional<ScrollCode> ScrollCodeOf(int code);

}  // namespace tessmoor::win32
