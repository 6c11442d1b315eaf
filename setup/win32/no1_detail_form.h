#pragma once
#include <windows.h>

#include <memory>
#include <string_view>

#include "app/settings.h"
#include "platform/win32/form.h"
#include "setup/detail_dialog_layouts.h"
#include "setup/detail_shared.h"
#include "setup/pattern1_detail_model.h"
#include "setup/win32/layout_controls.h"

namespace tessmoor {

// The pattern-1 detail dialog's window: top-most, modeless, owned by the settings dialog. Save,
// cancel and the close box hide it; the object lives on until its owner destroys it.
class TNo1SetUpDetailForm final : public win32::Form, public Pattern1DetailView {
 public:
  // Builds the window and its controls, then the model, which shows, places and fills it.
  // `texts` are the working values every open instance shares.
  TNo1SetUpDetailForm(Settings& settings, Pattern1DetailTexts& texts, HWND owner);
  ~TNo1SetUpDetailForm() override;

 protected:
  void OnCommand(int id, int code, HWND control) override;
  void OnScroll(HWND bar, int code, int position) override;
  void OnCloseRequest() override;

 private:
  // Pattern1DetailView
  void MakeTopMostAndShow() override;
  void MoveTo(int x, int y) override;
  Point WindowOrigin() override;
  void SelectMode(int mode) override;
  void SetBarPosition(Pattern1Bar bar, int position) override;
  void SetBoxChecked(int box, bool checked) override;
  void SetScaleLabel(std::string_view text) override;
  void CloseWindow() override;

  HWND ControlOf(Pattern1DetailRole role, int index = 0) const;

  LayoutControls controls_;
  std::unique_ptr<Pattern1DetailModel> model_;
};

}  // namespace tessmoor
