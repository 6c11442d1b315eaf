// Where the settings dialog's buttons meet the music and version dialogs. Each dialog's own file
// defines its window class; this file only creates them (the detail dialogs' file creates them).
#include "setup/win32/dialog_context.h"
#include "setup/win32/form4.h"
#include "setup/win32/music_setup_form.h"

namespace tessmoor {

std::unique_ptr<win32::Window> CreateMusicSetUpForm(const DialogContext& context) {
  auto form = win32::MakeOwned<TMusicSetUpForm>(context.settings, context.files, context.owner,
                                                 context.music_paths);
  form->Show();
  return form;
}
// The version dialog shows itself, top-most, as it is built.
std::unique_ptr<win32::Window> CreateForm4(const DialogContext& context) {
  return win32::MakeOwned<TForm4>(context.owner);
}

}  // namespace tessmoor
