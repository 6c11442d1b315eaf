#pragma once
#include <windows.h>

#include <string>

namespace tessmoor::win32 {

// The system's own words for error number `error`: in Japanese where the system has them, since
// the user interface is Japanese, otherwise in the user's language; empty when it has none.
std::wstring SystemMessage(DWORD error);

}  // namespace tessmoor::win32
