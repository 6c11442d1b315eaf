#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/image/picture.h"
#include "platform/dialog_layout.h"

// The version and help dialog `TForm4`: the product name, a small picture, and a button that
// opens the help file beside the module. It reads and writes no settings.
namespace tessmoor {

inline constexpr std::string_view kProductTitle = "Tessmoor Ver1.2.2";
inline constexpr std::string_view kHelpFileName = "Tessmoor.chm";

enum class VersionRole { kTitle, kPicture, kHelpButton, kCloseButton };

const FormDesign& VersionDialogForm();
const std::vector<ControlDesign<VersionRole>>& VersionDialogControls();

// The picture shown in `Image1`, 150 × 30, drawn by the program itself.
Picture VersionArtwork();

// The help file in the folder of the module at `module_path`, the whole path lower-cased:
// C:\Windows\System32\Tessmoor.scr gives c:\windows\system32\tessmoor.chm.
std::string HelpFilePath(std::string_view module_path);

// What the help button hands to ShellExecuteEx: every field of the record zero but these. The
// record's size is the shell's to fill (sizeof of the record it passes).
struct ShellExecuteRequest {
  std::uint32_t mask = 0x40;  // SEE_MASK_NOCLOSEPROCESS
  std::string verb = "open";
  std::string file;
  int show_command = 1;  // SW_SHOWNORMAL
  // No owner window, no parameters, no directory.
  friend bool operator==(const ShellExecuteRequest&, const ShellExecuteRequest&) = default;
};

ShellExecuteRequest HelpRequest(std::string_view module_path);

class VersionDialogView {
 public:
  virtual ~VersionDialogView() = default;
  // Puts the window above all others and shows it, without moving or sizing it.
  virtual void MakeTopMostAndShow() = 0;
  // Calls ShellExecuteEx with the request. Its result is not reported to the user; a process
  // handle it returns is closed at once, the dialog has no use for it.
  virtual void ShellExecute(const ShellExecuteRequest& request) = 0;
  // Hides the window. Must not call back into the model.
  virtual void CloseWindow() = 0;
};

// The shell creates the window (hidden) and then the model, and forwards "ヘルプ" to
// HelpButtonClick and "閉じる" (and the close box) to VerCloseButtonClick.
class VersionDialogModel {
 public:
  // `module_path`: the full path of the running module.
  VersionDialogModel(std::string module_path, VersionDialogView& view);

  void HelpButtonClick();
  void VerCloseButtonClick();

 private:
  std::string module_path_;
  VersionDialogView& view_;
};

}  // namespace tessmoor
