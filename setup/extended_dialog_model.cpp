#include "setup/extended_dialog_model.h"

#include "app/settings_keys.h"
#include "setup/save_writes.h"

namespace tessmoor {

ExtendedDialogModel::ExtendedDialogModel(Settings& settings, ExtendedDialogView& view)
    : settings_(settings), view_(view), choices_(ReadExtendedSettings(settings)) {
  view_.SelectEveryMonitor(choices_.every_monitor);
  view_.SetSubfolders(choices_.folder_subfolders);
  view_.SelectNameOrder(choices_.folder_name_order);
  view_.MakeTopMostAndShow();
}

void ExtendedDialogModel::SaveButtonClick() {
  SaveWrites save(settings_);
  save.WriteSwitch(keys::kEveryMonitor, choices_.every_monitor);
  save.WriteSwitch(keys::kFolderSubfolders, choices_.folder_subfolders);
  save.Write(keys::kFolderOrder, choices_.folder_name_order ? kFolderNameOrderText : kFolderShuffledText);
  if (save.failed()) return view_.ShowSaveFailure(save.error());
  view_.CloseWindow();
}

void ExtendedDialogModel::CancelButtonClick() { view_.CloseWindow(); }

}  // namespace tessmoor
