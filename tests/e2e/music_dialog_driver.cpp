#include "tests/e2e/music_dialog_driver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>

namespace tessmoor::e2e {

using namespace std::chrono_literals;

MusicDialogDriver MusicDialogDriver::OpenFrom(const SettingsDialogDriver& settings) {
  HWND button = settings.Control("MusicRegFileDSaveButton");
  if (!button) {
    ADD_FAILURE() << "the settings dialog has no \"詳細設定\" button in its \"音楽\" group";
    return {};
  }
  HWND music = AwaitNewWindow(settings.pid(), kTitle, [&] { settings.PostClick(button); }, 15s);
  if (!music) {
    ADD_FAILURE() << "\"詳細設定\" opened no music dialog";
    return {};
  }
  return MusicDialogDriver(music);
}

MusicDialogDriver::MusicDialogDriver(HWND dialog) : dialog_(dialog) {
  std::vector<HWND> glyphs;
  for (HWND h : ChildWindows(dialog)) {
    const std::wstring text = WindowText(h);
    const LONG style = GetWindowLongW(h, GWL_STYLE);
    if ((style & BS_TYPEMASK) == BS_AUTOCHECKBOX) check_boxes_.push_back(h);
    else if (text == L"....") open_.push_back(h);
    else if (text == L"X") erase_.push_back(h);
    else if (text == L"設定の保存") save_ = h;
    else if (text == L"キャンセル") cancel_ = h;
    else if (text.empty()) glyphs.push_back(h);
  }
  for (auto* list : {&check_boxes_, &open_, &erase_, &glyphs})
    std::sort(list->begin(), list->end(), [](HWND x, HWND y) { return WindowRectOf(x).top < WindowRectOf(y).top; });
  if (glyphs.size() == kSlots + 1) {
    stop_ = glyphs.back();
    glyphs.pop_back();
    play_ = glyphs;
  }
}

bool MusicDialogDriver::Complete() const {
  return check_boxes_.size() == kSlots && open_.size() == kSlots && erase_.size() == kSlots &&
         play_.size() == kSlots && stop_ && save_ && cancel_;
}

bool MusicDialogDriver::Ticked(int n) const { return SendBounded(CheckBox(n), BM_GETCHECK) == BST_CHECKED; }

bool MusicDialogDriver::States(bool idle) const {
  for (int i = 0; i < kSlots; ++i)
    if ((IsWindowEnabled(play_[i]) != FALSE) != idle || (IsWindowEnabled(open_[i]) != FALSE) != idle) return false;
  return (IsWindowEnabled(stop_) != FALSE) == !idle;
}

void MusicDialogDriver::Press(HWND button) { SendBounded(button, BM_CLICK); }

bool MusicDialogDriver::ChooseFile(int n, const std::wstring& path) const {
  PostMessageW(OpenButton(n), BM_CLICK, 0, 0);  // the open dialog is modal: do not wait for the click
  HWND chooser = WaitOwnedWindow(dialog_, L"#32770", 10s);
  if (!chooser) return false;
  HWND name = GetDlgItem(chooser, 0x47C);
  if (!name) return false;
  SendBounded(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
  PostMessageW(GetDlgItem(chooser, IDOK), BM_CLICK, 0, 0);
  return WaitUntil([&] { return !IsWindow(chooser) || !IsWindowVisible(chooser); }, 10s);
}

bool MusicDialogDriver::WaitClosed() const {
  return WaitUntil([&] { return !IsWindowVisible(dialog_); }, 5s);
}

MusicDialogDriver::Bounds MusicDialogDriver::BoundsOf(HWND control) const {
  RECT r = WindowRectOf(control);
  MapWindowPoints(nullptr, dialog_, reinterpret_cast<POINT*>(&r), 2);
  return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

}  // namespace tessmoor::e2e
