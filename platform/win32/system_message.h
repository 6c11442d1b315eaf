#pragma once
#include <windows.h>

#include <string>

namespace tessmoor::win32 {

// The system's description of error `code` in Japanese, whatever the system's own language, as
// one line without the system's trailing line break; where the system has no Japanese text for
// it, "エラー コード N". Never empty.
std::string SystemErrorText(DWORD code);

}  // namespace tessmoor::win32
