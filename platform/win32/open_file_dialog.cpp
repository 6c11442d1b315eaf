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

// The child dialog that the open dialog takes in beside its own controls: the placeholder for
// those controls (stc32) and, right of it, the owner-drawn pane. The dialog puts its controls
// where the placeholder is and moves whatever lies right of it further right, growing to fit;
// the sizes are set in pixels when the child dialog opens.
class PaneTemplate {
 public:
  PaneTemplate() {
    PutLong(WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | DS_3DLOOK | DS_CONTROL);
    PutLong(0);
    words_.push_back(2);  // items
    for (WORD v : {0, 0, 100, 100}) words_.push_back(v);
    for (int i = 0; i < 3; ++i) words_.push_back(0);  // no menu, the default class, no title
    PutItem(stc32, WS_CHILD, 0, 1, 100);
    PutItem(kPaneId, WS_CHILD | WS_VISIBLE | SS_OWNERDRAW, 4, 96, 96);
  }
  // The template as OFN_ENABLETEMPLATEHANDLE takes it.
  HINSTANCE handle() const { return reinterpret_cast<HINSTANCE>(const_cast<WORD*>(words_.data())); }

 private:
  void PutLong(DWORD value) {
    words_.push_back(LOWORD(value));
    words_.push_back(HIWORD(value));
  }
  void PutItem(WORD id, DWORD style, WORD left, WORD width, WORD height) {
    if (words_.size() % 2 != 0) words_.push_back(0);  // items start on a DWORD boundary
    PutLong(style);
    PutLong(0);
    for (WORD v : {left, WORD{0}, width, height, id}) words_.push_back(v);
    for (WORD v : {WORD{0xFFFF}, WORD{0x0082}, WORD{0}, WORD{0}}) words_.push_back(v);  // a static, no text
  }
  std::vector<WORD> words_;
};

struct PaneState {
  const PreviewPane& pane;
  std::optional<PanePicture> shown;
};

void LayOut(HWND dialog, const PreviewPane& pane) {
  const DpiScale s = DpiScale::ForWindow(dialog);
  const int side = s(pane.side);
  const int margin = s(8);
  const int height = side + 2 * margin;
  constexpr UINT kFlags = SWP_NOZORDER | SWP_NOACTIVATE;
  // The placeholder as high as the pane, so that the pane is taken to lie beside the dialog's
  // controls, not below them.
  SetWindowPos(GetDlgItem(dialog, stc32), nullptr, 0, 0, 1, height, kFlags);
  SetWindowPos(GetDlgItem(dialog, kPaneId), nullptr, 1 + margin, margin, side, side, kFlags);
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

UINT_PTR CALLBACK PaneHook(HWND dialog, UINT message, WPARAM, LPARAM lparam) {
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
  const PaneTemplate pane_template;
  std::optional<PaneState> state;
  if (pane) {
    state.emplace(PaneState{*pane, std::nullopt});
    ofn.Flags |= OFN_ENABLEHOOK | OFN_ENABLETEMPLATEHANDLE;
    ofn.hInstance = pane_template.handle();
    ofn.lpfnHook = &PaneHook;
    ofn.lCustData = reinterpret_cast<LPARAM>(&*state);
  }
  if (!GetOpenFileNameW(&ofn)) return std::nullopt;
  file.resize(std::wcslen(file.c_str()));
  OpenFileChoice choice;
  if (ofn.nFileOffset > 0 && ofn.nFileOffset <= file.size()) choice.folder = file.substr(0, ofn.nFileOffset);
  choice.path = std::move(file);
  return choice;
}

}  // namespace tessmoor::win32
