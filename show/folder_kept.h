#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

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
// Lines end with '\n', which no file name holds. The first line is empty when a folder has just
// been put in the slot and nothing shown yet (KeptForNewFolder). Anything else, a next picture
// whose path leaves the folder ("..", a drive, a leading backslash) included, is no kept value at
// all: the slot starts a fresh order.
struct FolderKept {
  std::string place;
  std::optional<FolderPick> next;  // its path and the place after it

  bool operator==(const FolderKept&) const = default;
};

std::string FormatFolderKept(const FolderKept& kept);
FolderKept ParseFolderKept(std::string_view text);

// What a slot keeps when a folder has just been put in it (the settings dialog, which lists the
// folder for its preview anyway): no place yet, and the folder's first picture in `order` as the
// next, so that even the first show starts on it without listing the folder. `pictures` is that
// listing (ListFolderPictures); `random` starts a shuffled order. Nothing when it holds no picture.
std::optional<std::string> KeptForNewFolder(std::string_view folder, std::vector<std::string> pictures,
                                            FolderOrderKind order, RandomSource& random);

}  // namespace tessmoor
