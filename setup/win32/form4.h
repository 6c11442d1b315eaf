#pragma once
#include <windows.h>

#include <memory>
#include <string>

#include "platform/win32/form.h"
#include "setup/version_dialog_model.h"
#include "setup/win32/layout_controls.h"

namespace tessmoor {

// The version and help dialog's window: the product name in bold italic, the version picture,
// "ヘルプ" (the help file beside the module, through the shell) and "閉じる". Top-most,
// modeless, owned by the settings dialog; closing hides it.
class TForm4 final : public win32::Form, public VersionDialogView {
 public:
  explicit TForm4(HWND owner);
  ~TForm4() override;

 protected:
  void OnCommand(int id, int code, HWND control) override;
  void OnCloseRequest() override;

 private:
  // VersionDialogView
  void MakeTopMostAndShow() override;
  void ShellExecute(const ShellExecuteRequest& request) override;
  void CloseWindow() override;

  LayoutControls controls_;
  std::unique_ptr<VersionDialogModel> model_;
};

// The full path of the running module, UTF-8.
std::string ModulePath();

}  // namespace tessmoor
