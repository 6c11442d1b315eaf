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
// ("2023\\img10.jpg", '\\' between folders, as listed), each with its NameHash. Empty and repeated
// paths are dropped. Sorted into natural path order (platform/natural_order.h) once, which name
// order needs; shuffled order never looks at the listing's order (a cycle's order comes from its
// keys), so a listing for it can keep the order given and save the sort. Sorting costs
// O(n log n) once per listing; every pick from it is O(n) at most, so a listing is made when the
// folder has been listed and kept until it is listed again. The paths are kept end to end in one
// block, about 12 bytes a picture beyond the names themselves, however many the folder holds.
class FolderListing {
 public:
  enum class Order { kNatural, kAsGiven };

  FolderListing() = default;
  explicit FolderListing(std::vector<std::string> relative_paths, Order order = Order::kNatural);

  std::size_t size() const { return hashes_.size(); }
  bool empty() const { return hashes_.empty(); }
  // In natural path order, [0] the folder's first picture; or in the order given.
  std::string_view operator[](std::size_t i) const {
    const std::uint32_t begin = i == 0 ? 0 : ends_[i - 1];
    return std::string_view(pool_).substr(begin, ends_[i] - begin);
  }
  std::vector<std::string> paths() const;
  std::uint64_t hash(std::size_t i) const { return hashes_[i]; }

 private:
  std::string pool_;                 // every path, end to end
  std::vector<std::uint32_t> ends_;  // where each ends in the pool
  std::vector<std::uint64_t> hashes_;
};

struct FolderPick {
  std::string path;   // the picture to show, relative to the folder, as listed
  std::string state;  // the slot's place after this picture: keep it for the next pick

  bool operator==(const FolderPick&) const = default;
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
// cycle begins. Name order takes a listing in natural order.
std::optional<FolderPick> NextInFolder(std::string_view folder_path, const FolderListing& listing,
                                       FolderOrderKind order, std::string_view state, RandomSource& random);

}  // namespace tessmoor
