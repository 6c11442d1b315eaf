#include "tests/e2e/settings_dialog_driver.h"

#include <commctrl.h>

#include <algorithm>
#include <thread>

#include "app/settings_keys.h"
#include "setup/win32/settings_ids.h"
#include "tests/support/picture_files.h"

namespace tessmoor::e2e {

namespace {

using namespace std::chrono_literals;

constexpr UINT kSendTimeoutMs = 5000;
constexpr auto kStart = 15s;  // a cold start under Wine can take a few seconds

LRESULT Send(HWND hwnd, UINT message, WPARAM wparam = 0, LPARAM lparam = 0) {
  DWORD_PTR result = 0;
  SendMessageTimeoutW(hwnd, message, wparam, lparam, SMTO_ABORTIFHUNG, kSendTimeoutMs, &result);
  return static_cast<LRESULT>(result);
}

std::wstring ListText(HWND list, UINT get_length, UINT get_text, int index) {
  const LRESULT n = Send(list, get_length, static_cast<WPARAM>(index));
  if (n < 0 || n > 4096) return {};
  std::wstring text(static_cast<std::size_t>(n) + 1, L'\0');
  Send(list, get_text, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<std::size_t>(n));
  return text;
}

bool SameName(const std::wstring& a, const std::wstring& b) { return _wcsicmp(a.c_str(), b.c_str()) == 0; }

int IndexOf(const std::vector<std::wstring>& items, const std::wstring& name, std::size_t from = 0) {
  for (std::size_t i = from; i < items.size(); ++i)
    if (SameName(items[i], name)) return static_cast<int>(i);
  return -1;
}

void MouseInput(POINT at, DWORD flags) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
  input.mi.dx = static_cast<LONG>((at.x * 65536LL + w / 2) / w);
  input.mi.dy = static_cast<LONG>((at.y * 65536LL + h / 2) / h);
  input.mi.dwFlags = flags | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  SendInput(1, &input, sizeof(input));
  std::this_thread::sleep_for(30ms);
}

HCURSOR CursorShown() {
  std::this_thread::sleep_for(100ms);
  CURSORINFO info{};
  info.cbSize = sizeof(info);
  GetCursorInfo(&info);
  return info.hCursor;
}

struct OwnedQuery {
  HWND owner;
  const wchar_t* window_class;
  HWND found;
};

BOOL CALLBACK FindOwned(HWND hwnd, LPARAM lp) {
  auto* q = reinterpret_cast<OwnedQuery*>(lp);
  wchar_t name[64] = {};
  GetClassNameW(hwnd, name, 64);
  if (GetWindow(hwnd, GW_OWNER) == q->owner && IsWindowVisible(hwnd) && std::wstring(name) == q->window_class) {
    q->found = hwnd;
    return FALSE;
  }
  return TRUE;
}

}  // namespace

std::wstring ImageKey(int box, int slot) { return Wide(keys::ImagePath(box, slot)); }

const PictureFiles& SettingsPictures() {
  static const PictureFiles files = [] {
    PictureFiles p;
    p.folder = TempFolder() + L"Tessmoor-Setup";
    p.quad = WriteFileIn(p.folder, L"Quad.JPG",
                         test::MakeJpeg(640, 480, test::Quadrants(640, 480, test::kRed, test::kGreen, test::kBlue,
                                                                  test::kYellow), 92));
    p.sea = WriteFileIn(p.folder, L"Sea.Jpeg", test::MakeJpeg(480, 640, test::Solid(test::kBlue), 90));
    p.tall = WriteFileIn(p.folder, L"Tall.BMP", test::MakeBmp(300, 900, test::Solid(test::kRed)));
    p.small = WriteFileIn(p.folder, L"Small.bmp", test::MakeBmp(50, 40, test::Solid(test::kGreen)));
    p.square = WriteFileIn(p.folder, L"Square.jpg", test::MakeJpeg(200, 200, test::Solid(test::kBlue), 90));
    p.yellow = WriteFileIn(p.folder, L"Portrait.jpg", test::MakeJpeg(480, 640, test::Solid(test::kYellow), 90));
    p.broken = WriteFileIn(p.folder, L"broken.jpg", std::vector<std::uint8_t>(600, 0x5A));
    WriteFileIn(p.folder, L"notes.txt", {'n', 'o'});
    WriteFileIn(p.folder, L"picture.png", {0x89, 'P', 'N', 'G'});
    CreateDirectoryW((p.folder + L"\\Sub").c_str(), nullptr);
    return p;
  }();
  return files;
}

bool HasSize(const SIZE& size, int width, int height) { return size.cx == width && size.cy == height; }
std::string SizeText(const SIZE& size) { return std::to_string(size.cx) + "x" + std::to_string(size.cy); }

void SettingsDialog::SetUp() {
  registry::DeleteSettings();
  SetCursorPos(1000, 740);
}

HWND SettingsDialog::Open(std::unique_ptr<Module>& module, const std::wstring& args) {
  module = std::make_unique<Module>(args);
  return module->WaitWindow(kSettingsTitle, SettingsDialog::kStart);
}

void FromSettingsDialog::SetUp() { registry::DeleteSettings(); }

bool FromSettingsDialog::OpenSettings(const std::wstring& module_path) {
  module_ = module_path.empty() ? std::make_unique<Module>(L"/c") : std::make_unique<Module>(module_path, L"/c");
  HWND found = nullptr;
  WaitUntil(
      [&] {
        const std::vector<HWND> titled = WindowsTitled(module_->pid(), kSettingsTitle);
        found = titled.empty() ? nullptr : titled.front();
        return found != nullptr || !module_->Running();
      },
      kStart);
  if (!found) {
    ADD_FAILURE() << "the settings dialog (\"設定\") did not open"
                  << (module_->Running() ? "" : ": the configuration run ended first");
    return false;
  }
  settings_ = SettingsDialogDriver(found);
  return true;
}

HWND SettingsDialogDriver::Control(std::string_view name) const {
  const int id = SettingsControlId(name);
  return id ? GetDlgItem(dialog_, id) : nullptr;
}

HWND SettingsDialogDriver::BoxControl(int box, std::string_view part) const {
  return Control("ImageRegNo" + std::to_string(box) + "BoxScrSetUpFormTabControl" + std::string(part));
}

RECT SettingsDialogDriver::ClientRect(HWND control) const {
  RECT r = WindowRectOf(control);
  MapWindowPoints(nullptr, dialog_, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

SIZE SettingsDialogDriver::SizeOf(HWND control) const {
  const RECT r = WindowRectOf(control);
  return {r.right - r.left, r.bottom - r.top};
}

HWND SettingsDialogDriver::OpenFromMenu(int menu_id, const wchar_t* title) const {
  // Another process's menu cannot be read or clicked into; its item's command can be posted.
  HWND opened = AwaitNewWindow(
      pid(), title, [&] { PostMessageW(dialog_, WM_COMMAND, MAKEWPARAM(menu_id, 0), 0); }, 5s);
  if (!opened) ADD_FAILURE() << "the menu item " << menu_id << " opened no \"" << Narrow(title) << "\" dialog";
  return opened;
}

bool SettingsDialogDriver::Checked(HWND button) const { return Send(button, BM_GETCHECK) == BST_CHECKED; }

void SettingsDialogDriver::Click(HWND button) const { Send(button, BM_CLICK); }

void SettingsDialogDriver::PostClick(HWND button) const { PostMessageW(button, BM_CLICK, 0, 0); }

void SettingsDialogDriver::SelectTab(int box, int index) const {
  Send(BoxControl(box, ""), TCM_SETCURFOCUS, static_cast<WPARAM>(index));
}

void SettingsDialogDriver::Notify(HWND control, int code) const {
  Send(dialog_, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(control), code), reinterpret_cast<LPARAM>(control));
}

std::vector<std::wstring> SettingsDialogDriver::Items(HWND list) const {
  std::vector<std::wstring> items;
  const LRESULT n = Send(list, LB_GETCOUNT);
  for (int i = 0; i < n; ++i) items.push_back(ListText(list, LB_GETTEXTLEN, LB_GETTEXT, i));
  return items;
}

void SettingsDialogDriver::SelectItem(HWND list, int index) const {
  Send(list, LB_SETCURSEL, static_cast<WPARAM>(index));
}

std::vector<std::wstring> SettingsDialogDriver::DriveItems() const {
  HWND combo = Control("ScrSetUpDriveComboBox");
  std::vector<std::wstring> items;
  const LRESULT n = Send(combo, CB_GETCOUNT);
  for (int i = 0; i < n; ++i) items.push_back(ListText(combo, CB_GETLBTEXTLEN, CB_GETLBTEXT, i));
  return items;
}

bool SettingsDialogDriver::OpenFolder(const std::wstring& folder) const {
  if (folder.size() < 3 || folder[1] != L':') return false;
  HWND combo = Control("ScrSetUpDriveComboBox");
  HWND folders = Control("ScrSetUpDirectoryListBox");
  const std::vector<std::wstring> drives = DriveItems();
  int drive = -1;
  for (std::size_t i = 0; i < drives.size(); ++i)
    if (drives[i].size() >= 2 && towlower(drives[i][0]) == towlower(folder[0]) && drives[i][1] == L':')
      drive = static_cast<int>(i);
  if (drive < 0) return false;
  Send(combo, CB_SETCURSEL, static_cast<WPARAM>(drive));
  Notify(combo, CBN_SELCHANGE);
  // Up to the root first (the first entry), then down one folder at a time.
  Send(folders, LB_SETCURSEL, 0);
  Notify(folders, LBN_DBLCLK);
  std::size_t depth = 0;
  for (std::size_t at = 3; at < folder.size();) {
    std::size_t end = folder.find(L'\\', at);
    if (end == std::wstring::npos) end = folder.size();
    const std::wstring name = folder.substr(at, end - at);
    at = end + 1;
    if (name.empty()) continue;
    const int index = IndexOf(Items(folders), name, depth + 1);
    if (index < 0) return false;
    Send(folders, LB_SETCURSEL, static_cast<WPARAM>(index));
    Notify(folders, LBN_DBLCLK);
    ++depth;
    const std::vector<std::wstring> now = Items(folders);
    if (now.size() <= depth || !SameName(now[depth], name)) return false;
  }
  return true;
}

bool SettingsDialogDriver::ClickFile(const std::wstring& name) const {
  HWND files = Control("ScrSetUpFileListBox");
  const int index = IndexOf(Items(files), name);
  if (index < 0) return false;
  Send(files, LB_SETCURSEL, static_cast<WPARAM>(index));
  Notify(files, LBN_SELCHANGE);
  return true;
}

bool SettingsDialogDriver::DragFileToBox(const std::wstring& name, int box, const std::function<bool()>& done,
                                         DragCursors* cursors) const {
  return DragItemToBox(Control("ScrSetUpFileListBox"), name, box, done, cursors);
}

bool SettingsDialogDriver::DragFolderToBox(const std::wstring& name, int box, const std::function<bool()>& done) const {
  return DragItemToBox(Control("ScrSetUpDirectoryListBox"), name, box, done, nullptr);
}

std::optional<POINT> SettingsDialogDriver::ItemOnScreen(HWND list, const std::wstring& name) const {
  const int index = IndexOf(Items(list), name);
  if (index < 0) return std::nullopt;
  Send(list, LB_SETTOPINDEX, static_cast<WPARAM>(index));
  const int top = static_cast<int>(Send(list, LB_GETTOPINDEX));
  const int item_height = static_cast<int>(Send(list, LB_GETITEMHEIGHT, 0));
  POINT at{8, (index - top) * item_height + item_height / 2};
  ClientToScreen(list, &at);
  return at;
}

bool SettingsDialogDriver::DoubleClickFolder(const std::wstring& name, const std::function<bool()>& done) const {
  const std::optional<POINT> at = ItemOnScreen(Control("ScrSetUpDirectoryListBox"), name);
  if (!at) return false;
  for (int attempt = 0; attempt < 4; ++attempt) {
    MouseInput(*at, 0);
    for (int click = 0; click < 2; ++click) {
      MouseInput(*at, MOUSEEVENTF_LEFTDOWN);
      MouseInput(*at, MOUSEEVENTF_LEFTUP);
    }
    if (WaitUntil(done, 2s)) return true;
  }
  return false;
}

bool SettingsDialogDriver::DragItemToBox(HWND files, const std::wstring& name, int box,
                                         const std::function<bool()>& done, DragCursors* cursors) const {
  const std::optional<POINT> item = ItemOnScreen(files, name);
  if (!item) return false;
  const POINT start = *item;
  const RECT target = WindowRectOf(BoxControl(box, "NoImage"));
  const POINT end{(target.left + target.right) / 2, (target.top + target.bottom) / 2};
  // The first input after a start is sometimes lost: each try moves to the item first.
  for (int attempt = 0; attempt < 4; ++attempt) {
    MouseInput(start, 0);
    if (cursors) cursors->before = CursorShown();
    MouseInput(start, MOUSEEVENTF_LEFTDOWN);
    constexpr int kSteps = 12;
    for (int i = 1; i <= kSteps; ++i) {
      MouseInput({start.x + (end.x - start.x) * i / kSteps, start.y + (end.y - start.y) * i / kSteps}, 0);
      if (cursors && (i == 1 || i == kSteps)) (i == 1 ? cursors->over_list : cursors->over_target) = CursorShown();
    }
    MouseInput(end, MOUSEEVENTF_LEFTUP);
    if (WaitUntil(done, 2s)) return true;
  }
  return false;
}

HWND WaitOwnedWindow(HWND owner, const wchar_t* window_class, std::chrono::milliseconds timeout) {
  OwnedQuery q{owner, window_class, nullptr};
  WaitUntil(
      [&] {
        q.found = nullptr;
        EnumWindows(FindOwned, reinterpret_cast<LPARAM>(&q));
        return q.found != nullptr;
      },
      timeout);
  return q.found;
}

bool ChooseFileInOpenDialog(const SettingsDialogDriver& dialog, int box, const std::wstring& path,
                            OpenDialogSeen* seen) {
  dialog.PostClick(dialog.BoxControl(box, "NoImageButton"));
  HWND open = WaitOwnedWindow(dialog.hwnd(), L"#32770", 10s);
  if (!open) return false;
  // The controls of the dialog's template: the file types (cmb1), the folder list (cmb2) and the
  // file name (cmb13).
  if (seen) {
    seen->look_in = WindowText(GetDlgItem(open, 0x471));
    HWND types = GetDlgItem(open, 0x470);
    seen->filters.clear();
    const LRESULT n = Send(types, CB_GETCOUNT);
    for (int i = 0; i < n; ++i) seen->filters.push_back(ListText(types, CB_GETLBTEXTLEN, CB_GETLBTEXT, i));
  }
  if (!path.empty()) Send(GetDlgItem(open, 0x47C), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
  PostMessageW(GetDlgItem(open, path.empty() ? IDCANCEL : IDOK), BM_CLICK, 0, 0);
  if (!WaitUntil([&] { return !IsWindow(open); }, 10s)) return false;
  // The button handler goes on after the open dialog has gone (it loads the chosen picture); a
  // message sent to the settings dialog is handled only once that handler has returned.
  return SendMessageTimeoutW(dialog.hwnd(), WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 10000, nullptr) != 0;
}

}  // namespace tessmoor::e2e
