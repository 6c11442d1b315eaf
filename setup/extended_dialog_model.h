#pragma once
#include <cstdint>

#include "app/extended_settings.h"
#include "app/settings.h"

namespace tessmoor {

// What the extended-settings dialog's window does for its model.
class ExtendedDialogView {
 public:
  virtual ~ExtendedDialogView() = default;
  // Checks スライドショー (every monitor runs a show) or 黒 (the others stay black).
  virtual void SelectEveryMonitor(bool every_monitor) = 0;
  virtual void SetSubfolders(bool on) = 0;
  // Checks 名前順 (name order) or シャッフル (shuffled).
  virtual void SelectNameOrder(bool name_order) = 0;
  // Puts the window above all others and shows it, without moving or sizing it.
  virtual void MakeTopMostAndShow() = 0;
  // Hides the window; the object lives on until the settings dialog goes. Must not call back
  // into the model.
  virtual void CloseWindow() = 0;
  // The store refused a write of the save with the system's error number `error`: a message box
  // that says so (SaveFailureText), over the window, which stays open.
  virtual void ShowSaveFailure(std::uint32_t error) = 0;
};

// The extended-settings dialog `TExtendedSetUpForm` (拡張設定): the settings beyond the classic
// ones. Each press of its menu item in the settings dialog makes a new instance, which reads the
// store when it opens; the store is written only by its save button. It records no position.
//
// The shell creates its window (hidden) at its design place, then the model, which fills the
// controls and shows the window; then it forwards:
//   - a click on 黒 / スライドショー: SelectEveryMonitor; on the check box: SetSubfolders; on
//     名前順 / シャッフル: SelectNameOrder;
//   - "設定の保存": SaveButtonClick; "キャンセル" and the close box: CancelButtonClick.
class ExtendedDialogModel {
 public:
  // Reads the settings through ReadExtendedSettings (writing the first-run value of every key not
  // set; a damaged text shows its first-run choice), shows them and shows the window.
  ExtendedDialogModel(Settings& settings, ExtendedDialogView& view);

  const ExtendedSettings& choices() const { return choices_; }
  void SelectEveryMonitor(bool every_monitor) { choices_.every_monitor = every_monitor; }
  void SetSubfolders(bool on) { choices_.folder_subfolders = on; }
  void SelectNameOrder(bool name_order) { choices_.folder_name_order = name_order; }

  // Writes the monitors, the subfolders and the order, in that order, then closes. When the
  // store refuses a write, writes nothing more, shows the failure and stays open.
  void SaveButtonClick();
  // Closes without writing.
  void CancelButtonClick();

 private:
  Settings& settings_;
  ExtendedDialogView& view_;
  ExtendedSettings choices_;
};

}  // namespace tessmoor
