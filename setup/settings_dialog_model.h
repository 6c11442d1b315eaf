#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "app/settings.h"
#include "app/settings_dialog_values.h"
#include "platform/file_system.h"
#include "platform/image/picture.h"
#include "platform/image/picture_decoder.h"
#include "platform/random.h"
#include "setup/detail_shared.h"
#include "setup/folder_preview.h"
#include "platform/dialog_layout.h"
#include "setup/picture_preview.h"

namespace tessmoor {

// What the settings dialog's window does for its model. Sizes and positions are at 96 DPI; the
// view scales them with the window's DPI like the rest of its layout.
class SettingsDialogView {
 public:
  virtual ~SettingsDialogView() = default;
  // Moves the window's top-left corner, keeping its size and stacking order; a place on no
  // monitor attached now is brought onto the nearest one (ReachablePlace).
  virtual void MoveTo(int x, int y) = 0;
  // The top-left corner of the window's outer rectangle on the screen.
  virtual Point WindowOrigin() = 0;
  virtual void SelectPattern(bool pattern2) = 0;
  virtual void SelectMusicPlay(bool play) = 0;
  // Resizes box `box`'s picture control to `placement.control` and draws `picture` stretched
  // into `placement.picture` (the decoded picture may be smaller than that rectangle). Removes
  // the folder mark.
  virtual void ShowBoxPicture(int box, const PicturePlacement& placement, Picture picture) = 0;
  // Empties box `box`'s picture control and gives it back its design size. Removes the folder
  // mark.
  virtual void ClearBoxPicture(int box) = 0;
  // Box `box`'s slot holds a folder of `pictures` pictures: a mark over the control (after
  // ShowBoxPicture or ClearBoxPicture) that says so. Nothing: the folder is still being counted.
  virtual void MarkBoxFolder(int box, std::optional<std::size_t> pictures) = 0;
  virtual void ShowFilePreview(const PicturePlacement& placement, Picture picture) = 0;
  virtual void ClearFilePreview() = 0;
  // A picture file that cannot be read or decoded: a message box naming `path` and `reason`.
  virtual void ShowPictureError(std::string_view path, std::string_view reason) = 0;
  // Runs box `box`'s open-picture dialog modally, with an empty file name field, the filters of
  // PictureFileFilters for the decoder's extensions and `initial_folder` as its folder when that
  // is not empty (otherwise the system's choice). Gives the full name of the chosen file, or of
  // the chosen folder (the dialog can take the folder it shows), or nothing when cancelled.
  virtual std::optional<std::string> ChoosePictureFile(int box, std::string_view initial_folder) = 0;
  // Closes the window, which ends the configuration run. Must not call back into the model.
  virtual void CloseWindow() = 0;
  // The store refused a write of the save with the system's error number `error`: a message
  // box that says so (SaveFailureText), over the window, which stays open.
  virtual void ShowSaveFailure(std::uint32_t error) = 0;
  // The window's DPI: previews are decoded at the size they take on the screen.
  virtual int DotsPerInch() { return 96; }
};

enum class DragSource { kFileList, kFolderList, kOther };
enum class PatternDetailDialog { kPattern1, kPattern2 };

// The settings dialog `TScrSetUpForm`: its position, the pattern and music choices and the 48
// image slots, box-major (box 1..4, slot 1..12). The store is written only by the save button
// (and the position by every close); the user's choices live here until then.
//
// The shell creates the model after its window and controls exist (construction moves the
// window and fills the controls through the view), then forwards:
//   - a click on a pattern or music radio button: set_pattern2_selected / set_music_play_selected;
//   - "設定を保存": NoImageRegFileSaveButtonClick; "キャンセル": CancelButtonClick; the close
//     box or system menu: Close. All three end in view.CloseWindow();
//   - "詳細設定" in "動作": NoImageRegFileDSaveButtonClick says which detail dialog to create;
//     that dialog's model takes pattern1_detail_texts() or pattern2_detail_texts();
//   - box b's "開く", "消去", tab change, drag over and drop on its picture (the handlers
//     ImageRegNo<b>BoxScrSetUpFormTabControl...): BoxImageButtonClick(b), BoxClearButtonClick(b),
//     BoxTabControlChange(b, slot), BoxDragOver, BoxDragDrop(b, ...) for a file and
//     BoxFolderDragDrop(b, folder) for a folder of the folder list;
//   - a click in the file list: ScrSetUpFileListBoxClick.
// "詳細設定" in "音楽" and the menu item open the music and version dialogs without the model.
// The model decodes the previews itself (FileSystem::ReadFile, then its decoder at the size the
// control takes on the screen) and hands the view finished pictures with their placement, so the
// view only resizes controls and stretches bitmaps. A slot may hold a folder: its box shows the
// folder's first picture by name (with its subfolders when ImageRegFolderSubFlag says so) and a
// mark with the number of pictures the show would take from it. Listing a folder may take long,
// so the box shows the mark at once, empty and uncounted, and the picture and count when its
// FolderPreviews answers; an answer for a box that has since shown something else is dropped.
// Without a view the model only reads and initialises the store and decodes nothing; a show
// makes the same reads through ReadSettingsDialogValues.
class SettingsDialogModel {
 public:
  // Reads its values through ReadSettingsDialogValues (writing the first-run value of every key
  // not set), then moves the window, selects the pattern, shows each box's first slot and
  // selects the music switch. A damaged position opens the dialog at the first-run position; a
  // first slot that cannot be decoded leaves its box empty. Previews go through `decoder`, or
  // the portable JPEG and BMP decoders when none is given; it must outlive the model. A save
  // draws a new folder's shuffled order from `random`, or from a generator seeded from the clock
  // when none is given; it must outlive the model too. Folder slots are previewed by `previews`,
  // or on the calling thread (FolderPreviewsAtOnce) when none is given; it must outlive the model
  // and answer on the model's thread.
  SettingsDialogModel(Settings& settings, FileSystem& files, SettingsDialogView* view,
                      const PictureDecoder* decoder = nullptr, RandomSource* random = nullptr,
                      FolderPreviews* previews = nullptr);

  int left() const { return left_; }
  int top() const { return top_; }
  // The pattern text as read from the store.
  const std::string& pattern() const { return pattern_; }
  bool pattern2_selected() const { return pattern2_selected_; }
  bool music_play_selected() const { return music_play_selected_; }
  void set_pattern2_selected(bool pattern2) { pattern2_selected_ = pattern2; }
  void set_music_play_selected(bool play) { music_play_selected_ = play; }

  // Box 1..4, slot 1..12. A slot whose file or folder was missing at construction is empty.
  const std::string& slot_path(int box, int slot) const { return slots_[Index(box, slot)]; }
  void set_slot_path(int box, int slot, std::string path) { slots_[Index(box, slot)] = std::move(path); }
  // The slot of box `box` whose tab is selected, 1..12.
  int current_slot(int box) const { return current_slot_[box - 1]; }
  // Where box `box`'s open-picture dialog starts next time; empty before its first use with a
  // filled slot.
  const std::string& initial_folder(int box) const { return initial_folder_[box - 1]; }

  // Writes the pattern, the 48 slots and the music switch, in that order, then closes. When the
  // store refuses a write, writes nothing more and shows the failure, and the dialog stays open
  // with the user's choices. Once they are all in, each slot whose path differs from the one it
  // held when the dialog opened has its kept place made ready for the show
  // (KeepPlaceOfChangedSlot), in slot order, before the close.
  void NoImageRegFileSaveButtonClick();
  // Closes without writing any choice.
  void CancelButtonClick();
  // Every close: records the window's position, then closes the window.
  void Close();
  // Writes the window's current top-left corner to the position keys.
  void FormClose();

  // The detail dialog the "動作" button opens: the pattern whose radio button is selected now,
  // saved or not.
  PatternDetailDialog NoImageRegFileDSaveButtonClick() const;

  // Open button: the chosen file's name, lower-cased, or the chosen folder's as the dialog
  // spells it, becomes the current slot's path.
  void BoxImageButtonClick(int box);
  void BoxClearButtonClick(int box);
  // Tab index 0..11 selected: pass slot = index + 1.
  void BoxTabControlChange(int box, int slot);
  // Whether a drag over a box picture shows the drop cursor.
  static bool BoxDragOver(DragSource source) { return source != DragSource::kOther; }
  // A drop on box `box`'s picture. `folder` is the folder list's current folder and
  // `selected_item` the file list's selected item (a bare file name), nothing when none is
  // selected. Only a drop from the file list with a selected item changes the current slot.
  void BoxDragDrop(int box, DragSource source, std::string_view folder,
                   std::optional<std::string_view> selected_item);
  // A folder of the folder list (its full path, as the list spells it) dropped on box `box`'s
  // picture: it becomes the current slot's path.
  void BoxFolderDragDrop(int box, std::string_view folder);
  // Previews the file list's selected file; changes no slot.
  void ScrSetUpFileListBoxClick(std::string_view folder, std::optional<std::string_view> selected_item);

  // The detail dialogs' working values, shared by all their instances of this run.
  Pattern1DetailTexts& pattern1_detail_texts() { return pattern1_detail_texts_; }
  Pattern2DetailTexts& pattern2_detail_texts() { return pattern2_detail_texts_; }

 protected:
  enum class OnFailure {
    kClear,   // show the box empty at its design size
    kReport,  // keep the control as it is and tell the user
    kIgnore,  // keep the control as it is, say nothing
  };

  static int Index(int box, int slot) { return (box - 1) * 12 + (slot - 1); }
  static bool ValidBox(int box) { return box >= 1 && box <= 4; }
  void LoadSlots(const SettingsDialogValues& values);
  // Shows the current picture of box `box` from its slot path, or empties the box.
  void ShowSlot(int box, int slot, OnFailure on_failure);
  void LoadBoxPreview(int box, std::string_view path, OnFailure on_failure);
  void ShowBoxPreview(int box, std::string_view path, Preview preview, OnFailure on_failure);
  // Marks box `box` as showing folder `folder` and asks for its preview: its first picture with
  // the count, shown if the box still shows that folder then; a first picture that cannot be
  // decoded leaves the box empty (the show passes over such a picture too).
  void ShowFolderSlot(int box, const std::string& folder);
  // Box `box` is about to show something new: a folder preview asked for before is now stale.
  void MoveOn(int box) { ++box_turn_[box - 1]; }
  void KeepPlacesOfChangedSlots();

  Settings& settings_;
  FileSystem& files_;
  SettingsDialogView* view_;
  std::unique_ptr<PictureDecoder> own_decoder_;
  const PictureDecoder* decoder_;
  RandomSource* random_;
  std::unique_ptr<FolderPreviews> own_previews_;
  FolderPreviews* previews_;
  int left_ = 100;
  int top_ = 100;
  std::string pattern_;
  bool pattern2_selected_ = false;
  bool music_play_selected_ = false;
  std::array<std::string, 48> slots_;
  std::array<std::string, 48> opened_;  // each slot's stored path: at the opening, then the last save
  std::array<int, 4> current_slot_{1, 1, 1, 1};
  std::array<unsigned, 4> box_turn_{};  // MoveOn counts what each box has been asked to show
  std::array<std::string, 4> initial_folder_;
  Pattern1DetailTexts pattern1_detail_texts_;
  Pattern2DetailTexts pattern2_detail_texts_;
};

}  // namespace tessmoor
