#pragma once
#include <windows.h>

#include <optional>
#include <string>

#include "platform/win32/table_form.h"
#include "setup/version_dialog_model.h"

namespace tessmoor {

// The version and help dialog's window: the product name in bold italic, the version picture,
// "ヘルプ" (the help file beside the module, through the shell) and "閉じる". Top-most,
// modeless, owned by the settings dialog; closing hides it.
class TForm4 : public win32::TableForm<VersionRole>, public VersionDialogView {
 public:
  explicit TForm4(HWND owner);

 protected:
  void OnControl(const Row& row, int code, HWND control) override;
  void OnCloseRequest() override;

 private:
  // VersionDialogView
  void MakeTopMostAndShow() override { ShowTopMost(); }
  void ShellExecute(const ShellExecuteRequest& request) override;
  void CloseWindow() override { ShowWindow(hwnd(), SW_HIDE); }

  std::optional<VersionDialogModel> model_;
};

// The full path of the running module, UTF-8.
std::string ModulePath();

}  // namespace tessmoor
