#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "show/folder_order_state.h"

namespace tessmoor {

class RandomSource;

// One listing of a folder slot's pictures: their paths relative to the slot's folder
// ("2023\\img10.jpg", '\\' between folders, as listed), sorted once into natural path order
// (platform/natural_order.h), each with its NameHash. Empty and repeated paths are dropped.
// Sorting costs O(n log n) once per listing; every pick from it is O(n) at most, so a listing is
// made when the folder has been listed and kept until it is listed again.
class FolderListing {
 public:
  FolderListing() = default;
  explicit FolderListing(std::vector<std::string> relative_paths);

  std::size_t size() const { return paths_.size(); }
  bool empty() const { return paths_.empty(); }
  // In natural path order: [0] is the folder's first picture.
  const std::string& operator[](std::size_t i) const { return paths_[i]; }
  const std::vector<std::string>& paths() const { return paths_; }
  std::uint64_t hash(std::size_t i) const { return hashes_[i]; }

 private:
  std::vector<std::string> paths_;
  std::vector<std::uint64_t> hashes_;
};

struct FolderPick {
  std::string path;   // the picture to show, relative to the folder, as listed
  std::string state;  // the slot's place after this picture: keep it for the next pick
};

// The next picture of a folder slot, and the place to keep for the pick after it.
//   - kByName: the picture after the last shown in natural order, wrapping to the first.
//   - kShuffled: the next of the current cycle; every listed picture once per cycle, then a new
//     cycle in a new random order that does not start with the picture just shown (unless the
//     folder holds only that one). A picture listed since the cycle began joins it if its key
//     comes after the place, otherwise the next cycle; a picture no longer listed drops out.
// A `state` written by an earlier pick carries on from where that pick stood, however the listing
// changed since. Any other state (none, damaged, from another folder path, for the other order,
// from a later format) starts a fresh order: the first picture by name, or a new cycle.
// Nothing when the listing is empty: the slot counts as empty. `random` is used only when a new
// cycle begins.
std::optional<FolderPick> NextInFolder(std::string_view folder_path, const FolderListing& listing,
                                       FolderOrderKind order, std::string_view state, RandomSource& random);

}  // namespace tessmoor
