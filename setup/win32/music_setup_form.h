#pragma once
#include <windows.h>

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "app/settings.h"
#include "platform/file_system.h"
#include "platform/win32/handles.h"
#include "platform/win32/mci_player.h"
#include "platform/win32/table_form.h"
#include "setup/music_dialog_layout.h"
#include "setup/music_dialog_model.h"

namespace tessmoor {

// The music dialog's window, built from MusicDialogControls(). Its preview player is its own and
// notifies this window. Closing it (save, cancel, the close box) stops the preview and hides the
// window; the object lives on until its owner destroys it.
class TMusicSetUpForm : public win32::TableForm<MusicRole>, public MusicDialogView {
 public:
  // Builds the window hidden at its design place, owned by `owner` (the settings dialog), and
  // reads the slots from the store into `paths`, which every open music dialog shares.
  TMusicSetUpForm(Settings& settings, FileSystem& files, HWND owner, std::shared_ptr<MusicPaths> paths);

  // Shows the window modeless and activates it.
  void Show();

  // Control ids; slot n's controls are the base + n.
  static constexpr int kCheckBoxId = kMusicCheckBoxId;
  static constexpr int kOpenButtonId = kMusicOpenButtonId;
  static constexpr int kEraseButtonId = kMusicEraseButtonId;
  static constexpr int kPlayButtonId = kMusicPlayButtonId;
  static constexpr int kStopButtonId = kMusicStopButtonId;
  static constexpr int kSaveButtonId = kMusicSaveButtonId;
  static constexpr int kCancelButtonId = kMusicCancelButtonId;

 protected:
  void OnControl(const Row& row, int code, HWND control) override;
  void OnCloseRequest() override;
  // The preview stops while the window its notifications go to still exists.
  void OnDestroy() override;
  void OnRescale() override;
  LRESULT OnMessage(UINT message, WPARAM wparam, LPARAM lparam) override;

 private:
  void FormCreate(Settings& settings, FileSystem& files, std::shared_ptr<MusicPaths> paths);
  // The loudspeakers drawn at the window's scale onto their buttons.
  void DrawGlyphs();

  // MusicDialogView
  void ShowCaption(int slot, std::string_view caption) override;
  void ShowTicked(int slot, bool ticked) override;
  void ShowButtons(const MusicButtonStates& states) override;
  std::string ChooseMusicFile() override;
  void HideWindow() override;
  void ShowSaveFailure(std::uint32_t error) override;

  // The loudspeakers; a disabled button greys its icon itself.
  win32::UniqueIcon play_glyph_, stop_glyph_;
  // The open dialog starts where its last use in this dialog ended.
  std::wstring last_folder_;
  std::optional<win32::MciPlayer> player_;  // `MusicMediaPlayer`
  std::optional<MusicDialogModel> model_;
};

}  // namespace tessmoor
