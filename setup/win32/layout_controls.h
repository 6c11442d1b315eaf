#pragma once
#include <windows.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/win32/form.h"
#include "platform/win32/handles.h"
#include "platform/win32/picture_box.h"
#include "platform/dialog_layout.h"
#include "platform/scroll_bar.h"

// Builds a dialog's controls from its layout table, so that positions, sizes, captions and
// scroll ranges come from the one table the core tests. The views then route each notification
// by the row it came from.
namespace tessmoor {

// One control as the builder made it. Controls inside a group box are the form's children
// (a group box passes no notifications on), placed at the group's position plus their own.
struct BuiltControl {
  HWND hwnd = nullptr;
  int id = 0;
  ControlKind kind{};
  int radio_group = 0;
};

// What a table row needs to be built, without its dialog's own role type.
struct ControlRow {
  ControlKind kind{};
  std::string_view name;
  std::string_view parent;
  int x = 0, y = 0, width = 0, height = 0;
  std::string_view caption;
  int radio_group = 0;
  ScrollBarSpec scroll{};
  FontSpec font{};
};

class LayoutControls {
 public:
  // Control ids start here, one per table row in the table's order.
  static constexpr int kFirstId = 1000;

  template <class Role>
  void Build(win32::Form& form, const std::vector<ControlSpec<Role>>& table) {
    for (const ControlSpec<Role>& c : table)
      Add(form, {c.kind, c.name, c.parent, c.x, c.y, c.width, c.height, c.caption, c.radio_group, c.scroll,
                 c.font});
  }

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

  win32::PictureBox* picture(std::size_t row) const;

 private:
  void Add(win32::Form& form, const ControlRow& row);
  POINT OriginOf(std::string_view parent) const;

  std::vector<BuiltControl> controls_;
  std::vector<std::string_view> names_;
  std::vector<POINT> origins_;  // at 96 DPI, in the form's client coordinates
  std::vector<std::unique_ptr<win32::PictureBox>> pictures_;
  std::vector<std::size_t> picture_rows_;
  // Fonts of rows whose font is not the form's.
  std::vector<win32::UniqueFont> fonts_;
};

// The row of `table` with this role and numbers.
template <class Role>
std::optional<std::size_t> FindRow(const std::vector<ControlSpec<Role>>& table, Role role, int index = 0,
                                   int item = 0) {
  for (std::size_t i = 0; i < table.size(); ++i)
    if (table[i].role == role && table[i].index == index && table[i].item == item) return i;
  return std::nullopt;
}

// The scroll code of a WM_HSCROLL, nothing for one the bars do not know.
std::optional<ScrollCode> ScrollCodeOf(int code);

// The window of a form of the layout tables, owned by `owner`, created hidden at its design
// position.
win32::FormSpec WindowSpecOf(const FormSpec& form, HWND owner);

// Puts the window above all others and shows it, without moving or sizing it.
void MakeTopMostAndShow(HWND hwnd);
// Moves a top-level window's top-left corner, keeping its size and stacking order.
void MoveWindowTo(HWND hwnd, int x, int y);
Point WindowOriginOf(HWND hwnd);
// Gives a form its design outer size (at 96 DPI, scaled); the client area is what the frame
// leaves of it.
void SetOuterSize(const win32::Form& form, int width, int height);

}  // namespace tessmoor
