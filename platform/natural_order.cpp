#include "platform/natural_order.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>

#include "platform/text.h"

namespace tessmoor {

namespace {

// The order is defined by a byte key per name: plain byte order of the keys is the natural order,
// ties aside. A key is a sequence of tokens, each self-delimiting:
//   symbol  kSymbol + the folded character's UTF-8 bytes
//   number  kNumber + digit count (one byte below 255, else 255 and four bytes) + digit values
//   letter  kLetter + the folded character's UTF-8 bytes, or kBrokenByte + the byte for a byte
//           that is not valid UTF-8 (no valid UTF-8 starts with it, so it sorts after them all)
// UTF-8 keeps code point order in byte order. A path's key holds, per component, kFile or
// kFolder, the component's tokens and kEnd (shorter before longer).
constexpr char kEnd = 0x00;
constexpr char kFile = 0x01;
constexpr char kFolder = 0x02;
constexpr char kSymbol = 0x01;
constexpr char kNumber = 0x02;
constexpr char kLetter = 0x03;
constexpr char kBrokenByte = static_cast<char>(0xF5);

// The value of the digit at `i` (ASCII or full-width) and its length in bytes; 0 when none.
std::size_t DigitAt(std::string_view s, std::size_t i, int& value) {
  const auto b0 = static_cast<unsigned char>(s[i]);
  if (b0 >= '0' && b0 <= '9') {
    value = b0 - '0';
    return 1;
  }
  if (b0 == 0xEF && i + 2 < s.size() && static_cast<unsigned char>(s[i + 1]) == 0xBC) {
    const auto b2 = static_cast<unsigned char>(s[i + 2]);
    if (b2 >= 0x90 && b2 <= 0x99) {
      value = b2 - 0x90;
      return 3;
    }
  }
  return 0;
}

// The length of the valid UTF-8 sequence at `i`; 0 when the byte there does not start one.
std::size_t SequenceAt(std::string_view s, std::size_t i) {
  const auto b0 = static_cast<unsigned char>(s[i]);
  const std::size_t len = b0 < 0x80 ? 1 : (b0 >> 5) == 6 ? 2 : (b0 >> 4) == 14 ? 3 : b0 >= 0xF0 && b0 <= 0xF4 ? 4 : 0;
  if (len == 0 || i + len > s.size()) return 0;
  for (std::size_t k = 1; k < len; ++k)
    if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return 0;
  return len;
}

void AppendNumber(std::string& key, std::string_view s, std::size_t& at) {
  int value = 0;
  std::size_t len = 0;
  while (at < s.size() && (len = DigitAt(s, at, value)) != 0 && value == 0) at += len;
  std::string digits;
  while (at < s.size() && (len = DigitAt(s, at, value)) != 0) {
    digits += static_cast<char>(value);
    at += len;
  }
  key += kNumber;
  if (digits.size() < 0xFF) {
    key += static_cast<char>(digits.size());
  } else {
    key += static_cast<char>(0xFF);
    const auto count = static_cast<std::uint32_t>(std::min<std::size_t>(digits.size(), UINT32_MAX));
    for (int shift = 24; shift >= 0; shift -= 8) key += static_cast<char>((count >> shift) & 0xFF);
  }
  key += digits;
}

void AppendTokens(std::string& key, std::string_view text) {
  // Character for character, digits untouched; plain ASCII, the usual case, without decoding.
  std::string folded;
  if (std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; })) {
    folded.assign(text);
    for (char& c : folded)
      if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + ('a' - 'A'));
  } else {
    folded = LowerCase(text);
  }
  const std::string_view s = folded;
  for (std::size_t at = 0; at < s.size();) {
    int value = 0;
    if (DigitAt(s, at, value) != 0) {
      AppendNumber(key, s, at);
      continue;
    }
    const std::size_t len = SequenceAt(s, at);
    if (len == 0) {
      key += kLetter;
      key += kBrokenByte;
      key += s[at++];
      continue;
    }
    const char c = s[at];
    const bool symbol = len == 1 && !(c >= 'a' && c <= 'z');
    key += symbol ? kSymbol : kLetter;
    key.append(s.substr(at, len));
    at += len;
  }
}

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

void AppendPathKey(std::string& key, std::string_view path) {
  for (;;) {
    const auto separator = std::find_if(path.begin(), path.end(), IsSeparator);
    const bool file = separator == path.end();
    key += file ? kFile : kFolder;
    AppendTokens(key, path.substr(0, static_cast<std::size_t>(separator - path.begin())));
    key += kEnd;
    if (file) return;
    path.remove_prefix(static_cast<std::size_t>(separator - path.begin()) + 1);
  }
}

std::string PathKey(std::string_view path) {
  std::string key;
  key.reserve(path.size() * 2 + 8);
  AppendPathKey(key, path);
  return key;
}

std::string NameKey(std::string_view name) {
  std::string key;
  AppendTokens(key, name);
  return key;
}

int Sign(auto a, auto b) { return a < b ? -1 : (a > b ? 1 : 0); }

// How many leading zeros the next number from `at` is written with; false when there is none.
bool NextNumberZeros(std::string_view s, std::size_t& at, std::size_t& zeros) {
  int value = 0;
  while (at < s.size() && DigitAt(s, at, value) == 0) ++at;
  if (at >= s.size()) return false;
  zeros = 0;
  std::size_t len = 0;
  while (at < s.size() && (len = DigitAt(s, at, value)) != 0 && value == 0) {
    ++zeros;
    at += len;
  }
  while (at < s.size() && (len = DigitAt(s, at, value)) != 0) at += len;
  return true;
}

// For texts whose keys are equal: the first number written with more leading zeros comes first,
// then the raw bytes decide. Equal keys mean the same numbers in the same places.
int CompareTies(std::string_view a, std::string_view b) {
  std::size_t at_a = 0, at_b = 0, zeros_a = 0, zeros_b = 0;
  while (NextNumberZeros(a, at_a, zeros_a) && NextNumberZeros(b, at_b, zeros_b)) {
    if (zeros_a != zeros_b) return Sign(zeros_b, zeros_a);
  }
  return Sign(a.compare(b), 0);
}

}  // namespace

int CompareNamesNaturally(std::string_view a, std::string_view b) {
  if (const int c = Sign(NameKey(a).compare(NameKey(b)), 0); c != 0) return c;
  return CompareTies(a, b);
}

int ComparePathsNaturally(std::string_view a, std::string_view b) {
  if (const int c = Sign(PathKey(a).compare(PathKey(b)), 0); c != 0) return c;
  return CompareTies(a, b);
}

void SortPathsNaturally(std::vector<std::string>& paths) {
  // Every key in one block, and the paths moved once into place: a large listing sorts without a
  // string per key or a second copy of itself.
  std::string keys;
  std::vector<std::size_t> ends;
  ends.reserve(paths.size());
  for (const std::string& path : paths) {
    AppendPathKey(keys, path);
    ends.push_back(keys.size());
  }
  std::vector<std::pair<std::string_view, std::size_t>> keyed;
  keyed.reserve(paths.size());
  for (std::size_t i = 0; i < paths.size(); ++i) {
    const std::size_t begin = i == 0 ? 0 : ends[i - 1];
    keyed.emplace_back(std::string_view(keys).substr(begin, ends[i] - begin), i);
  }
  ends = {};
  std::sort(keyed.begin(), keyed.end(), [&](const auto& x, const auto& y) {
    if (const int c = x.first.compare(y.first); c != 0) return c < 0;
    return CompareTies(paths[x.second], paths[y.second]) < 0;
  });
  std::vector<std::size_t> order(paths.size());
  for (std::size_t i = 0; i < order.size(); ++i) order[i] = keyed[i].second;
  keyed = {};
  // Follows each cycle of the permutation, so that every path moves once.
  for (std::size_t start = 0; start < order.size(); ++start) {
    if (order[start] == start) continue;
    std::string held = std::move(paths[start]);
    std::size_t at = start;
    while (order[at] != start) {
      const std::size_t from = order[at];
      paths[at] = std::move(paths[from]);
      order[at] = at;
      at = from;
    }
    paths[at] = std::move(held);
    order[at] = at;
  }
}

}  // namespace tessmoor
