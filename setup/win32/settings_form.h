#pragma once
#include <windows.h>

#include <memory>
#include <optional>
#include <vector>

#include "app/settings.h"
#include "platform/file_system.h"
#include "platform/image/picture_decoder.h"
#include "platform/store.h"
#include "platform/win32/handles.h"
#include "platform/win32/picture_box.h"
#include "platform/win32/table_form.h"
#include "setup/music_dialog_model.h"
#include "setup/settings_dialog_layout.h"
#include "setup/settings_dialog_model.h"
#include "setup/win32/dialog_context.h"
#include "setup/win32/folder_browser.h"
#include "setup/win32/folder_preview_threads.h"
#include "setup/win32/settings_file_drag.h"

namespace tessmoor {

// The settings dialog `TScrSetUpForm`, the main window of a configuration run: its controls are
// built from SettingsDialogControls() (control ids in settings_ids.h), every user action goes to
// its SettingsDialogModel, and the model's requests come back through the view below. Closing it
// ends the message loop.
class TScrSetUpForm : public win32::TableForm<SettingsRole> {
 public:
  // Builds the window and its controls, lets the model read the store (which places the window
  // and fills the controls) and shows it. `owner` is the window that asked for the settings (the
  // display settings' window), or nullptr. Throws when the window cannot be created.
  TScrSetUpForm(KeyValueStore& store, FileSystem& files, HWND owner);

 protected:
  void OnControl(const Row& row, int code, HWND control) override;
  LRESULT OnControlNotify(const Row& row, const NMHDR& header) override;
  void OnOtherCommand(int id, int code) override;
  void OnCloseRequest() override;
  void OnDestroy() override;
  void OnRescale() override;
  LRESULT OnMessage(UINT message, WPARAM wparam, LPARAM lparam) override;

 private:
  class View final : public SettingsDialogView {
   public:
    explicit View(TScrSetUpForm& form) : form_(form) {}
    void MoveTo(int x, int y) override;
    Point WindowOrigin() override;
    void SelectPattern(bool pattern2) override;
    void SelectMusicPlay(bool play) override;
    void ShowBoxPicture(int box, const PicturePlacement& placement, Picture picture) override;
    void ClearBoxPicture(int box) override;
    void MarkBoxFolder(int box, std::optional<std::size_t> pictures) override;
    void ShowFilePreview(const PicturePlacement& placement, Picture picture) override;
    void ClearFilePreview() override;
    void ShowPictureError(std::string_view path, std::string_view reason) override;
    std::optional<std::string> ChoosePictureFile(int box, std::string_view initial_folder) override;
    void CloseWindow() override;
    void ShowSaveFailure(std::uint32_t error) override;
    int DotsPerInch() override;

   private:
    TScrSetUpForm& form_;
  };

  // The menu bar: the extended settings and the version dialog.
  void AddMenuBar();
  // The twelve slot tabs of each box, and the colour their pages paint the box pictures on.
  void FillBoxTabs();
  void StartBrowser();
  // Puts the picture control of (role, index) at its design place with `size` (96 DPI) and
  // draws `picture`, if any, into `drawn`.
  void PlacePicture(SettingsRole role, int index, Size size, std::optional<Picture> picture, const Rect& drawn);
  int BoxOfPicture(HWND hwnd) const;
  void FileListClick();
  void DropOnBox(HWND target);
  void DropFolderOnBox(HWND target);
  using Factory = std::unique_ptr<win32::Window> (*)(const DialogContext&);
  // Creates a new instance of another dialog; a factory without a dialog yet gives none.
  void OpenDialog(Factory factory);

  Settings settings_;
  FileSystem& files_;
  View view_{*this};
  COLORREF page_colour_ = GetSysColor(COLOR_BTNFACE);
  win32::UniqueBrush page_brush_;
  std::unique_ptr<FolderBrowser> browser_;
  std::unique_ptr<FileListDrag> drag_;
  std::unique_ptr<FileListDrag> folder_drag_;
  std::unique_ptr<FolderPreviewThreads> folder_previews_;
  std::unique_ptr<SettingsDialogModel> model_;
  std::shared_ptr<MusicPaths> music_paths_ = std::make_shared<MusicPaths>();
  // What every preview decodes with; its extensions make the file list's mask and the
  // open-picture dialog's filters.
  // Shared with the threads that preview folders, which may outlive the window.
  std::shared_ptr<const PictureDecoder> decoder_;
  std::vector<OwnedFileFilter> picture_filters_;
  // Every dialog opened from here; closed ones are hidden and stay until this one goes.
  std::vector<std::unique_ptr<win32::Window>> dialogs_;
};

}  // namespace tessmoor
