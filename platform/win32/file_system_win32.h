#pragma once
#include "platform/file_system.h"

namespace tessmoor::win32 {

class Win32FileSystem final : public FileSystem {
 public:
  bool FileExists(std::string_view path) override;
  std::optional<std::vector<std::uint8_t>> ReadFile(std::string_view path,
                                                     std::size_t max_bytes) override;
  std::optional<std::string> FullPath(std::string_view path) override;
  bool FolderExists(std::string_view path) override;
  // FindFirstFileExW over "<path>\*".
  std::optional<std::vector<FolderEntry>> ListFolder(std::string_view path) override;
  std::vector<Drive> ListDrives() override;
  // CompareStringW in the user's locale, ignoring case, as the shell sorts.
  bool NameBefore(std::string_view a, std::string_view b) override;
};

}  // namespace tessmoor::win32
