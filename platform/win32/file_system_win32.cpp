#include "platform/win32/file_system_win32.h"

#include <windows.h>

#include "platform/win32/handles.h"
#include "platform/win32/utf.h"

namespace tessmoor::win32 {

bool Win32FileSystem::FileExists(std::string_view path) {
  if (path.empty()) return false;
  const DWORD attributes = GetFileAttributesW(Widen(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::optional<std::vector<std::uint8_t>> Win32FileSystem::ReadFile(std::string_view path,
                                                                    std::size_t max_bytes) {
  if (path.empty()) return std::nullopt;
  UniqueFile file(CreateFileW(Widen(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (!file) return std::nullopt;
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file.get(), &size) || size.QuadPart < 0 ||
      static_cast<unsigned long long>(size.QuadPart) > max_bytes)
    return std::nullopt;
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size.QuadPart));
  std::size_t done = 0;
  while (done < bytes.size()) {
    DWORD chunk = 0;
    const DWORD want = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 24));
    if (!::ReadFile(file.get(), bytes.data() + done, want, &chunk, nullptr) || chunk == 0)
      return std::nullopt;
    done += chunk;
  }
  return bytes;
}

}  // namespace tessmoor::win32
