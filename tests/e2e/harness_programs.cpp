// Other programs than the module: an installer, an uninstaller, the help viewer.
#include "tests/e2e/harness.h"

#include <commctrl.h>
#include <tlhelp32.h>

#include <algorithm>
#include <stdexcept>

namespace tessmoor::e2e {

Finished RunAndWait(std::wstring command, std::chrono::milliseconds limit) {
  std::optional<Process> program;
  try {
    program.emplace(std::move(command));
  } catch (const std::runtime_error&) {
    return {};
  }
  // Killed, when it still runs at the limit, as `program` goes.
  return {program->WaitExit(limit), program->pid()};
}

bool WaitForChildrenOf(DWORD parent, std::chrono::milliseconds limit) {
  std::vector<win32::UniqueHandle> children;
  {
    // A snapshot, like a file, is "none" as INVALID_HANDLE_VALUE and closed with CloseHandle.
    const win32::UniqueFile snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof(entry);
    for (BOOL ok = Process32FirstW(snapshot.get(), &entry); ok; ok = Process32NextW(snapshot.get(), &entry)) {
      if (entry.th32ParentProcessID != parent) continue;
      if (HANDLE child = OpenProcess(SYNCHRONIZE, FALSE, entry.th32ProcessID)) children.emplace_back(child);
    }
  }
  bool ended = true;
  const auto end = std::chrono::steady_clock::now() + limit;
  for (const win32::UniqueHandle& child : children) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - std::chrono::steady_clock::now());
    if (WaitForSingleObject(child.get(), static_cast<DWORD>(std::max<long long>(0, left.count()))) != WAIT_OBJECT_0)
      ended = false;
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

bool SendDpiChanged(HWND window, HANDLE process, int dpi, const RECT& suggested) {
  void* remote = VirtualAllocEx(process, nullptr, sizeof(RECT), MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
  if (!remote) return false;
  bool answered = false;
  if (WriteProcessMemory(process, remote, &suggested, sizeof(suggested), nullptr)) {
    DWORD_PTR result = 0;
    answered = SendMessageTimeoutW(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(remote),
                                   SMTO_ABORTIFHUNG, 10000, &result) != 0;
  }
  VirtualFreeEx(process, remote, 0, MEM_RELEASE);
  return answered;
}

}  // namespace tessmoor::e2e
