// Where the settings dialog's buttons meet the dialogs they open. Each dialog's own file
// defines its window class; this file only creates them.
#include "setup/win32/dialog_context.h"
#include "setup/win32/music_setup_form.h"

namespace tessmoor {

std::unique_ptr<win32::Window> CreateNo1SetUpDetailForm(const DialogContext&) { return nullptr; }
std::unique_ptr<win32::Window> CreateNo2SetUpDetailForm(const DialogContext&) { return nullptr; }
std::unique_ptr<win32::Window> CreateMusicSetUpForm(const DialogContext& context) {
  auto form = std::make_unique<TMusicSetUpForm>(context.settings, context.files, context.owner,
                                                context.music_paths);
  form->Show();
  return form;
}
std::unique_ptr<win32::Window> CreateForm4(const DialogContext&) { return nullptr; }

}  // namespace tessmoor
