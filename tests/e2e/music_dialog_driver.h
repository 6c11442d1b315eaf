#pragma once
#include <windows.h>

#include <array>
#include <string>
#include <vector>

#include "tests/e2e/settings_dialog_driver.h"

// The music dialog, opened as a user opens it: "詳細設定" in the settings dialog's "音楽" group.
// Its controls are found as a user sees them, each row from the top down: slot n's check box
// (which shows its file), its open, erase and play buttons, then stop, save and cancel.
namespace tessmoor::e2e {

class MusicDialogDriver {
 public:
  static constexpr const wchar_t* kTitle = L"音楽";
  static constexpr int kSlots = 5;

  MusicDialogDriver() = default;
  // The dialog opened; an empty driver, with a test failure, when none opened.
  static MusicDialogDriver OpenFrom(const SettingsDialogDriver& settings);

  HWND hwnd() const { return dialog_; }
  explicit operator bool() const { return dialog_ != nullptr; }
  // Every control was found.
  bool Complete() const;

  // Slot n = 1..5.
  HWND CheckBox(int n) const { return check_boxes_[n - 1]; }
  HWND OpenButton(int n) const { return open_[n - 1]; }
  HWND EraseButton(int n) const { return erase_[n - 1]; }
  HWND PlayButton(int n) const { return play_[n - 1]; }
  HWND StopButton() const { return stop_; }
  HWND SaveButton() const { return save_; }
  HWND CancelButton() const { return cancel_; }

  std::wstring SlotCaption(int n) const { return WindowText(CheckBox(n)); }
  bool Ticked(int n) const;
  // The preview states: idle has the play and open buttons, playing only the stop button.
  bool Idle() const { return States(true); }
  bool Playing() const { return States(false); }

  void Tick(int n) const { Press(CheckBox(n)); }
  // Chooses `path` in the open dialog that slot n's open button brings up; false when that
  // dialog did not appear or did not close.
  bool ChooseFile(int n, const std::wstring& path) const;
  void Erase(int n) const { Press(EraseButton(n)); }
  void Play(int n) const { Press(PlayButton(n)); }
  void Stop() const { Press(stop_); }
  void Save() const { Press(save_); }
  void PressCloseBox() const { PostMessageW(dialog_, WM_CLOSE, 0, 0); }
  bool WaitClosed() const;

  // A control's left, top, width and height in the dialog's client area.
  using Bounds = std::array<long, 4>;
  Bounds BoundsOf(HWND control) const;

 private:
  explicit MusicDialogDriver(HWND dialog);
  static void Press(HWND button);
  bool States(bool idle) const;

  HWND dialog_ = nullptr;
  std::vector<HWND> check_boxes_, open_, erase_, play_;
  HWND stop_ = nullptr, save_ = nullptr, cancel_ = nullptr;
};

}  // namespace tessmoor::e2e
