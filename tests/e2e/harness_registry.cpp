// Reading and writing the registry: the module's settings key, and the keys of Windows that the
// tests set up around it.
#include "tests/e2e/harness.h"

#include <sddl.h>

namespace tessmoor::e2e::registry {

namespace {

constexpr const wchar_t* kSettingsKey = L"Software\\Quorvane\\ScreenSaver\\LumivaleReg";

win32::UniqueRegKey Open(HKEY root, const std::wstring& key, REGSAM access) {
  HKEY opened = nullptr;
  if (RegOpenKeyExW(root, key.c_str(), 0, access, &opened) != ERROR_SUCCESS) return {};
  return win32::UniqueRegKey(opened);
}

win32::UniqueRegKey Create(HKEY root, const std::wstring& key) {
  HKEY created = nullptr;
  if (RegCreateKeyExW(root, key.c_str(), 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr, &created, nullptr) !=
      ERROR_SUCCESS)
    return {};
  return win32::UniqueRegKey(created);
}

// The raw data of a value and its type; nothing when there is no such value.
std::optional<std::vector<BYTE>> ReadRaw(HKEY root, const std::wstring& key, const std::wstring& name, DWORD flags,
                                         DWORD* type = nullptr) {
  DWORD size = 0;
  if (RegGetValueW(root, key.c_str(), name.c_str(), flags, type, nullptr, &size) != ERROR_SUCCESS) return std::nullopt;
  std::vector<BYTE> data(size);
  if (RegGetValueW(root, key.c_str(), name.c_str(), flags, type, data.data(), &size) != ERROR_SUCCESS)
    return std::nullopt;
  data.resize(size);
  return data;
}

void WriteRaw(HKEY root, const std::wstring& key, const std::wstring& name, DWORD type, const void* data, DWORD size) {
  const win32::UniqueRegKey opened = Create(root, key);
  if (opened) RegSetValueExW(opened.get(), name.c_str(), 0, type, static_cast<const BYTE*>(data), size);
}

DWORD BytesOf(const std::wstring& text) { return static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)); }

}  // namespace

std::optional<std::wstring> ReadString(HKEY root, const std::wstring& key, const std::wstring& name) {
  const auto data = ReadRaw(root, key, name, RRF_RT_REG_SZ);
  if (!data) return std::nullopt;
  return std::wstring(reinterpret_cast<const wchar_t*>(data->data()), data->size() / sizeof(wchar_t)).c_str();
}

std::optional<DWORD> ReadDword(HKEY root, const std::wstring& key, const std::wstring& name) {
  DWORD value = 0;
  DWORD size = sizeof(value);
  if (RegGetValueW(root, key.c_str(), name.c_str(), RRF_RT_REG_DWORD, nullptr, &value, &size) != ERROR_SUCCESS)
    return std::nullopt;
  return value;
}

void WriteString(HKEY root, const std::wstring& key, const std::wstring& name, const std::wstring& value) {
  WriteRaw(root, key, name, REG_SZ, value.c_str(), BytesOf(value));
}

void DeleteValue(HKEY root, const std::wstring& key, const std::wstring& name) {
  RegDeleteKeyValueW(root, key.c_str(), name.c_str());
}

bool KeyExists(HKEY root, const std::wstring& key) { return static_cast<bool>(Open(root, key, KEY_READ)); }

ScopedValue::ScopedValue(HKEY root, std::wstring key, std::wstring name, const std::wstring& text)
    : root_(root), key_(std::move(key)), name_(std::move(name)) {
  Set(REG_SZ, text.c_str(), BytesOf(text));
}

ScopedValue::ScopedValue(HKEY root, std::wstring key, std::wstring name, DWORD number)
    : root_(root), key_(std::move(key)), name_(std::move(name)) {
  Set(REG_DWORD, &number, sizeof(number));
}

void ScopedValue::Set(DWORD type, const void* data, DWORD size) {
  old_ = ReadRaw(root_, key_, name_, RRF_RT_ANY | RRF_NOEXPAND, &old_type_);
  WriteRaw(root_, key_, name_, type, data, size);
}

ScopedValue::~ScopedValue() {
  if (old_)
    WriteRaw(root_, key_, name_, old_type_, old_->data(), static_cast<DWORD>(old_->size()));
  else
    DeleteValue(root_, key_, name_);
}

void DeleteSettings() { RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Quorvane"); }

bool KeyExists() { return KeyExists(HKEY_CURRENT_USER, kSettingsKey); }

std::optional<std::wstring> Read(const std::wstring& name) { return ReadString(HKEY_CURRENT_USER, kSettingsKey, name); }

void Write(const std::wstring& name, const std::wstring& value) {
  WriteString(HKEY_CURRENT_USER, kSettingsKey, name, value);
}

std::map<std::wstring, std::wstring> All() {
  std::map<std::wstring, std::wstring> values;
  const win32::UniqueRegKey key = Open(HKEY_CURRENT_USER, kSettingsKey, KEY_READ);
  if (!key) return values;
  for (DWORD i = 0;; ++i) {
    wchar_t name[512];
    DWORD name_size = 512;
    wchar_t data[4096];
    DWORD data_size = sizeof(data);
    DWORD type = 0;
    if (RegEnumValueW(key.get(), i, name, &name_size, nullptr, &type, reinterpret_cast<BYTE*>(data), &data_size) !=
        ERROR_SUCCESS)
      break;
    if (type == REG_SZ) values[name] = std::wstring(data, data_size / sizeof(wchar_t)).c_str();
  }
  return values;
}

void WriteDword(const std::wstring& name, DWORD value) {
  WriteRaw(HKEY_CURRENT_USER, kSettingsKey, name, REG_DWORD, &value, sizeof(value));
}

std::optional<DWORD> ReadDword(const std::wstring& name) { return ReadDword(HKEY_CURRENT_USER, kSettingsKey, name); }

ScopedWriteDenial::ScopedWriteDenial() {
  Create(HKEY_CURRENT_USER, kSettingsKey);
  const win32::UniqueRegKey key = Open(HKEY_CURRENT_USER, kSettingsKey, READ_CONTROL | WRITE_DAC);
  if (!key) return;
  DWORD size = 0;
  RegGetKeySecurity(key.get(), DACL_SECURITY_INFORMATION, nullptr, &size);
  former_.resize(size);
  if (size == 0 || RegGetKeySecurity(key.get(), DACL_SECURITY_INFORMATION, former_.data(), &size) != ERROR_SUCCESS) {
    former_.clear();
    return;
  }
  // Everyone: KEY_SET_VALUE denied, everything else allowed.
  PSECURITY_DESCRIPTOR denial = nullptr;
  if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(L"D:(D;;0x2;;;WD)(A;;KA;;;WD)", SDDL_REVISION_1,
                                                            &denial, nullptr))
    return;
  RegSetKeySecurity(key.get(), DACL_SECURITY_INFORMATION, denial);
  LocalFree(denial);
}

ScopedWriteDenial::~ScopedWriteDenial() {
  if (former_.empty()) return;
  const win32::UniqueRegKey key = Open(HKEY_CURRENT_USER, kSettingsKey, READ_CONTROL | WRITE_DAC);
  if (key) RegSetKeySecurity(key.get(), DACL_SECURITY_INFORMATION, former_.data());
}

bool ScopedWriteDenial::Active() const {
  HKEY opened = nullptr;
  const LONG rc = RegOpenKeyExW(HKEY_CURRENT_USER, kSettingsKey, 0, KEY_SET_VALUE, &opened);
  if (rc == ERROR_SUCCESS) RegCloseKey(opened);
  return rc == ERROR_ACCESS_DENIED;
}

}  // namespace tessmoor::e2e::registry
