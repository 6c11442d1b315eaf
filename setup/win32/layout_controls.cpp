#include "setup/win32/layout_controls.h"

#include "platform/win32/utf.h"

namespace tessmoor {

namespace {

struct WindowKind {
  const wchar_t* window_class;
  DWORD style;
};

// Every control but a radio button after the first of its group starts a group of its own, so
// that the arrow keys move only between the radio buttons of one group.
WindowKind KindOf(ControlKind kind) {
  switch (kind) {
    case ControlKind::kGroupBox: return {L"BUTTON", BS_GROUPBOX | WS_GROUP};
    case ControlKind::kRadioButton: return {L"BUTTON", BS_RADIOBUTTON};
    case ControlKind::kCheckBox: return {L"BUTTON", BS_AUTOCHECKBOX | WS_TABSTOP | WS_GROUP};
    case ControlKind::kButton: return {L"BUTTON", BS_PUSHBUTTON | WS_TABSTOP | WS_GROUP};
    case ControlKind::kScrollBar: return {L"SCROLLBAR", SBS_HORZ | WS_TABSTOP | WS_GROUP};
    default: return {L"STATIC", SS_LEFT | SS_NOPREFIX | WS_GROUP};
  }
}

bool SameFont(const FontSpec& a, const FontSpec& b) {
  return a.face == b.face && a.height_px == b.height_px && a.bold == b.bold && a.italic == b.italic;
}

}  // namespace

POINT LayoutControls::OriginOf(std::string_view parent) const {
  if (parent.empty()) return {0, 0};
  for (std::size_t i = 0; i < names_.size(); ++i)
    if (names_[i] == parent) return origins_[i];
  return {0, 0};
}

void LayoutControls::Add(win32::Form& form, const ControlRow& row) {
  const POINT parent = OriginOf(row.parent);
  const POINT at{parent.x + row.x, parent.y + row.y};
  const int id = kFirstId + static_cast<int>(controls_.size());
  BuiltControl built{nullptr, id, row.kind, row.radio_group};

  if (row.kind == ControlKind::kPicture) {
    const win32::DpiScale s = form.scale();
    // Scaled like every other control: each of left, top, width and height on its own.
    const RECT bounds{s(at.x), s(at.y), s(at.x) + s(row.width), s(at.y) + s(row.height)};
    pictures_.push_back(std::make_unique<win32::PictureBox>(form.hwnd(), id, bounds, win32::PictureBox::Mode::kFit,
                                                            GetSysColor(COLOR_BTNFACE)));
    picture_rows_.push_back(controls_.size());
    built.hwnd = pictures_.back()->hwnd();
  } else {
    WindowKind kind = KindOf(row.kind);
    if (row.kind == ControlKind::kRadioButton) {
      // Tab reaches a group of radio buttons once, at its first; the arrows move within it.
      const bool first_of_group = controls_.empty() || controls_.back().kind != ControlKind::kRadioButton ||
                                  controls_.back().radio_group != row.radio_group;
      if (first_of_group) kind.style |= WS_GROUP | WS_TABSTOP;
    }
    // A group box paints only its frame and caption; left out of the form's clipping, the form
    // paints the face inside it.
    const DWORD ex_style = row.kind == ControlKind::kGroupBox ? WS_EX_TRANSPARENT : 0;
    built.hwnd = form.AddControl(kind.window_class, win32::Widen(row.caption), kind.style,
                                 {at.x, at.y, row.width, row.height}, id, ex_style);
    if (!SameFont(row.font, kDialogFont)) {
      fonts_.push_back(win32::MakeUiFont(row.font.height_px, form.scale(), row.font.bold, row.font.italic));
      SendMessageW(built.hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(fonts_.back().get()), FALSE);
    }
    if (row.kind == ControlKind::kScrollBar) {
      // No page size: the thumb is the system's fixed square and the range is all positions.
      SCROLLINFO si{};
      si.cbSize = sizeof(si);
      si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
      si.nMin = row.scroll.min;
      si.nMax = row.scroll.max;
      si.nPage = 0;
      si.nPos = row.scroll.design_position;
      SetScrollInfo(built.hwnd, SB_CTL, &si, TRUE);
    }
  }
  controls_.push_back(built);
  names_.push_back(row.name);
  origins_.push_back(at);
}

std::optional<std::size_t> LayoutControls::RowOfId(int id) const {
  const int row = id - kFirstId;
  if (row < 0 || row >= static_cast<int>(controls_.size())) return std::nullopt;
  return static_cast<std::size_t>(row);
}

std::optional<std::size_t> LayoutControls::RowOf(HWND hwnd) const {
  if (!hwnd) return std::nullopt;
  for (std::size_t i = 0; i < controls_.size(); ++i)
    if (controls_[i].hwnd == hwnd) return i;
  return std::nullopt;
}

void LayoutControls::CheckRadio(std::size_t row) const {
  const int group = controls_[row].radio_group;
  for (std::size_t i = 0; i < controls_.size(); ++i) {
    const BuiltControl& c = controls_[i];
    if (c.kind == ControlKind::kRadioButton && c.radio_group == group)
      win32::Button(c.hwnd).SetChecked(i == row);
  }
}

void LayoutControls::ClearRadioGroup(int group) const {
  for (const BuiltControl& c : controls_)
    if (c.kind == ControlKind::kRadioButton && c.radio_group == group) win32::Button(c.hwnd).SetChecked(false);
}

win32::PictureBox* LayoutControls::picture(std::size_t row) const {
  for (std::size_t i = 0; i < picture_rows_.size(); ++i)
    if (picture_rows_[i] == row) return pictures_[i].get();
  return nullptr;
}

std::optional<ScrollCode> ScrollCodeOf(int code) {
  switch (code) {
    case SB_LINELEFT: return ScrollCode::kLineLeft;
    case SB_LINERIGHT: return ScrollCode::kLineRight;
    case SB_PAGELEFT: return ScrollCode::kPageLeft;
    case SB_PAGERIGHT: return ScrollCode::kPageRight;
    case SB_THUMBPOSITION: return ScrollCode::kThumbPosition;
    case SB_THUMBTRACK: return ScrollCode::kThumbTrack;
    case SB_LEFT: return ScrollCode::kLeft;
    case SB_RIGHT: return ScrollCode::kRight;
    case SB_ENDSCROLL: return ScrollCode::kEndScroll;
    default: return std::nullopt;
  }
}

win32::FormSpec WindowSpecOf(const FormSpec& form, HWND owner) {
  win32::FormSpec params;
  params.caption = win32::Widen(form.caption);
  params.left = form.left;
  params.top = form.top;
  params.owner = owner;
  params.topmost = form.top_most;
  params.font_pixels = form.font.height_px;
  return params;
}

void MakeTopMostAndShow(HWND hwnd) {
  SetWindowPos(hwnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
}

void MoveWindowTo(HWND hwnd, int x, int y) {
  SetWindowPos(hwnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
}

Point WindowOriginOf(HWND hwnd) {
  RECT r{};
  GetWindowRect(hwnd, &r);
  return {r.left, r.top};
}

void SetOuterSize(const win32::Form& form, int width, int height) {
  const win32::DpiScale s = form.scale();
  SetWindowPos(form.hwnd(), nullptr, 0, 0, s(width), s(height), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace tessmoor
