#include "platform/natural_order.h"

#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/text.h"

namespace tessmoor {

namespace {

// Kinds in the order they sort in.
enum class Kind { kSymbol, kNumber, kLetter };

struct Token {
  Kind kind = Kind::kLetter;
  char32_t code = 0;               // folded code point of a symbol or letter
  std::string_view digits;         // a number's digits after its leading zeros
  std::size_t significant = 0;     // how many digits `digits` holds
  std::size_t zeros = 0;           // how many leading zeros the number is written with
};

constexpr char32_t kBrokenByte = 0x110000;  // past every code point

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

// One UTF-8 sequence at `i`; a byte that does not start a valid sequence is one character of
// its own, after every code point.
std::size_t CodePointAt(std::string_view s, std::size_t i, char32_t& c) {
  const auto b0 = static_cast<unsigned char>(s[i]);
  const std::size_t len = b0 < 0x80 ? 1 : (b0 >> 5) == 6 ? 2 : (b0 >> 4) == 14 ? 3 : (b0 >> 3) == 30 ? 4 : 0;
  if (len == 0 || i + len > s.size()) {
    c = kBrokenByte + b0;
    return 1;
  }
  c = len == 1 ? b0 : len == 2 ? (b0 & 0x1F) : len == 3 ? (b0 & 0x0F) : (b0 & 0x07);
  for (std::size_t k = 1; k < len; ++k) {
    const auto b = static_cast<unsigned char>(s[i + k]);
    if ((b & 0xC0) != 0x80) {
      c = kBrokenByte + b0;
      return 1;
    }
    c = (c << 6) | (b & 0x3F);
  }
  return len;
}

char32_t Folded(std::string_view s, std::size_t i, std::size_t len, char32_t c) {
  if (c < 0x80) return (c >= U'A' && c <= U'Z') ? c + 32 : c;
  if (c >= kBrokenByte) return c;
  // The folding table lives in one place; a single character's text stays in the small-string
  // buffer, so this allocates nothing.
  const std::string lower = LowerCase(s.substr(i, len));
  char32_t folded = c;
  CodePointAt(lower, 0, folded);
  return folded;
}

class Tokens {
 public:
  explicit Tokens(std::string_view s) : s_(s) {}

  bool Next(Token& t) {
    if (at_ >= s_.size()) return false;
    int value = 0;
    if (DigitAt(s_, at_, value) != 0) {
      t = Token{};
      t.kind = Kind::kNumber;
      std::size_t len = 0;
      while (at_ < s_.size() && (len = DigitAt(s_, at_, value)) != 0 && value == 0 && t.significant == 0) {
        ++t.zeros;
        at_ += len;
      }
      const std::size_t start = at_;
      while (at_ < s_.size() && (len = DigitAt(s_, at_, value)) != 0) {
        ++t.significant;
        at_ += len;
      }
      t.digits = s_.substr(start, at_ - start);
      return true;
    }
    char32_t c = 0;
    const std::size_t len = CodePointAt(s_, at_, c);
    t = Token{};
    t.code = Folded(s_, at_, len, c);
    const bool ascii_letter = (t.code >= U'a' && t.code <= U'z');
    t.kind = (c < 0x80 && !ascii_letter) ? Kind::kSymbol : Kind::kLetter;
    at_ += len;
    return true;
  }

 private:
  std::string_view s_;
  std::size_t at_ = 0;
};

int Sign(auto a, auto b) { return a < b ? -1 : (a > b ? 1 : 0); }

int CompareNumbers(const Token& a, const Token& b) {
  if (a.significant != b.significant) return Sign(a.significant, b.significant);
  std::size_t i = 0, j = 0;
  while (i < a.digits.size() && j < b.digits.size()) {
    int da = 0, db = 0;
    i += DigitAt(a.digits, i, da);
    j += DigitAt(b.digits, j, db);
    if (da != db) return Sign(da, db);
  }
  return 0;
}

int CompareTokens(const Token& a, const Token& b) {
  if (a.kind != b.kind) return Sign(static_cast<int>(a.kind), static_cast<int>(b.kind));
  if (a.kind == Kind::kNumber) return CompareNumbers(a, b);
  return Sign(a.code, b.code);
}

// Case and leading zeros left aside.
int ComparePrimary(std::string_view a, std::string_view b) {
  Tokens ta(a), tb(b);
  Token x, y;
  for (;;) {
    const bool more_a = ta.Next(x), more_b = tb.Next(y);
    if (!more_a || !more_b) return Sign(more_a, more_b);
    if (const int c = CompareTokens(x, y); c != 0) return c;
  }
}

// For texts equal but for case and leading zeros: the first number with more zeros comes first,
// then the raw bytes decide.
int CompareTieBreaks(std::string_view a, std::string_view b) {
  Tokens ta(a), tb(b);
  Token x, y;
  while (ta.Next(x) && tb.Next(y)) {
    if (x.kind == Kind::kNumber && y.kind == Kind::kNumber && x.zeros != y.zeros) return Sign(y.zeros, x.zeros);
  }
  return Sign(a.compare(b), 0);
}

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

// The component of `path` that starts at `at`, and whether it is the last one (the file).
std::string_view ComponentAt(std::string_view path, std::size_t at, bool& last) {
  std::size_t end = at;
  while (end < path.size() && !IsSeparator(path[end])) ++end;
  last = end >= path.size();
  return path.substr(at, end - at);
}

}  // namespace

int CompareNamesNaturally(std::string_view a, std::string_view b) {
  if (const int c = ComparePrimary(a, b); c != 0) return c;
  return CompareTieBreaks(a, b);
}

int ComparePathsNaturally(std::string_view a, std::string_view b) {
  std::size_t at_a = 0, at_b = 0;
  for (;;) {
    bool file_a = false, file_b = false;
    const std::string_view name_a = ComponentAt(a, at_a, file_a);
    const std::string_view name_b = ComponentAt(b, at_b, file_b);
    if (file_a != file_b) return file_a ? -1 : 1;
    if (const int c = ComparePrimary(name_a, name_b); c != 0) return c;
    if (file_a) break;
    at_a += name_a.size() + 1;
    at_b += name_b.size() + 1;
  }
  return CompareTieBreaks(a, b);
}

}  // namespace tessmoor
