#include "platform/win32/system_message.h"

#include "platform/win32/utf.h"

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

std::string SystemErrorText(DWORD code) {
  const std::string number = "エラー コード " + std::to_string(code);
  std::wstring text = SystemMessage(code);
  while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' ')) text.pop_back();
  if (text.empty()) return number;
  return Narrow(text) + "（" + number + "）";
}

}  // namespace tessmoor::win32
