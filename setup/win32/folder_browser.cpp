#include "setup/win32/folder_browser.h"

#include <commctrl.h>

#include <algorithm>

#include "platform/win32/folder_glyph.h"
#include "platform/win32/handles.h"
#include "platform/win32/utf.h"

namespace tessmoor {

namespace {

constexpr UINT_PTR kFolderListSubclass = 0xF01D;

}  // namespace

FolderBrowser::FolderBrowser(HWND drive_list, HWND folder_list, HWND file_list, std::wstring mask,
                             win32::DpiScale scale)
    : drives_(drive_list),
      folders_(folder_list),
      files_(file_list),
      scale_(scale),
      model_(file_system_, win32::Narrow(mask)) {
  SetItemHeight();
  SetWindowSubclass(folder_list, &FolderBrowser::FolderListProc, kFolderListSubclass,
                    reinterpret_cast<DWORD_PTR>(this));
  for (const FolderBrowserModel::DriveItem& drive : model_.drives()) drives_.Add(win32::Widen(drive.text));
}

void FolderBrowser::SetItemHeight() const {
  HWND list = folders_.hwnd();
  HFONT font = reinterpret_cast<HFONT>(SendMessageW(list, WM_GETFONT, 0, 0));
  int text_height = 0;
  {
    win32::WindowDc dc(list);
    win32::SelectScope selected(dc.get(), font ? static_cast<HGDIOBJ>(font) : GetStockObject(DEFAULT_GUI_FONT));
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc.get(), &metrics);
    text_height = metrics.tmHeight;
  }
  SendMessageW(list, LB_SETITEMHEIGHT, 0, std::max(scale_(16), text_height + 2));
}

void FolderBrowser::Rescale(win32::DpiScale scale) {
  scale_ = scale;
  SetItemHeight();
  InvalidateRect(folders_.hwnd(), nullptr, TRUE);
}

FolderBrowser::~FolderBrowser() {
  if (IsWindow(folders_.hwnd()))
    RemoveWindowSubclass(folders_.hwnd(), &FolderBrowser::FolderListProc, kFolderListSubclass);
}

LRESULT CALLBACK FolderBrowser::FolderListProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR,
                                               DWORD_PTR self) {
  switch (message) {
    case WM_GETDLGCODE:
      // Keeps Enter from the dialog's keyboard handling, which would take it for a default button.
      if (lparam && reinterpret_cast<const MSG*>(lparam)->message == WM_KEYDOWN && wparam == VK_RETURN)
        return DefSubclassProc(hwnd, message, wparam, lparam) | DLGC_WANTALLKEYS;
      break;
    case WM_KEYDOWN:
      if (wparam != VK_RETURN) break;
      reinterpret_cast<FolderBrowser*>(self)->OpenSelectedFolder();
      return 0;
    case WM_CHAR:
      if (wparam == L'\r') return 0;
      break;
    case WM_NCDESTROY:
      RemoveWindowSubclass(hwnd, &FolderBrowser::FolderListProc, kFolderListSubclass);
      break;
    default:
      break;
  }
  return DefSubclassProc(hwnd, message, wparam, lparam);
}

bool FolderBrowser::OpenFolder(const std::wstring& folder) {
  if (!model_.OpenFolder(win32::Narrow(folder))) return false;
  Show();
  return true;
}

void FolderBrowser::DriveChanged() {
  const FolderBrowserModel::Outcome outcome = model_.ChooseDrive(drives_.Selected());
  // A drive that cannot be read: back to the drive of the folder still shown.
  if (outcome == FolderBrowserModel::Outcome::kRefused) drives_.Select(model_.drive_index());
  Apply(outcome);
}

void FolderBrowser::OpenSelectedFolder() { Apply(model_.OpenRow(folders_.Selected())); }

void FolderBrowser::Apply(FolderBrowserModel::Outcome outcome) {
  if (outcome == FolderBrowserModel::Outcome::kOpened) Show();
  if (outcome == FolderBrowserModel::Outcome::kRefused) MessageBeep(MB_ICONWARNING);
}

void FolderBrowser::Show() {
  folder_ = win32::Widen(model_.folder());
  drives_.Select(model_.drive_index());
  SendMessageW(folders_.hwnd(), WM_SETREDRAW, FALSE, 0);
  folders_.Clear();
  for (const FolderBrowserModel::FolderRow& row : model_.rows()) folders_.Add(win32::Widen(row.name));
  folders_.Select(model_.current_row());
  SendMessageW(folders_.hwnd(), WM_SETREDRAW, TRUE, 0);
  InvalidateRect(folders_.hwnd(), nullptr, TRUE);

  SendMessageW(files_.hwnd(), WM_SETREDRAW, FALSE, 0);
  files_.Clear();
  for (const std::string& name : model_.files()) files_.Add(win32::Widen(name));
  SendMessageW(files_.hwnd(), WM_SETREDRAW, TRUE, 0);
  InvalidateRect(files_.hwnd(), nullptr, TRUE);
}

std::optional<std::wstring> FolderBrowser::SelectedFile() const {
  const int index = files_.Selected();
  if (index < 0) return std::nullopt;
  return files_.Item(index);
}

std::optional<std::wstring> FolderBrowser::SelectedFolder() const {
  const int index = folders_.Selected();
  if (index < 0 || static_cast<std::size_t>(index) >= model_.rows().size()) return std::nullopt;
  return win32::Widen(model_.PathOf(static_cast<std::size_t>(index)));
}

void FolderBrowser::DrawFolderItem(const DRAWITEMSTRUCT& item) const {
  if (item.itemID == static_cast<UINT>(-1) || item.itemID >= model_.rows().size()) return;
  const FolderBrowserModel::FolderRow& entry = model_.rows()[item.itemID];
  const std::wstring name = win32::Widen(entry.name);
  HDC dc = item.hDC;
  RECT row = item.rcItem;
  FillRect(dc, &row, GetSysColorBrush(COLOR_WINDOW));
  const win32::DpiScale& s = scale_;
  const int left = row.left + s(2) + entry.level * s(8);
  const int glyph_top = row.top + (row.bottom - row.top - s(12)) / 2;
  win32::DrawFolderGlyph(dc, left, glyph_top, s, entry.open);

  HFONT font = reinterpret_cast<HFONT>(SendMessageW(item.hwndItem, WM_GETFONT, 0, 0));
  win32::SelectScope selected_font(dc, font ? static_cast<HGDIOBJ>(font) : GetStockObject(DEFAULT_GUI_FONT));
  RECT text{left + s(19), row.top, row.right, row.bottom};
  RECT measured = text;
  DrawTextW(dc, name.c_str(), -1, &measured, DT_SINGLELINE | DT_NOPREFIX | DT_CALCRECT);
  RECT mark{text.left - s(2), row.top, std::min<LONG>(measured.right + s(2), row.right), row.bottom};
  const bool selected = (item.itemState & ODS_SELECTED) != 0;
  if (selected) FillRect(dc, &mark, GetSysColorBrush(COLOR_HIGHLIGHT));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
  DrawTextW(dc, name.c_str(), -1, &text, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
  if (item.itemState & ODS_FOCUS) DrawFocusRect(dc, &mark);
}

}  // namespace tessmoor
