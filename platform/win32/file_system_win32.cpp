#include "platform/win32/file_system_win32.h"

#include <windows.h>

#include "platform/text.h"
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

std::optional<std::string> Win32FileSystem::FullPath(std::string_view path) {
  if (path.empty()) return std::nullopt;
  const std::wstring wide = Widen(path);
  const DWORD needed = GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
  if (needed == 0) return std::nullopt;
  std::wstring full(needed, L'\0');
  const DWORD written = GetFullPathNameW(wide.c_str(), needed, full.data(), nullptr);
  if (written == 0 || written >= needed) return std::nullopt;
  full.resize(written);
  return Narrow(full);
}

bool Win32FileSystem::FolderExists(std::string_view path) {
  if (path.empty()) return false;
  const DWORD attributes = GetFileAttributesW(Widen(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::optional<std::vector<FolderEntry>> Win32FileSystem::ListFolder(std::string_view path) {
  if (path.empty()) return std::nullopt;
  WIN32_FIND_DATAW found{};
  UniqueFind find(FindFirstFileExW(Widen(JoinPath(path, "*")).c_str(), FindExInfoBasic, &found,
                                   FindExSearchNameMatch, nullptr, 0));
  std::vector<FolderEntry> entries;
  if (!find) {
    // A drive root with nothing in it has no "." to find.
    if (GetLastError() == ERROR_FILE_NOT_FOUND) return entries;
    return std::nullopt;
  }
  do {
    const std::wstring_view name = found.cFileName;
    if (name == L"." || name == L"..") continue;
    entries.push_back({Narrow(name), (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0,
                       (found.dwFileAttributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) != 0});
  } while (FindNextFileW(find.get(), &found));
  return entries;
}

std::vector<Drive> Win32FileSystem::ListDrives() {
  std::vector<Drive> drives;
  const DWORD size = GetLogicalDriveStringsW(0, nullptr);
  std::wstring all(size, L'\0');
  all.resize(GetLogicalDriveStringsW(size, all.data()));
  for (std::size_t at = 0; at < all.size();) {
    const std::wstring root = all.c_str() + at;
    at += root.size() + 1;
    if (root.empty()) continue;
    Drive drive{Narrow(root), {}};
    const UINT type = GetDriveTypeW(root.c_str());
    if (type == DRIVE_FIXED || type == DRIVE_RAMDISK) {
      wchar_t label[MAX_PATH + 1] = {};
      if (GetVolumeInformationW(root.c_str(), label, MAX_PATH + 1, nullptr, nullptr, nullptr, nullptr, 0))
        drive.label = Narrow(label);
    }
    drives.push_back(std::move(drive));
  }
  return drives;
}

bool Win32FileSystem::NameBefore(std::string_view a, std::string_view b) {
  const std::wstring wa = Widen(a);
  const std::wstring wb = Widen(b);
  return CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, wa.c_str(), static_cast<int>(wa.size()), wb.c_str(),
                        static_cast<int>(wb.size())) == CSTR_LESS_THAN;
}

}  // namespace tessmoor::win32
