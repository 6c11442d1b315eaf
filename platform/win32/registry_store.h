#pragma once
#include <string>

#include "platform/store.h"
#include "platform/win32/handles.h"

namespace tessmoor::win32 {

// The settings in the current user's registry: REG_SZ values under
// HKCU\Software\Quorvane\ScreenSaver\LumivaleReg, read and written through the wide-character API
// so that any text round-trips. A value of another registry type (REG_DWORD, REG_BINARY ...)
// reads as kNotText. Reading never creates the key; the first write does.
class RegistryStore final : public KeyValueStore {
 public:
  static constexpr const wchar_t* kKeyPath = L"Software\\Quorvane\\ScreenSaver\\LumivaleReg";

  StoredValue Read(std::string_view key) override;
  WriteResult WriteString(std::string_view key, std::string_view value) override;

 private:
  UniqueRegKey read_key_;
  UniqueRegKey write_key_;
};

}  // namespace tessmoor::win32
