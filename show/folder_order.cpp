#include "show/folder_order.h"

#include <algorithm>
#include <cstdint>
#include <unordered_set>
#include <utility>

#include "platform/natural_order.h"
#include "platform/random.h"

namespace tessmoor {

namespace {

constexpr std::size_t kNone = static_cast<std::size_t>(-1);

// Fresh seeds drawn before a new cycle gives up avoiding the picture just shown: with two
// pictures each draw avoids it half the time.
constexpr int kSeedDraws = 16;

std::size_t IndexOfHash(const FolderListing& listing, std::uint64_t hash) {
  for (std::size_t i = 0; i < listing.size(); ++i)
    if (listing.hash(i) == hash) return i;
  return kNone;
}

FolderPick PickByName(std::uint64_t folder, const FolderListing& listing, std::size_t pick) {
  const std::size_t following = (pick + 1) % listing.size();
  const NameOrderPlace place{listing.hash(pick), listing.hash(following), static_cast<std::uint32_t>(pick)};
  return {std::string(listing[pick]), FormatFolderOrderState({folder, place})};
}

std::size_t NextByName(const FolderListing& listing, const NameOrderPlace& place) {
  if (const std::size_t shown = IndexOfHash(listing, place.shown); shown != kNone) return (shown + 1) % listing.size();
  if (const std::size_t following = IndexOfHash(listing, place.following); following != kNone) return following;
  return place.index < listing.size() ? place.index : 0;
}

// The picture with the smallest key above `after` in the cycle of `seed`; kNone when the cycle
// has shown them all.
std::size_t NextInCycle(const FolderListing& listing, std::uint64_t seed, std::optional<std::uint64_t> after,
                        std::uint64_t& key) {
  std::size_t best = kNone;
  for (std::size_t i = 0; i < listing.size(); ++i) {
    const std::uint64_t k = ShuffleKey(seed, listing.hash(i));
    if (after && k <= *after) continue;
    if (best == kNone || k < key) {
      best = i;
      key = k;
    }
  }
  return best;
}

std::uint64_t DrawSeed(RandomSource& random) {
  const auto high = static_cast<std::uint64_t>(random.Next31());
  const auto low = static_cast<std::uint64_t>(random.Next31());
  return (high << 31) | low;
}

FolderPick PickShuffled(std::uint64_t folder, const FolderListing& listing, std::uint64_t seed, std::size_t pick,
                        std::uint64_t key) {
  return {std::string(listing[pick]), FormatFolderOrderState({folder, ShuffledPlace{seed, key}})};
}

// A new cycle; `shown_last` (kNone if not known) is avoided as its first picture.
FolderPick NewCycle(std::uint64_t folder, const FolderListing& listing, std::size_t shown_last, RandomSource& random) {
  std::uint64_t seed = 0, key = 0;
  std::size_t first = kNone;
  for (int draw = 0; draw < kSeedDraws; ++draw) {
    seed = DrawSeed(random);
    first = NextInCycle(listing, seed, std::nullopt, key);
    if (first != shown_last || listing.size() == 1) break;
  }
  return PickShuffled(folder, listing, seed, first, key);
}

FolderPick NextShuffled(std::uint64_t folder, const FolderListing& listing, const ShuffledPlace& place,
                        RandomSource& random) {
  std::uint64_t key = 0;
  if (const std::size_t next = NextInCycle(listing, place.seed, place.shown_key, key); next != kNone)
    return PickShuffled(folder, listing, place.seed, next, key);
  std::size_t shown_last = kNone;
  for (std::size_t i = 0; i < listing.size() && shown_last == kNone; ++i)
    if (ShuffleKey(place.seed, listing.hash(i)) == place.shown_key) shown_last = i;
  return NewCycle(folder, listing, shown_last, random);
}

// Keeps the first of equal paths, in the order given. A folder's walk lists none twice, so the
// usual cost is one sort of the names' hashes.
void DropRepeats(std::vector<std::string>& paths) {
  std::vector<std::uint64_t> hashes;
  hashes.reserve(paths.size());
  for (const std::string& path : paths) hashes.push_back(NameHash(path));
  std::sort(hashes.begin(), hashes.end());
  if (std::adjacent_find(hashes.begin(), hashes.end()) == hashes.end()) return;
  std::unordered_set<std::string> seen;
  std::erase_if(paths, [&](const std::string& path) { return !seen.insert(path).second; });
}

}  // namespace

FolderListing::FolderListing(std::vector<std::string> relative_paths, Order order) {
  std::erase_if(relative_paths, [](const std::string& path) { return path.empty(); });
  if (order == Order::kNatural) {
    SortPathsNaturally(relative_paths);
    // The order is total: equal neighbours are the same bytes.
    relative_paths.erase(std::unique(relative_paths.begin(), relative_paths.end()), relative_paths.end());
  } else {
    DropRepeats(relative_paths);
  }
  std::size_t bytes = 0;
  for (const std::string& path : relative_paths) bytes += path.size();
  pool_.reserve(bytes);
  ends_.reserve(relative_paths.size());
  hashes_.reserve(relative_paths.size());
  for (const std::string& path : relative_paths) {
    // The offsets are 32-bit: a listing stops short of 4 GB of names.
    if (pool_.size() + path.size() > UINT32_MAX) break;
    pool_ += path;
    ends_.push_back(static_cast<std::uint32_t>(pool_.size()));
    hashes_.push_back(NameHash(path));
  }
}

std::vector<std::string> FolderListing::paths() const {
  std::vector<std::string> out;
  out.reserve(size());
  for (std::size_t i = 0; i < size(); ++i) out.emplace_back((*this)[i]);
  return out;
}

std::optional<FolderPick> NextInFolder(std::string_view folder_path, const FolderListing& listing,
                                       FolderOrderKind order, std::string_view state, RandomSource& random) {
  if (listing.empty()) return std::nullopt;
  const std::uint64_t folder = FolderFingerprint(folder_path);
  std::optional<FolderOrderState> kept = ParseFolderOrderState(state);
  if (kept && (kept->folder != folder || kept->kind() != order)) kept.reset();
  if (order == FolderOrderKind::kByName) {
    const std::size_t pick = kept ? NextByName(listing, std::get<NameOrderPlace>(kept->place)) : 0;
    return PickByName(folder, listing, pick);
  }
  if (!kept) return NewCycle(folder, listing, kNone, random);
  return NextShuffled(folder, listing, std::get<ShuffledPlace>(kept->place), random);
}

}  // namespace tessmoor
