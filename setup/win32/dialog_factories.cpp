// Where the settings dialog's buttons meet the dialogs they open. Each dialog's own file
// defines its window class; this file only creates them.
#include "setup/win32/dialog_context.h"

namespace tessmoor {

std::unique_ptr<win32::Window> CreateNo1SetUpDetailForm(const DialogContext&) { return nullptr; }
std::unique_ptr<win32::Window> CreateNo2SetUpDetailForm(const DialogContext&) { return nullptr; }
std::unique_ptr<win32::Window> CreateMusicSetUpForm(const DialogContext&) { return nullptr; }
std::unique_ptr<win32::Window> CreateForm4(const DialogContext&) { return nullptr; }

}  // namespace tessmoor
