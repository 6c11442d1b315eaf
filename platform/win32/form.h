#pragma once
#include <string>

#include "platform/win32/controls.h"
#include "platform/win32/window.h"

namespace tessmoor::win32 {

struct FormSpec {
  std::wstring caption;
  int client_width = 0;   // at 96 DPI
  int client_height = 0;
  int left = CW_USEDEFAULT;
  int top = CW_USEDEFAULT;
  HWND owner = nullptr;
  bool topmost = false;
  bool menu_bar = false;  // room for a menu is added by the system when a menu is set
  int font_pixels = 12;
};

// A dialog window built from a layout: title bar with the system menu only, the dialog
// background, the UI font, and its controls' notifications turned into typed calls. Tab and the
// arrow keys move between controls.
class Form : public Window {
 public:
  ~Form() override;

  DpiScale scale() const { return scale_; }
  HFONT font() const { return font_.get(); }
  // Window rectangle on the screen.
  RECT ScreenRect() const;
  void MoveTo(int left, int top) const;

  HWND AddControl(const wchar_t* window_class, std::wstring_view text, DWORD style, ControlBounds bounds,
                  int id, DWORD ex_style = 0);

 protected:
  void CreateForm(const FormSpec& params);

  virtual void OnCommand(int /*id*/, int /*code*/, HWND /*control*/) {}
  virtual void OnScroll(HWND /*bar*/, int /*code*/, int /*position*/) {}
  virtual LRESULT OnNotify(const NMHDR& /*header*/) { return 0; }
  // The close box or Alt+F4. The default destroys the window.
  virtual void OnCloseRequest() { Destroy(); }

  LRESULT OnMessage(UINT message, WPARAM wparam, LPARAM lparam) override;

 private:
  DpiScale scale_;
  UniqueFont font_;
};

// Lets the message loop give dialog keys (Tab, arrows, Enter) to the active form.
void RegisterDialogWindow(HWND hwnd);
void UnregisterDialogWindow(HWND hwnd);
bool HandleDialogMessage(MSG& msg);

}  // namespace tessmoor::win32
