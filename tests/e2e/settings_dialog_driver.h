#pragma once
#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "tests/e2e/harness.h"

// Driving the real settings dialog from the test program: its controls found by their names in
// the dialog's layout table, clicked, switched and filled with the messages a user's actions
// produce, and the mouse moved with SendInput where only real input will do (the drag).
namespace tessmoor::e2e {

inline constexpr const wchar_t* kSettingsTitle = L"設定";

// The settings key of box b's slot s.
std::wstring ImageKey(int box, int slot);
// The pictures of these tests, in a folder of their own: names in mixed case, files the file list
// must leave out, a sub-folder and files that are no pictures at all though named as ones.
struct PictureFiles {
  std::wstring folder, quad, sea, tall, small, square, yellow, broken;
};
const PictureFiles& SettingsPictures();

bool HasSize(const SIZE& size, int width, int height);
std::string SizeText(const SIZE& size);

class SettingsDialogDriver {
 public:
  explicit SettingsDialogDriver(HWND dialog) : dialog_(dialog) {}
  HWND hwnd() const { return dialog_; }
  // The process of the dialog, where the dialogs it opens live too.
  DWORD pid() const { return ProcessOf(dialog_); }

  // The control of this layout name, e.g. "CancelButton"; nullptr when the dialog has none.
  HWND Control(std::string_view name) const;
  // Box b's controls: "" the tab control, "NoImage" the picture, "NoImageButton" the open
  // button, "NoImageClearButton" the clear button.
  HWND BoxControl(int box, std::string_view part) const;

  // A control's rectangle in the dialog's client coordinates.
  RECT ClientRect(HWND control) const;
  SIZE SizeOf(HWND control) const;
  bool Checked(HWND button) const;

  // Chooses the menu bar's item `menu_id` as a user would; the dialog titled `title` that it
  // opened, or nullptr with a test failure when none did.
  HWND OpenFromMenu(int menu_id, const wchar_t* title) const;

  // BM_CLICK, returning when the dialog has handled it.
  void Click(HWND button) const;
  // BM_CLICK posted: for a button whose handler runs a modal dialog or closes this one.
  void PostClick(HWND button) const;
  void SelectTab(int box, int index) const;
  // A command notification as the control would send it.
  void Notify(HWND control, int code) const;

  std::vector<std::wstring> Items(HWND list) const;  // list box items
  void SelectItem(HWND list, int index) const;
  std::vector<std::wstring> DriveItems() const;
  // Chooses the drive of `folder` and opens the folders down to it, as a user would with the
  // drive list and double clicks in the folder list. False when a folder is not offered.
  bool OpenFolder(const std::wstring& folder) const;
  // Clicks file `name` in the file list (its selection and the notification a click sends).
  bool ClickFile(const std::wstring& name) const;
  // The cursor over the file list before the press, and while the button is held: just after
  // the drag started, still over the list, and over the target just before the release.
  struct DragCursors {
    HCURSOR before = nullptr;
    HCURSOR over_list = nullptr;
    HCURSOR over_target = nullptr;
  };
  // Drags file `name` from the file list onto box b's picture with real mouse input, until
  // `done` says it arrived (a lost input is retried).
  bool DragFileToBox(const std::wstring& name, int box, const std::function<bool()>& done,
                     DragCursors* cursors = nullptr) const;
  // The same for folder `name` of the folder list.
  bool DragFolderToBox(const std::wstring& name, int box, const std::function<bool()>& done) const;
  // Double-clicks folder `name` of the folder list with real mouse input, until `done`.
  bool DoubleClickFolder(const std::wstring& name, const std::function<bool()>& done) const;

 private:
  // The middle of the left end of list item `name` on the screen, scrolled into view.
  std::optional<POINT> ItemOnScreen(HWND list, const std::wstring& name) const;
  bool DragItemToBox(HWND list, const std::wstring& name, int box, const std::function<bool()>& done,
                     DragCursors* cursors) const;
  HWND dialog_;
};

// The first visible window of class `window_class` that `owner` owns, waiting up to `timeout`.
HWND WaitOwnedWindow(HWND owner, const wchar_t* window_class, std::chrono::milliseconds timeout);

// What the open-picture dialog showed: the folder it started in, as its folder list names it,
// and its list of file types.
struct OpenDialogSeen {
  std::wstring look_in;
  std::vector<std::wstring> filters;
};
// Runs box b's open-picture dialog: presses "開く", types `path` into the dialog's file name
// field and presses its OK button, or with an empty `path` presses its cancel button. False when
// the dialog did not appear or did not close.
bool ChooseFileInOpenDialog(const SettingsDialogDriver& dialog, int box, const std::wstring& path,
                            OpenDialogSeen* seen = nullptr);

// The tests of the settings dialog start from an empty store, with the mouse out of the way.
class SettingsDialog : public ::testing::Test {
 protected:
  static constexpr std::chrono::seconds kStart{15};
  static constexpr std::chrono::seconds kExit{10};

  void SetUp() override;
  // Starts the module with `args` and waits for the dialog; nullptr when it never appears.
  HWND Open(std::unique_ptr<Module>& module, const std::wstring& args = L"/c");
  static HWND BoxPicture(const SettingsDialogDriver& d, int box) { return d.BoxControl(box, "NoImage"); }
};

// The tests of the dialogs that the settings dialog opens also start from an empty store; each
// first sets up the store, then opens the settings dialog of a "/c" run.
class FromSettingsDialog : public ::testing::Test {
 protected:
  void SetUp() override;
  // Starts the configuration run, of the copy of the module at `module_path` when one is given,
  // and waits for its settings dialog. False, with a failure that says so, when it does not open.
  bool OpenSettings(const std::wstring& module_path = {});

  std::unique_ptr<Module> module_;
  std::optional<SettingsDialogDriver> settings_;
};

}  // namespace tessmoor::e2e
