#pragma once
#include <cstdint>
#include <string>
#include <string_view>

namespace tessmoor {

// What a key of the store holds.
struct StoredValue {
  enum class Kind {
    kAbsent,   // never set (or not readable at all)
    kText,     // a text value
    kNotText,  // set, but with a value of another kind (a number an administrator's script put
               // there, say): readers use their first-run value and leave it as it is
  };
  Kind kind = Kind::kAbsent;
  std::string text;  // kText only
};

// What became of a write: written, or refused with the system's error number (5 for a key the
// user may not change, 1010 or 14 for a full registry, ...).
struct WriteResult {
  std::uint32_t error = 0;  // 0: written
  bool written() const { return error == 0; }
  explicit operator bool() const { return written(); }
};

// The persistent settings: one text value per key in one location of the current user's
// registry. Values are UTF-8 here; the Windows implementation converts at its boundary.
class KeyValueStore {
 public:
  virtual ~KeyValueStore() = default;
  virtual StoredValue Read(std::string_view key) = 0;
  virtual WriteResult WriteString(std::string_view key, std::string_view value) = 0;
};

}  // namespace tessmoor
