#pragma once
#include <optional>
#include <string>
#include <string_view>

#include "show/folder_order.h"

namespace tessmoor {

// What a folder slot keeps between shows in its FolderPlace key: its place in the order after the
// last picture shown (folder_order_state.h), and, once the show knew it, the pick that comes next:
// its place and its path. The next show starts on that picture at once, reading the one file,
// while the folder is listed in the background; only a show whose kept value names no next
// picture (the first, or one ended before it knew) lists the folder before its first picture.
//
//   <place after the last picture shown>
//   <place after the next picture>        } only when the next picture is known, both lines
//   <the next picture, relative path>     }
//
// Lines end with '\n', which no file name holds. Anything else, a next picture whose path leaves
// the folder ("..", a drive, a leading backslash) included, is no kept value at all: the slot
// starts a fresh order.
struct FolderKept {
  std::string place;
  std::optional<FolderPick> next;  // its path and the place after it

  bool operator==(const FolderKept&) const = default;
};

std::string FormatFolderKept(const FolderKept& kept);
FolderKept ParseFolderKept(std::string_view text);

}  // namespace tessmoor
