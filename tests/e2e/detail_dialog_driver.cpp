#include "tests/e2e/detail_dialog_driver.h"

#include <gtest/gtest.h>

namespace tessmoor::e2e {

namespace {

// Chooses the pattern by its radio button and presses "詳細設定" in "動作"; the new dialog.
HWND PressDetailButton(const SettingsDialogDriver& settings, const char* pattern_radio, const wchar_t* title) {
  HWND radio = settings.Control(pattern_radio);
  HWND button = settings.Control("NoImageRegFileDSaveButton");
  if (!radio || !button) {
    ADD_FAILURE() << "the settings dialog has no pattern radio button or no detail button in 動作";
    return nullptr;
  }
  settings.Click(radio);
  HWND opened = AwaitNewWindow(settings.pid(), title, [&] { settings.Click(button); }, kDialogOpen);
  if (!opened) ADD_FAILURE() << "\"詳細設定\" opened no \"" << Narrow(title) << "\" dialog";
  return opened;
}

}  // namespace

Pattern1DetailDriver Pattern1DetailDriver::OpenFrom(const SettingsDialogDriver& settings) {
  return Pattern1DetailDriver(PressDetailButton(settings, "No1ScrActionRadioButton", kTitle));
}

Pattern2DetailDriver Pattern2DetailDriver::OpenFrom(const SettingsDialogDriver& settings) {
  return Pattern2DetailDriver(PressDetailButton(settings, "No2ScrActionRadioButton", kTitle));
}

}  // namespace tessmoor::e2e
