// The module's entry: turns the command line into UTF-8 arguments and runs the portable entry
// with the Win32 services below.
#include <windows.h>
#include <shellapi.h>

#include <memory>
#include <string>
#include <vector>

#include "app/entry.h"
#include "pattern2/win32/no2_form.h"
#include "platform/win32/file_system_win32.h"
#include "platform/win32/handles.h"
#include "platform/win32/registry_store.h"
#include "platform/win32/system_message.h"
#include "platform/win32/utf.h"
#include "platform/win32/window.h"
#include "setup/win32/settings_form.h"
#include "show/win32/no1_form.h"

namespace tessmoor {
namespace {

// The product's Japanese name, as its version resource gives it.
constexpr std::string_view kErrorCaption = "Tessmoor スクリーン セーバー";

class Win32EntryHost final : public EntryHost {
 public:
  KeyValueStore& OpenStore() override {
    if (!store_) store_ = std::make_unique<win32::RegistryStore>();
    return *store_;
  }

  GuardResult TakeSingleInstanceGuard() override {
    const std::wstring name = win32::Widen(kSingleInstanceMutexName);
    const win32::UniqueHandle other{OpenMutexW(MUTEX_ALL_ACCESS, FALSE, name.c_str())};
    const DWORD open_error = GetLastError();
    if (const auto met = AfterOpeningTheMutex(static_cast<bool>(other), open_error)) return *met;
    HANDLE made = CreateMutexW(nullptr, TRUE, name.c_str());
    const DWORD create_error = GetLastError();
    mutex_.reset(made);
    return AfterCreatingTheMutex(made != nullptr, create_error);
  }

  std::string SystemErrorText(std::uint32_t code) override { return win32::SystemErrorText(code); }

  void RunSettingsDialog(std::uintptr_t owner) override {
    HWND owner_window = reinterpret_cast<HWND>(owner);
    win32::Owned<TScrSetUpForm> dialog(OpenStore(), files_, IsWindow(owner_window) ? owner_window : nullptr);
    win32::RunMessageLoop();
  }

  void HideApplicationWindow() override {}

  void ShowPreviewParent(std::uintptr_t parent) override {
    ShowWindow(reinterpret_cast<HWND>(parent), SW_SHOW);
  }

  void RunForm(MainForm form, std::uintptr_t preview_parent) override {
    HWND parent = reinterpret_cast<HWND>(preview_parent);
    if (form == MainForm::kShowWindow || form == MainForm::kPattern1Preview) {
      win32::Owned<TNo1Form> show(OpenStore(), files_, form == MainForm::kShowWindow ? nullptr : parent);
      win32::RunMessageLoop();
    }
    if (form == MainForm::kPattern2Preview) {
      win32::Owned<pattern2::TNo2Form> preview(OpenStore(), files_, parent);
      win32::RunMessageLoop();
    }
  }

  void ShowError(std::string_view message) override {
    MessageBoxW(nullptr, win32::Widen(message).c_str(), win32::Widen(kErrorCaption).c_str(),
                MB_OK | MB_ICONERROR | MB_TOPMOST);
  }

 private:
  std::unique_ptr<win32::RegistryStore> store_;
  win32::Win32FileSystem files_;
  win32::UniqueHandle mutex_;
};

std::vector<std::string> Arguments() {
  int count = 0;
  const win32::UniqueLocal<LPWSTR*> argv(CommandLineToArgvW(GetCommandLineW(), &count));
  std::vector<std::string> args;
  for (int i = 1; argv && i < count; ++i) args.push_back(win32::Narrow(argv.get()[i]));
  return args;
}

}  // namespace
}  // namespace tessmoor

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  tessmoor::Win32EntryHost host;
  return tessmoor::RunEntry(tessmoor::Arguments(), host);
}
