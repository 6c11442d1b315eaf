#pragma once
#include <windows.h>

#include <optional>
#include <string>

#include "platform/win32/controls.h"
#include "platform/win32/file_system_win32.h"
#include "setup/folder_browser_model.h"

namespace tessmoor {

// The settings dialog's file browser over three controls the dialog owns: a drop-down list of
// the drives, a folder list and a file list, filled from a FolderBrowserModel. The folder list
// shows the path from the drive root down to the current folder, then the current folder's
// sub-folders one level deeper; opening an entry (double click or Enter) makes it the current
// folder. The file list holds the current folder's files that match the mask.
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
  // The full path of the folder list's selected row; nothing when none is selected.
  std::optional<std::wstring> SelectedFolder() const;

  void DrawFolderItem(const DRAWITEMSTRUCT& item) const;
  HWND folder_list() const { return folders_.hwnd(); }
  // The dialog's DPI changed (the lists have their new fonts): folder rows drawn at the new scale.
  void Rescale(win32::DpiScale scale);

 private:
  // Enter in the folder list opens the selected entry; the list is subclassed for it.
  static LRESULT CALLBACK FolderListProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR id,
                                         DWORD_PTR self);
  // Shows what the model did: a new folder, or a beep when it refused.
  void Apply(FolderBrowserModel::Outcome outcome);
  // Fills the three controls from the model after it opened a folder.
  void Show();
  // The folder list's rows: as high as its font's text, at least 16 pixels at 96 DPI.
  void SetItemHeight() const;

  win32::ComboBox drives_;
  win32::ListBox folders_;
  win32::ListBox files_;
  win32::DpiScale scale_;
  win32::Win32FileSystem file_system_;
  FolderBrowserModel model_;
  std::wstring folder_;
};

}  // namespace tessmoor
