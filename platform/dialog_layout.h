#pragma once
#include <string_view>
#include <vector>

#include "platform/geometry.h"
#include "platform/scroll_bar.h"

// The data a Win32 view needs to build a dialog: the form and one row per control, all at
// 96 DPI in the form's client coordinates (or its parent control's). The views create their
// windows from these tables and route each control's events by its role, so no position, size
// or caption is spelled out twice.
namespace tessmoor {

struct FontDesign {
  std::string_view face;
  int height_px = 12;
  bool bold = false;
  bool italic = false;
};

// The dialogs' font. A system without it takes a font with Japanese glyphs of the same size.
inline constexpr FontDesign kDialogFont{"ＭＳ Ｐゴシック", 12, false, false};

enum class TitleButtons {
  kSystemMenuOnly,  // close box and system menu, no minimise or maximise
  kNormal,
};

struct FormDesign {
  std::string_view name;
  std::string_view caption;  // shown as it stands: an ampersand here is a literal one
  int width = 0;             // outer size
  int height = 0;
  int left = 0;              // design position, replaced by the stored one where there is one
  int top = 0;
  TitleButtons title_buttons = TitleButtons::kSystemMenuOnly;
  bool top_most = false;
  FontDesign font = kDialogFont;
};

enum class ControlKind {
  kGroupBox,
  kRadioButton,
  kCheckBox,
  kButton,
  kIconButton,  // a push button that shows an icon instead of a caption
  kLabel,
  kStaticText,  // a static text control, drawn in its own font
  kScrollBar,   // horizontal
  kPicture,
  kTabControl,
  kDriveList,
  kFolderList,
  kFileList,
};

// `Role` is the dialog's own enumeration of what a control does; `index` tells apart the
// controls that come in fours (box or window 1..4, or a pattern-1 mode 1..4) and `item` the
// radio buttons within one window's group (mode 1..5); 0 where there is nothing to tell apart.
template <class Role>
struct ControlDesign {
  std::string_view name{};
  ControlKind kind{};
  Role role{};
  int index = 0;
  int item = 0;
  std::string_view parent{};  // empty: the form itself
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  std::string_view caption{};
  // Radio buttons with the same non-zero group exclude each other; each group box holds one.
  int radio_group = 0;
  ScrollBarDesign scroll{};  // scroll bars only
  FontDesign font = kDialogFont;
  // The control's command id; 0: the dialog's first id plus the row's place in its table.
  int id = 0;
};

// A length of the 96-DPI tables at `dpi`, rounded to the nearest pixel with halves away from
// zero, as Windows' MulDiv rounds.
int ScaleToDpi(int value, int dpi);

// A rectangle of the 96-DPI tables at `dpi`: each of left, top, width and height scaled on its
// own, so that controls of the same size stay the same size wherever they stand.
Rect ScaleToDpi(const Rect& design, int dpi);

// What laying out a row needs: where it stands in its parent, its size, and its parent's name.
struct LayoutPlace {
  std::string_view name;
  std::string_view parent;  // empty: the form itself
  int x = 0, y = 0, width = 0, height = 0;
};

// The rectangle of each place at 96 DPI in the form's client area, its parents' positions added.
// A parent must come before its children; a parent name that no earlier place has counts as the
// form.
std::vector<Rect> FormPlaces(const std::vector<LayoutPlace>& places);

template <class Role>
std::vector<LayoutPlace> PlacesOf(const std::vector<ControlDesign<Role>>& table) {
  std::vector<LayoutPlace> places;
  places.reserve(table.size());
  for (const ControlDesign<Role>& c : table) places.push_back({c.name, c.parent, c.x, c.y, c.width, c.height});
  return places;
}

// Every row of `table` as its window lays it out at `dpi`.
template <class Role>
std::vector<Rect> ScaledLayout(const std::vector<ControlDesign<Role>>& table, int dpi) {
  std::vector<Rect> rects = FormPlaces(PlacesOf(table));
  for (Rect& r : rects) r = ScaleToDpi(r, dpi);
  return rects;
}

}  // namespace tessmoor
