#include "setup/win32/settings_file_drag.h"

#include <commctrl.h>
#include <windowsx.h>

#include <array>
#include <string_view>

#include "platform/win32/controls.h"

namespace tessmoor {

namespace {

constexpr UINT_PTR kSubclassId = 0x5E7F;

// The drag cursor: the arrow with a sheet of paper under its tail. 'X' is black, 'o' white,
// anything else shows the screen through.
constexpr std::array<std::string_view, 30> kDragCursorRows = {
    "X",
    "XX",
    "XoX",
    "XooX",
    "XoooX",
    "XooooX",
    "XoooooX",
    "XooooooX",
    "XoooooooX",
    "XooooooooX",
    "XoooooXXXXX",
    "XooXooX",
    "XoX XooX",
    "XX  XooX",
    "X    XooX",
    "     XooX",
    "      XooX",
    "      XooX",
    "       XX",
    "",
    "          XXXXXXXXXX",
    "          XooooooooXX",
    "          XoXXXXooXoX",
    "          XooooooooXXX",
    "          XoXXXXXXoooX",
    "          XooooooooooX",
    "          XoXXXXXXXXoX",
    "          XooooooooooX",
    "          XoooooooooooX",
    "          XXXXXXXXXXXXX",
};

HCURSOR MakeDragCursor() {
  constexpr int kSide = 32;
  constexpr int kRowBytes = kSide / 8;
  std::array<BYTE, kSide * kRowBytes> and_plane;
  std::array<BYTE, kSide * kRowBytes> xor_plane{};
  and_plane.fill(0xFF);
  for (std::size_t y = 0; y < kDragCursorRows.size(); ++y) {
    const std::string_view row = kDragCursorRows[y];
    for (std::size_t x = 0; x < row.size() && x < kSide; ++x) {
      if (row[x] != 'X' && row[x] != 'o') continue;
      const std::size_t byte = y * kRowBytes + x / 8;
      const BYTE bit = static_cast<BYTE>(0x80 >> (x % 8));
      and_plane[byte] &= static_cast<BYTE>(~bit);
      if (row[x] == 'o') xor_plane[byte] |= bit;
    }
  }
  return CreateCursor(GetModuleHandleW(nullptr), 0, 0, kSide, kSide, and_plane.data(), xor_plane.data());
}

}  // namespace

FileListDrag::FileListDrag(HWND list, Handlers handlers)
    : list_(list), handlers_(std::move(handlers)), drag_cursor_(MakeDragCursor()) {
  SetWindowSubclass(list_, &FileListDrag::Proc, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
}

FileListDrag::~FileListDrag() {
  if (IsWindow(list_)) RemoveWindowSubclass(list_, &FileListDrag::Proc, kSubclassId);
}

LRESULT CALLBACK FileListDrag::Proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR,
                                    DWORD_PTR self) {
  if (message == WM_NCDESTROY) {
    RemoveWindowSubclass(hwnd, &FileListDrag::Proc, kSubclassId);
    return DefSubclassProc(hwnd, message, wparam, lparam);
  }
  return reinterpret_cast<FileListDrag*>(self)->OnMessage(message, wparam, lparam);
}

LRESULT FileListDrag::OnMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  const POINT client{GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)};
  POINT screen = client;
  ClientToScreen(list_, &screen);
  switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      // The list's own handling would take the capture and track the selection itself.
      Press(client);
      if (message == WM_LBUTTONDBLCLK && !dragging_ && handlers_.double_clicked && IsWindow(list_))
        handlers_.double_clicked();
      return 0;
    case WM_MOUSEMOVE:
      if (!dragging_) break;
      ShowCursorAt(screen);
      return 0;
    case WM_LBUTTONUP:
      if (!dragging_) break;
      EndDrag(true, screen);
      return 0;
    case WM_KEYDOWN:
      if (!dragging_ || wparam != VK_ESCAPE) break;
      EndDrag(false, screen);
      return 0;
    case WM_CAPTURECHANGED:
      if (dragging_ && reinterpret_cast<HWND>(lparam) != list_) EndDrag(false, screen);
      break;
    default:
      break;
  }
  return DefSubclassProc(list_, message, wparam, lparam);
}

void FileListDrag::Press(POINT client) {
  SetFocus(list_);
  win32::ListBox list(list_);
  const int item = list.ItemAt(client);
  if (item < 0) return;
  list.Select(item);
  if (handlers_.selected) handlers_.selected();
  if (!IsWindow(list_)) return;
  // Wine compares the point with the client coordinates of the moves; Windows documents screen
  // coordinates. The press position in screen coordinates is right on Windows and, under Wine,
  // only makes the first move start the drag.
  POINT screen = client;
  ClientToScreen(list_, &screen);
  if (!DragDetect(list_, screen)) return;
  dragging_ = true;
  SetCapture(list_);
  POINT now{};
  GetCursorPos(&now);
  ShowCursorAt(now);
}

void FileListDrag::ShowCursorAt(POINT screen) const {
  const HWND target = WindowFromPoint(screen);
  const bool accepted = handlers_.accepts && handlers_.accepts(target);
  SetCursor(accepted && drag_cursor_ ? drag_cursor_.get() : LoadCursorW(nullptr, IDC_NO));
}

void FileListDrag::EndDrag(bool drop, POINT screen) {
  dragging_ = false;
  if (GetCapture() == list_) ReleaseCapture();
  SetCursor(LoadCursorW(nullptr, IDC_ARROW));
  if (!drop) return;
  const HWND target = WindowFromPoint(screen);
  if (handlers_.accepts && handlers_.accepts(target) && handlers_.dropped) handlers_.dropped(target);
}

}  // namespace tessmoor
