#include "platform/win32/open_file_dialog.h"

#include <commdlg.h>

#include <cwchar>

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

}  // namespace

std::optional<OpenFileChoice> RunOpenFileDialog(HWND owner, const std::vector<OpenFilter>& filters,
                                                const std::wstring& initial_folder) {
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
  if (!GetOpenFileNameW(&ofn)) return std::nullopt;
  file.resize(std::wcslen(file.c_str()));
  OpenFileChoice choice;
  if (ofn.nFileOffset > 0 && ofn.nFileOffset <= file.size()) choice.folder = file.substr(0, ofn.nFileOffset);
  choice.path = std::move(file);
  return choice;
}

}  // namespace tessmoor::win32
