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

bool SameFont(const FontDesign& a, const FontDesign& b) {
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

// Where a control of `kind` designed at `design` lies at `scale`: each of left, top, width and
// height scaled on its own, the drive list with its drop-down part below.
RECT BoundsOf(ControlKind kind, const Rect& design, DpiScale scale) {
  const Rect r = ScaleToDpi(design, scale.dpi());
  const int drop_down = kind == ControlKind::kDriveList ? scale(kDropDownHeight) : 0;
  return {r.left, r.top, r.right, r.bottom + drop_down};
}

}  // namespace

void FormControls::Add(Form& form, const ControlRow& row, const Rect& design) {
  const int id = row.id != 0 ? row.id : style_.first_id + static_cast<int>(controls_.size());
  std::unique_ptr<PictureBox> picture;
  HWND hwnd = nullptr;
  if (row.kind == ControlKind::kPicture) {
    picture = MakeOwned<PictureBox>(form.hwnd(), id, BoundsOf(row.kind, design, form.scale()), true,
                                    GetSysColor(COLOR_BTNFACE));
    hwnd = picture->hwnd();
  } else {
    hwnd = AddWindow(form, row, id, design);
  }
  controls_.push_back({hwnd, id, row.kind, row.radio_group, design});
  rows_.push_back(row);
  pictures_.push_back(std::move(picture));
  if (hwnd && row.kind != ControlKind::kPicture) ApplyFont(form, controls_.size() - 1);
}

HWND FormControls::AddWindow(Form& form, const ControlRow& row, int id, const Rect& design) {
  WindowKind kind = KindOf(row.kind, style_);
  if (row.kind == ControlKind::kRadioButton) {
    // Tab reaches a group of radio buttons once, at its first; the arrows move within it.
    const bool first_of_group = controls_.empty() || controls_.back().kind != ControlKind::kRadioButton ||
                                controls_.back().radio_group != row.radio_group;
    if (first_of_group) kind.style |= WS_GROUP | WS_TABSTOP;
  } else if (!style_.keyboard_groups) {
    kind.style &= ~static_cast<DWORD>(WS_GROUP);
  }
  const RECT r = BoundsOf(row.kind, design, form.scale());
  HWND hwnd = CreateWindowExW(kind.ex_style, kind.window_class, Widen(row.caption).c_str(),
                              WS_CHILD | WS_VISIBLE | kind.style, r.left, r.top, r.right - r.left, r.bottom - r.top,
                              form.hwnd(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                              GetModuleHandleW(nullptr), nullptr);
  switch (row.kind) {
    case ControlKind::kGroupBox:
      if (style_.filled_group_boxes) SetWindowSubclass(hwnd, &FilledGroupBoxProc, 1, 0);
      break;
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
      break;
  }
  return hwnd;
}

void FormControls::ApplyFont(Form& form, std::size_t i) {
  const ControlRow& row = rows_[i];
  HWND hwnd = controls_[i].hwnd;
  HFONT font = form.font();
  if (!SameFont(row.font, kDialogFont)) {
    fonts_.push_back(MakeUiFont(row.font.height_px, form.scale(), row.font.bold, row.font.italic));
    font = fonts_.back().get();
  }
  SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
  if (row.kind == ControlKind::kDriveList) {
    // The selection field takes the design height with the combo box's frame around it.
    const int frame = 2 * GetSystemMetrics(SM_CYEDGE) + 2;
    SendMessageW(hwnd, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), form.scale()(row.height) - frame);
  }
  if (IsLabel(row.kind) && style_.labels_fit_captions) FitToCaption(hwnd, Widen(row.caption));
}

void FormControls::Relayout(Form& form) {
  // The old fonts stay until every control has its new one.
  const std::vector<UniqueFont> old_fonts = std::move(fonts_);
  fonts_.clear();
  for (std::size_t i = 0; i < controls_.size(); ++i) {
    const BuiltControl& c = controls_[i];
    const RECT r = BoundsOf(c.kind, c.design, form.scale());
    if (PictureBox* box = pictures_[i].get()) {
      box->SetBounds(r);
      box->Rescale(form.scale());
      continue;
    }
    SetWindowPos(c.hwnd, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    ApplyFont(form, i);
  }
}

void FormControls::Place(std::size_t row, const Rect& design, DpiScale scale) {
  BuiltControl& c = controls_[row];
  c.design = design;
  const RECT r = BoundsOf(c.kind, design, scale);
  if (PictureBox* box = pictures_[row].get())
    box->SetBounds(r);
  else
    SetWindowPos(c.hwnd, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

void FormControls::Finish() const {
  if (!style_.filled_group_boxes) return;
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
