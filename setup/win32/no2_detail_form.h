#pragma once
#include <windows.h>

#include <memory>
#include <string_view>

#include "app/settings.h"
#include "platform/win32/form.h"
#include "setup/detail_dialog_layouts.h"
#include "setup/detail_shared.h"
#include "setup/pattern2_detail_model.h"
#include "setup/win32/layout_controls.h"

namespace tessmoor {

// The pattern-2 detail dialog's window: one group per picture window, top-most, modeless, owned
// by the settings dialog. Save, cancel and the close box hide it; the object lives on until its
// owner destroys it.
class TNo2SetUpDetailForm final : public win32::Form, public Pattern2DetailView {
 public:
  // Builds the window and its controls, then the model, which shows, places and fills it.
  // `texts` are the working values every open instance shares.
  TNo2SetUpDetailForm(Settings& settings, Pattern2DetailTexts& texts, HWND owner);
  ~TNo2SetUpDetailForm() override;

 protected:
  void OnCommand(int id, int code, HWND control) override;
  void OnScroll(HWND bar, int code, int position) override;
  void OnCloseRequest() override;

 private:
  // Pattern2DetailView
  void MakeTopMostAndShow() override;
  void MoveTo(int x, int y) override;
  Point WindowOrigin() override;
  void SelectMode(int window, int mode) override;
  void SetBarPosition(int window, Pattern2Bar bar, int position) override;
  void SetBoxChecked(int window, bool checked) override;
  void SetSizeLabel(int window, std::string_view text) override;
  void CloseWindow() override;

  // The control of `role` for window `window`; `item` tells apart the mode radio buttons.
  HWND ControlOf(Pattern2DetailRole role, int window, int item = 0) const;

  LayoutControls controls_;
  std::unique_ptr<Pattern2DetailModel> model_;
};

}  // namespace tessmoor
