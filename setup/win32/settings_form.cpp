#include "setup/win32/settings_form.h"

#include <shellapi.h>

#include <cstdint>
#include <exception>

#include "platform/win32/utf.h"
#include "setup/win32/settings_ids.h"

namespace tessmoor {

namespace {

using K = ControlKind;
using R = SettingsRole;

// The drive list's drop-down part, below its 20-pixel selection field.
constexpr int kDropDownHeight = 200;

// A themed group box leaves its inside to its parent, which clips its children: the box fills
// it itself.
LRESULT CALLBACK GroupBoxProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR, DWORD_PTR) {
  if (message == WM_ERASEBKGND) {
    RECT client{};
    GetClientRect(hwnd, &client);
    FillRect(reinterpret_cast<HDC>(wparam), &client, GetSysColorBrush(COLOR_BTNFACE));
    return 1;
  }
  if (message == WM_NCDESTROY) RemoveWindowSubclass(hwnd, &GroupBoxProc, 1);
  return DefSubclassProc(hwnd, message, wparam, lparam);
}

// The colour a tab control fills its page with (white under a visual style, the dialog colour
// without one), taken from the control's own drawing at `inside`.
COLORREF PageColour(HWND tab, POINT inside) {
  RECT r{};
  GetClientRect(tab, &r);
  win32::WindowDc screen(tab);
  win32::UniqueMemoryDc memory(CreateCompatibleDC(screen.get()));
  win32::UniqueBitmap bitmap(CreateCompatibleBitmap(screen.get(), r.right, r.bottom));
  COLORREF colour = GetSysColor(COLOR_BTNFACE);
  if (!memory || !bitmap) return colour;
  win32::SelectScope selected(memory.get(), bitmap.get());
  FillRect(memory.get(), &r, GetSysColorBrush(COLOR_BTNFACE));
  SendMessageW(tab, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory.get()), PRF_CLIENT | PRF_ERASEBKGND);
  const COLORREF drawn = GetPixel(memory.get(), inside.x, inside.y);
  return drawn == CLR_INVALID ? colour : drawn;
}

// A failure inside a handler is shown and the dialog goes on, as the user expects of a dialog.
template <class Fn>
void Guarded(HWND owner, Fn&& fn) {
  try {
    fn();
  } catch (const std::exception& e) {
    MessageBoxW(owner, win32::Widen(e.what()).c_str(), L"Tessmoor", MB_OK | MB_ICONERROR);
  }
}

std::optional<std::string_view> AsView(const std::optional<std::string>& text) {
  if (!text) return std::nullopt;
  return std::string_view(*text);
}

std::optional<std::string> Narrowed(const std::optional<std::wstring>& text) {
  if (!text) return std::nullopt;
  return win32::Narrow(*text);
}

}  // namespace

TScrSetUpForm::TScrSetUpForm(KeyValueStore& store, FileSystem& files, HWND owner)
    : settings_(store), files_(files) {
  const FormSpec& design = SettingsDialogForm();
  win32::FormSpec params;
  params.caption = win32::Widen(design.caption);
  params.client_width = design.width;
  params.client_height = design.height;
  params.left = design.left;
  params.top = design.top;
  params.owner = owner;
  params.menu_bar = true;
  params.font_pixels = design.font.height_px;
  CreateForm(params);

  HMENU menu = CreateMenu();
  AppendMenuW(menu, MF_STRING, kSettingsHelpMenuId, win32::Widen(kHelpMenuCaption).c_str());
  SetMenu(hwnd(), menu);  // destroyed with the window
  // The design size is the outer one; the client area is what this system's frame leaves of it.
  SetWindowPos(hwnd(), nullptr, 0, 0, scale()(design.width), scale()(design.height),
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  BuildControls();

  wchar_t current[MAX_PATH] = {};
  GetCurrentDirectoryW(MAX_PATH, current);
  if (!browser_->OpenFolder(current)) browser_->OpenFolder(L"C:\\");

  model_ = std::make_unique<SettingsDialogModel>(settings_, files_, &view_);

  ShowWindow(hwnd(), SW_SHOW);
  SetForegroundWindow(hwnd());
  UpdateWindow(hwnd());
}

TScrSetUpForm::~TScrSetUpForm() {
  dialogs_.clear();
  drag_.reset();
  Destroy();
}

void TScrSetUpForm::BuildControls() {
  const auto& rows = SettingsDialogControls();
  built_.resize(rows.size());
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const ControlSpec<SettingsRole>& row = rows[i];
    POINT parent{0, 0};
    for (std::size_t j = 0; j < i && !row.parent.empty(); ++j)
      if (rows[j].name == row.parent) parent = built_[j].origin;
    built_[i].origin = {parent.x + row.x, parent.y + row.y};
    built_[i].hwnd = AddRow(row, kSettingsFirstControlId + static_cast<int>(i), built_[i].origin);
  }
  // Group boxes and tab controls lie under the controls placed on them.
  for (std::size_t i = 0; i < rows.size(); ++i)
    if (rows[i].kind == K::kGroupBox || rows[i].kind == K::kTabControl)
      SetWindowPos(built_[i].hwnd, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);

  browser_ = std::make_unique<FolderBrowser>(ControlOf(R::kDriveList), ControlOf(R::kFolderList),
                                             ControlOf(R::kFileList), win32::Widen(kPictureFileMask), scale());
  FileListDrag::Handlers drag;
  drag.selected = [this] { FileListClick(); };
  drag.accepts = [this](HWND target) {
    return BoxOfPicture(target) != 0 && SettingsDialogModel::BoxDragOver(DragSource::kFileList);
  };
  drag.dropped = [this](HWND target) { DropOnBox(target); };
  drag_ = std::make_unique<FileListDrag>(ControlOf(R::kFileList), std::move(drag));
}

HWND TScrSetUpForm::AddRow(const ControlSpec<SettingsRole>& row, int id, POINT origin) {
  const win32::ControlBounds bounds{origin.x, origin.y, row.width, row.height};
  const std::wstring caption = win32::Widen(row.caption);
  switch (row.kind) {
    case K::kPicture: {
      const win32::DpiScale s = scale();
      const RECT r{s(origin.x), s(origin.y), s(origin.x) + s(row.width), s(origin.y) + s(row.height)};
      const bool enlarges = row.role == R::kBoxPicture && BoxPictureEnlarges(row.index);
      auto picture = std::make_unique<win32::PictureBox>(
          hwnd(), id, r, enlarges ? win32::PictureBox::Mode::kFit : win32::PictureBox::Mode::kShrinkToFit,
          row.role == R::kBoxPicture ? page_colour_ : GetSysColor(COLOR_BTNFACE));
      HWND h = picture->hwnd();
      if (row.role == R::kBoxPicture)
        box_pictures_[static_cast<std::size_t>(row.index - 1)] = std::move(picture);
      else
        preview_ = std::move(picture);
      return h;
    }
    case K::kTabControl: {
      HWND h = AddControl(WC_TABCONTROLW, L"", WS_TABSTOP | WS_GROUP | WS_CLIPSIBLINGS, bounds, id);
      const win32::TabControl tabs(h);
      for (int slot = 1; slot <= 12; ++slot) tabs.AddTab(win32::Widen(BoxTabCaption(slot)));
      tabs.Select(0);
      if (!page_brush_) {
        // The labels and empty pictures on the pages take the page's colour.
        const win32::DpiScale s = scale();
        page_colour_ = PageColour(h, {s(row.width / 2), s(row.height * 3 / 4)});
        page_brush_.reset(CreateSolidBrush(page_colour_));
      }
      return h;
    }
    case K::kDriveList: {
      HWND h = AddControl(WC_COMBOBOXW, L"", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP | WS_GROUP,
                          {origin.x, origin.y, row.width, row.height + kDropDownHeight}, id);
      // The selection field takes the design height with the combo box's frame around it.
      const int frame = 2 * GetSystemMetrics(SM_CYEDGE) + 2;
      SendMessageW(h, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), scale()(row.height) - frame);
      return h;
    }
    case K::kFolderList:
      return AddControl(WC_LISTBOXW, L"",
                        LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL |
                            WS_TABSTOP | WS_GROUP,
                        bounds, id, WS_EX_CLIENTEDGE);
    case K::kFileList:
      return AddControl(WC_LISTBOXW, L"", LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_TABSTOP | WS_GROUP,
                        bounds, id, WS_EX_CLIENTEDGE);
    case K::kGroupBox: {
      HWND h = AddControl(L"BUTTON", caption, BS_GROUPBOX | WS_GROUP | WS_CLIPSIBLINGS, bounds, id);
      SetWindowSubclass(h, &GroupBoxProc, 1, 0);
      return h;
    }
    case K::kRadioButton: {
      // Plain radio buttons: a click and a choice read from the store take the same path. Tab
      // reaches a group at its first button, the arrow keys move within it.
      DWORD style = BS_RADIOBUTTON;
      const auto& rows = SettingsDialogControls();
      const std::size_t at = static_cast<std::size_t>(id - kSettingsFirstControlId);
      if (at == 0 || rows[at - 1].kind != K::kRadioButton || rows[at - 1].radio_group != row.radio_group)
        style |= WS_GROUP | WS_TABSTOP;
      return AddControl(L"BUTTON", caption, style, bounds, id);
    }
    case K::kButton:
      return AddControl(L"BUTTON", caption, BS_PUSHBUTTON | WS_TABSTOP | WS_GROUP, bounds, id);
    default: {
      HWND h = AddControl(L"STATIC", caption, SS_LEFTNOWORDWRAP | SS_NOPREFIX | WS_GROUP, bounds, id);
      // A label is as large as its caption in the dialog's font.
      win32::WindowDc dc(h);
      win32::SelectScope selected(dc.get(), font());
      SIZE extent{};
      if (GetTextExtentPoint32W(dc.get(), caption.c_str(), static_cast<int>(caption.size()), &extent))
        win32::Control(h).Resize(extent.cx, extent.cy);
      return h;
    }
  }
}

std::optional<std::size_t> TScrSetUpForm::RowOfId(int id) const {
  const int row = id - kSettingsFirstControlId;
  if (row < 0 || row >= static_cast<int>(SettingsDialogControls().size())) return std::nullopt;
  return static_cast<std::size_t>(row);
}

std::optional<std::size_t> TScrSetUpForm::RowOf(SettingsRole role, int index) const {
  const auto& rows = SettingsDialogControls();
  for (std::size_t i = 0; i < rows.size(); ++i)
    if (rows[i].role == role && rows[i].index == index) return i;
  return std::nullopt;
}

HWND TScrSetUpForm::ControlOf(SettingsRole role, int index) const {
  const auto row = RowOf(role, index);
  return row && *row < built_.size() ? built_[*row].hwnd : nullptr;
}

void TScrSetUpForm::CheckRadio(std::size_t row) const {
  const auto& rows = SettingsDialogControls();
  for (std::size_t i = 0; i < rows.size() && i < built_.size(); ++i)
    if (rows[i].kind == K::kRadioButton && rows[i].radio_group == rows[row].radio_group)
      win32::Button(built_[i].hwnd).SetChecked(i == row);
}

win32::PictureBox* TScrSetUpForm::BoxPicture(int box) const {
  if (box < 1 || box > 4) return nullptr;
  return box_pictures_[static_cast<std::size_t>(box - 1)].get();
}

int TScrSetUpForm::BoxOfPicture(HWND hwnd) const {
  for (int box = 1; box <= 4; ++box)
    if (hwnd && BoxPicture(box) && BoxPicture(box)->hwnd() == hwnd) return box;
  return 0;
}

void TScrSetUpForm::FileListClick() {
  if (!model_) return;
  const std::optional<std::string> item = Narrowed(browser_->SelectedFile());
  model_->ScrSetUpFileListBoxClick(win32::Narrow(browser_->folder()), AsView(item));
}

void TScrSetUpForm::DropOnBox(HWND target) {
  const int box = BoxOfPicture(target);
  if (!model_ || box == 0) return;
  const std::optional<std::string> item = Narrowed(browser_->SelectedFile());
  model_->BoxDragDrop(box, DragSource::kFileList, win32::Narrow(browser_->folder()), AsView(item));
}

void TScrSetUpForm::OpenDialog(Factory factory) {
  DialogContext context{settings_, files_, hwnd(), *model_, music_paths_};
  if (std::unique_ptr<win32::Window> dialog = factory(context)) dialogs_.push_back(std::move(dialog));
}

void TScrSetUpForm::OnCommand(int id, int code, HWND) {
  if (!model_) return;
  Guarded(hwnd(), [&] {
    if (id == kSettingsHelpMenuId && code == 0) {
      OpenDialog(&CreateForm4);
      return;
    }
    const auto row = RowOfId(id);
    if (!row) return;
    const ControlSpec<SettingsRole>& params = SettingsDialogControls()[*row];
    if (params.kind == K::kRadioButton || params.kind == K::kButton) {
      if (code != BN_CLICKED) return;
    }
    switch (params.role) {
      case R::kPattern1Radio:
      case R::kPattern2Radio:
        CheckRadio(*row);
        model_->set_pattern2_selected(params.role == R::kPattern2Radio);
        break;
      case R::kMusicPlayRadio:
      case R::kMusicStopRadio:
        CheckRadio(*row);
        model_->set_music_play_selected(params.role == R::kMusicPlayRadio);
        break;
      case R::kPatternDetailButton:
        OpenDialog(model_->NoImageRegFileDSaveButtonClick() == PatternDetailDialog::kPattern1
                       ? &CreateNo1SetUpDetailForm
                       : &CreateNo2SetUpDetailForm);
        break;
      case R::kMusicDetailButton:
        OpenDialog(&CreateMusicSetUpForm);
        break;
      case R::kSaveButton:
        model_->NoImageRegFileSaveButtonClick();
        break;
      case R::kCancelButton:
        model_->CancelButtonClick();
        break;
      case R::kBoxOpenButton:
        model_->BoxImageButtonClick(params.index);
        break;
      case R::kBoxClearButton:
        model_->BoxClearButtonClick(params.index);
        break;
      case R::kDriveList:
        if (code == CBN_SELCHANGE) browser_->DriveChanged();
        break;
      case R::kFolderList:
        if (code == LBN_DBLCLK) browser_->OpenSelectedFolder();
        break;
      case R::kFileList:
        // A press on an item reaches FileListClick through the drag handler; this is the keyboard.
        if (code == LBN_SELCHANGE && !drag_->dragging()) FileListClick();
        break;
      default:
        break;
    }
  });
}

LRESULT TScrSetUpForm::OnNotify(const NMHDR& header) {
  if (!model_ || header.code != static_cast<UINT>(TCN_SELCHANGE)) return 0;
  const auto row = RowOfId(static_cast<int>(header.idFrom));
  if (!row || SettingsDialogControls()[*row].role != R::kBoxTabControl) return 0;
  const int box = SettingsDialogControls()[*row].index;
  const int slot = win32::TabControl(header.hwndFrom).Selected() + 1;
  Guarded(hwnd(), [&] { model_->BoxTabControlChange(box, slot); });
  return 0;
}

void TScrSetUpForm::OnCloseRequest() {
  if (model_)
    model_->Close();
  else
    Destroy();
}

void TScrSetUpForm::OnDestroy() {
  // The settings dialog is the run's main window.
  PostQuitMessage(0);
}

LRESULT TScrSetUpForm::OnMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_MEASUREITEM: {
      // Sent while the folder list is being created; FolderBrowser sets the height for its font.
      auto& item = *reinterpret_cast<MEASUREITEMSTRUCT*>(lparam);
      item.itemHeight = static_cast<UINT>(scale()(16));
      return TRUE;
    }
    case WM_DRAWITEM: {
      const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lparam);
      if (browser_ && item.hwndItem == browser_->folder_list()) {
        browser_->DrawFolderItem(item);
        return TRUE;
      }
      break;
    }
    case WM_CTLCOLORSTATIC: {
      const auto row = RowOfId(GetDlgCtrlID(reinterpret_cast<HWND>(lparam)));
      if (!row || SettingsDialogControls()[*row].role != R::kBoxLabel || !page_brush_) break;
      SetBkColor(reinterpret_cast<HDC>(wparam), page_colour_);
      return reinterpret_cast<LRESULT>(page_brush_.get());
    }
    case WM_PRINTCLIENT: {
      // Themed radio buttons ask the form for what lies behind them.
      RECT client{};
      GetClientRect(hwnd(), &client);
      FillRect(reinterpret_cast<HDC>(wparam), &client, GetSysColorBrush(COLOR_BTNFACE));
      return 0;
    }
    default:
      break;
  }
  return Form::OnMessage(message, wparam, lparam);
}

HWND SettingsOwnerFromCommandLine() {
  int count = 0;
  LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &count);
  const std::wstring first = argv && count >= 2 ? argv[1] : L"";
  if (argv) LocalFree(argv);
  if (first.size() < 4 || first[0] != L'/' || (first[1] != L'c' && first[1] != L'C') || first[2] != L':')
    return nullptr;
  // Handles are 32-bit values, written unsigned; 64-bit Windows sign-extends them.
  std::uint64_t value = 0;
  for (std::size_t i = 3; i < first.size(); ++i) {
    if (first[i] < L'0' || first[i] > L'9' || value > 0xFFFFFFFFu) return nullptr;
    value = value * 10 + static_cast<std::uint64_t>(first[i] - L'0');
  }
  if (value == 0 || value > 0xFFFFFFFFu) return nullptr;
  HWND hwnd = reinterpret_cast<HWND>(static_cast<std::intptr_t>(static_cast<std::int32_t>(value)));
  return IsWindow(hwnd) ? hwnd : nullptr;
}

}  // namespace tessmoor
