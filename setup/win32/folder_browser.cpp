#include "setup/win32/folder_browser.h"

#include <commctrl.h>
#include <shlwapi.h>

#include <algorithm>

#include "platform/win32/handles.h"

namespace tessmoor {

namespace {

constexpr UINT_PTR kFolderListSubclass = 0xF01D;


// The root part of a full path with its backslash: "C:\" or "\\server\share\".
std::size_t RootLength(const std::wstring& path) {
  if (path.size() >= 2 && path[1] == L':') return path.size() >= 3 && path[2] == L'\\' ? 3 : 2;
  if (path.size() >= 2 && path[0] == L'\\' && path[1] == L'\\') {
    const std::size_t server_end = path.find(L'\\', 2);
    if (server_end == std::wstring::npos) return path.size();
    const std::size_t share_end = path.find(L'\\', server_end + 1);
    return share_end == std::wstring::npos ? path.size() : share_end + 1;
  }
  return 0;
}

// The absolute form of a folder path, its root ending in a backslash and nothing else doing so;
// empty when the system cannot make one.
std::wstring FullFolderPath(const std::wstring& folder) {
  DWORD n = GetFullPathNameW(folder.c_str(), 0, nullptr, nullptr);
  if (n == 0) return {};
  std::wstring full(n, L'\0');
  n = GetFullPathNameW(folder.c_str(), n, full.data(), nullptr);
  full.resize(n);
  std::replace(full.begin(), full.end(), L'/', L'\\');
  const std::size_t root = RootLength(full);
  if (root == 0) return {};
  while (full.size() > root && full.back() == L'\\') full.pop_back();
  if (full.size() == root && full.back() != L'\\') full += L'\\';
  if (full[1] == L':') full[0] = static_cast<wchar_t>(towupper(full[0]));
  return full;
}

std::wstring Child(const std::wstring& folder, const std::wstring& name) {
  return folder.back() == L'\\' ? folder + name : folder + L'\\' + name;
}

bool IsFolder(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool SameDrive(const std::wstring& a, const std::wstring& b) {
  return a.size() >= 2 && b.size() >= 2 && a[1] == L':' && b[1] == L':' && towupper(a[0]) == towupper(b[0]);
}

// The visible sub-folders of `folder`, or its files that match `mask` when `mask` is not empty,
// sorted without regard to case. Hidden and system entries are left out, as the shell does.
std::vector<std::wstring> ListNames(const std::wstring& folder, const std::wstring& mask) {
  const bool folders = mask.empty();
  WIN32_FIND_DATAW found{};
  win32::UniqueFind find(FindFirstFileExW(Child(folder, L"*").c_str(), FindExInfoBasic, &found,
                                                  folders ? FindExSearchLimitToDirectories : FindExSearchNameMatch,
                                                  nullptr, 0));
  std::vector<std::wstring> names;
  if (!find) return names;
  do {
    const std::wstring name = found.cFileName;
    const bool is_folder = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    if (found.dwFileAttributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) continue;
    if (folders ? (!is_folder || name == L"." || name == L"..")
                : (is_folder || !PathMatchSpecW(name.c_str(), mask.c_str())))
      continue;
    names.push_back(name);
  } while (FindNextFileW(find.get(), &found));
  std::sort(names.begin(), names.end(), [](const std::wstring& a, const std::wstring& b) {
    return CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.c_str(), -1, b.c_str(), -1) == CSTR_LESS_THAN;
  });
  return names;
}

// A folder drawn in code: a tab and a body, and for an open folder a front flap lifted off it.
void DrawFolderGlyph(HDC dc, int left, int top, win32::DpiScale s, bool open) {
  win32::UniquePen outline(CreatePen(PS_SOLID, 1, RGB(128, 96, 0)));
  win32::UniqueBrush back(CreateSolidBrush(RGB(240, 200, 80)));
  win32::UniqueBrush front(CreateSolidBrush(RGB(255, 232, 140)));
  win32::SelectScope pen(dc, outline.get());
  {
    win32::SelectScope brush(dc, back.get());
    Rectangle(dc, left, top + s(1), left + s(6), top + s(4));
    Rectangle(dc, left, top + s(3), left + s(14), top + s(12));
  }
  if (!open) return;
  win32::SelectScope brush(dc, front.get());
  const POINT flap[] = {{left + s(3), top + s(6)}, {left + s(16), top + s(6)}, {left + s(13), top + s(11)},
                        {left, top + s(11)}};
  Polygon(dc, flap, 4);
}

}  // namespace

FolderBrowser::FolderBrowser(HWND drive_list, HWND folder_list, HWND file_list, std::wstring mask,
                             win32::DpiScale scale)
    : drives_(drive_list), folders_(folder_list), files_(file_list), mask_(std::move(mask)), scale_(scale) {
  HFONT font = reinterpret_cast<HFONT>(SendMessageW(folder_list, WM_GETFONT, 0, 0));
  int text_height = 0;
  {
    win32::WindowDc dc(folder_list);
    win32::SelectScope selected(dc.get(), font ? static_cast<HGDIOBJ>(font) : GetStockObject(DEFAULT_GUI_FONT));
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc.get(), &metrics);
    text_height = metrics.tmHeight;
  }
  SendMessageW(folder_list, LB_SETITEMHEIGHT, 0, std::max(scale_(16), text_height + 2));
  SetWindowSubclass(folder_list, &FolderBrowser::FolderListProc, kFolderListSubclass,
                    reinterpret_cast<DWORD_PTR>(this));
  FillDrives();
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

void FolderBrowser::FillDrives() {
  drives_.Clear();
  drive_roots_.clear();
  const DWORD n = GetLogicalDriveStringsW(0, nullptr);
  std::wstring all(n, L'\0');
  all.resize(GetLogicalDriveStringsW(n, all.data()));
  for (std::size_t at = 0; at < all.size();) {
    const std::wstring root = all.c_str() + at;
    at += root.size() + 1;
    if (root.size() < 2) continue;
    std::wstring text{static_cast<wchar_t>(towlower(root[0])), L':'};
    // Only fixed drives are asked for their label: asking a drive without a medium can stall.
    const UINT type = GetDriveTypeW(root.c_str());
    if (type == DRIVE_FIXED || type == DRIVE_RAMDISK) {
      wchar_t label[MAX_PATH + 1] = {};
      if (GetVolumeInformationW(root.c_str(), label, MAX_PATH + 1, nullptr, nullptr, nullptr, nullptr, 0) &&
          label[0])
        text += std::wstring(L" [") + label + L"]";
    }
    drives_.Add(text);
    drive_roots_.push_back(root);
  }
}

void FolderBrowser::SelectDriveOf(const std::wstring& folder) const {
  for (std::size_t i = 0; i < drive_roots_.size(); ++i) {
    if (SameDrive(drive_roots_[i], folder)) {
      drives_.Select(static_cast<int>(i));
      return;
    }
  }
  drives_.Select(-1);
}

bool FolderBrowser::OpenFolder(const std::wstring& folder) {
  const std::wstring full = FullFolderPath(folder);
  if (full.empty() || !IsFolder(full)) return false;
  folder_ = full;
  const std::size_t root = RootLength(folder_);
  chain_.assign(1, folder_.substr(0, root));
  for (std::size_t at = root; at < folder_.size();) {
    std::size_t end = folder_.find(L'\\', at);
    if (end == std::wstring::npos) end = folder_.size();
    if (end > at) chain_.push_back(folder_.substr(at, end - at));
    at = end + 1;
  }
  SelectDriveOf(folder_);
  FillFolders();
  FillFiles();
  return true;
}

void FolderBrowser::DriveChanged() {
  const int index = drives_.Selected();
  if (index < 0 || index >= static_cast<int>(drive_roots_.size())) return;
  const std::wstring& root = drive_roots_[index];
  if (SameDrive(root, folder_)) return;
  // "X:" alone names the folder the process last used on that drive.
  if (OpenFolder(root.substr(0, 2)) || OpenFolder(root)) return;
  SelectDriveOf(folder_);
  MessageBeep(MB_ICONWARNING);
}

void FolderBrowser::OpenSelectedFolder() {
  const int index = folders_.Selected();
  if (index < 0 || index >= static_cast<int>(entries_.size())) return;
  if (static_cast<std::size_t>(index) + 1 == chain_.size()) return;  // already the current folder
  if (!OpenFolder(PathOf(static_cast<std::size_t>(index)))) MessageBeep(MB_ICONWARNING);
}

std::wstring FolderBrowser::PathOf(std::size_t index) const {
  if (index >= chain_.size()) return Child(folder_, entries_[index].name);
  std::wstring path = chain_[0];
  for (std::size_t i = 1; i <= index; ++i) path = Child(path, chain_[i]);
  return path;
}

void FolderBrowser::FillFolders() {
  entries_.clear();
  for (std::size_t i = 0; i < chain_.size(); ++i) entries_.push_back({chain_[i], static_cast<int>(i), true});
  for (std::wstring& name : ListNames(folder_, L""))
    entries_.push_back({std::move(name), static_cast<int>(chain_.size()), false});
  SendMessageW(folders_.hwnd(), WM_SETREDRAW, FALSE, 0);
  folders_.Clear();
  for (const Entry& e : entries_) folders_.Add(e.name);
  folders_.Select(static_cast<int>(chain_.size()) - 1);
  SendMessageW(folders_.hwnd(), WM_SETREDRAW, TRUE, 0);
  InvalidateRect(folders_.hwnd(), nullptr, TRUE);
}

void FolderBrowser::FillFiles() {
  SendMessageW(files_.hwnd(), WM_SETREDRAW, FALSE, 0);
  files_.Clear();
  for (const std::wstring& name : ListNames(folder_, mask_)) files_.Add(name);
  SendMessageW(files_.hwnd(), WM_SETREDRAW, TRUE, 0);
  InvalidateRect(files_.hwnd(), nullptr, TRUE);
}

std::optional<std::wstring> FolderBrowser::SelectedFile() const {
  const int index = files_.Selected();
  if (index < 0) return std::nullopt;
  return files_.Item(index);
}

void FolderBrowser::DrawFolderItem(const DRAWITEMSTRUCT& item) const {
  if (item.itemID == static_cast<UINT>(-1) || item.itemID >= entries_.size()) return;
  const Entry& entry = entries_[item.itemID];
  HDC dc = item.hDC;
  RECT row = item.rcItem;
  FillRect(dc, &row, GetSysColorBrush(COLOR_WINDOW));
  const win32::DpiScale& s = scale_;
  const int left = row.left + s(2) + entry.level * s(8);
  const int glyph_top = row.top + (row.bottom - row.top - s(12)) / 2;
  DrawFolderGlyph(dc, left, glyph_top, s, entry.open);

  HFONT font = reinterpret_cast<HFONT>(SendMessageW(item.hwndItem, WM_GETFONT, 0, 0));
  win32::SelectScope selected_font(dc, font ? static_cast<HGDIOBJ>(font) : GetStockObject(DEFAULT_GUI_FONT));
  RECT text{left + s(19), row.top, row.right, row.bottom};
  RECT measured = text;
  DrawTextW(dc, entry.name.c_str(), -1, &measured, DT_SINGLELINE | DT_NOPREFIX | DT_CALCRECT);
  RECT mark{text.left - s(2), row.top, std::min<LONG>(measured.right + s(2), row.right), row.bottom};
  const bool selected = (item.itemState & ODS_SELECTED) != 0;
  if (selected) FillRect(dc, &mark, GetSysColorBrush(COLOR_HIGHLIGHT));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
  DrawTextW(dc, entry.name.c_str(), -1, &text, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
  if (item.itemState & ODS_FOCUS) DrawFocusRect(dc, &mark);
}

}  // namespace tessmoor
