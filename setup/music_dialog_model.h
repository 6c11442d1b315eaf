#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "app/settings.h"
#include "platform/file_system.h"
#include "platform/media_player.h"

namespace tessmoor {

inline constexpr int kMusicDialogSlots = 5;

// The form as it opens: always at the same place, since it stores no position. Outer size and
// position at 96 DPI.
inline constexpr std::string_view kMusicDialogCaption = "音楽";
inline constexpr int kMusicDialogLeft = 409;
inline constexpr int kMusicDialogTop = 197;
inline constexpr int kMusicDialogWidth = 323;
inline constexpr int kMusicDialogHeight = 279;

struct MusicFileFilter {
  std::string_view description;
  std::string_view pattern;
};

// The filter list of the open dialog, in the order it offers it.
inline constexpr std::array<MusicFileFilter, 3> kMusicFileFilters{{
    {"すべてのファイル (*.mid;*.wav)", "*.mid;*.wav"},
    {"MIDI シーケンスファイル (*.mid)", "*.mid"},
    {"WAVE サウンドファイル (*.wav)", "*.wav"},
}};

// The five music paths of this configuration run. Every open music dialog works on the same
// object (the settings dialog hands it to each one it creates); each new dialog reloads it from
// the store. Slots 1..5; an empty path is an empty slot.
class MusicPaths {
 public:
  const std::string& path(int slot) const { return paths_[slot - 1]; }
  void set_path(int slot, std::string path) { paths_[slot - 1] = std::move(path); }

 private:
  std::array<std::string, kMusicDialogSlots> paths_;
};

// Which buttons the preview leaves usable. Erase buttons, check boxes, save and cancel always
// are.
struct MusicButtonStates {
  bool play_enabled = true;  // all five play buttons
  bool open_enabled = true;  // all five open buttons
  bool stop_enabled = false;
  bool operator==(const MusicButtonStates&) const = default;
};

inline constexpr MusicButtonStates kMusicIdle{true, true, false};
inline constexpr MusicButtonStates kMusicPlaying{false, false, true};

// What the music dialog's window does for its model.
class MusicDialogView {
 public:
  virtual ~MusicDialogView() = default;
  // Slot `slot`'s check box caption.
  virtual void ShowCaption(int slot, std::string_view caption) = 0;
  virtual void ShowTicked(int slot, bool ticked) = 0;
  virtual void ShowButtons(const MusicButtonStates& states) = 0;
  // Runs the open dialog modally with an empty file name field (its folder is where the last
  // use left it) and the filters of kMusicFileFilters. Gives the chosen file's full name, or
  // the empty string when cancelled.
  virtual std::string ChooseMusicFile() = 0;
  // Hides the window; the dialog object lives on until its owner goes. Must not call back into
  // the model.
  virtual void HideWindow() = 0;
  // The store refused a write of the save with the system's error number `error`: a message box
  // that says so (SaveFailureText), over the window, which stays open.
  virtual void ShowSaveFailure(std::uint32_t error) = 0;
};

// The music dialog `TMusicSetUpForm`: five slots, each a check box captioned with its path
// (ticked: the slot plays in the show), an open, an erase and a play button; a shared stop
// button previews end with. The store is written only by save.
//
// The shell creates the model after its window and controls exist and forwards:
//   - a click on slot n's check box: MusicNameCheckBoxClick(n, ticked);
//   - "....", "X", the loudspeaker of slot n: MusicNoOpenDialogButtonClick(n),
//     MusicNoOpenDialogEraseButtonClick(n), MusicPlayNoBitBtnClick(n);
//   - the crossed-out loudspeaker: MusicStopBitBtnClick;
//   - MM_MCINOTIFY of its own player: MusicMediaPlayerNotify(kind, device id);
//   - "設定の保存": MusicRegFileSaveButtonClick; "キャンセル": CancelButtonClick (both hide the
//     window through the view); the close box or system menu: FormClose, then it hides itself.
// The player is the dialog's own (one per dialog window, notifying that window).
class MusicDialogModel {
 public:
  // Reads MusicNo1, MusicPlayStopNo1, ..., MusicPlayStopNo5 in that order, writing the
  // first-run value of each key not set, into `paths` and the check boxes, and shows the idle
  // buttons.
  MusicDialogModel(Settings& settings, FileSystem& files, MediaPlayer& player,
                   std::shared_ptr<MusicPaths> paths, MusicDialogView* view);
  MusicDialogModel(const MusicDialogModel&) = delete;
  MusicDialogModel& operator=(const MusicDialogModel&) = delete;

  const std::string& caption(int slot) const { return captions_[slot - 1]; }
  bool ticked(int slot) const { return ticked_[slot - 1]; }
  const std::string& path(int slot) const { return paths_->path(slot); }
  const MusicButtonStates& buttons() const { return buttons_; }
  bool previewing() const { return previewing_; }

  void MusicNameCheckBoxClick(int slot, bool ticked);
  // The chosen file, lower-cased, becomes the slot's path and caption; the tick stays.
  void MusicNoOpenDialogButtonClick(int slot);
  // Empties the slot and unticks it. A preview of it plays on.
  void MusicNoOpenDialogEraseButtonClick(int slot);
  // Previews the slot's file when it has one that exists and nothing plays yet. A file the
  // player cannot open or start leaves the buttons idle.
  void MusicPlayNoBitBtnClick(int slot);
  void MusicStopBitBtnClick();
  // Only the end (or failure) of the preview's own play ends it.
  void MusicMediaPlayerNotify(MediaNotify kind, std::uint32_t device_id);

  // Writes MusicNo1..5 with the paths, then MusicPlayStopNo1..5 ("0" ticked, "1" not), stops
  // the preview and hides. When the store refuses a write, writes nothing more, shows the
  // failure and stays open with the choices and the preview as they are: false.
  bool MusicRegFileSaveButtonClick();
  // Stops the preview and hides, writing nothing.
  void CancelButtonClick();
  // The window is closing by its close box: stops the preview.
  void FormClose();

 private:
  static bool Valid(int slot) { return slot >= 1 && slot <= kMusicDialogSlots; }
  void SetCaption(int slot, std::string caption);
  void SetTicked(int slot, bool ticked);
  void SetButtons(const MusicButtonStates& states);
  // Stops and closes the preview, back to idle.
  void EndPreview();

  Settings& settings_;
  FileSystem& files_;
  MediaPlayer& player_;
  std::shared_ptr<MusicPaths> paths_;
  MusicDialogView* view_;
  std::array<std::string, kMusicDialogSlots> captions_;
  std::array<bool, kMusicDialogSlots> ticked_{};
  MusicButtonStates buttons_ = kMusicIdle;
  bool previewing_ = false;
  std::uint32_t preview_device_ = 0;
};

}  // namespace tessmoor
