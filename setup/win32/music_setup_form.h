#pragma once
#include <windows.h>

#include <array>
#include <memory>
#include <string>
#include <string_view>

#include "app/settings.h"
#include "platform/file_system.h"
#include "platform/win32/controls.h"
#include "platform/win32/form.h"
#include "platform/win32/handles.h"
#include "platform/win32/mci_player.h"
#include "setup/music_dialog_model.h"

namespace tessmoor {

// The music dialog: five music slots (a check box captioned with the slot's file, "....", "X" and
// a loudspeaker that previews the file), the crossed-out loudspeaker that stops a preview, and
// "設定の保存" / "キャンセル". Its preview player is its own and notifies this window. Closing it
// (save, cancel, the close box) stops the preview and hides the window; the object lives on
// until its owner destroys it.
class TMusicSetUpForm final : public win32::Form, public MusicDialogView {
 public:
  // Builds the window hidden at its design place, owned by `owner` (the settings dialog), and
  // reads the slots from the store into `paths`, which every open music dialog shares.
  TMusicSetUpForm(Settings& settings, FileSystem& files, HWND owner,
                  std::shared_ptr<MusicPaths> paths);
  ~TMusicSetUpForm() override;

  // Shows the window modeless and activates it.
  void Show();

  // Control ids; slot n's controls are the base + n.
  static constexpr int kCheckBoxId = 100;
  static constexpr int kOpenButtonId = 110;
  static constexpr int kEraseButtonId = 120;
  static constexpr int kPlayButtonId = 130;
  static constexpr int kStopButtonId = 140;
  static constexpr int kSaveButtonId = 141;
  static constexpr int kCancelButtonId = 142;

 protected:
  void OnCommand(int id, int code, HWND control) override;
  void OnCloseRequest() override;
  LRESULT OnMessage(UINT message, WPARAM wparam, LPARAM lparam) override;

 private:
  void FormCreate();
  void CreateControls();

  // MusicDialogView
  void ShowCaption(int slot, std::string_view caption) override;
  void ShowTicked(int slot, bool ticked) override;
  void ShowButtons(const MusicButtonStates& states) override;
  std::string ChooseMusicFile() override;
  void HideWindow() override;

  Settings& settings_;
  FileSystem& files_;
  std::shared_ptr<MusicPaths> paths_;
  std::array<win32::Button, kMusicDialogSlots> check_boxes_;
  std::array<win32::Button, kMusicDialogSlots> open_buttons_;
  std::array<win32::Button, kMusicDialogSlots> play_buttons_;
  win32::Button stop_button_;
  // The loudspeakers; a disabled button greys its icon itself.
  win32::UniqueIcon play_glyph_, stop_glyph_;
  // The open dialog starts where its last use in this dialog ended.
  std::wstring last_folder_;
  std::unique_ptr<win32::MciPlayer> player_;  // `MusicMediaPlayer`
  std::unique_ptr<MusicDialogModel> model_;
};

}  // namespace tessmoor
