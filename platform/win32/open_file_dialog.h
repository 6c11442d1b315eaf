#pragma once
#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/image/picture.h"

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
  std::wstring path;    // the chosen file's full name, or the chosen folder's
  std::wstring folder;  // the file's folder, with the trailing backslash; for a folder, itself
};

// What a preview pane draws: a picture, stretched into `drawn` (the pane's client coordinates).
struct PanePicture {
  Picture picture;
  RECT drawn{};
};

// A square pane to the right of the dialog's own controls that shows the file selected in its
// list. `load` gives what to draw for the file at a full path in a pane of the given client size
// in pixels, or nothing (a folder, a file that is no picture or cannot be read): the pane is then
// empty. It runs on the dialog's thread, at each change of the selection.
//
// With a `folder_button` caption, a button under the pane chooses the folder the dialog shows
// (the one the user has gone into) instead of a file: the dialog closes and gives that folder.
struct PreviewPane {
  int side = 160;  // at 96 DPI
  std::function<std::optional<PanePicture>(const std::wstring& path, SIZE pane)> load;
  std::wstring folder_button;
};

// Runs the system's open-file dialog modally over `owner`: the filters in their order with the
// first chosen, an empty file name field, and `initial_folder` as the folder it starts in unless
// that is empty (the system then starts where the dialog was last used), with `pane` beside its
// controls when one is given. The name is not checked: the caller takes whatever the dialog
// gives. Nothing when the user cancels.
std::optional<OpenFileChoice> RunOpenFileDialog(HWND owner, const std::vector<OpenFilter>& filters,
                                                const std::wstring& initial_folder,
                                                const PreviewPane* pane = nullptr);

}  // namespace tessmoor::win32
