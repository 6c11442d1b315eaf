// The release as a user receives it: the installer run silently, as an administrator's script
// would, and once as a user clicks through it: where it puts the files, the screen-saver key, the
// installed module starting from there, the help file opening in the Windows help viewer through
// the version dialog's request, and the uninstaller. These tests change the Windows of their
// prefix (System32, HKLM), so they run in a prefix of their own.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "setup/version_dialog_model.h"
#include "tests/e2e/harness.h"

namespace tessmoor::e2e {
namespace {

using namespace std::chrono_literals;

constexpr auto kStart = 15s;
constexpr const wchar_t* kUninstallKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Tessmoor";
constexpr const wchar_t* kDesktopKey = L"Control Panel\\Desktop";

std::wstring FolderOf(const std::wstring& path) { return path.substr(0, path.find_last_of(L"\\/") + 1); }

std::wstring BuiltHelpFile() { return FolderOf(GetOptions().module) + L"Tessmoor.chm"; }

// The entry of Tessmoor in the list of installed programs.
std::optional<std::wstring> UninstallEntry(const wchar_t* name) {
  return registry::ReadString(HKEY_LOCAL_MACHINE, kUninstallKey, name);
}
std::optional<DWORD> UninstallNumber(const wchar_t* name) {
  return registry::ReadDword(HKEY_LOCAL_MACHINE, kUninstallKey, name);
}
// The user's desktop settings, where the current screen saver is named.
std::optional<std::wstring> DesktopSetting(const wchar_t* name) {
  return registry::ReadString(HKEY_CURRENT_USER, kDesktopKey, name);
}

std::wstring SystemFolder() {
  wchar_t buffer[MAX_PATH];
  GetSystemDirectoryW(buffer, MAX_PATH);
  return std::wstring(buffer) + L"\\";
}

class ReleaseInstall : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* installer = std::getenv("TESSMOOR_INSTALLER");
    ASSERT_NE(installer, nullptr) << "TESSMOOR_INSTALLER names no installer: the release tests run as the build's "
                                     "release test runs them";
    installer_ = ToWindowsPath(Wide(installer));
    ASSERT_TRUE(FileExists(installer_)) << Narrow(installer_);
    registry::DeleteSettings();
    registry::DeleteValue(HKEY_CURRENT_USER, kDesktopKey, L"SCRNSAVE.EXE");
    if (registry::KeyExists(HKEY_LOCAL_MACHINE, kUninstallKey)) Uninstall(L"");
    ASSERT_FALSE(FileExists(scr_)) << "an earlier install is still there";
  }
  void TearDown() override {
    if (registry::KeyExists(HKEY_LOCAL_MACHINE, kUninstallKey)) Uninstall(L"/REMOVESETTINGS=1");
  }

  void Install(const std::wstring& switches) {
    const Finished run = RunAndWait(L"\"" + installer_ + L"\" /S " + switches, 60s);
    ASSERT_TRUE(run.exit_code.has_value()) << "the installer did not finish";
    ASSERT_EQ(*run.exit_code, 0u) << "exit code 2: the installer holds no module for this Windows";
  }
  void Uninstall(const std::wstring& switches) {
    const auto quiet = UninstallEntry(L"QuietUninstallString");
    ASSERT_TRUE(quiet.has_value()) << "no QuietUninstallString";
    const Finished run = RunAndWait(*quiet + L" " + switches, 60s);
    ASSERT_EQ(run.exit_code, std::optional<DWORD>(0u));
    ASSERT_TRUE(WaitForChildrenOf(run.pid, 30s)) << "the uninstaller did not finish";
  }
  std::wstring UninstallerPath() const {
    std::wstring command = UninstallEntry(L"UninstallString").value_or(L"");
    command.erase(std::remove(command.begin(), command.end(), L'"'), command.end());
    return command;
  }

  std::wstring installer_;
  const std::wstring scr_ = SystemFolder() + L"Tessmoor.scr";
  const std::wstring chm_ = SystemFolder() + L"Tessmoor.chm";
};

TEST_F(ReleaseInstall, PutsModuleAndHelpInTheSystemFolderAndRegistersTheUninstaller) {
  const std::wstring other = SystemFolder() + L"other.scr";
  registry::WriteString(HKEY_CURRENT_USER, kDesktopKey, L"SCRNSAVE.EXE", other);
  Install(L"");

  ASSERT_TRUE(FileExists(scr_));
  EXPECT_EQ(ReadWholeFile(scr_), ReadWholeFile(GetOptions().module)) << "not the module this build made";
  ASSERT_TRUE(FileExists(chm_));
  EXPECT_EQ(ReadWholeFile(chm_), ReadWholeFile(BuiltHelpFile()));
  EXPECT_EQ(DesktopSetting(L"SCRNSAVE.EXE"), other) << "changed without /SETACTIVE=1";

  EXPECT_EQ(UninstallEntry(L"DisplayName"), L"Tessmoor");
  EXPECT_EQ(UninstallEntry(L"DisplayVersion"), L"1.2.2");
  EXPECT_FALSE(UninstallEntry(L"Publisher").value_or(L"").empty());
  EXPECT_EQ(LowerCased(UninstallEntry(L"DisplayIcon").value_or(L"")), LowerCased(scr_ + L",0"));
  const std::wstring uninstaller = UninstallerPath();
  EXPECT_TRUE(FileExists(uninstaller)) << Narrow(uninstaller);
  EXPECT_EQ(UninstallEntry(L"QuietUninstallString"),
            L"\"" + uninstaller + L"\" /S");
  const std::size_t module_kb = ReadWholeFile(scr_).size() / 1024;
  EXPECT_GE(UninstallNumber(L"EstimatedSize").value_or(0), module_kb);
  EXPECT_EQ(UninstallNumber(L"NoModify"), std::optional<DWORD>(1u));
  EXPECT_EQ(UninstallNumber(L"NoRepair"), std::optional<DWORD>(1u));
}

TEST_F(ReleaseInstall, SetActiveSwitchMakesTessmoorTheCurrentScreenSaver) {
  Install(L"/SETACTIVE=1");
  EXPECT_EQ(LowerCased(DesktopSetting(L"SCRNSAVE.EXE").value_or(L"")), LowerCased(scr_));
  EXPECT_EQ(DesktopSetting(L"ScreenSaveActive"), L"1");
  BOOL active = FALSE;
  SystemParametersInfoW(SPI_GETSCREENSAVEACTIVE, 0, &active, 0);
  EXPECT_TRUE(active);
}

HWND FindChild(HWND parent, const std::wstring& text) {
  const std::vector<HWND> found = ChildrenWithText(parent, text, L"Button");
  return found.empty() ? nullptr : found.front();
}

// A visible top-level window of process `pid` whose title starts with `prefix`.
HWND FindTopWindow(DWORD pid, const std::wstring& prefix) {
  for (HWND hwnd : TopWindowsOf(pid))
    if (WindowText(hwnd).rfind(prefix, 0) == 0) return hwnd;
  return nullptr;
}

TEST_F(ReleaseInstall, InteractiveInstallerOffersBothChoicesTickedAndDoesWhatIsLeftTicked) {
  Process installer(L"\"" + installer_ + L"\"");
  HWND wizard = nullptr;
  ASSERT_TRUE(WaitUntil([&] { return (wizard = FindTopWindow(installer.pid(), L"Tessmoor 1.2.2")) != nullptr; }, kStart))
      << "the installer showed no window";
  HWND next = GetDlgItem(wizard, IDOK);
  ASSERT_NE(next, nullptr);
  SendBounded(next, BM_CLICK);

  HWND set_active = nullptr, open_settings = nullptr;
  ASSERT_TRUE(WaitUntil([&] {
    set_active = FindChild(wizard, L"Make Tessmoor the current screen saver");
    open_settings = FindChild(wizard, L"Open the screen saver settings at the end");
    return set_active && open_settings;
  }, 10s)) << "no page with the two choices";
  EXPECT_EQ(SendBounded(set_active, BM_GETCHECK), BST_CHECKED);
  EXPECT_EQ(SendBounded(open_settings, BM_GETCHECK), BST_CHECKED);
  PumpFor(300ms);
  CaptureScreen().Save(L"installer-choices");
  // Opening the settings needs the real control panel; the test leaves it unticked.
  SendBounded(open_settings, BM_CLICK);
  EXPECT_EQ(SendBounded(open_settings, BM_GETCHECK), BST_UNCHECKED);
  SendBounded(next, BM_CLICK);

  ASSERT_TRUE(WaitUntil([&] { return WindowText(next) == L"&Finish"; }, 30s)) << "the finish page never came";
  SendBounded(next, BM_CLICK);
  const std::optional<DWORD> code = installer.WaitExit(10s);
  ASSERT_TRUE(code.has_value());
  EXPECT_EQ(*code, 0u);
  EXPECT_TRUE(FileExists(scr_));
  EXPECT_EQ(LowerCased(DesktopSetting(L"SCRNSAVE.EXE").value_or(L"")), LowerCased(scr_));
}

TEST_F(ReleaseInstall, InstalledModuleRunsTheShowFromTheSystemFolder) {
  Install(L"/SETACTIVE=1");
  // What Windows starts when the screen saver comes on: the path in its screen-saver key.
  const std::wstring path = DesktopSetting(L"SCRNSAVE.EXE").value_or(L"");
  Module show(path, L"/s");
  HWND window = show.WaitWindow(L"No1Form", kStart);
  ASSERT_NE(window, nullptr) << "the installed module showed no show window";
  wchar_t image[MAX_PATH];
  DWORD length = MAX_PATH;
  ASSERT_TRUE(QueryFullProcessImageNameW(show.process(), 0, image, &length));
  EXPECT_EQ(LowerCased(image), LowerCased(scr_));
  EXPECT_TRUE(registry::KeyExists()) << "the show wrote no first-run settings";
  PostMessageW(window, WM_KEYDOWN, VK_SPACE, 0);
  EXPECT_EQ(show.WaitExit(5s), std::optional<DWORD>(0u));
}

// The names of the contents entries of a .hhc file, in order.
std::vector<std::wstring> ContentsNames(const std::string& hhc) {
  std::vector<std::wstring> names;
  const std::string marker = "<param name=\"Name\" value=\"";
  for (std::size_t at = hhc.find(marker); at != std::string::npos; at = hhc.find(marker, at + 1)) {
    const std::size_t begin = at + marker.size();
    names.push_back(Wide(hhc.substr(begin, hhc.find('"', begin) - begin)));
  }
  return names;
}

TEST_F(ReleaseInstall, HelpButtonsRequestOpensTheInstalledHelpFileWithEveryPageInItsContents) {
  Install(L"");
  // What the version dialog's help button asks of the shell for the installed module.
  const ShellExecuteRequest request = HelpRequest(Narrow(scr_));
  const std::wstring file = Wide(request.file);
  EXPECT_EQ(file, LowerCased(chm_));
  ASSERT_TRUE(FileExists(file)) << "the help button would find no help file";

  const std::wstring verb = Wide(request.verb);
  SHELLEXECUTEINFOW info{};
  info.cbSize = sizeof(info);
  info.fMask = request.mask;
  info.lpVerb = verb.c_str();
  info.lpFile = file.c_str();
  info.nShow = request.show_command;
  ASSERT_TRUE(ShellExecuteExW(&info)) << GetLastError();
  ASSERT_NE(info.hProcess, nullptr);
  const win32::UniqueHandle viewer_process(info.hProcess);
  const DWORD viewer = GetProcessId(info.hProcess);

  HWND window = nullptr;
  WaitUntil([&] {
    window = FindWindowW(nullptr, L"Tessmoor Help");
    DWORD pid = 0;
    if (window) GetWindowThreadProcessId(window, &pid);
    return window && pid == viewer;
  }, kStart);
  HWND tree = nullptr;
  if (window) {
    WaitUntil([&] {
      for (HWND child : ChildWindows(window)) {
        wchar_t cls[64];
        GetClassNameW(child, cls, 64);
        if (std::wstring(cls) == WC_TREEVIEWW && SendMessageW(child, TVM_GETCOUNT, 0, 0) > 0) tree = child;
      }
      return tree != nullptr;
    }, kStart);
  }
  std::vector<std::wstring> shown;
  if (tree) {
    // The Japanese book opened, for the screenshot.
    SendMessageW(tree, TVM_EXPAND, TVE_EXPAND, SendMessageW(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0));
    PumpFor(500ms);
    CaptureScreen().Save(L"help-viewer");
    shown = TreeViewTexts(tree, info.hProcess);
  }
  TerminateProcess(info.hProcess, 0);
  WaitForSingleObject(info.hProcess, 5000);
  ASSERT_NE(window, nullptr) << "the help viewer showed no window titled \"Tessmoor Help\"";
  ASSERT_NE(tree, nullptr) << "the help viewer shows no table of contents";

  const char* source = std::getenv("TESSMOOR_HELP_SOURCE");
  ASSERT_NE(source, nullptr) << "TESSMOOR_HELP_SOURCE names no help sources";
  const std::vector<std::wstring> expected = ContentsNames(ReadWholeFile(ToWindowsPath(Wide(source)) + L"\\tessmoor.hhc"));
  ASSERT_GT(expected.size(), 30u);
  EXPECT_EQ(shown, expected);
}

TEST_F(ReleaseInstall, UninstallerRemovesWhatItInstalledResetsTheScreenSaverAndKeepsSettings) {
  Install(L"/SETACTIVE=1");
  registry::Write(L"ScrActionRegSelectNoFlag", L"2");
  const std::wstring uninstaller = UninstallerPath();
  ASSERT_TRUE(FileExists(uninstaller));
  Uninstall(L"");

  EXPECT_FALSE(FileExists(scr_));
  EXPECT_FALSE(FileExists(chm_));
  EXPECT_FALSE(FileExists(uninstaller));
  EXPECT_FALSE(FileExists(FolderOf(uninstaller))) << "the uninstaller's folder stays";
  EXPECT_FALSE(registry::KeyExists(HKEY_LOCAL_MACHINE, kUninstallKey));
  EXPECT_EQ(DesktopSetting(L"SCRNSAVE.EXE"), std::nullopt);
  EXPECT_EQ(registry::Read(L"ScrActionRegSelectNoFlag"), L"2") << "settings went without being asked to";
}

TEST_F(ReleaseInstall, RemoveSettingsSwitchDeletesTheSettingsKeyAndItsEmptyParentsButNoOtherScreenSaver) {
  Install(L"");
  registry::Write(L"ScrActionRegSelectNoFlag", L"2");
  const std::wstring other = SystemFolder() + L"other.scr";
  registry::WriteString(HKEY_CURRENT_USER, kDesktopKey, L"SCRNSAVE.EXE", other);
  Uninstall(L"/REMOVESETTINGS=1");

  EXPECT_FALSE(FileExists(scr_));
  EXPECT_FALSE(registry::KeyExists());
  EXPECT_FALSE(registry::KeyExists(HKEY_CURRENT_USER, L"Software\\Quorvane\\ScreenSaver"));
  EXPECT_FALSE(registry::KeyExists(HKEY_CURRENT_USER, L"Software\\Quorvane"));
  EXPECT_EQ(DesktopSetting(L"SCRNSAVE.EXE"), other);
}

}  // namespace
}  // namespace tessmoor::e2e
