#include "setup/win32/settings_open_dialog.h"

#include <commdlg.h>

#include <vector>

#include "platform/win32/utf.h"
#include "setup/settings_dialog_layout.h"

namespace tessmoor {

namespace {

// "description\0pattern\0" for each filter, closed by one more NUL.
std::wstring FilterList() {
  std::wstring list;
  for (const FileFilter& filter : kPictureFileFilters) {
    list += win32::Widen(filter.description);
    list += L'\0';
    list += win32::Widen(filter.pattern);
    list += L'\0';
  }
  list += L'\0';
  return list;
}

}  // namespace

std::optional<std::wstring> RunOpenPictureDialog(HWND owner, const std::wstring& initial_folder) {
  static const std::wstring filters = FilterList();
  std::vector<wchar_t> file(32768, L'\0');
  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof(ofn);
  ofn.hwndOwner = owner;
  ofn.lpstrFilter = filters.c_str();
  ofn.nFilterIndex = 1;
  ofn.lpstrFile = file.data();
  ofn.nMaxFile = static_cast<DWORD>(file.size());
  ofn.lpstrInitialDir = initial_folder.empty() ? nullptr : initial_folder.c_str();
  // The name is not checked here: the slot takes whatever the dialog gives.
  ofn.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_ENABLESIZING | OFN_NOCHANGEDIR;
  if (!GetOpenFileNameW(&ofn)) return std::nullopt;
  return std::wstring(file.data());
}

}  // namespace tessmoor
