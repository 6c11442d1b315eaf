#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "app/settings.h"
#include "setup/detail_shared.h"
#include "platform/dialog_layout.h"
#include "platform/scroll_bar.h"

namespace tessmoor {

// Per pattern-2 window: the speed bar (the window timer's interval in ms) and the size bar
// (percent).
enum class Pattern2Bar { kSpeed, kSize };

// The range and steps of window `window`'s bar (1..4), as the view creates it. Every bar steps
// by 1 per arrow click.
const ScrollBarDesign& Pattern2BarDesign(int window, Pattern2Bar bar);

// What the pattern-2 detail dialog's window does for its model. Windows are 1..4.
class Pattern2DetailView {
 public:
  virtual ~Pattern2DetailView() = default;
  virtual void MakeTopMostAndShow() = 0;
  // Moves the window's top-left corner, keeping its size and stacking order; a place on no
  // monitor attached now is brought onto the nearest one (ReachablePlace).
  virtual void MoveTo(int x, int y) = 0;
  virtual Point WindowOrigin() = 0;
  // Checks radio button `mode` 1..5 of group `window`, or none of that group for 0.
  virtual void SelectMode(int window, int mode) = 0;
  virtual void SetBarPosition(int window, Pattern2Bar bar, int position) = 0;
  virtual void SetBoxChecked(int window, bool checked) = 0;
  // `PSentLabelNo<n>Tab`: the size as a bare decimal number.
  virtual void SetSizeLabel(int window, std::string_view text) = 0;
  // Hides the window. Must not call back into the model.
  virtual void CloseWindow() = 0;
  // The store refused a write of the save with the system's error number `error`: a message box
  // that says so (SaveFailureText), over the window, which stays open.
  virtual void ShowSaveFailure(std::uint32_t error) = 0;
};

// The pattern-2 detail dialog `TNo2SetUpDetailForm`: for each of the four picture windows its
// motion mode, speed, size and use flag. All instances share one Pattern2DetailTexts. The
// dialog records its position when it opens and, so that both detail dialogs reopen where the
// user last left either, whenever it closes. A dialog that the view brought onto a monitor
// because the stored place lies on none records nothing until it closes.
//
// The shell creates its window (hidden), then the model, and forwards:
//   - a click on radio button k of group n: SelectMode(n, k); on check box n: SetBoxChecked;
//   - every WM_HSCROLL of a bar: Scroll(n, bar, code, thumb position);
//   - "設定の保存": No2ImageRegFileSaveButtonClick; "キャンセル": CancelButtonClick; the close
//     box: Close. All three record the position and end in view.CloseWindow().
class Pattern2DetailModel {
 public:
  // Reads the position, then for windows 1..4 the modes, the speeds, the sizes and the use
  // flags, writing the first-run value of every key not set, and records the position the
  // window opened at when that is the position read. Damaged numbers open the dialog with their first-run values.
  Pattern2DetailModel(Settings& settings, Pattern2DetailTexts& texts, Pattern2DetailView& view);

  int selected_mode(int window) const { return modes_[window - 1]; }
  void SelectMode(int window, int mode);
  bool box_checked(int window) const { return boxes_[window - 1]; }
  void SetBoxChecked(int window, bool checked);
  int bar_position(int window, Pattern2Bar bar) const;
  const std::string& size_label(int window) const { return size_labels_[window - 1]; }

  // A scroll notification: the bar moves where it asks, a size bar's label shows that position
  // at once, and the working text follows the bar.
  void Scroll(int window, Pattern2Bar bar, ScrollCode code, int thumb);

  // Writes the selected modes, the four speeds, the four sizes and the four use flags, in that
  // order, then closes. When the store refuses a write, writes nothing more (the position
  // neither), shows the failure and stays open.
  void No2ImageRegFileSaveButtonClick();
  void CancelButtonClick();
  void Close();
  // Records the window's position in the keys both detail dialogs open at.
  void FormClose();

 private:
  // Records the position the dialog has just opened at, if that is `asked`.
  void FormCreate(Point asked);
  void SetPosition(int window, Pattern2Bar bar, int position);
  void ShowSizeLabel(int window, int position);

  Settings& settings_;
  Pattern2DetailTexts& texts_;
  Pattern2DetailView& view_;
  std::array<int, 4> modes_{};
  std::array<bool, 4> boxes_{};
  std::array<int, 4> speeds_{};
  std::array<int, 4> sizes_{};
  std::array<std::string, 4> size_labels_;
};

}  // namespace tessmoor
