#pragma once
#include <string>
#include <string_view>

namespace tessmoor {

// The persistent settings: one text value per key in one location of the current user's
// registry. Values are UTF-8 here; the Windows implementation converts at its boundary.
class KeyValueStore {
 public:
  virtual ~KeyValueStore() = default;
  // The stored text, or `fallback` when the key is absent or holds no readable text.
  virtual std::string ReadString(std::string_view key, std::string_view fallback) = 0;
  // False when the value could not be written.
  virtual bool WriteString(std::string_view key, std::string_view value) = 0;
};

}  // namespace tessmoor
