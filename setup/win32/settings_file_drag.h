#pragma once
#include <windows.h>

#include <functional>

#include "platform/win32/handles.h"

namespace tessmoor {

// Dragging an item of one of the settings dialog's lists (the file list, the folder list) onto
// another control. A press on an item
// selects it; when the mouse then moves with the button held (DragDetect), the list keeps the
// mouse captured and shows the drag cursor over a window that accepts the drop and the no-drop
// cursor elsewhere, until the button is released: over an accepting window that is the drop.
// Escape or a lost capture ends the drag without a drop. The list is subclassed for as long as
// this object lives.
class FileListDrag {
 public:
  struct Handlers {
    std::function<void()> selected;              // a press selected an item
    std::function<bool(HWND)> accepts;           // whether a drop on this window is taken
    std::function<void(HWND target)> dropped;
    // A double click on an item (after the press selected it); nothing when left empty.
    std::function<void()> double_clicked;
  };

  FileListDrag(HWND list, Handlers handlers);
  ~FileListDrag();
  FileListDrag(const FileListDrag&) = delete;
  FileListDrag& operator=(const FileListDrag&) = delete;

  bool dragging() const { return dragging_; }

 private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR id,
                               DWORD_PTR self);
  LRESULT OnMessage(UINT message, WPARAM wparam, LPARAM lparam);
  void Press(POINT client);
  void ShowCursorAt(POINT screen) const;
  void EndDrag(bool drop, POINT screen);

  HWND list_;
  Handlers handlers_;
  bool dragging_ = false;
  win32::UniqueCursor drag_cursor_;
};

}  // namespace tessmoor
