#include "platform/win32/open_file_dialog.h"

#include <commdlg.h>
#include <dlgs.h>

#include <cwchar>

#include "platform/win32/controls.h"
#include "platform/win32/gdi_canvas.h"
#include "platform/win32/utf.h"

namespace tessmoor::win32 {

namespace {

// "description\0pattern\0" for each filter, closed by one more NUL.
std::wstring FilterList(const std::vector<OpenFilter>& filters) {
  std::wstring list;
  for (const OpenFilter& filter : filters) {
    list += Widen(filter.description);
    list += L'\0';
    list += Widen(filter.pattern);
    list += L'\0';
  }
  list += L'\0';
  return list;
}

constexpr WORD kPaneId = 0x0501;
constexpr WORD kFolderButtonId = 0x0502;
constexpr int kButtonHeight = 23;  // at 96 DPI

// The child dialog that the open dialog takes in beside its own controls: the placeholder for
// those controls (stc32) and, right of it, the owner-drawn pane. The dialog puts its controls
// where the placeholder is and moves whatever lies right of it further right, growing to fit;
// the sizes are set in pixels when the child dialog opens. The folder button, when asked for,
// sits under the pane.
class PaneTemplate {
 public:
  explicit PaneTemplate(const std::wstring& folder_button) {
    PutLong(WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | DS_3DLOOK | DS_CONTROL);
    PutLong(0);
    words_.push_back(folder_button.empty() ? 2 : 3);  // items
    for (WORD v : {0, 0, 100, 100}) words_.push_back(v);
    for (int i = 0; i < 3; ++i) words_.push_back(0);  // no menu, the default class, no title
    constexpr WORD kStatic = 0x0082;
    constexpr WORD kButton = 0x0080;
    PutItem(stc32, WS_CHILD, 0, 1, 100, kStatic, L"");
    PutItem(kPaneId, WS_CHILD | WS_VISIBLE | SS_OWNERDRAW, 4, 96, 96, kStatic, L"");
    if (!folder_button.empty())
      PutItem(kFolderButtonId, WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 4, 96, 14, kButton,
              folder_button);
  }
  // The template as OFN_ENABLETEMPLATEHANDLE takes it.
  HINSTANCE handle() const { return reinterpret_cast<HINSTANCE>(const_cast<WORD*>(words_.data())); }

 private:
  void PutLong(DWORD value) {
    words_.push_back(LOWORD(value));
    words_.push_back(HIWORD(value));
  }
  void PutItem(WORD id, DWORD style, WORD left, WORD width, WORD height, WORD window_class,
               const std::wstring& text) {
    if (words_.size() % 2 != 0) words_.push_back(0);  // items start on a DWORD boundary
    PutLong(style);
    PutLong(0);
    for (WORD v : {left, WORD{0}, width, height, id}) words_.push_back(v);
    for (WORD v : {WORD{0xFFFF}, window_class}) words_.push_back(v);
    for (wchar_t c : text) words_.push_back(static_cast<WORD>(c));
    for (WORD v : {WORD{0}, WORD{0}}) words_.push_back(v);  // the end of the text, no creation data
  }
  std::vector<WORD> words_;
};

struct PaneState {
  const PreviewPane& pane;
  std::optional<PanePicture> shown;
  std::wstring chosen_folder;  // set by the folder button
};

void LayOut(HWND dialog, const PreviewPane& pane) {
  const DpiScale s = DpiScale::ForWindow(dialog);
  const int side = s(pane.side);
  const int margin = s(8);
  const int button = pane.folder_button.empty() ? 0 : s(kButtonHeight) + margin;
  const int height = side + 2 * margin + button;
  constexpr UINT kFlags = SWP_NOZORDER | SWP_NOACTIVATE;
  // The placeholder as high as the pane, so that the pane is taken to lie beside the dialog's
  // controls, not below them.
  SetWindowPos(GetDlgItem(dialog, stc32), nullptr, 0, 0, 1, height, kFlags);
  SetWindowPos(GetDlgItem(dialog, kPaneId), nullptr, 1 + margin, margin, side, side, kFlags);
  if (button != 0) {
    HWND folder = GetDlgItem(dialog, kFolderButtonId);
    SetWindowPos(folder, nullptr, 1 + margin, 2 * margin + side, side, s(kButtonHeight), kFlags);
    SendMessageW(folder, WM_SETFONT, SendMessageW(GetParent(dialog), WM_GETFONT, 0, 0), FALSE);
  }
  SetWindowPos(dialog, nullptr, 0, 0, 1 + 2 * margin + side, height, kFlags | SWP_NOMOVE);
}

void ShowSelection(HWND dialog, PaneState& state) {
  std::wstring path(32768, L'\0');
  const LRESULT length = SendMessageW(GetParent(dialog), CDM_GETFILEPATH, static_cast<WPARAM>(path.size()),
                                      reinterpret_cast<LPARAM>(path.data()));
  path.resize(length > 0 ? std::wcslen(path.c_str()) : 0);
  HWND view = GetDlgItem(dialog, kPaneId);
  RECT client{};
  GetClientRect(view, &client);
  state.shown.reset();
  if (!path.empty() && state.pane.load) state.shown = state.pane.load(path, {client.right, client.bottom});
  InvalidateRect(view, nullptr, TRUE);
}

void DrawPane(const DRAWITEMSTRUCT& item, const PaneState& state) {
  FillRect(item.hDC, &item.rcItem, GetSysColorBrush(COLOR_BTNFACE));
  if (state.shown) DrawPicture(item.hDC, state.shown->drawn, state.shown->picture);
  FrameRect(item.hDC, &item.rcItem, GetSysColorBrush(COLOR_BTNSHADOW));
}

// The folder the dialog shows becomes the choice, and the dialog closes as if cancelled.
void ChooseShownFolder(HWND dialog, PaneState& state) {
  HWND explorer = GetParent(dialog);
  std::wstring folder(32768, L'\0');
  const LRESULT length = SendMessageW(explorer, CDM_GETFOLDERPATH, static_cast<WPARAM>(folder.size()),
                                      reinterpret_cast<LPARAM>(folder.data()));
  folder.resize(length > 0 ? std::wcslen(folder.c_str()) : 0);
  if (folder.empty()) {
    MessageBeep(MB_ICONWARNING);  // a place that is no folder of the file system
    return;
  }
  state.chosen_folder = std::move(folder);
  PostMessageW(explorer, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(explorer, IDCANCEL)));
}

UINT_PTR CALLBACK PaneHook(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_INITDIALOG) {
    auto* state = reinterpret_cast<PaneState*>(reinterpret_cast<const OPENFILENAMEW*>(lparam)->lCustData);
    SetWindowLongPtrW(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(state));
    LayOut(dialog, state->pane);
    return TRUE;
  }
  auto* state = reinterpret_cast<PaneState*>(GetWindowLongPtrW(dialog, DWLP_USER));
  if (!state) return 0;
  if (message == WM_NOTIFY) {
    const UINT code = reinterpret_cast<const NMHDR*>(lparam)->code;
    // A folder change empties the pane: the name left in the field names no file there.
    if (code == CDN_SELCHANGE || code == CDN_FOLDERCHANGE) ShowSelection(dialog, *state);
    return 0;
  }
  if (message == WM_COMMAND && LOWORD(wparam) == kFolderButtonId && HIWORD(wparam) == BN_CLICKED) {
    ChooseShownFolder(dialog, *state);
    return TRUE;
  }
  if (message == WM_DRAWITEM) {
    const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lparam);
    if (item.CtlID != kPaneId) return 0;
    DrawPane(item, *state);
    return TRUE;
  }
  return 0;
}

}  // namespace

std::optional<OpenFileChoice> RunOpenFileDialog(HWND owner, const std::vector<OpenFilter>& filters,
                                                const std::wstring& initial_folder, const PreviewPane* pane) {
  const std::wstring filter_list = FilterList(filters);
  std::wstring file(32768, L'\0');
  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof(ofn);
  ofn.hwndOwner = owner;
  ofn.lpstrFilter = filter_list.c_str();
  ofn.nFilterIndex = 1;
  ofn.lpstrFile = file.data();
  ofn.nMaxFile = static_cast<DWORD>(file.size());
  ofn.lpstrInitialDir = initial_folder.empty() ? nullptr : initial_folder.c_str();
  ofn.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_ENABLESIZING | OFN_NOCHANGEDIR;
  const PaneTemplate pane_template(pane ? pane->folder_button : std::wstring());
  std::optional<PaneState> state;
  if (pane) {
    state.emplace(PaneState{*pane, std::nullopt, {}});
    ofn.Flags |= OFN_ENABLEHOOK | OFN_ENABLETEMPLATEHANDLE;
    ofn.hInstance = pane_template.handle();
    ofn.lpfnHook = &PaneHook;
    ofn.lCustData = reinterpret_cast<LPARAM>(&*state);
  }
  if (!GetOpenFileNameW(&ofn)) {
    if (!state || state->chosen_folder.empty()) return std::nullopt;
    OpenFileChoice choice;
    choice.path = state->chosen_folder;
    choice.folder = state->chosen_folder;
    return choice;
  }
  file.resize(std::wcslen(file.c_str()));
  OpenFileChoice choice;
  if (ofn.nFileOffset > 0 && ofn.nFileOffset <= file.size()) choice.folder = file.substr(0, ofn.nFileOffset);
  choice.path = std::move(file);
  return choice;
}

}  // namespace tessmoor::win32
