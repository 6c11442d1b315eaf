#include "platform/win32/form_builder.h"

#include <commctrl.h>

#include "platform/win32/utf.h"

namespace tessmoor::win32 {

namespace {

// The drive list's drop-down part, below its selection field.
constexpr int kDropDownHeight = 200;

struct WindowKind {
  const wchar_t* window_class;
  DWORD style;
  DWORD ex_style = 0;
};

WindowKind KindOf(ControlKind kind, const BuildStyle& style) {
  switch (kind) {
    case ControlKind::kGroupBox:
      // A group box paints only its frame and caption: either it fills its inside itself (a
      // themed box leaves that to its parent, which clips its children), or, left out of the
      // form's clipping, the form paints through it.
      return style.filled_group_boxes ? WindowKind{L"BUTTON", BS_GROUPBOX | WS_GROUP | WS_CLIPSIBLINGS}
                                      : WindowKind{L"BUTTON", BS_GROUPBOX | WS_GROUP, WS_EX_TRANSPARENT};
    case ControlKind::kRadioButton: return {L"BUTTON", BS_RADIOBUTTON};
    case ControlKind::kCheckBox: return {L"BUTTON", BS_AUTOCHECKBOX | WS_TABSTOP | WS_GROUP};
    case ControlKind::kButton: return {L"BUTTON", BS_PUSHBUTTON | WS_TABSTOP | WS_GROUP};
    case ControlKind::kIconButton: return {L"BUTTON", BS_PUSHBUTTON | BS_ICON | WS_TABSTOP | WS_GROUP};
    case ControlKind::kScrollBar: return {L"SCROLLBAR", SBS_HORZ | WS_TABSTOP | WS_GROUP};
    case ControlKind::kTabControl: return {WC_TABCONTROLW, WS_TABSTOP | WS_GROUP | WS_CLIPSIBLINGS};
    case ControlKind::kDriveList: return {WC_COMBOBOXW, CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP | WS_GROUP};
    case ControlKind::kFolderList:
      return {WC_LISTBOXW,
              LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_TABSTOP |
                  WS_GROUP,
              WS_EX_CLIENTEDGE};
    case ControlKind::kFileList:
      return {WC_LISTBOXW, LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_TABSTOP | WS_GROUP,
              WS_EX_CLIENTEDGE};
    default:
      return {L"STATIC",
              static_cast<DWORD>(style.labels_fit_captions ? SS_LEFTNOWORDWRAP : SS_LEFT) | SS_NOPREFIX | WS_GROUP};
  }
}

bool IsLabel(ControlKind kind) { return kind == ControlKind::kLabel || kind == ControlKind::kStaticText; }

bool SameFont(const FontSpec& a, const FontSpec& b) {
  return a.face == b.face && a.height_px == b.height_px && a.bold == b.bold && a.italic == b.italic;
}

LRESULT CALLBACK FilledGroupBoxProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR,
                                    DWORD_PTR) {
  if (message == WM_ERASEBKGND) {
    RECT client{};
    GetClientRect(hwnd, &client);
    FillRect(reinterpret_cast<HDC>(wparam), &client, GetSysColorBrush(COLOR_BTNFACE));
    return 1;
  }
  if (message == WM_NCDESTROY) RemoveWindowSubclass(hwnd, &FilledGroupBoxProc, 1);
  return DefSubclassProc(hwnd, message, wparam, lparam);
}

// Makes a label as large as its caption in the font it was given.
void FitToCaption(HWND label, std::wstring_view caption) {
  WindowDc dc(label);
  SelectScope selected(dc.get(), reinterpret_cast<HGDIOBJ>(SendMessageW(label, WM_GETFONT, 0, 0)));
  SIZE extent{};
  if (GetTextExtentPoint32W(dc.get(), caption.data(), static_cast<int>(caption.size()), &extent))
    Control(label).Resize(extent.cx, extent.cy);
}

}  // namespace

POINT FormControls::OriginOf(std::string_view parent) const {
  if (parent.empty()) return {0, 0};
  for (std::size_t i = 0; i < names_.size(); ++i)
    if (names_[i] == parent) return controls_[i].origin;
  return {0, 0};
}

void FormControls::Add(Form& form, const ControlRow& row, const BuildStyle& style) {
  const POINT parent = OriginOf(row.parent);
  const POINT at{parent.x + row.x, parent.y + row.y};
  const int id = row.id != 0 ? row.id : style.first_id + static_cast<int>(controls_.size());
  std::unique_ptr<PictureBox> picture;
  HWND hwnd = nullptr;
  if (row.kind == ControlKind::kPicture) {
    const DpiScale s = form.scale();
    // Scaled like every other control: each of left, top, width and height on its own.
    const RECT bounds{s(at.x), s(at.y), s(at.x) + s(row.width), s(at.y) + s(row.height)};
    picture = MakeOwned<PictureBox>(form.hwnd(), id, bounds, true, GetSysColor(COLOR_BTNFACE));
    hwnd = picture->hwnd();
  } else {
    hwnd = AddWindow(form, row, id, at, style);
  }
  controls_.push_back({hwnd, id, row.kind, row.radio_group, at});
  names_.push_back(row.name);
  pictures_.push_back(std::move(picture));
}

HWND FormControls::AddWindow(Form& form, const ControlRow& row, int id, POINT at, const BuildStyle& style) {
  WindowKind kind = KindOf(row.kind, style);
  if (row.kind == ControlKind::kRadioButton) {
    // Tab reaches a group of radio buttons once, at its first; the arrows move within it.
    const bool first_of_group = controls_.empty() || controls_.back().kind != ControlKind::kRadioButton ||
                                controls_.back().radio_group != row.radio_group;
    if (first_of_group) kind.style |= WS_GROUP | WS_TABSTOP;
  } else if (!style.keyboard_groups) {
    kind.style &= ~static_cast<DWORD>(WS_GROUP);
  }
  const int extra_height = row.kind == ControlKind::kDriveList ? kDropDownHeight : 0;
  const std::wstring caption = Widen(row.caption);
  HWND hwnd = form.AddControl(kind.window_class, caption, kind.style,
                              {at.x, at.y, row.width, row.height + extra_height}, id, kind.ex_style);
  if (!SameFont(row.font, kDialogFont)) {
    fonts_.push_back(MakeUiFont(row.font.height_px, form.scale(), row.font.bold, row.font.italic));
    SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(fonts_.back().get()), FALSE);
  }
  switch (row.kind) {
    case ControlKind::kGroupBox:
      if (style.filled_group_boxes) SetWindowSubclass(hwnd, &FilledGroupBoxProc, 1, 0);
      break;
    case ControlKind::kDriveList: {
      // The selection field takes the design height with the combo box's frame around it.
      const int frame = 2 * GetSystemMetrics(SM_CYEDGE) + 2;
      SendMessageW(hwnd, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), form.scale()(row.height) - frame);
      break;
    }
    case ControlKind::kScrollBar: {
      // No page size: the thumb is the system's fixed square and the range is all positions.
      SCROLLINFO si{};
      si.cbSize = sizeof(si);
      si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
      si.nMin = row.scroll.min;
      si.nMax = row.scroll.max;
      si.nPage = 0;
      si.nPos = row.scroll.design_position;
      SetScrollInfo(hwnd, SB_CTL, &si, TRUE);
      break;
    }
    default:
      if (IsLabel(row.kind) && style.labels_fit_captions) FitToCaption(hwnd, caption);
      break;
  }
  return hwnd;
}

void FormControls::Finish(const BuildStyle& style) const {
  if (!style.filled_group_boxes) return;
  for (const BuiltControl& c : controls_)
    if (c.kind == ControlKind::kGroupBox || c.kind == ControlKind::kTabControl)
      SetWindowPos(c.hwnd, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

std::optional<std::size_t> FormControls::RowOfId(int id) const {
  for (std::size_t i = 0; i < controls_.size(); ++i)
    if (controls_[i].id == id) return i;
  return std::nullopt;
}

std::optional<std::size_t> FormControls::RowOf(HWND hwnd) const {
  if (!hwnd) return std::nullopt;
  for (std::size_t i = 0; i < controls_.size(); ++i)
    if (controls_[i].hwnd == hwnd) return i;
  return std::nullopt;
}

void FormControls::CheckRadio(std::size_t row) const {
  const int group = controls_[row].radio_group;
  for (std::size_t i = 0; i < controls_.size(); ++i) {
    const BuiltControl& c = controls_[i];
    if (c.kind == ControlKind::kRadioButton && c.radio_group == group) Button(c.hwnd).SetChecked(i == row);
  }
}

void FormControls::ClearRadioGroup(int group) const {
  for (const BuiltControl& c : controls_)
    if (c.kind == ControlKind::kRadioButton && c.radio_group == group) Button(c.hwnd).SetChecked(false);
}

PictureBox* FormControls::picture(std::size_t row) const {
  return row < pictures_.size() ? pictures_[row].get() : nullptr;
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

}  // namespace tessmoor::win32
