// Counting another process's GDI objects and windows from outside (GetGuiResources is a stub
// under Wine).
#include "tests/e2e/harness.h"

#include <tlhelp32.h>

#include <limits>

namespace tessmoor::e2e {
namespace {

// PROCESS_BASIC_INFORMATION as NtQueryInformationProcess fills it (class 0).
struct ProcessBasics {
  LONG_PTR exit_status;
  void* peb;
  ULONG_PTR affinity_mask;
  LONG_PTR base_priority;
  ULONG_PTR process_id;
  ULONG_PTR parent_process_id;
};
// THREAD_BASIC_INFORMATION as NtQueryInformationThread fills it (class 0).
struct ThreadBasics {
  LONG_PTR exit_status;
  void* teb;
  ULONG_PTR client_id[2];
  ULONG_PTR affinity_mask;
  LONG priority;
  LONG base_priority;
};
// Where the PEB keeps GdiSharedHandleTable; the driver has the module's bitness.
constexpr std::size_t kGdiTableInPeb = sizeof(void*) == 8 ? 0xF8 : 0x94;
// A 32-bit process on 64-bit Windows or Wine has the table only in its 64-bit PEB, found through
// the 64-bit TEB whose address its 32-bit TEB keeps in GdiBatchCount.
constexpr std::size_t kTeb64InTeb32 = 0xF70;
constexpr std::size_t kPebInTeb64 = 0x60;
constexpr std::size_t kGdiTableInPeb64 = 0xF8;
// GDI_HANDLE_ENTRY: 24 bytes in either bitness, the object type in byte 14.
constexpr std::size_t kGdiEntrySize = 24;
constexpr std::size_t kGdiEntryTypeAt = 14;
constexpr std::size_t kGdiEntries = 0x10000;

template <typename T>
std::optional<T> ReadRemote(HANDLE process, std::uint64_t address) {
  T value{};
  SIZE_T read = 0;
  if (address == 0 || address > std::numeric_limits<std::uintptr_t>::max() ||
      !ReadProcessMemory(process, reinterpret_cast<const void*>(static_cast<std::uintptr_t>(address)), &value,
                         sizeof(value), &read) ||
      read != sizeof(value))
    return std::nullopt;
  return value;
}

template <typename Fn>
Fn NtFunction(const char* name) {
  return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), name)));
}

// The table's address through the 64-bit PEB of a 32-bit process, from any of its threads.
std::uint64_t GdiTableOfWow64(HANDLE process) {
  using QueryThreadFn = LONG(WINAPI*)(HANDLE, int, void*, ULONG, ULONG*);
  static const auto query = NtFunction<QueryThreadFn>("NtQueryInformationThread");
  if (!query) return 0;
  std::uint64_t table = 0;
  for (DWORD id : ThreadsOf(GetProcessId(process))) {
    const win32::UniqueHandle thread(OpenThread(THREAD_QUERY_INFORMATION, FALSE, id));
    if (!thread) continue;
    ThreadBasics basics{};
    if (query(thread.get(), 0, &basics, sizeof(basics), nullptr) == 0) {
      const auto teb64 = ReadRemote<std::uint32_t>(process, reinterpret_cast<std::uintptr_t>(basics.teb) + kTeb64InTeb32);
      const auto peb64 = teb64 ? ReadRemote<std::uint64_t>(process, *teb64 + kPebInTeb64) : std::nullopt;
      const auto found = peb64 ? ReadRemote<std::uint64_t>(process, *peb64 + kGdiTableInPeb64) : std::nullopt;
      table = found.value_or(0);
    }
    if (table) break;
  }
  return table;
}

BOOL CALLBACK CountDescendant(HWND, LPARAM count) {
  ++*reinterpret_cast<int*>(count);
  return TRUE;
}

struct WindowCount {
  DWORD pid;
  int count;
};

BOOL CALLBACK CountProcessWindow(HWND hwnd, LPARAM lp) {
  auto* q = reinterpret_cast<WindowCount*>(lp);
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  if (pid != q->pid) return TRUE;
  ++q->count;
  EnumChildWindows(hwnd, CountDescendant, reinterpret_cast<LPARAM>(&q->count));
  return TRUE;
}

}  // namespace

std::optional<int> CountGdiObjects(HANDLE process) {
  using QueryFn = LONG(WINAPI*)(HANDLE, int, void*, ULONG, ULONG*);
  static const auto query = NtFunction<QueryFn>("NtQueryInformationProcess");
  if (!query) return std::nullopt;
  ProcessBasics basics{};
  if (query(process, 0, &basics, sizeof(basics), nullptr) != 0 || !basics.peb) return std::nullopt;
  std::uint64_t table =
      ReadRemote<std::uintptr_t>(process, reinterpret_cast<std::uintptr_t>(basics.peb) + kGdiTableInPeb).value_or(0);
  if (table == 0 && sizeof(void*) == 4) table = GdiTableOfWow64(process);
  if (table == 0 || table > std::numeric_limits<std::uintptr_t>::max()) return std::nullopt;
  std::vector<unsigned char> entries(kGdiEntries * kGdiEntrySize);
  SIZE_T read = 0;
  if (!ReadProcessMemory(process, reinterpret_cast<const void*>(static_cast<std::uintptr_t>(table)), entries.data(),
                         entries.size(), &read) ||
      read != entries.size())
    return std::nullopt;
  int count = 0;
  for (std::size_t i = 0; i < kGdiEntries; ++i)
    if (entries[i * kGdiEntrySize + kGdiEntryTypeAt] != 0) ++count;
  return count;
}

std::vector<DWORD> ThreadsOf(DWORD pid) {
  std::vector<DWORD> ids;
  // A snapshot, like a file, is "none" as INVALID_HANDLE_VALUE and closed with CloseHandle.
  const win32::UniqueFile snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0));
  if (!snapshot) return ids;
  THREADENTRY32 entry{};
  entry.dwSize = sizeof(entry);
  for (BOOL more = Thread32First(snapshot.get(), &entry); more; more = Thread32Next(snapshot.get(), &entry))
    if (entry.th32OwnerProcessID == pid) ids.push_back(entry.th32ThreadID);
  return ids;
}

int CountWindows(DWORD pid) {
  WindowCount q{pid, 0};
  EnumWindows(CountProcessWindow, reinterpret_cast<LPARAM>(&q));
  return q.count;
}


}  // namespace tessmoor::e2e
