// The release as a user receives it: the module's resources read back from the built file, and the
// installer run silently, as an administrator's script would: where it puts the files, the
// screen-saver key, the installed module starting from there, the help file opening in the Windows
// help viewer through the version dialog's request, and the uninstaller.
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cwctype>
#include <optional>
#include <set>
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

std::wstring Widen(std::string_view utf8) {
  if (utf8.empty()) return {};
  const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring out(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), out.data(), n);
  return out;
}

std::string Narrow(const std::wstring& wide) {
  if (wide.empty()) return {};
  const int n = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), out.data(), n, nullptr, nullptr);
  return out;
}

std::wstring Lower(std::wstring s) {
  for (wchar_t& c : s) c = static_cast<wchar_t>(std::towlower(c));
  return s;
}

std::wstring FolderOf(const std::wstring& path) { return path.substr(0, path.find_last_of(L"\\/") + 1); }

bool FileExists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::string ReadWholeFile(const std::wstring& path) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return {};
  std::string data;
  char buffer[65536];
  DWORD got = 0;
  while (ReadFile(file, buffer, sizeof(buffer), &got, nullptr) && got > 0) data.append(buffer, got);
  CloseHandle(file);
  return data;
}

std::wstring BuiltHelpFile() { return FolderOf(GetOptions().module) + L"Tessmoor.chm"; }

// ---- The module's resources, read from the built file without running it.

class ReleaseModule : public ::testing::Test {
 protected:
  void SetUp() override {
    module_ = LoadLibraryExW(GetOptions().module.c_str(), nullptr,
                             LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    ASSERT_NE(module_, nullptr) << "cannot open the module as a resource file (" << GetLastError() << ")";
  }
  void TearDown() override {
    if (module_) FreeLibrary(module_);
  }
  std::string_view Resource(LPCWSTR type, LPCWSTR name) const {
    HRSRC found = FindResourceW(module_, name, type);
    if (!found) return {};
    HGLOBAL loaded = LoadResource(module_, found);
    return {static_cast<const char*>(LockResource(loaded)), SizeofResource(module_, found)};
  }
  HMODULE module_ = nullptr;
};

TEST_F(ReleaseModule, StringOneIsTheNameTheScreenSaverListShows) {
  wchar_t text[64] = {};
  ASSERT_GT(LoadStringW(module_, 1, text, 64), 0);
  EXPECT_STREQ(text, L"Tessmoor");
}

std::wstring VersionString(const std::vector<char>& block, const std::wstring& translation, const wchar_t* name) {
  void* value = nullptr;
  UINT length = 0;
  const std::wstring query = L"\\StringFileInfo\\" + translation + L"\\" + name;
  if (!VerQueryValueW(block.data(), query.c_str(), &value, &length) || length == 0) return L"<missing>";
  return static_cast<const wchar_t*>(value);
}

TEST_F(ReleaseModule, VersionBlockGivesOneTwoTwoInJapaneseAndEnglish) {
  const std::wstring path = GetOptions().module;
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
  ASSERT_GT(size, 0u) << "no VERSIONINFO";
  std::vector<char> block(size);
  ASSERT_TRUE(GetFileVersionInfoW(path.c_str(), 0, size, block.data()));

  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
  EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
  EXPECT_EQ(fixed->dwFileVersionMS, (1u << 16) | 2u);
  EXPECT_EQ(fixed->dwFileVersionLS, 2u << 16);
  EXPECT_EQ(fixed->dwProductVersionMS, (1u << 16) | 2u);
  EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));

  struct Translation { WORD language, code_page; };
  Translation* translations = nullptr;
  ASSERT_TRUE(VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translations), &length));
  ASSERT_EQ(length, 2 * sizeof(Translation));
  EXPECT_EQ(translations[0].language, 0x0411);
  EXPECT_EQ(translations[0].code_page, 1200);
  EXPECT_EQ(translations[1].language, 0x0409);
  EXPECT_EQ(translations[1].code_page, 1200);

  for (const wchar_t* translation : {L"041104B0", L"040904B0"}) {
    SCOPED_TRACE(Narrow(translation));
    EXPECT_EQ(VersionString(block, translation, L"ProductName"), L"Tessmoor");
    EXPECT_EQ(VersionString(block, translation, L"FileVersion"), L"1.2.2.0");
    EXPECT_EQ(VersionString(block, translation, L"ProductVersion"), L"1.2.2");
    EXPECT_EQ(VersionString(block, translation, L"OriginalFilename"), L"Tessmoor.scr");
    EXPECT_NE(VersionString(block, translation, L"FileDescription").find(L"Tessmoor"), std::wstring::npos);
    EXPECT_NE(VersionString(block, translation, L"CompanyName"), L"<missing>");
    EXPECT_NE(VersionString(block, translation, L"LegalCopyright"), L"<missing>");
  }
  // The version dialog shows the same version as the file's properties.
  EXPECT_EQ(Widen(kProductTitle), L"Tessmoor Ver" + VersionString(block, L"040904B0", L"ProductVersion"));
}

#pragma pack(push, 2)
struct IconDirEntry {
  BYTE width, height, colours, reserved;
  WORD planes, bit_count;
  DWORD bytes;
  WORD id;
};
struct IconDir {
  WORD reserved, type, count;
  IconDirEntry entries[1];
};
#pragma pack(pop)

TEST_F(ReleaseModule, IconOneHoldsEverySizeTheShellAsksForAndEachLoads) {
  const std::string_view group = Resource(RT_GROUP_ICON, MAKEINTRESOURCEW(1));
  ASSERT_GE(group.size(), 6u) << "no icon group 1";
  const auto* dir = reinterpret_cast<const IconDir*>(group.data());
  ASSERT_EQ(dir->type, 1);
  ASSERT_EQ(group.size(), 6 + dir->count * sizeof(IconDirEntry));
  std::set<int> sizes;
  for (int i = 0; i < dir->count; ++i) {
    const IconDirEntry& e = dir->entries[i];
    const int side = e.width == 0 ? 256 : e.width;
    SCOPED_TRACE(side);
    EXPECT_EQ(e.width, e.height);
    EXPECT_EQ(e.bit_count, 32) << "every size has an alpha channel";
    sizes.insert(side);
    const std::string_view image = Resource(RT_ICON, MAKEINTRESOURCEW(e.id));
    ASSERT_EQ(image.size(), e.bytes);
    if (side == 256) {
      EXPECT_EQ(image.substr(0, 4), std::string_view("\x89PNG", 4));
    }
    HICON icon = CreateIconFromResourceEx(reinterpret_cast<PBYTE>(const_cast<char*>(image.data())),
                                          static_cast<DWORD>(image.size()), TRUE, 0x00030000, side, side, 0);
    EXPECT_NE(icon, nullptr) << "the system cannot load this size";
    if (icon) DestroyIcon(icon);
  }
  EXPECT_EQ(sizes, (std::set<int>{16, 20, 24, 32, 40, 48, 64, 96, 128, 256}));
}

// The text of the first element named `name`, whatever its namespace prefix.
std::string ElementText(std::string_view xml, std::string_view name) {
  for (std::size_t at = xml.find(name); at != std::string_view::npos; at = xml.find(name, at + 1)) {
    const char before = xml[at - 1];
    if ((before != '<' && before != ':') || (xml[at + name.size()] != '>' && xml[at + name.size()] != ' ')) continue;
    const std::size_t open = xml.find('>', at);
    const std::size_t close = xml.find('<', open);
    return std::string(xml.substr(open + 1, close - open - 1));
  }
  return "<missing>";
}

TEST_F(ReleaseModule, ManifestAsksForCommonControlsSixPerMonitorDpiAndTheWindowsVersions) {
  const std::string_view manifest = Resource(RT_MANIFEST, MAKEINTRESOURCEW(1));
  ASSERT_FALSE(manifest.empty()) << "no manifest 1";
  const std::string xml(manifest);
  EXPECT_NE(xml.find("name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""), std::string::npos);
  // Windows 10 1607 and later read dpiAwareness; 8.1 reads "true/pm"; Vista to 8 take "true".
  EXPECT_EQ(ElementText(xml, "dpiAwareness"), "PerMonitorV2, PerMonitor");
  EXPECT_EQ(ElementText(xml, "dpiAware"), "true/pm");
  for (const char* os : {"8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a", "1f676c76-80e1-4239-95bb-83d0f6d0da78",
                         "4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38", "35138b9a-5d96-4fbd-8e2d-a2440225f93a",
                         "e2011457-1546-43c5-a5fe-008deee3d3f0"})
    EXPECT_NE(xml.find(std::string("<supportedOS Id=\"{") + os + "}\"/>"), std::string::npos) << os;
  EXPECT_NE(xml.find("level=\"asInvoker\""), std::string::npos);
}

// ---- The installer and the uninstaller, run silently.

std::optional<std::wstring> ReadString(HKEY root, const wchar_t* key, const wchar_t* name) {
  wchar_t buffer[1024];
  DWORD bytes = sizeof(buffer);
  if (RegGetValueW(root, key, name, RRF_RT_REG_SZ, nullptr, buffer, &bytes) != ERROR_SUCCESS) return std::nullopt;
  return std::wstring(buffer);
}

std::optional<DWORD> ReadDword(HKEY root, const wchar_t* key, const wchar_t* name) {
  DWORD value = 0;
  DWORD bytes = sizeof(value);
  if (RegGetValueW(root, key, name, RRF_RT_REG_DWORD, nullptr, &value, &bytes) != ERROR_SUCCESS) return std::nullopt;
  return value;
}

bool KeyExists(HKEY root, const wchar_t* key) {
  HKEY opened = nullptr;
  if (RegOpenKeyExW(root, key, 0, KEY_READ, &opened) != ERROR_SUCCESS) return false;
  RegCloseKey(opened);
  return true;
}

std::wstring SystemFolder() {
  wchar_t buffer[MAX_PATH];
  GetSystemDirectoryW(buffer, MAX_PATH);
  return std::wstring(buffer) + L"\\";
}

class ReleaseInstall : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* enabled = std::getenv("TESSMOOR_RELEASE_E2E");
    const char* installer = std::getenv("TESSMOOR_INSTALLER");
    if (!enabled || !installer)
      GTEST_SKIP() << "the install tests change the prefix's Windows; the ctest test release_e2e_<arch> runs them";
    installer_ = ToWindowsPath(Widen(installer));
    ASSERT_TRUE(FileExists(installer_)) << Narrow(installer_);
    registry::DeleteSettings();
    RegDeleteKeyValueW(HKEY_CURRENT_USER, kDesktopKey, L"SCRNSAVE.EXE");
    if (KeyExists(HKEY_LOCAL_MACHINE, kUninstallKey)) Uninstall(L"");
    ASSERT_FALSE(FileExists(scr_)) << "an earlier install is still there";
  }
  void TearDown() override {
    if (!IsSkipped() && KeyExists(HKEY_LOCAL_MACHINE, kUninstallKey)) Uninstall(L"/REMOVESETTINGS=1");
  }

  void Install(const std::wstring& switches) {
    const Finished run = RunAndWait(L"\"" + installer_ + L"\" /S " + switches, 60s);
    ASSERT_TRUE(run.exit_code.has_value()) << "the installer did not finish";
    ASSERT_EQ(*run.exit_code, 0u) << "exit code 2: the installer holds no module for this Windows";
  }
  void Uninstall(const std::wstring& switches) {
    const auto quiet = ReadString(HKEY_LOCAL_MACHINE, kUninstallKey, L"QuietUninstallString");
    ASSERT_TRUE(quiet.has_value()) << "no QuietUninstallString";
    const Finished run = RunAndWait(*quiet + L" " + switches, 60s);
    ASSERT_EQ(run.exit_code, std::optional<DWORD>(0u));
    ASSERT_TRUE(WaitForChildrenOf(run.pid, 30s)) << "the uninstaller did not finish";
  }
  std::wstring UninstallerPath() const {
    std::wstring command = ReadString(HKEY_LOCAL_MACHINE, kUninstallKey, L"UninstallString").value_or(L"");
    command.erase(std::remove(command.begin(), command.end(), L'"'), command.end());
    return command;
  }

  std::wstring installer_;
  const std::wstring scr_ = SystemFolder() + L"Tessmoor.scr";
  const std::wstring chm_ = SystemFolder() + L"Tessmoor.chm";
};

TEST_F(ReleaseInstall, PutsModuleAndHelpInTheSystemFolderAndRegistersTheUninstaller) {
  const std::wstring other = SystemFolder() + L"other.scr";
  RegSetKeyValueW(HKEY_CURRENT_USER, kDesktopKey, L"SCRNSAVE.EXE", REG_SZ, other.c_str(),
                  static_cast<DWORD>((other.size() + 1) * sizeof(wchar_t)));
  Install(L"");

  ASSERT_TRUE(FileExists(scr_));
  EXPECT_EQ(ReadWholeFile(scr_), ReadWholeFile(GetOptions().module)) << "not the module this build made";
  ASSERT_TRUE(FileExists(chm_));
  EXPECT_EQ(ReadWholeFile(chm_), ReadWholeFile(BuiltHelpFile()));
  EXPECT_EQ(ReadString(HKEY_CURRENT_USER, kDesktopKey, L"SCRNSAVE.EXE"), other) << "changed without /SETACTIVE=1";

  EXPECT_EQ(ReadString(HKEY_LOCAL_MACHINE, kUninstallKey, L"DisplayName"), L"Tessmoor");
  EXPECT_EQ(ReadString(HKEY_LOCAL_MACHINE, kUninstallKey, L"DisplayVersion"), L"1.2.2");
  EXPECT_FALSE(ReadString(HKEY_LOCAL_MACHINE, kUninstallKey, L"Publisher").value_or(L"").empty());
  EXPECT_EQ(Lower(ReadString(HKEY_LOCAL_MACHINE, kUninstallKey, L"DisplayIcon").value_or(L"")), Lower(scr_ + L",0"));
  const std::wstring uninstaller = UninstallerPath();
  EXPECT_TRUE(FileExists(uninstaller)) << Narrow(uninstaller);
  EXPECT_EQ(ReadString(HKEY_LOCAL_MACHINE, kUninstallKey, L"QuietUninstallString"),
            L"\"" + uninstaller + L"\" /S");
  const std::size_t module_kb = ReadWholeFile(scr_).size() / 1024;
  EXPECT_GE(ReadDword(HKEY_LOCAL_MACHINE, kUninstallKey, L"EstimatedSize").value_or(0), module_kb);
  EXPECT_EQ(ReadDword(HKEY_LOCAL_MACHINE, kUninstallKey, L"NoModify"), std::optional<DWORD>(1u));
  EXPECT_EQ(ReadDword(HKEY_LOCAL_MACHINE, kUninstallKey, L"NoRepair"), std::optional<DWORD>(1u));
}

TEST_F(ReleaseInstall, SetActiveSwitchMakesTessmoorTheCurrentScreenSaver) {
  Install(L"/SETACTIVE=1");
  EXPECT_EQ(Lower(ReadString(HKEY_CURRENT_USER, kDesktopKey, L"SCRNSAVE.EXE").value_or(L"")), Lower(scr_));
  EXPECT_EQ(ReadString(HKEY_CURRENT_USER, kDesktopKey, L"ScreenSaveActive"), L"1");
  BOOL active = FALSE;
  SystemParametersInfoW(SPI_GETSCREENSAVEACTIVE, 0, &active, 0);
  EXPECT_TRUE(active);
}

HWND FindChild(HWND parent, const wchar_t* cls, const std::wstring& text) {
  for (HWND child : ChildWindows(parent)) {
    wchar_t name[64];
    GetClassNameW(child, name, 64);
    if (_wcsicmp(name, cls) == 0 && WindowText(child) == text) return child;
  }
  return nullptr;
}

// A visible top-level window of process `pid` whose title starts with `prefix`.
HWND FindTopWindow(DWORD pid, const std::wstring& prefix) {
  for (HWND hwnd = FindWindowExW(nullptr, nullptr, nullptr, nullptr); hwnd;
       hwnd = FindWindowExW(nullptr, hwnd, nullptr, nullptr)) {
    DWORD owner = 0;
    GetWindowThreadProcessId(hwnd, &owner);
    if (owner == pid && IsWindowVisible(hwnd) && WindowText(hwnd).rfind(prefix, 0) == 0) return hwnd;
  }
  return nullptr;
}

TEST_F(ReleaseInstall, InteractiveInstallerOffersBothChoicesTickedAndDoesWhatIsLeftTicked) {
  STARTUPINFOW si{};
  si.cb = sizeof(si);
  PROCESS_INFORMATION pi{};
  std::wstring command = L"\"" + installer_ + L"\"";
  ASSERT_TRUE(CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi));
  struct Closer {
    PROCESS_INFORMATION& pi;
    ~Closer() {
      if (WaitForSingleObject(pi.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(pi.hProcess, 99);
      CloseHandle(pi.hThread);
      CloseHandle(pi.hProcess);
    }
  } closer{pi};

  HWND wizard = nullptr;
  ASSERT_TRUE(WaitUntil([&] { return (wizard = FindTopWindow(pi.dwProcessId, L"Tessmoor 1.2.2")) != nullptr; }, kStart))
      << "the installer showed no window";
  HWND next = GetDlgItem(wizard, IDOK);
  ASSERT_NE(next, nullptr);
  SendMessageW(next, BM_CLICK, 0, 0);

  HWND set_active = nullptr, open_settings = nullptr;
  ASSERT_TRUE(WaitUntil([&] {
    set_active = FindChild(wizard, L"Button", L"Make Tessmoor the current screen saver");
    open_settings = FindChild(wizard, L"Button", L"Open the screen saver settings at the end");
    return set_active && open_settings;
  }, 10s)) << "no page with the two choices";
  EXPECT_EQ(SendMessageW(set_active, BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_EQ(SendMessageW(open_settings, BM_GETCHECK, 0, 0), BST_CHECKED);
  PumpFor(300ms);
  CaptureScreen().Save(L"installer-choices");
  // Opening the settings needs the real control panel; the test leaves it unticked.
  SendMessageW(open_settings, BM_CLICK, 0, 0);
  EXPECT_EQ(SendMessageW(open_settings, BM_GETCHECK, 0, 0), BST_UNCHECKED);
  SendMessageW(next, BM_CLICK, 0, 0);

  ASSERT_TRUE(WaitUntil([&] { return WindowText(next) == L"&Finish"; }, 30s)) << "the finish page never came";
  SendMessageW(next, BM_CLICK, 0, 0);
  ASSERT_EQ(WaitForSingleObject(pi.hProcess, 10000), WAIT_OBJECT_0);
  DWORD code = 99;
  GetExitCodeProcess(pi.hProcess, &code);
  EXPECT_EQ(code, 0u);
  EXPECT_TRUE(FileExists(scr_));
  EXPECT_EQ(Lower(ReadString(HKEY_CURRENT_USER, kDesktopKey, L"SCRNSAVE.EXE").value_or(L"")), Lower(scr_));
}

// Starts the module at `path` rather than the built one.
class ModuleAt {
 public:
  ModuleAt(const std::wstring& path, const std::wstring& args) : saved_(GetOptions()) {
    Options options = saved_;
    options.module = path;
    SetOptions(options);
    module_.emplace(args);
    SetOptions(saved_);
  }
  Module& operator*() { return *module_; }

 private:
  Options saved_;
  std::optional<Module> module_;
};

TEST_F(ReleaseInstall, InstalledModuleRunsTheShowFromTheSystemFolder) {
  Install(L"/SETACTIVE=1");
  // What Windows starts when the screen saver comes on: the path in its screen-saver key.
  const std::wstring path = ReadString(HKEY_CURRENT_USER, kDesktopKey, L"SCRNSAVE.EXE").value_or(L"");
  ModuleAt show(path, L"/s");
  HWND window = (*show).WaitWindow(L"No1Form", kStart);
  ASSERT_NE(window, nullptr) << "the installed module showed no show window";
  wchar_t image[MAX_PATH];
  DWORD length = MAX_PATH;
  ASSERT_TRUE(QueryFullProcessImageNameW((*show).process(), 0, image, &length));
  EXPECT_EQ(Lower(image), Lower(scr_));
  EXPECT_TRUE(registry::KeyExists()) << "the show wrote no first-run settings";
  PostMessageW(window, WM_KEYDOWN, VK_SPACE, 0);
  EXPECT_EQ((*show).WaitExit(5s), std::optional<DWORD>(0u));
}

// The names of the contents entries of a .hhc file, in order.
std::vector<std::wstring> ContentsNames(const std::string& hhc) {
  std::vector<std::wstring> names;
  const std::string marker = "<param name=\"Name\" value=\"";
  for (std::size_t at = hhc.find(marker); at != std::string::npos; at = hhc.find(marker, at + 1)) {
    const std::size_t begin = at + marker.size();
    names.push_back(Widen(hhc.substr(begin, hhc.find('"', begin) - begin)));
  }
  return names;
}

TEST_F(ReleaseInstall, HelpButtonsRequestOpensTheInstalledHelpFileWithEveryPageInItsContents) {
  Install(L"");
  // What the version dialog's help button asks of the shell for the installed module.
  const ShellExecuteRequest request = HelpRequest(Narrow(scr_));
  const std::wstring file = Widen(request.file);
  EXPECT_EQ(file, Lower(chm_));
  ASSERT_TRUE(FileExists(file)) << "the help button would find no help file";

  const std::wstring verb = Widen(request.verb);
  SHELLEXECUTEINFOW info{};
  info.cbSize = sizeof(info);
  info.fMask = request.mask;
  info.lpVerb = verb.c_str();
  info.lpFile = file.c_str();
  info.nShow = request.show_command;
  ASSERT_TRUE(ShellExecuteExW(&info)) << GetLastError();
  ASSERT_NE(info.hProcess, nullptr);
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
  CloseHandle(info.hProcess);
  ASSERT_NE(window, nullptr) << "the help viewer showed no window titled \"Tessmoor Help\"";
  ASSERT_NE(tree, nullptr) << "the help viewer shows no table of contents";

  const char* source = std::getenv("TESSMOOR_HELP_SOURCE");
  ASSERT_NE(source, nullptr);
  const std::vector<std::wstring> expected = ContentsNames(ReadWholeFile(ToWindowsPath(Widen(source)) + L"\\tessmoor.hhc"));
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
  EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kUninstallKey));
  EXPECT_EQ(ReadString(HKEY_CURRENT_USER, kDesktopKey, L"SCRNSAVE.EXE"), std::nullopt);
  EXPECT_EQ(registry::Read(L"ScrActionRegSelectNoFlag"), L"2") << "settings went without being asked to";
}

TEST_F(ReleaseInstall, RemoveSettingsSwitchDeletesTheSettingsKeyAndItsEmptyParentsButNoOtherScreenSaver) {
  Install(L"");
  registry::Write(L"ScrActionRegSelectNoFlag", L"2");
  const std::wstring other = SystemFolder() + L"other.scr";
  RegSetKeyValueW(HKEY_CURRENT_USER, kDesktopKey, L"SCRNSAVE.EXE", REG_SZ, other.c_str(),
                  static_cast<DWORD>((other.size() + 1) * sizeof(wchar_t)));
  Uninstall(L"/REMOVESETTINGS=1");

  EXPECT_FALSE(FileExists(scr_));
  EXPECT_FALSE(registry::KeyExists());
  EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, L"Software\\Quorvane\\ScreenSaver"));
  EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, L"Software\\Quorvane"));
  EXPECT_EQ(ReadString(HKEY_CURRENT_USER, kDesktopKey, L"SCRNSAVE.EXE"), other);
}

}  // namespace
}  // namespace tessmoor::e2e
