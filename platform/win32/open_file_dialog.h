#pragma once
#include <windows.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tessmoor::win32 {

struct OpenFilter {
  std::string_view description;
  std::string_view pattern;
};

// The filters of a dialog's table, whatever their record type, in their order.
template <class Filters>
std::vector<OpenFilter> OpenFiltersOf(const Filters& filters) {
  std::vector<OpenFilter> list;
  for (const auto& f : filters) list.push_back({f.description, f.pattern});
  return list;
}

struct OpenFileChoice {
  std::wstring path;   // the chosen file's full name
  std::wstring folder;  // its folder, with the trailing backslash
};

// Runs the system's open-file dialog modally over `owner`: the filters in their order with the
// first chosen, an empty file name field, and `initial_folder` as the folder it starts in unless
// that is empty (the system then starts where the dialog was last used). The name is not
// checked: the caller takes whatever the dialog gives. Nothing when the user cancels.
std::optional<OpenFileChoice> RunOpenFileDialog(HWND owner, const std::vector<OpenFilter>& filters,
                                                const std::wstring& initial_folder);

}  // namespace tessmoor::win32
