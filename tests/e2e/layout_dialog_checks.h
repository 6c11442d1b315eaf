#pragma once
#include <windows.h>

#include <string_view>
#include <vector>

#include "platform/dialog_layout.h"

// Checks that a dialog built from a layout table looks as the table says: every control where it
// belongs, the frame, and the Japanese captions drawn as text on the screen.
namespace tessmoor::e2e {

// The screen's DPI, and a length of the 96-DPI tables at it.
int Dpi();
int Scaled(int value);

// A row of any dialog's table, without its role.
struct LayoutRow {
  std::string_view name;
  ControlKind kind;
  std::string_view parent;
  int x, y, width, height;
  std::string_view caption;
  ScrollBarDesign scroll;
  FontDesign font;
};

template <class Role>
std::vector<LayoutRow> RowsOf(const std::vector<ControlDesign<Role>>& table) {
  std::vector<LayoutRow> rows;
  for (const ControlDesign<Role>& c : table)
    rows.push_back({c.name, c.kind, c.parent, c.x, c.y, c.width, c.height, c.caption, c.scroll, c.font});
  return rows;
}

// Every control of the table is there with its class, kind, caption, place and size (scaled from
// 96 DPI to `dpi`, the screen's when not given) in the dialog's client area, and every scroll bar
// with its range.
void ExpectLayout(HWND dialog, const std::vector<LayoutRow>& table, int dpi = 0);

// A dialog of the module as the user sees it: top-most, owned by the settings dialog, of its
// designed outer size.
void ExpectDialogFrame(HWND dialog, HWND owner, const FormDesign& form);

// Screenshot of a dialog, kept in the artefacts under `name`, with the title bar and every
// Japanese caption drawn as text and not as boxes: each caption looks as this driver draws it in
// the dialogs' font, in a Japanese font that is really there (its glyphs are not all one box).
void ExpectCaptionsDrawnAndKeep(HWND dialog, const std::vector<LayoutRow>& table, const wchar_t* name);

}  // namespace tessmoor::e2e
