#include "show/folder_order_state.h"

#include <charconv>
#include <cstddef>
#include <string>
#include <vector>

#include "platform/text.h"

namespace tessmoor {

namespace {

constexpr std::string_view kVersion = "1";
constexpr std::size_t kHexDigits = 16;

// SplitMix64's finaliser: a bijection that spreads every input bit over the whole word.
std::uint64_t Mix(std::uint64_t z) {
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}

std::uint64_t Fnv1a(std::string_view bytes) {
  std::uint64_t h = 0xCBF29CE484222325ull;
  for (const char c : bytes) {
    h ^= static_cast<unsigned char>(c);
    h *= 0x100000001B3ull;
  }
  return h;
}

void AppendHex(std::string& out, std::uint64_t value) {
  static constexpr char kDigits[] = "0123456789abcdef";
  out += ' ';
  for (int shift = 60; shift >= 0; shift -= 4) out += kDigits[(value >> shift) & 0xF];
}

bool ParseHex(std::string_view text, std::uint64_t& value) {
  if (text.size() != kHexDigits) return false;
  value = 0;
  for (const char c : text) {
    int digit = 0;
    if (c >= '0' && c <= '9') digit = c - '0';
    else if (c >= 'a' && c <= 'f') digit = c - 'a' + 10;
    else return false;
    value = (value << 4) | static_cast<std::uint64_t>(digit);
  }
  return true;
}

bool ParseIndex(std::string_view text, std::uint32_t& value) {
  if (text.empty() || (text.size() > 1 && text[0] == '0')) return false;
  for (const char c : text)
    if (c < '0' || c > '9') return false;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc() && end == text.data() + text.size();
}

// The fields of a line split at single spaces; nothing when there are more than `most`.
std::optional<std::vector<std::string_view>> Fields(std::string_view text, std::size_t most) {
  std::vector<std::string_view> fields;
  for (;;) {
    if (fields.size() == most) return std::nullopt;
    const std::size_t space = text.find(' ');
    fields.push_back(text.substr(0, space));
    if (space == std::string_view::npos) return fields;
    text.remove_prefix(space + 1);
  }
}

}  // namespace

FolderOrderKind FolderOrderFromFlag(std::string_view flag) {
  return flag == "1" ? FolderOrderKind::kByName : FolderOrderKind::kShuffled;
}

std::string FormatFolderOrderState(const FolderOrderState& state) {
  std::string out(kVersion);
  if (const auto* by_name = std::get_if<NameOrderPlace>(&state.place)) {
    out += " N";
    AppendHex(out, state.folder);
    AppendHex(out, by_name->shown);
    AppendHex(out, by_name->following);
    out += ' ';
    out += std::to_string(by_name->index);
  } else {
    const auto& shuffled = std::get<ShuffledPlace>(state.place);
    out += " S";
    AppendHex(out, state.folder);
    AppendHex(out, shuffled.seed);
    AppendHex(out, shuffled.shown_key);
  }
  return out;
}

std::optional<FolderOrderState> ParseFolderOrderState(std::string_view text) {
  const auto fields = Fields(text, 6);
  if (!fields || fields->size() < 5 || (*fields)[0] != kVersion) return std::nullopt;
  const auto& f = *fields;
  FolderOrderState state;
  if (!ParseHex(f[2], state.folder)) return std::nullopt;
  if (f[1] == "N" && f.size() == 6) {
    NameOrderPlace place;
    if (!ParseHex(f[3], place.shown) || !ParseHex(f[4], place.following) || !ParseIndex(f[5], place.index))
      return std::nullopt;
    state.place = place;
    return state;
  }
  if (f[1] == "S" && f.size() == 5) {
    ShuffledPlace place;
    if (!ParseHex(f[3], place.seed) || !ParseHex(f[4], place.shown_key)) return std::nullopt;
    state.place = place;
    return state;
  }
  return std::nullopt;
}

std::uint64_t FolderFingerprint(std::string_view folder_path) {
  std::string path = LowerCase(folder_path);
  for (char& c : path)
    if (c == '/') c = '\\';
  while (!path.empty() && path.back() == '\\') path.pop_back();
  return Mix(Fnv1a(path));
}

std::uint64_t NameHash(std::string_view relative_path) { return Mix(Fnv1a(relative_path)); }

std::uint64_t ShuffleKey(std::uint64_t seed, std::uint64_t name_hash) {
  return Mix(name_hash ^ Mix(seed + 0x9E3779B97F4A7C15ull));
}

}  // namespace tessmoor
