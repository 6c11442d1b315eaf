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

bool Near(std::uint32_t pixel, std::uint32_t rgb, int tolerance) {
  for (int shift : {0, 8, 16}) {
    const int a = static_cast<int>((pixel >> shift) & 0xFF);
    const int b = static_cast<int>((rgb >> shift) & 0xFF);
    if (a - b > tolerance || b - a > tolerance) return false;
  }
  return true;
}

bool WaitForPixel(int x, int y, std::uint32_t rgb, int tolerance, std::chrono::milliseconds timeout) {
  return WaitUntil(
      [&] {
        HDC screen = GetDC(nullptr);
        const COLORREF c = GetPixel(screen, x, y);
        ReleaseDC(nullptr, screen);
        // COLORREF is 0x00BBGGRR.
        const std::uint32_t pixel = ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
        return Near(pixel, rgb, tolerance);
      },
      timeout);
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

Screenshot CaptureScreen() {
  Screenshot shot;
  shot.width = GetSystemMetrics(SM_CXSCREEN);
  shot.height = GetSystemMetrics(SM_CYSCREEN);
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = shot.width;
  info.bmiHeader.biHeight = -shot.height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HBITMAP dib = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, dib);
  BitBlt(memory, 0, 0, shot.width, shot.height, screen, 0, 0, SRCCOPY);
  GdiFlush();
  shot.pixels.assign(static_cast<std::uint32_t*>(bits),
                     static_cast<std::uint32_t*>(bits) + static_cast<std::size_t>(shot.width) * shot.height);
  SelectObject(memory, old);
  DeleteObject(dib);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return shot;
}

void Screenshot::Save(const std::wstring& name) const {
  if (GetOptions().artifacts.empty()) return;
  CreateDirectoryW(GetOptions().artifacts.c_str(), nullptr);
  const std::wstring path = GetOptions().artifacts + L"\\" + name + L".bmp";
  FILE* f = _wfopen(path.c_str(), L"wb");
  if (!f) return;
  const int stride = (width * 3 + 3) & ~3;
  BITMAPFILEHEADER fh{};
  BITMAPINFOHEADER ih{};
  ih.biSize = sizeof(ih);
  ih.biWidth = width;
  ih.biHeight = -height;
  ih.biPlanes = 1;
  ih.biBitCount = 24;
  fh.bfType = 0x4D42;
  fh.bfOffBits = sizeof(fh) + sizeof(ih);
  fh.bfSize = fh.bfOffBits + static_cast<DWORD>(stride) * height;
  fwrite(&fh, sizeof(fh), 1, f);
  fwrite(&ih, sizeof(ih), 1, f);
  std::vector<unsigned char> row(static_cast<std::size_t>(stride), 0);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const std::uint32_t p = pixels[static_cast<std::size_t>(y) * width + x];
      row[x * 3] = p & 0xFF;
      row[x * 3 + 1] = (p >> 8) & 0xFF;
      row[x * 3 + 2] = (p >> 16) & 0xFF;
    }
    fwrite(row.data(), 1, row.size(), f);
  }
  fclose(f);
}

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
  const DWORD pid = GetProcessId(process);
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return 0;
  std::uint64_t table = 0;
  THREADENTRY32 entry{};
  entry.dwSize = sizeof(entry);
  for (BOOL more = Thread32First(snapshot, &entry); more && !table; more = Thread32Next(snapshot, &entry)) {
    if (entry.th32OwnerProcessID != pid) continue;
    HANDLE thread = OpenThread(THREAD_QUERY_INFORMATION, FALSE, entry.th32ThreadID);
    if (!thread) continue;
    ThreadBasics basics{};
    if (query(thread, 0, &basics, sizeof(basics), nullptr) == 0) {
      const auto teb64 = ReadRemote<std::uint32_t>(process, reinterpret_cast<std::uintptr_t>(basics.teb) + kTeb64InTeb32);
      const auto peb64 = teb64 ? ReadRemote<std::uint64_t>(process, *teb64 + kPebInTeb64) : std::nullopt;
      const auto found = peb64 ? ReadRemote<std::uint64_t>(process, *peb64 + kGdiTableInPeb64) : std::nullopt;
      table = found.value_or(0);
    }
    CloseHandle(thread);
  }
  CloseHandle(snapshot);
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

int CountWindows(DWORD pid) {
  WindowCount q{pid, 0};
  EnumWindows(CountProcessWindow, reinterpret_cast<LPARAM>(&q));
  return q.count;
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

Screenshot Crop(const Screenshot& shot, const RECT& area) {
  const int left = area.left > 0 ? area.left : 0, top = area.top > 0 ? area.top : 0;
  const int right = area.right < shot.width ? area.right : shot.width;
  const int bottom = area.bottom < shot.height ? area.bottom : shot.height;
  Screenshot part;
  part.width = right > left ? right - left : 0;
  part.height = bottom > top ? bottom - top : 0;
  part.pixels.reserve(static_cast<std::size_t>(part.width) * part.height);
  for (int y = top; y < bottom; ++y)
    for (int x = left; x < right; ++x) part.pixels.push_back(shot.pixels[static_cast<std::size_t>(y) * shot.width + x]);
  return part;
}

int DistinctGlyphCells(const Screenshot& shot, const RECT& area, InkBackground background) {
  const Screenshot part = Crop(shot, area);
  if (part.width == 0 || part.height == 0) return 0;
  std::map<std::uint32_t, int> counts;
  for (std::uint32_t p : part.pixels) ++counts[p & 0xFFFFFF];
  std::uint32_t face = 0;
  int most = 0;
  for (auto [colour, n] : counts) {
    if (n > most) {
      face = colour;
      most = n;
    }
  }

  using Column = std::vector<bool>;
  std::vector<std::vector<Column>> cells;  // the different ones
  std::vector<Column> cell;
  for (int x = 0; x <= part.width; ++x) {
    Column column(static_cast<std::size_t>(part.height), false);
    bool ink = false;
    if (x < part.width) {
      const std::uint32_t back = background == InkBackground::kTopRowOfColumn ? part.At(x, 0) : face;
      for (int y = 0; y < part.height; ++y) {
        column[y] = !Near(part.At(x, y), back, 96);
        if (column[y]) ink = true;
      }
    }
    if (ink) {
      cell.push_back(std::move(column));
    } else if (!cell.empty()) {
      bool seen = false;
      for (const auto& c : cells) seen = seen || c == cell;
      if (!seen) cells.push_back(cell);
      cell.clear();
    }
  }
  return static_cast<int>(cells.size());
}

namespace {
std::uint32_t FaceColour() {
  const COLORREF f = GetSysColor(COLOR_BTNFACE);
  return (static_cast<std::uint32_t>(GetRValue(f)) << 16) | (GetGValue(f) << 8) | GetBValue(f);
}
}  // namespace

Ink InkOf(const Screenshot& shot) {
  Ink ink{shot.width, shot.height, std::vector<bool>(shot.pixels.size()), 0};
  const std::uint32_t face = FaceColour();
  for (int y = 0; y < shot.height; ++y) {
    for (int x = 0; x < shot.width; ++x) {
      if (Near(shot.At(x, y), face, 96)) continue;
      ink.mask[static_cast<std::size_t>(y) * shot.width + x] = true;
      ++ink.count;
    }
  }
  return ink;
}

Screenshot RenderCaption(const std::wstring& text, int pixels, bool bold, bool italic) {
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  const int height = MulDiv(pixels, GetDeviceCaps(screen, LOGPIXELSY), 96);
  LOGFONTW lf{};
  lf.lfHeight = -height;
  lf.lfWeight = bold ? FW_BOLD : FW_NORMAL;
  lf.lfItalic = italic ? TRUE : FALSE;
  lf.lfCharSet = SHIFTJIS_CHARSET;
  lf.lfQuality = CLEARTYPE_QUALITY;
  lstrcpynW(lf.lfFaceName, L"ＭＳ Ｐゴシック", LF_FACESIZE);
  HFONT font = CreateFontIndirectW(&lf);
  HGDIOBJ old_font = SelectObject(dc, font);
  RECT size{0, 0, 0, 0};
  DrawTextW(dc, text.c_str(), -1, &size, DT_CALCRECT | DT_NOPREFIX | DT_SINGLELINE);
  // Italic glyphs lean out of their advance width.
  if (italic) size.right += height / 3;
  Screenshot out;
  out.width = size.right;
  out.height = size.bottom;
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), out.width, -out.height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HBITMAP dib = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (dib) {
    HGDIOBJ old_bitmap = SelectObject(dc, dib);
    HBRUSH face = CreateSolidBrush(GetSysColor(COLOR_BTNFACE));
    FillRect(dc, &size, face);
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    DrawTextW(dc, text.c_str(), -1, &size, DT_LEFT | DT_NOPREFIX | DT_SINGLELINE);
    GdiFlush();
    out.pixels.assign(static_cast<std::uint32_t*>(bits),
                      static_cast<std::uint32_t*>(bits) + static_cast<std::size_t>(out.width) * out.height);
    SelectObject(dc, old_bitmap);
    DeleteObject(face);
    DeleteObject(dib);
  } else {
    out.width = out.height = 0;
  }
  SelectObject(dc, old_font);
  DeleteObject(font);
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
  return out;
}

int BestMismatch(const Ink& screen, const RECT& area, const Ink& text) {
  constexpr int kSlack = 4;
  int best = text.width * text.height;
  const int x_end = (area.right - text.width > area.left ? area.right - text.width : area.left) + kSlack;
  const int y_end = (area.bottom - text.height > area.top ? area.bottom - text.height : area.top) + kSlack;
  for (int oy = area.top - kSlack; oy <= y_end; ++oy) {
    for (int ox = area.left - kSlack; ox <= x_end; ++ox) {
      int n = 0;
      for (int y = 0; y < text.height && n < best; ++y) {
        for (int x = 0; x < text.width; ++x) {
          const int sx = ox + x, sy = oy + y;
          const bool seen = sx >= 0 && sy >= 0 && sx < screen.width && sy < screen.height && screen.At(sx, sy);
          if (seen != text.At(x, y)) ++n;
        }
      }
      if (n < best) best = n;
    }
  }
  return best;
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
