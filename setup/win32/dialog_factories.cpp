// Where the settings dialog's buttons meet the dialogs they open. Each dialog's own file
// defines its window class; this file only creates them.
#include "setup/win32/detail_forms.h"
#include "setup/win32/dialog_context.h"
#include "setup/win32/form4.h"
#include "setup/win32/music_setup_form.h"

namespace tessmoor {

// The detail dialogs and the version dialog show themselves, top-most, as they are built.
std::unique_ptr<win32::Window> CreateNo1SetUpDetailForm(const DialogContext& context) {
  return win32::MakeOwned<TNo1SetUpDetailForm>(context.settings, context.setup.pattern1_detail_texts(),
                                                context.owner);
}
std::unique_ptr<win32::Window> CreateNo2SetUpDetailForm(const DialogContext& context) {
  return win32::MakeOwned<TNo2SetUpDetailForm>(context.settings, context.setup.pattern2_detail_texts(),
                                                context.owner);
}
std::unique_ptr<win32::Window> CreateMusicSetUpForm(const DialogContext& context) {
  auto form = win32::MakeOwned<TMusicSetUpForm>(context.settings, context.files, context.owner,
                                                 context.music_paths);
  form->Show();
  return form;
}
std::unique_ptr<win32::Window> CreateForm4(const DialogContext& context) {
  return win32::MakeOwned<TForm4>(context.owner);
}

}  // namespace tessmoor
