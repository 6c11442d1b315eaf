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

// A stored number: leading spaces, an optional sign, then decimal digits or `$` and hexadecimal
// digits ("  42", "-17", "$1F", "-$10"), within the range of int. Anything else (trailing text,
// "0x10", "1.5", overflow) gives nothing.
std::optional<int> ParseNumber(std::string_view text);

// Read-or-initialise access to the store, driven by the key table. A key whose value is not text
// reads as its first-run value and is left as it is, like a damaged text.
class Settings {
 public:
  explicit Settings(KeyValueStore& store) : store_(store) {}

  // The stored text; when the key is not set, its first-run value from the key table is written
  // and returned.
  std::string Read(std::string_view key);
  // The same with the reader's own first-run value.
  std::string Read(std::string_view key, std::string_view first_run);
  // The key read as a number; a text that is not a number gives the key's first-run value (and
  // is left in the store as it is). A number outside the key's range is returned as it is.
  int ReadNumber(std::string_view key);
  // A switch key (the table gives its texts) read as on or off.
  bool ReadSwitch(std::string_view key);
  // The stored text, or kNotSet when the key is not set. Writes nothing.
  std::string Peek(std::string_view key);
  WriteResult Write(std::string_view key, std::string_view value);
  WriteResult Write(std::string_view key, int value);
  // Writes a switch key's text for `on`; a key without switch texts is refused as an invalid
  // parameter, without a write.
  WriteResult WriteSwitch(std::string_view key, bool on);

  // The key table's first-run value of `key` (empty for a name outside the table).
  static std::string FirstRun(std::string_view key);
  // The number a damaged text of `key` stands for.
  static int FirstRunNumber(std::string_view key);

 private:
  KeyValueStore& store_;
};

}  // namespace tessmoor
