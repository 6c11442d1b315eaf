#include "platform/win32/registry_store.h"

#include <vector>

#include "platform/win32/utf.h"

namespace tessmoor::win32 {

StoredValue RegistryStore::Read(std::string_view key) {
  HKEY hkey = write_key_ ? write_key_.get() : read_key_.get();
  if (!hkey) {
    HKEY opened = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kKeyPath, 0, KEY_READ, &opened) != ERROR_SUCCESS) return {};
    read_key_.reset(opened);
    hkey = opened;
  }
  const std::wstring name = Widen(key);
  const auto is_text = [](DWORD type) { return type == REG_SZ || type == REG_EXPAND_SZ; };
  const StoredValue not_text{StoredValue::Kind::kNotText, {}};
  DWORD type = 0;
  DWORD bytes = 0;
  if (RegQueryValueExW(hkey, name.c_str(), nullptr, &type, nullptr, &bytes) != ERROR_SUCCESS) return {};
  if (!is_text(type)) return not_text;
  // The value may change between the two calls; retry with the size the second call reports.
  for (int attempt = 0; attempt < 4; ++attempt) {
    std::vector<wchar_t> buffer(bytes / sizeof(wchar_t) + 1, L'\0');
    DWORD size = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
    const LONG rc = RegQueryValueExW(hkey, name.c_str(), nullptr, &type,
                                     reinterpret_cast<BYTE*>(buffer.data()), &size);
    if (rc == ERROR_MORE_DATA) {
      bytes = size;
      continue;
    }
    if (rc != ERROR_SUCCESS) return {};
    if (!is_text(type)) return not_text;
    std::size_t chars = size / sizeof(wchar_t);
    // Stored strings may or may not carry their terminating zero.
    while (chars > 0 && buffer[chars - 1] == L'\0') --chars;
    return {StoredValue::Kind::kText, Narrow(std::wstring_view(buffer.data(), chars))};
  }
  return {};
}

WriteResult RegistryStore::WriteString(std::string_view key, std::string_view value) {
  if (!write_key_) {
    HKEY created = nullptr;
    const LONG rc = RegCreateKeyExW(HKEY_CURRENT_USER, kKeyPath, 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr,
                                    &created, nullptr);
    if (rc != ERROR_SUCCESS) return {static_cast<std::uint32_t>(rc)};
    write_key_.reset(created);
  }
  const std::wstring name = Widen(key);
  const std::wstring text = Widen(value);
  const DWORD bytes = static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t));
  const LONG rc = RegSetValueExW(write_key_.get(), name.c_str(), 0, REG_SZ,
                                 reinterpret_cast<const BYTE*>(text.c_str()), bytes);
  return {static_cast<std::uint32_t>(rc)};
}

}  // namespace tessmoor::win32
