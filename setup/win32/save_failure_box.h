#pragma once
#include <windows.h>

#include <cstdint>

namespace tessmoor {

// Tells the user, in a message box over `owner`, that a dialog's save was refused with the
// system's error number `error` (SaveFailureText with the system's message).
void ShowSaveFailureBox(HWND owner, std::uint32_t error);

}  // namespace tessmoor
