#pragma once
#include <optional>
#include <string>
#include <string_view>

#include "platform/store.h"

namespace tessmoor {

// What every read passes as its default: a key that reads back as this text is treated as never
// set, even when the text itself is what is stored.
inline constexpr std::string_view kNotSet = "non";

// A decimal integer: optional sign, digits only, within the range of int. Anything else
// (empty text, spaces, "1.5", "0x10", overflow) gives nothing.
std::optional<int> ParseDecimal(std::string_view text);

// `text` as a number, or `fallback` converted when `text` is not a decimal integer. A damaged
// value never stops a reader; it keeps its stored text until a dialog saves over it.
int NumberOr(std::string_view text, std::string_view fallback);
int NumberOr(std::string_view text, int fallback);

// Read-or-initialise access to the store, driven by the key table.
class Settings {
 public:
  explicit Settings(KeyValueStore& store) : store_(store) {}

  // The stored text; when the key is not set, its first-run value from the key table is written
  // and returned.
  std::string Read(std::string_view key);
  // The same with the reader's own first-run value.
  std::string Read(std::string_view key, std::string_view first_run);
  // The key read as a number; a text that is not a decimal integer gives the key's first-run
  // value (and is left in the store as it is).
  int ReadNumber(std::string_view key);
  // The raw stored text, or kNotSet. Writes nothing.
  std::string Peek(std::string_view key);
  bool Write(std::string_view key, std::string_view value);
  bool Write(std::string_view key, int value);

  // The key table's first-run value of `key` (empty for a name outside the table).
  static std::string FirstRun(std::string_view key);

 private:
  KeyValueStore& store_;
};

}  // namespace tessmoor
