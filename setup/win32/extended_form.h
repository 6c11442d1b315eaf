#pragma once
#include <windows.h>

#include <cstdint>
#include <optional>

#include "app/settings.h"
#include "platform/win32/table_form.h"
#include "setup/extended_dialog_layout.h"
#include "setup/extended_dialog_model.h"

namespace tessmoor {

// The extended-settings dialog's window, built from ExtendedDialogControls() at its design place:
// top-most, modeless, owned by the settings dialog. Save, cancel and the close box hide it; the
// object lives on until its owner destroys it.
class TExtendedSetUpForm : public win32::TableForm<ExtendedRole>, public ExtendedDialogView {
 public:
  TExtendedSetUpForm(Settings& settings, HWND owner);

 protected:
  void OnControl(const Row& row, int code, HWND control) override;
  void OnCloseRequest() override;

 private:
  // ExtendedDialogView
  void SelectEveryMonitor(bool every_monitor) override;
  void SetSubfolders(bool on) override;
  void SelectNameOrder(bool name_order) override;
  void MakeTopMostAndShow() override;
  void CloseWindow() override;
  void ShowSaveFailure(std::uint32_t error) override;

  std::optional<ExtendedDialogModel> model_;
};

}  // namespace tessmoor
