#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tessmoor {

// One entry of a folder listing.
struct FolderEntry {
  std::string name;  // the bare name, as the system spells it
  bool is_folder = false;
  bool hidden = false;  // hidden or system: the shell's own views leave it out
  friend bool operator==(const FolderEntry&, const FolderEntry&) = default;
};

// A drive the system offers.
struct Drive {
  std::string root;   // "C:\\"
  std::string label;  // the volume label; empty when it has none or was not asked for
  friend bool operator==(const Drive&, const Drive&) = default;
};

// Paths are UTF-8; the Windows implementation uses the wide-character file API.
//
// Threads: FileExists, ReadFile, FolderExists, ListFolder and ListDrives keep no state between
// calls and may be called from any thread, several at once (the picture decoders read files on
// their own threads, and a folder can be listed in the background). FullPath depends on the
// process's current folder, which a file dialog may change: call it from the user-interface
// thread only. NameBefore is a pure comparison.
class FileSystem {
 public:
  virtual ~FileSystem() = default;
  // True when `path` names an existing file (not a folder). An empty path never exists.
  virtual bool FileExists(std::string_view path) = 0;
  // The whole file, or nothing when it cannot be read or is larger than `max_bytes`.
  virtual std::optional<std::vector<std::uint8_t>> ReadFile(std::string_view path,
                                                             std::size_t max_bytes) = 0;

  // The absolute form of `path`: a relative path is taken from the current folder, "X:" alone
  // names the folder last used on drive X, "." and ".." are resolved. Nothing when the system
  // cannot make one (an empty path, say).
  virtual std::optional<std::string> FullPath(std::string_view path) = 0;
  // True when `path` names an existing folder.
  virtual bool FolderExists(std::string_view path) = 0;
  // The files and folders directly in folder `path`, without "." and "..", in no particular
  // order: an empty list for an empty folder, nothing when the folder cannot be listed (it does
  // not exist, access is denied, the medium is gone).
  virtual std::optional<std::vector<FolderEntry>> ListFolder(std::string_view path) = 0;
  // The drives in the order of their letters. Only drives that answer at once (fixed disks) are
  // asked for their label: asking a drive without a medium can stall.
  virtual std::vector<Drive> ListDrives() = 0;
  // Whether the system's own lists put name `a` before name `b`: without regard to case, in the
  // user's language.
  virtual bool NameBefore(std::string_view a, std::string_view b) = 0;
};

}  // namespace tessmoor
