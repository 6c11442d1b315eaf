#pragma once
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_system.h"

namespace tessmoor {

// The root part of a full path with its backslash: 3 for "C:\..." (2 for "C:" alone), the whole
// "\\server\share\" of a UNC path; 0 for a path without a root.
std::size_t RootLength(std::string_view path);

// Whether file name `name` matches one of the patterns of `mask` ("*.jpg;*.jpeg;*.bmp"), without
// regard to case: `*` stands for any run of characters, `?` for one; blanks before a pattern are
// left out, and "*.*" matches every name.
bool MatchesMask(std::string_view name, std::string_view mask);

// The settings dialog's file browser without its controls: the drives, the current folder with
// the chain of folders from its drive root down to it, its sub-folders and the files that match
// the mask. Folder rows are what the folder list shows: the chain (each folder open, indented by
// its depth), then the current folder's visible sub-folders one level deeper, sorted as the
// system sorts names. Hidden and system entries are left out.
class FolderBrowserModel {
 public:
  struct DriveItem {
    std::string root;  // "C:\\"
    std::string text;  // what the drive list shows: "c:", or "c: [label]"
  };
  struct FolderRow {
    std::string name;  // the root "C:\\" for the first row
    int level = 0;
    bool open = false;  // the root, the folders on the way down and the current folder
  };
  enum class Outcome {
    kUnchanged,  // nothing to do: no valid choice, or the current folder's own entry
    kOpened,     // a new current folder: fill every list again
    kRefused,    // it could not be opened; the current folder stays (tell the user)
  };

  // Lists the drives once. `mask` is a list of patterns such as "*.jpg;*.jpeg;*.bmp".
  FolderBrowserModel(FileSystem& files, std::string mask);

  // Makes `folder` the current folder; false (and nothing changes) when it is no folder. A
  // folder that exists but cannot be listed opens with no rows below it and no files.
  bool OpenFolder(std::string_view folder);
  // The drive list's item `index` was chosen: its drive's current folder, or else its root,
  // becomes the current folder. Choosing the current folder's drive changes nothing.
  Outcome ChooseDrive(int index);
  // Opens folder row `index`.
  Outcome OpenRow(int index);

  const std::vector<DriveItem>& drives() const { return drives_; }
  // The drive of the current folder in drives(), -1 for none (a UNC path).
  int drive_index() const;
  // The current folder: "C:\\" at a drive root, otherwise without a trailing backslash.
  const std::string& folder() const { return folder_; }
  const std::vector<FolderRow>& rows() const { return rows_; }
  // The row of the current folder.
  int current_row() const { return static_cast<int>(chain_.size()) - 1; }
  const std::vector<std::string>& files() const { return files_; }
  // The full path of folder row `index`.
  std::string PathOf(std::size_t index) const;

 private:
  // The absolute form of a folder path, its root ending in a backslash and nothing else doing
  // so, the drive letter in capitals; empty when the system cannot make one.
  std::string FullFolderPath(std::string_view folder) const;
  void List();
  void Sort(std::vector<std::string>& names) const;

  FileSystem& fs_;
  std::string mask_;
  std::vector<DriveItem> drives_;
  std::string folder_;
  std::vector<std::string> chain_;  // the root ("C:\\"), then each folder on the way down
  std::vector<FolderRow> rows_;
  std::vector<std::string> files_;
};

}  // namespace tessmoor
