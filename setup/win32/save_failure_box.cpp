#include "setup/win32/save_failure_box.h"

#include "platform/win32/system_message.h"
#include "platform/win32/utf.h"
#include "setup/save_writes.h"

namespace tessmoor {

void ShowSaveFailureBox(HWND owner, std::uint32_t error) {
  const std::string system = win32::Narrow(win32::SystemMessage(error));
  const std::wstring text = win32::Widen(SaveFailureText(error, system));
  MessageBoxW(owner, text.c_str(), win32::Widen(kSaveFailureTitle).c_str(), MB_OK | MB_ICONERROR);
}

}  // namespace tessmoor
