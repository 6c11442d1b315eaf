#pragma once
#include <array>
#include <string>
#include <string_view>

#include "app/settings.h"
#include "platform/file_system.h"

namespace tessmoor {

// What the settings dialog's window shows of its model. The hidden instance that a show creates
// has no view at all.
class SettingsDialogView {
 public:
  virtual ~SettingsDialogView() = default;
  virtual void MoveTo(int x, int y) = 0;
  virtual void SelectPattern(bool pattern2) = 0;
  virtual void SelectMusicPlay(bool play) = 0;
  // Shows the picture of `path` in box `box`'s picture control; `extension` is the lower-cased
  // extension with its dot.
  virtual void LoadBoxPreview(int box, std::string_view extension, std::string_view path) = 0;
  virtual void ClearBoxPreview(int box) = 0;
};

// The settings dialog's values: its position, the pattern and music choices and the 48 slot
// paths. Construction reads them in the dialog's order and writes the first-run value of every
// key that is not set.
class SettingsDialogModel {
 public:
  SettingsDialogModel(Settings& settings, FileSystem& files, SettingsDialogView* view);

  int left() const { return left_; }
  int top() const { return top_; }
  const std::string& pattern() const { return pattern_; }
  bool pattern2_selected() const { return pattern2_selected_; }
  bool music_play_selected() const { return music_play_selected_; }

  // Box 1..4, slot 1..12. A slot whose file was missing at construction is empty.
  const std::string& slot_path(int box, int slot) const { return slots_[Index(box, slot)]; }
  void set_slot_path(int box, int slot, std::string path) { slots_[Index(box, slot)] = std::move(path); }

 protected:
  static int Index(int box, int slot) { return (box - 1) * 12 + (slot - 1); }
  void LoadSlots();

  Settings& settings_;
  FileSystem& files_;
  SettingsDialogView* view_;
  int left_ = 100;
  int top_ = 100;
  std::string pattern_;
  bool pattern2_selected_ = false;
  bool music_play_selected_ = false;
  std::array<std::string, 48> slots_;
};

}  // namespace tessmoor
