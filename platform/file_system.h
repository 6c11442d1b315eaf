#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace tessmoor {

// Paths are UTF-8; the Windows implementation uses the wide-character file API.
class FileSystem {
 public:
  virtual ~FileSystem() = default;
  // True when `path` names an existing file (not a folder). An empty path never exists.
  virtual bool FileExists(std::string_view path) = 0;
  // The whole file, or nothing when it cannot be read or is larger than `max_bytes`.
  virtual std::optional<std::vector<std::uint8_t>> ReadFile(std::string_view path,
                                                             std::size_t max_bytes) = 0;
};

}  // namespace tessmoor
