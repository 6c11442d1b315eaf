// Starting programs, finding their windows, text and files.
#include "tests/e2e/harness.h"

#include "platform/win32/utf.h"

#include <algorithm>
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

Process::Process(std::wstring command, const std::wstring& program) {
  STARTUPINFOW si{};
  si.cb = sizeof(si);
  PROCESS_INFORMATION pi{};
  // Wine now and then refuses a start with an internal error while the previous process is still
  // being torn down; a second try a moment later goes through.
  DWORD error = 0;
  for (int attempt = 0; attempt < 5; ++attempt) {
    if (CreateProcessW(program.empty() ? nullptr : program.c_str(), command.data(), nullptr, nullptr, FALSE, 0,
                       nullptr, nullptr, &si, &pi)) {
      process_.reset(pi.hProcess);
      thread_.reset(pi.hThread);
      pid_ = pi.dwProcessId;
      return;
    }
    error = GetLastError();
    PumpFor(std::chrono::milliseconds(200));
  }
  throw std::runtime_error("cannot start " + Narrow(command) + " (" + std::to_string(error) + ")");
}

Process::~Process() { Kill(); }

bool Process::Running() const { return WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT; }

std::optional<DWORD> Process::WaitExit(std::chrono::milliseconds timeout) {
  if (!WaitUntil([this] { return !Running(); }, timeout)) return std::nullopt;
  DWORD code = 0;
  GetExitCodeProcess(process_.get(), &code);
  return code;
}

void Process::Kill() {
  if (process_ && Running()) {
    TerminateProcess(process_.get(), 99);
    WaitForSingleObject(process_.get(), 5000);
  }
}

std::vector<HWND> Process::TopWindows(bool include_hidden) const { return TopWindowsOf(pid_, include_hidden); }

HWND Process::WaitWindow(const std::wstring& title, std::chrono::milliseconds timeout) const {
  HWND found = nullptr;
  WaitUntil(
      [&] {
        const std::vector<HWND> titled = WindowsTitled(pid_, title);
        found = titled.empty() ? nullptr : titled.front();
        return found != nullptr;
      },
      timeout);
  return found;
}

Module::Module(const std::wstring& args) : Module(GetOptions().module, args) {}

Module::Module(const std::wstring& path, const std::wstring& args) : Process(L"\"" + path + L"\" " + args, path) {}

std::vector<HWND> TopWindowsOf(DWORD pid, bool include_hidden) {
  TopWindowQuery q{pid, include_hidden, {}, {}};
  EnumWindows(CollectTopWindow, reinterpret_cast<LPARAM>(&q));
  q.unowned.insert(q.unowned.end(), q.owned.begin(), q.owned.end());
  return q.unowned;
}

std::vector<HWND> WindowsTitled(DWORD pid, const std::wstring& title) {
  std::vector<HWND> found;
  for (HWND h : TopWindowsOf(pid))
    if (WindowText(h) == title) found.push_back(h);
  return found;
}

HWND AwaitNewWindow(DWORD pid, const std::wstring& title, const std::function<void()>& press,
                    std::chrono::milliseconds timeout) {
  const std::vector<HWND> before = WindowsTitled(pid, title);
  press();
  HWND opened = nullptr;
  WaitUntil(
      [&] {
        for (HWND h : WindowsTitled(pid, title))
          if (std::find(before.begin(), before.end(), h) == before.end()) opened = h;
        return opened != nullptr;
      },
      timeout);
  return opened;
}

DWORD ProcessOf(HWND window) {
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  return pid;
}

// The module's own conversions: the driver reads and writes text as the module does.
std::wstring Wide(std::string_view utf8) { return win32::Widen(utf8); }

std::string Narrow(std::wstring_view text) { return win32::Narrow(text); }

std::wstring LowerCased(std::wstring text) {
  CharLowerBuffW(text.data(), static_cast<DWORD>(text.size()));
  return text;
}

std::wstring Key(const wchar_t* prefix, int n, const wchar_t* suffix) { return prefix + std::to_wstring(n) + suffix; }

std::wstring TempFolder() {
  wchar_t temp[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, temp);
  return temp;
}

std::wstring WriteFileIn(const std::wstring& folder, const std::wstring& name, const std::vector<std::uint8_t>& bytes) {
  CreateDirectoryW(folder.c_str(), nullptr);
  const std::wstring path = folder + L"\\" + name;
  const win32::UniqueFile f(
      CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!f) throw std::runtime_error("cannot write a test file");
  DWORD written = 0;
  WriteFile(f.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  return path;
}

bool FileExists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::string ReadWholeFile(const std::wstring& path) {
  const win32::UniqueFile file(
      CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr));
  if (!file) return {};
  std::string data;
  char buffer[65536];
  DWORD got = 0;
  while (ReadFile(file.get(), buffer, sizeof(buffer), &got, nullptr) && got > 0) data.append(buffer, got);
  return data;
}

std::wstring WriteTestFile(const std::wstring& name, const std::vector<std::uint8_t>& bytes) {
  return WriteFileIn(TempFolder() + L"tessmoor-e2e", name, bytes);
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
