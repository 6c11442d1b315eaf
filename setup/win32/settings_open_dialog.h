#pragma once
#include <windows.h>

#include <optional>
#include <string>

namespace tessmoor {

// Runs a box's open-picture dialog modally over `owner`: the filter list of the picture boxes in
// its order, an empty file name field, and `initial_folder` as the folder it starts in unless that
// is empty (the system then starts where the dialog was last used). Gives the chosen file's full
// name, or nothing when the user cancels.
std::optional<std::wstring> RunOpenPictureDialog(HWND owner, const std::wstring& initial_folder);

}  // namespace tessmoor
