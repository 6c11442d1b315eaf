#include "platform/win32/system_message.h"

#include "platform/win32/handles.h"
#include "platform/win32/utf.h"

namespace tessmoor::win32 {

std::string SystemErrorText(DWORD code) {
  const std::string number = "エラー コード " + std::to_string(code);
  LPWSTR buffer = nullptr;
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code,
      MAKELANGID(LANG_JAPANESE, SUBLANG_JAPANESE_JAPAN), reinterpret_cast<LPWSTR>(&buffer), 0, nullptr);
  const UniqueLocal<LPWSTR> owned(buffer);
  if (length == 0 || !owned) return number;
  std::wstring text(owned.get(), length);
  while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' ')) text.pop_back();
  if (text.empty()) return number;
  return Narrow(text) + "（" + number + "）";
}

}  // namespace tessmoor::win32
