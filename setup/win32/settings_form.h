#pragma once
#include <windows.h>

#include <array>
#include <memory>
#include <optional>
#include <vector>

#include "app/settings.h"
#include "platform/file_system.h"
#include "platform/store.h"
#include "platform/win32/form.h"
#include "platform/win32/handles.h"
#include "platform/win32/picture_box.h"
#include "setup/music_dialog_model.h"
#include "setup/settings_dialog_layout.h"
#include "setup/settings_dialog_model.h"
#include "setup/win32/dialog_context.h"
#include "setup/win32/folder_browser.h"
#include "setup/win32/settings_file_drag.h"

namespace tessmoor {

// The settings dialog `TScrSetUpForm`, the main window of a configuration run: its controls are
// built from SettingsDialogControls() (control ids in settings_ids.h), every user action goes to
// its SettingsDialogModel, and the model's requests come back through the view below. Closing it
// ends the message loop.
class TScrSetUpForm final : public win32::Form {
 public:
  // Builds the window and its controls, lets the model read the store (which places the window
  // and fills the controls) and shows it. `owner` is the window that asked for the settings (the
  // display settings' window), or nullptr. Throws when the window cannot be created.
  TScrSetUpForm(KeyValueStore& store, FileSystem& files, HWND owner);
  ~TScrSetUpForm() override;

 protected:
  void OnCommand(int id, int code, HWND control) override;
  LRESULT OnNotify(const NMHDR& header) override;
  void OnCloseRequest() override;
  void OnDestroy() override;
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
    void ShowFilePreview(const PicturePlacement& placement, Picture picture) override;
    void ClearFilePreview() override;
    void ShowPictureError(std::string_view path, std::string_view reason) override;
    std::optional<std::string> ChoosePictureFile(int box, std::string_view initial_folder) override;
    void CloseWindow() override;
    int DotsPerInch() override;

   private:
    TScrSetUpForm& form_;
  };

  // One built control per row of the layout table.
  struct Built {
    HWND hwnd = nullptr;
    POINT origin{};  // at 96 DPI, in the form's client coordinates
  };

  void BuildControls();
  HWND AddRow(const ControlSpec<SettingsRole>& row, int id, POINT origin);
  std::optional<std::size_t> RowOfId(int id) const;
  std::optional<std::size_t> RowOf(SettingsRole role, int index = 0) const;
  HWND ControlOf(SettingsRole role, int index = 0) const;
  // Checks the radio button of `row` and clears the others of its group.
  void CheckRadio(std::size_t row) const;
  // Puts a picture control at its design place with `size` (96 DPI) and draws `picture`, if
  // any, into `drawn`.
  void PlacePicture(win32::PictureBox& box, SettingsRole role, int index, Size size,
                    std::optional<Picture> picture, const Rect& drawn) const;
  win32::PictureBox* BoxPicture(int box) const;
  int BoxOfPicture(HWND hwnd) const;
  void FileListClick();
  void DropOnBox(HWND target);
  using Factory = std::unique_ptr<win32::Window> (*)(const DialogContext&);
  // Creates a new instance of another dialog; a factory without a dialog yet gives none.
  void OpenDialog(Factory factory);

  Settings settings_;
  FileSystem& files_;
  View view_{*this};
  std::vector<Built> built_;
  std::array<std::unique_ptr<win32::PictureBox>, 4> box_pictures_;
  std::unique_ptr<win32::PictureBox> preview_;
  COLORREF page_colour_ = GetSysColor(COLOR_BTNFACE);
  win32::UniqueBrush page_brush_;
  std::unique_ptr<FolderBrowser> browser_;
  std::unique_ptr<FileListDrag> drag_;
  std::unique_ptr<SettingsDialogModel> model_;
  std::shared_ptr<MusicPaths> music_paths_ = std::make_shared<MusicPaths>();
  // Every dialog opened from here; closed ones are hidden and stay until this one goes.
  std::vector<std::unique_ptr<win32::Window>> dialogs_;
};

// The owner a "/c:<handle>" start names: the window whose decimal handle follows "/c:" in the
// first argument of this process's command line, when that is a window; nullptr otherwise.
HWND SettingsOwnerFromCommandLine();

}  // namespace tessmoor
