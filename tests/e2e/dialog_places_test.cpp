// Dialogs whose stored place lies on no monitor (one unplugged since): the settings dialog and both
// detail dialogs open wholly on the monitor there is, and the stored place stays as it is until the
// dialog closes, which records where it was.
#include <gtest/gtest.h>

#include <string>

#include "tests/e2e/detail_dialog_driver.h"

namespace tessmoor::e2e {
namespace {

using namespace std::chrono_literals;

class DialogPlaces : public FromSettingsDialog {
 protected:
  static RECT WorkArea() {
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    return work;
  }
  static void ExpectWhollyOn(const RECT& r, const RECT& work, const std::wstring& what) {
    EXPECT_GE(r.left, work.left) << Narrow(what);
    EXPECT_GE(r.top, work.top) << Narrow(what);
    EXPECT_LE(r.right, work.right) << Narrow(what);
    EXPECT_LE(r.bottom, work.bottom) << Narrow(what);
  }
};

struct StoredPlace {
  const wchar_t* x;
  const wchar_t* y;
};
constexpr StoredPlace kOffMonitor[] = {{L"-5000", L"-5000"}, {L"30000", L"30000"}};

TEST_F(DialogPlaces, TheSettingsDialogComesOntoTheMonitorAndRecordsItsNewPlaceOnlyWhenItCloses) {
  ASSERT_EQ(GetSystemMetrics(SM_CMONITORS), 1);
  for (const StoredPlace& stored : kOffMonitor) {
    registry::Write(L"ScreenSetUpPointRegXFlag", stored.x);
    registry::Write(L"ScreenSetUpPointRegYFlag", stored.y);
    ASSERT_TRUE(OpenSettings());
    const std::wstring what = std::wstring(L"stored at ") + stored.x + L"," + stored.y;
    const RECT r = WindowRectOf(settings_->hwnd());
    ExpectWhollyOn(r, WorkArea(), what);
    PumpFor(300ms);
    EXPECT_EQ(registry::Read(L"ScreenSetUpPointRegXFlag"), stored.x) << Narrow(what);
    EXPECT_EQ(registry::Read(L"ScreenSetUpPointRegYFlag"), stored.y) << Narrow(what);
    settings_->PostClick(settings_->Control("CancelButton"));
    ASSERT_EQ(module_->WaitExit(10s), 0u) << Narrow(what);
    EXPECT_EQ(registry::Read(L"ScreenSetUpPointRegXFlag"), std::to_wstring(r.left)) << Narrow(what);
    EXPECT_EQ(registry::Read(L"ScreenSetUpPointRegYFlag"), std::to_wstring(r.top)) << Narrow(what);
  }
}

// Both detail dialogs share one stored place; the pattern-2 one records the place it opened at
// when it opens, but not a place it was brought to.
TEST_F(DialogPlaces, BothDetailDialogsComeOntoTheMonitorAndRecordTheirNewPlaceOnlyWhenTheyClose) {
  ASSERT_TRUE(OpenSettings());
  for (const StoredPlace& stored : kOffMonitor) {
    for (int pattern = 1; pattern <= 2; ++pattern) {
      registry::Write(L"ScreenDetailSetUpPointRegXFlag", stored.x);
      registry::Write(L"ScreenDetailSetUpPointRegYFlag", stored.y);
      const std::wstring what = L"pattern " + std::to_wstring(pattern) + L" stored at " + stored.x + L"," + stored.y;
      const DialogDriver dialog = pattern == 1 ? DialogDriver(Pattern1DetailDriver::OpenFrom(*settings_).hwnd())
                                               : DialogDriver(Pattern2DetailDriver::OpenFrom(*settings_).hwnd());
      ASSERT_TRUE(dialog) << Narrow(what);
      const RECT r = WindowRectOf(dialog.hwnd());
      ExpectWhollyOn(r, WorkArea(), what);
      PumpFor(300ms);
      EXPECT_EQ(registry::Read(L"ScreenDetailSetUpPointRegXFlag"), stored.x) << Narrow(what);
      EXPECT_EQ(registry::Read(L"ScreenDetailSetUpPointRegYFlag"), stored.y) << Narrow(what);
      dialog.PressCloseBox();
      ASSERT_TRUE(dialog.WaitClosed()) << Narrow(what);
      EXPECT_EQ(registry::Read(L"ScreenDetailSetUpPointRegXFlag"), std::to_wstring(r.left)) << Narrow(what);
      EXPECT_EQ(registry::Read(L"ScreenDetailSetUpPointRegYFlag"), std::to_wstring(r.top)) << Narrow(what);
    }
  }
}

}  // namespace
}  // namespace tessmoor::e2e
