#include "platform/win32/system_message.h"

namespace tessmoor::win32 {

std::wstring SystemMessage(DWORD error) {
  // LANG_NEUTRAL with SUBLANG_DEFAULT is the user's default language.
  const WORD languages[] = {MAKELANGID(LANG_JAPANESE, SUBLANG_JAPANESE_JAPAN), MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT)};
  for (const WORD language : languages) {
    wchar_t text[1024] = {};
    const DWORD n = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error,
                                   language, text, static_cast<DWORD>(std::size(text)), nullptr);
    if (n > 0) return std::wstring(text, n);
  }
  return {};
}

}  // namespace tessmoor::win32
