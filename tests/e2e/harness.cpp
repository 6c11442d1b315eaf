#include "tests/e2e/harness.h"

#include <tlhelp32.h>

#include <cstdio>
#include <limits>
#include <stdexcept>
#include <thread>

namespace tessmoor::e2e {

namespace {
Options g_options;

struct TopWindowQuery {
  DWORD pid;
  bool hidden;
  std::vector<HWND> unowned, owned;
};

BOOL CALLBACK CollectTopWindow(HWND hwnd, LPARAM lp) {
  auto* q = reinterpret_cast<TopWindowQuery*>(lp);
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  if (pid != q->pid || (!q->hidden && !IsWindowVisible(hwnd))) return TRUE;
  (GetWindow(hwnd, GW_OWNER) ? q->owned : q->unowned).push_back(hwnd);
  return TRUE;
}

BOOL CALLBACK CollectChild(HWND h, LPARAM lp) {
  reinterpret_cast<std::vector<HWND>*>(lp)->push_back(h);
  return TRUE;
}
constexpr const wchar_t* kSettingsKey = L"Software\\Quorvane\\ScreenSaver\\LumivaleReg";
}  // namespace

const Options& GetOptions() { return g_options; }
void SetOptions(Options options) { g_options = std::move(options); }

std::wstring ToWindowsPath(const std::wstring& path) {
  if (path.empty() || path[0] != L'/') return path;
  std::wstring out = L"Z:" + path;
  for (wchar_t& c : out)
    if (c == L'/') c = L'\\';
  return out;
}

void PumpFor(std::chrono::milliseconds duration) {
  const auto end = std::chrono::steady_clock::now() + duration;
  while (std::chrono::steady_clock::now() < end) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
}

bool WaitUntil(const std::function<bool()>& fn, std::chrono::milliseconds timeout) {
  const auto end = std::chrono::steady_clock::now() + timeout;
  do {
    if (fn()) return true;
    PumpFor(std::chrono::milliseconds(20));
  } while (std::chrono::steady_clock::now() < end);
  return fn();
}

Module::Module(const std::wstring& args) {
  std::wstring command = L"\"" + GetOptions().module + L"\" " + args;
  STARTUPINFOW si{};
  si.cb = sizeof(si);
  // Wine now and then refuses a start with an internal error while the previous process is still
  // being torn down; a second try a moment later goes through.
  DWORD error = 0;
  for (int attempt = 0; attempt < 5; ++attempt) {
    if (CreateProcessW(GetOptions().module.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                       nullptr, &si, &pi_))
      return;
    error = GetLastError();
    PumpFor(std::chrono::milliseconds(200));
  }
  throw std::runtime_error("cannot start the module (" + std::to_string(error) + ")");
}

Module::~Module() {
  Kill();
  if (pi_.hThread) CloseHandle(pi_.hThread);
  if (pi_.hProcess) CloseHandle(pi_.hProcess);
}

bool Module::Running() const { return WaitForSingleObject(pi_.hProcess, 0) == WAIT_TIMEOUT; }

std::optional<DWORD> Module::WaitExit(std::chrono::milliseconds timeout) {
  if (!WaitUntil([this] { return !Running(); }, timeout)) return std::nullopt;
  DWORD code = 0;
  GetExitCodeProcess(pi_.hProcess, &code);
  return code;
}

void Module::Kill() {
  if (pi_.hProcess && Running()) {
    TerminateProcess(pi_.hProcess, 99);
    WaitForSingleObject(pi_.hProcess, 5000);
  }
}

std::vector<HWND> Module::TopWindows(bool include_hidden) const {
  TopWindowQuery q{pid(), include_hidden, {}, {}};
  EnumWindows(CollectTopWindow, reinterpret_cast<LPARAM>(&q));
  q.unowned.insert(q.unowned.end(), q.owned.begin(), q.owned.end());
  return q.unowned;
}

HWND Module::WaitWindow(const std::wstring& title, std::chrono::milliseconds timeout) const {
  HWND found = nullptr;
  WaitUntil(
      [&] {
        for (HWND h : TopWindows())
          if (WindowText(h) == title) {
            found = h;
            return true;
          }
        return false;
      },
      timeout);
  return found;
}

namespace registry {

void DeleteSettings() { RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Quorvane"); }

bool KeyExists() {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, kSettingsKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}

std::optional<std::wstring> Read(const std::wstring& name) {
  wchar_t buffer[4096];
  DWORD size = sizeof(buffer);
  DWORD type = 0;
  if (RegGetValueW(HKEY_CURRENT_USER, kSettingsKey, name.c_str(), RRF_RT_REG_SZ, &type, buffer, &size) !=
      ERROR_SUCCESS)
    return std::nullopt;
  return std::wstring(buffer);
}

void Write(const std::wstring& name, const std::wstring& value) {
  HKEY key = nullptr;
  RegCreateKeyExW(HKEY_CURRENT_USER, kSettingsKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr);
  RegSetValueExW(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                 static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
  RegCloseKey(key);
}

std::map<std::wstring, std::wstring> All() {
  std::map<std::wstring, std::wstring> values;
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, kSettingsKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return values;
  for (DWORD i = 0;; ++i) {
    wchar_t name[512];
    DWORD name_size = 512;
    wchar_t data[4096];
    DWORD data_size = sizeof(data);
    DWORD type = 0;
    if (RegEnumValueW(key, i, name, &name_size, nullptr, &type, reinterpret_cast<BYTE*>(data),
                      &data_size) != ERROR_SUCCESS)
      break;
    if (type == REG_SZ) values[name] = std::wstring(data, data_size / sizeof(wchar_t)).c_str();
  }
  RegCloseKey(key);
  return values;
}

}  // namespace registry

std::wstring WriteTestFile(const std::wstring& name, const std::vector<std::uint8_t>& bytes) {
  wchar_t temp[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, temp);
  const std::wstring folder = std::wstring(temp) + L"tessmoor-e2e";
  CreateDirectoryW(folder.c_str(), nullptr);
  const std::wstring path = folder + L"\\" + name;
  FILE* f = _wfopen(path.c_str(), L"wb");
  if (!f) throw std::runtime_error("cannot write a test file");
  fwrite(bytes.data(), 1, bytes.size(), f);
  fclose(f);
  return path;
}

void RegisterPicture(int box, int slot, const std::wstring& path) {
  registry::Write(L"ImageRegNo" + std::to_wstring(box) + L"BoxNo" + std::to_wstring(slot) + L"ImagePass", path);
}

PreviewHost::PreviewHost(int width, int height) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"TessmoorTestPreviewHost";
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  RegisterClassW(&wc);  // fails harmlessly when the class exists
  hwnd_ = CreateWindowExW(0, wc.lpszClassName, L"Preview host", WS_POPUP | WS_VISIBLE, 40, 40, width, height,
                          nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
}

PreviewHost::~PreviewHost() { Destroy(); }

void PreviewHost::Destroy() {
  if (hwnd_ && IsWindow(hwnd_)) DestroyWindow(hwnd_);
  hwnd_ = nullptr;
}

std::wstring WindowText(HWND hwnd) {
  wchar_t buffer[512] = {};
  // WM_GETTEXT reaches controls of other processes, unlike GetWindowText.
  SendMessageTimeoutW(hwnd, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(buffer), SMTO_ABORTIFHUNG, 2000,
                      nullptr);
  return buffer;
}

RECT WindowRectOf(HWND hwnd) {
  RECT r{};
  GetWindowRect(hwnd, &r);
  return r;
}

std::vector<HWND> ChildWindows(HWND parent) {
  std::vector<HWND> children;
  EnumChildWindows(parent, CollectChild, reinterpret_cast<LPARAM>(&children));
  return children;
}

LRESULT SendBounded(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam, std::chrono::milliseconds timeout) {
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutW(hwnd, message, wparam, lparam, SMTO_ABORTIFHUNG, static_cast<UINT>(timeout.count()),
                           &result))
    return 0;
  return static_cast<LRESULT>(result);
}

std::vector<HWND> ChildrenWithText(HWND parent, const std::wstring& text, const wchar_t* window_class) {
  std::vector<HWND> found;
  for (HWND child : ChildWindows(parent)) {
    wchar_t name[64] = {};
    GetClassNameW(child, name, 64);
    if (window_class && _wcsicmp(name, window_class) != 0) continue;
    if (WindowText(child) == text) found.push_back(child);
  }
  return found;
}

}  // namespace tessmoor::e2e

// ---- Other programs.
#include <commctrl.h>

namespace tessmoor::e2e {

Finished RunAndWait(std::wstring command, std::chrono::milliseconds limit) {
  STARTUPINFOW si{};
  si.cb = sizeof(si);
  PROCESS_INFORMATION pi{};
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return {};
  Finished finished{std::nullopt, pi.dwProcessId};
  if (WaitForSingleObject(pi.hProcess, static_cast<DWORD>(limit.count())) == WAIT_OBJECT_0) {
    DWORD code = 0;
    GetExitCodeProcess(pi.hProcess, &code);
    finished.exit_code = code;
  } else {
    TerminateProcess(pi.hProcess, 99);
  }
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  return finished;
}

bool WaitForChildrenOf(DWORD parent, std::chrono::milliseconds limit) {
  std::vector<HANDLE> children;
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof(entry);
  for (BOOL ok = Process32FirstW(snapshot, &entry); ok; ok = Process32NextW(snapshot, &entry)) {
    if (entry.th32ParentProcessID != parent) continue;
    if (HANDLE child = OpenProcess(SYNCHRONIZE, FALSE, entry.th32ProcessID)) children.push_back(child);
  }
  CloseHandle(snapshot);
  bool ended = true;
  const auto end = std::chrono::steady_clock::now() + limit;
  for (HANDLE child : children) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - std::chrono::steady_clock::now());
    if (WaitForSingleObject(child, static_cast<DWORD>(std::max<long long>(0, left.count()))) != WAIT_OBJECT_0)
      ended = false;
    CloseHandle(child);
  }
  return ended;
}

namespace {
class RemoteTree {
 public:
  RemoteTree(HWND tree, HANDLE process) : tree_(tree), process_(process) {
    memory_ = VirtualAllocEx(process_, nullptr, kBytes, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
  }
  RemoteTree(const RemoteTree&) = delete;
  RemoteTree& operator=(const RemoteTree&) = delete;
  ~RemoteTree() {
    if (memory_) VirtualFreeEx(process_, memory_, 0, MEM_RELEASE);
  }
  std::vector<std::wstring> Texts() {
    std::vector<std::wstring> texts;
    if (memory_) Walk(Next(TVGN_ROOT, nullptr), texts);
    return texts;
  }

 private:
  static constexpr std::size_t kBytes = 4096;
  static constexpr std::size_t kTextOffset = 1024;
  static constexpr int kTextChars = 512;
  HTREEITEM Next(WPARAM how, HTREEITEM from) const {
    return reinterpret_cast<HTREEITEM>(SendMessageW(tree_, TVM_GETNEXTITEM, how, reinterpret_cast<LPARAM>(from)));
  }
  void Walk(HTREEITEM item, std::vector<std::wstring>& texts) {
    for (; item; item = Next(TVGN_NEXT, item)) {
      texts.push_back(Text(item));
      Walk(Next(TVGN_CHILD, item), texts);
    }
  }
  std::wstring Text(HTREEITEM item) {
    auto* remote_text = reinterpret_cast<wchar_t*>(static_cast<char*>(memory_) + kTextOffset);
    TVITEMW tv{};
    tv.mask = TVIF_TEXT | TVIF_HANDLE;
    tv.hItem = item;
    tv.pszText = remote_text;
    tv.cchTextMax = kTextChars;
    WriteProcessMemory(process_, memory_, &tv, sizeof(tv), nullptr);
    SendMessageW(tree_, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(memory_));
    wchar_t text[kTextChars] = {};
    ReadProcessMemory(process_, remote_text, text, sizeof(text) - sizeof(wchar_t), nullptr);
    return text;
  }
  HWND tree_;
  HANDLE process_;
  void* memory_ = nullptr;
};
}  // namespace

std::vector<std::wstring> TreeViewTexts(HWND tree, HANDLE process) { return RemoteTree(tree, process).Texts(); }

}  // namespace tessmoor::e2e
