#pragma once

#include <windows.h>

#include <string>

namespace tessmoor::win32 {

// The system's own words for error number `error`: in Japanese where the system has them, since
// the user interface is Japanese, otherwise in the user's language; empty when it has none.
std::wstring SystemMessage(DWORD error);

// The system's description of error `code` as one line without the system's trailing line break,
// followed by its number; where the system has no text for it, "エラー コード N". Never empty.
std::string SystemErrorText(DWORD code);

}  // namespace tessmoor::win32
