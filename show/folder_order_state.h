#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

namespace tessmoor {

// How a folder slot walks its pictures.
enum class FolderOrderKind { kByName, kShuffled };

// The `ImageRegFolderOrderFlag` value: "1" is name order; "2", the first-run value, and anything
// else that is not "1" shuffle.
FolderOrderKind FolderOrderFromFlag(std::string_view flag);

// Where name order stands: the picture shown last (the hash of its name and its index in the
// order then) and the hash of the name that followed it. The next picture is the one after the
// last shown while it is still listed; once it is gone, the one that followed it; once both are
// gone, the one now at its index.
struct NameOrderPlace {
  std::uint64_t shown = 0;
  std::uint64_t following = 0;
  std::uint32_t index = 0;

  bool operator==(const NameOrderPlace&) const = default;
};

// Where a shuffled cycle stands: the cycle's seed and the key of the picture shown last. A
// picture's key in a cycle is ShuffleKey(seed, NameHash(name)); the cycle shows the pictures in
// rising key order, so every picture with a key above `shown_key` is still to come this cycle.
struct ShuffledPlace {
  std::uint64_t seed = 0;
  std::uint64_t shown_key = 0;

  bool operator==(const ShuffledPlace&) const = default;
};

// The place of one folder slot, kept as text between shows (one registry value per slot, written
// after every picture taken), so it stays a few tens of bytes whatever the folder holds:
//
//   version 1, name order:  "1 N <folder> <shown> <following> <index>"
//   version 1, shuffled:    "1 S <folder> <seed> <shown_key>"
//
// ASCII, fields separated by one space; <folder> is FolderFingerprint of the slot's folder path,
// and every other hash, seed and key is 16 lower-case hexadecimal digits; <index> is decimal
// without leading zeros, at most 4294967295. The first field is the format version: a text
// that does not match one of these lines exactly, a later version included, is not a place.
struct FolderOrderState {
  std::uint64_t folder = 0;
  std::variant<NameOrderPlace, ShuffledPlace> place;

  FolderOrderKind kind() const {
    return std::holds_alternative<ShuffledPlace>(place) ? FolderOrderKind::kShuffled : FolderOrderKind::kByName;
  }
  bool operator==(const FolderOrderState&) const = default;
};

std::string FormatFolderOrderState(const FolderOrderState& state);

// Nothing for any text that FormatFolderOrderState does not write.
std::optional<FolderOrderState> ParseFolderOrderState(std::string_view text);

// Stable hashes, part of the kept format: they must give the same values in every version.
// A folder path's fingerprint ignores case, the kind of slash and trailing slashes, so
// "C:\\Photos\\" and "c:/photos" are the same folder.
std::uint64_t FolderFingerprint(std::string_view folder_path);
// A picture's relative path, byte for byte.
std::uint64_t NameHash(std::string_view relative_path);
// A picture's key in the cycle of `seed`: for one seed, different names get different keys.
std::uint64_t ShuffleKey(std::uint64_t seed, std::uint64_t name_hash);

}  // namespace tessmoor
