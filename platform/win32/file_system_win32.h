#pragma once
#include "platform/file_system.h"

namespace tessmoor::win32 {

class Win32FileSystem final : public FileSystem {
 public:
  bool FileExists(std::string_view path) override;
  std::optional<std::vector<std::uint8_t>> ReadFile(std::string_view path,
                                                     std::size_t max_bytes) override;
};

}  // namespace tessmoor::win32
