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

enum class Pattern1Bar { kTimer, kScale };

// The range and steps of a bar, as the view creates it.
const ScrollBarDesign& Pattern1BarDesign(Pattern1Bar bar);

// What the pattern-1 detail dialog's window does for its model.
class Pattern1DetailView {
 public:
  virtual ~Pattern1DetailView() = default;
  // Puts the window above all others and shows it, without moving or sizing it.
  virtual void MakeTopMostAndShow() = 0;
  // Moves the window's top-left corner, keeping its size and stacking order; a place on no
  // monitor attached now is brought onto the nearest one (ReachablePlace).
  virtual void MoveTo(int x, int y) = 0;
  // The top-left corner of the window's outer rectangle on the screen.
  virtual Point WindowOrigin() = 0;
  // Checks the radio button of detail mode 1..4, or none for 0.
  virtual void SelectMode(int mode) = 0;
  virtual void SetBarPosition(Pattern1Bar bar, int position) = 0;
  virtual void SetBoxChecked(int box, bool checked) = 0;
  // `PSentLabel`: the scale as a bare decimal number.
  virtual void SetScaleLabel(std::string_view text) = 0;
  // Hides the window; the model lives on with it until the settings dialog goes. Must not call
  // back into the model.
  virtual void CloseWindow() = 0;
  // The store refused a write of the save with the system's error number `error`: a message box
  // that says so (SaveFailureText), over the window, which stays open.
  virtual void ShowSaveFailure(std::uint32_t error) = 0;
};

// The pattern-1 detail dialog `TNo1SetUpDetailForm`: detail mode, slide interval, scale and the
// four box use flags. Each press of the settings dialog's detail button makes a new instance;
// all instances share one Pattern1DetailTexts, so the timer and scale saved are those last set
// in any of them.
//
// The shell creates its window (hidden), then the model, whose construction makes the window
// top-most, places it and fills the controls. Then it forwards:
//   - a click on a mode radio button: SelectMode(1..4); on a box check box: SetBoxChecked;
//   - every WM_HSCROLL of either bar: Scroll(bar, code, thumb position);
//   - "設定の保存": No1ImageRegFileSaveButtonClick; "キャンセル": CancelButtonClick; the close
//     box: Close. All three record the position and end in view.CloseWindow().
class Pattern1DetailModel {
 public:
  // Reads the position, mode, timer, scale and the four box flags in that order, writing the
  // first-run value of every key not set. A damaged position, timer or scale opens the dialog
  // with the first-run value.
  Pattern1DetailModel(Settings& settings, Pattern1DetailTexts& texts, Pattern1DetailView& view);

  // 1..4, 0 when no mode is selected.
  int selected_mode() const { return mode_; }
  void SelectMode(int mode);
  bool box_checked(int box) const { return boxes_[box - 1]; }
  void SetBoxChecked(int box, bool checked);
  int bar_position(Pattern1Bar bar) const { return positions_[static_cast<int>(bar)]; }
  const std::string& scale_label() const { return scale_label_; }

  // A scroll notification: the bar moves to where it asks, the scale label shows that position
  // at once, and the working text follows the bar.
  void Scroll(Pattern1Bar bar, ScrollCode code, int thumb);

  // Writes the mode (when one is selected), timer, scale and box flags, then closes. When the
  // store refuses a write, writes nothing more (the position neither), shows the failure and
  // stays open.
  void No1ImageRegFileSaveButtonClick();
  void CancelButtonClick();
  void Close();
  // Records the window's position in the keys both detail dialogs open at.
  void FormClose();

 private:
  void SetPosition(Pattern1Bar bar, int position);
  void ShowScaleLabel(int position);

  Settings& settings_;
  Pattern1DetailTexts& texts_;
  Pattern1DetailView& view_;
  int mode_ = 0;
  std::array<bool, 4> boxes_{};
  std::array<int, 2> positions_{};
  std::string scale_label_;
};

}  // namespace tessmoor
