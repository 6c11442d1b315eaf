#include "tests/support/posix_files.h"

#include <dirent.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "tests/support/fakes.h"

namespace tessmoor::testing {

namespace fs = std::filesystem;

namespace {
fs::path Native(std::string_view path) {
  std::string p(path);
  std::replace(p.begin(), p.end(), '\\', '/');
  return fs::path(p);
}
}  // namespace

bool PosixFileSystem::FileExists(std::string_view path) {
  std::error_code error;
  return !path.empty() && fs::is_regular_file(Native(path), error);
}

std::optional<std::vector<std::uint8_t>> PosixFileSystem::ReadFile(std::string_view path, std::size_t max_bytes) {
  std::ifstream in(Native(path), std::ios::binary | std::ios::ate);
  if (!in) return std::nullopt;
  const std::streamoff size = in.tellg();
  if (size < 0 || static_cast<std::uint64_t>(size) > max_bytes) return std::nullopt;
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
  in.seekg(0);
  if (!in.read(reinterpret_cast<char*>(bytes.data()), size)) return std::nullopt;
  return bytes;
}

std::optional<std::string> PosixFileSystem::FullPath(std::string_view path) {
  std::error_code error;
  if (path.empty()) return std::nullopt;
  const fs::path full = fs::absolute(Native(path), error);
  if (error) return std::nullopt;
  return full.lexically_normal().string();
}

bool PosixFileSystem::FolderExists(std::string_view path) {
  std::error_code error;
  return !path.empty() && fs::is_directory(Native(path), error);
}

std::optional<std::vector<FolderEntry>> PosixFileSystem::ListFolder(std::string_view path) {
  // readdir itself, as the system's own listing costs: the standard library's iterator builds a
  // path object per entry, which would cost the walk more than the disk does.
  const fs::path folder = Native(path);
  DIR* dir = opendir(folder.c_str());
  if (dir == nullptr) return std::nullopt;
  std::vector<FolderEntry> entries;
  while (const dirent* entry = readdir(dir)) {
    const std::string_view name = entry->d_name;
    if (name == "." || name == "..") continue;
    bool is_folder = entry->d_type == DT_DIR;
    if (entry->d_type == DT_UNKNOWN || entry->d_type == DT_LNK) {
      std::error_code error;
      is_folder = fs::is_directory(folder / entry->d_name, error);
    }
    entries.push_back({std::string(name), is_folder, name.front() == '.'});
  }
  closedir(dir);
  return entries;
}

bool PosixFileSystem::NameBefore(std::string_view a, std::string_view b) { return NameBeforeIgnoringCase(a, b); }

}  // namespace tessmoor::testing
