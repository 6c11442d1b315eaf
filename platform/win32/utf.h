#pragma once
#include <string>
#include <string_view>

namespace tessmoor::win32 {

// UTF-8 inside, UTF-16 at every Win32 call.
std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view utf16);

}  // namespace tessmoor::win32
