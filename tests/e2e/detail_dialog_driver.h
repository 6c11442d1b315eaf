#pragma once
#include <windows.h>

#include <string>

#include "setup/detail_dialog_layouts.h"
#include "tests/e2e/layout_dialog_driver.h"
#include "tests/e2e/settings_dialog_driver.h"

// The two detail dialogs, opened as a user opens them: the pattern chosen by its radio button in
// the settings dialog, then "詳細設定" in its "動作" group. Each press opens a new instance.
namespace tessmoor::e2e {

class Pattern1DetailDriver : public LayoutDialogDriver<Pattern1DetailRole, Pattern1DetailControls> {
 public:
  using Role = Pattern1DetailRole;
  static constexpr const wchar_t* kTitle = L"パターン１詳細";
  using LayoutDialogDriver::LayoutDialogDriver;

  // The new instance; an empty driver, with a test failure, when none opened.
  static Pattern1DetailDriver OpenFrom(const SettingsDialogDriver& settings);

  bool ModeChecked(int mode) const { return Checked(Control(Role::kModeRadio, mode)); }
  bool BoxChecked(int box) const { return Checked(Control(Role::kBoxCheck, box)); }
  int Timer() const { return BarPosition(Control(Role::kTimerBar)); }
  int Scale() const { return BarPosition(Control(Role::kScaleBar)); }
  std::wstring ScaleLabel() const { return WindowText(Control(Role::kScaleValueLabel)); }

  void ChooseMode(int mode) const { Click(Control(Role::kModeRadio, mode)); }
  void ToggleBox(int box) const { Click(Control(Role::kBoxCheck, box)); }
  void TimerArrowRight() const { ArrowRight(Control(Role::kTimerBar)); }
  void TimerThumbTo(int position) const { ThumbTo(Control(Role::kTimerBar), position); }
  void ScaleArrowRight() const { ArrowRight(Control(Role::kScaleBar)); }
  void ScaleThumbTo(int position) const { ThumbTo(Control(Role::kScaleBar), position); }
  void Save() const { Click(Control(Role::kSaveButton)); }
  void Cancel() const { Click(Control(Role::kCancelButton)); }
};

// Windows 1..4 each have their own group of controls; modes are 1..5.
class Pattern2DetailDriver : public LayoutDialogDriver<Pattern2DetailRole, Pattern2DetailControls> {
 public:
  using Role = Pattern2DetailRole;
  static constexpr const wchar_t* kTitle = L"パターン２詳細";
  using LayoutDialogDriver::LayoutDialogDriver;

  static Pattern2DetailDriver OpenFrom(const SettingsDialogDriver& settings);

  bool ModeChecked(int window, int mode) const { return Checked(Control(Role::kModeRadio, window, mode)); }
  bool Used(int window) const { return Checked(Control(Role::kBoxCheck, window)); }
  int Speed(int window) const { return BarPosition(Control(Role::kSpeedBar, window)); }
  int Size(int window) const { return BarPosition(Control(Role::kSizeBar, window)); }
  std::wstring SizeLabel(int window) const { return WindowText(Control(Role::kSizeValueLabel, window)); }

  void ChooseMode(int window, int mode) const { Click(Control(Role::kModeRadio, window, mode)); }
  void ToggleUse(int window) const { Click(Control(Role::kBoxCheck, window)); }
  void SpeedArrowRight(int window) const { ArrowRight(Control(Role::kSpeedBar, window)); }
  void SpeedArrowLeft(int window) const { ArrowLeft(Control(Role::kSpeedBar, window)); }
  void SpeedThumbTo(int window, int position) const { ThumbTo(Control(Role::kSpeedBar, window), position); }
  void SizeThumbTo(int window, int position) const { ThumbTo(Control(Role::kSizeBar, window), position); }
  void SizeThumbTrack(int window, int position) const { ThumbTrack(Control(Role::kSizeBar, window), position); }
  void Save() const { Click(Control(Role::kSaveButton)); }
  void Cancel() const { Click(Control(Role::kCancelButton)); }
};

}  // namespace tessmoor::e2e
