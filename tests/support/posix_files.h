#pragma once
#include "platform/file_system.h"

namespace tessmoor::testing {

// The real disk of the machine that runs the native tests and benchmarks, through the standard
// library. Paths may be written with '\\' as the show writes them: each is a '/'. Names that begin
// with a dot count as hidden. Safe to use from several threads.
class PosixFileSystem : public FileSystem {
 public:
  bool FileExists(std::string_view path) override;
  std::optional<std::vector<std::uint8_t>> ReadFile(std::string_view path, std::size_t max_bytes) override;
  std::optional<std::string> FullPath(std::string_view path) override;
  bool FolderExists(std::string_view path) override;
  std::optional<std::vector<FolderEntry>> ListFolder(std::string_view path) override;
  std::vector<Drive> ListDrives() override { return {{"/", ""}}; }
  bool NameBefore(std::string_view a, std::string_view b) override;
};

}  // namespace tessmoor::testing
