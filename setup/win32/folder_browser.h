#pragma once
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "platform/win32/controls.h"

namespace tessmoor {

// The settings dialog's file browser over three controls the dialog owns: a drop-down list of
// the drives, a folder list and a file list. The folder list shows the path from the drive root
// down to the current folder, then the current folder's sub-folders one level deeper; opening
// an entry (double click or Enter) makes it the current folder. The file list holds the current
// folder's files that match the mask.
class FolderBrowser {
 public:
  // `folder_list` is an owner-drawn list (LBS_OWNERDRAWFIXED | LBS_HASSTRINGS) whose parent
  // forwards WM_DRAWITEM to DrawFolderItem. `mask` is a list of patterns such as
  // "*.jpg;*.jpeg;*.bmp".
  FolderBrowser(HWND drive_list, HWND folder_list, HWND file_list, std::wstring mask,
                win32::DpiScale scale);
  ~FolderBrowser();
  FolderBrowser(const FolderBrowser&) = delete;
  FolderBrowser& operator=(const FolderBrowser&) = delete;

  // Makes `folder` the current folder; false (and nothing changes) when it cannot be listed.
  bool OpenFolder(const std::wstring& folder);
  // The drive list's choice changed: goes to that drive's current folder, or back to the
  // drive it was on when the drive cannot be read (a drive without a medium).
  void DriveChanged();
  // Opens the folder list's selected entry.
  void OpenSelectedFolder();

  // The current folder: "C:\" at a drive root, otherwise without a trailing backslash.
  const std::wstring& folder() const { return folder_; }
  // The file list's selected item, a bare file name; nothing when none is selected.
  std::optional<std::wstring> SelectedFile() const;

  void DrawFolderItem(const DRAWITEMSTRUCT& item) const;
  HWND folder_list() const { return folders_.hwnd(); }

 private:
  struct Entry {
    std::wstring name;
    int level = 0;
    bool open = false;  // the root, the folders on the way down and the current folder
  };

  // Enter in the folder list opens the selected entry; the list is subclassed for it.
  static LRESULT CALLBACK FolderListProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR id,
                                         DWORD_PTR self);
  void FillDrives();
  void SelectDriveOf(const std::wstring& folder) const;
  void FillFolders();
  void FillFiles();
  // The full path of folder-list entry `index`.
  std::wstring PathOf(std::size_t index) const;

  win32::ComboBox drives_;
  win32::ListBox folders_;
  win32::ListBox files_;
  std::wstring mask_;
  win32::DpiScale scale_;
  std::vector<std::wstring> drive_roots_;  // "C:\", one per drive-list item
  std::wstring folder_;
  std::vector<std::wstring> chain_;  // the root ("C:\"), then each folder on the way down
  std::vector<Entry> entries_;
};

}  // namespace tessmoor
