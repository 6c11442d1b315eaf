// Both detail dialogs together, opened from the settings dialog as a user opens them: damaged
// settings, the place they share, and several instances open at once.
#include <gtest/gtest.h>

#include "tests/e2e/detail_dialog_checks.h"
#include "tests/e2e/detail_dialog_driver.h"
#include "tests/e2e/layout_dialog_checks.h"

namespace tessmoor::e2e {
namespace {

class DetailDialogs : public FromSettingsDialog {};

TEST_F(DetailDialogs, DamagedPositionTimerScaleSpeedAndSizeStillOpenTheDialogsWithFirstRunValues) {
  registry::Write(L"ScreenDetailSetUpPointRegXFlag", L"left");
  registry::Write(L"ScreenDetailSetUpPointRegYFlag", L"120");
  registry::Write(L"ScrActionRegSelectNo1FlagTimer", L"1.5e3");
  registry::Write(L"ScrActionRegSelectNo1FlagScale", L"");
  registry::Write(SpeedKey(2), L"fast");
  registry::Write(SizeKey(4), L"9x");
  ASSERT_TRUE(OpenSettings());
  const auto one = Pattern1DetailDriver::OpenFrom(*settings_);
  ASSERT_TRUE(one) << "damaged numbers kept the pattern-1 dialog from opening";
  EXPECT_EQ(one.Origin(), (Point{100, 120}));
  ExpectPattern1Shows(one, 1, 1500, 50, {true, true, true, true});
  one.Cancel();
  EXPECT_TRUE(one.WaitClosed());

  registry::Write(L"ScreenDetailSetUpPointRegYFlag", L"0x20");
  const auto two = Pattern2DetailDriver::OpenFrom(*settings_);
  ASSERT_TRUE(two) << "damaged numbers kept the pattern-2 dialog from opening";
  EXPECT_EQ(two.Origin(), (Point{100, 100}));
  ExpectPattern2Shows(two, kPattern2FirstRun);
}

TEST_F(DetailDialogs, BothDetailDialogsReopenWhereEitherWasLastClosed) {
  ASSERT_TRUE(OpenSettings());
  auto two = Pattern2DetailDriver::OpenFrom(*settings_);
  ASSERT_TRUE(two);
  two.MoveTo(300, 200);
  two.PressCloseBox();
  ASSERT_TRUE(two.WaitClosed());
  const auto one = Pattern1DetailDriver::OpenFrom(*settings_);
  ASSERT_TRUE(one);
  EXPECT_EQ(one.Origin(), (Point{300, 200})) << "the pattern-1 dialog ignores where the pattern-2 one closed";
  one.MoveTo(250, 150);
  one.Cancel();
  ASSERT_TRUE(one.WaitClosed());
  two = Pattern2DetailDriver::OpenFrom(*settings_);
  ASSERT_TRUE(two);
  EXPECT_EQ(two.Origin(), (Point{250, 150}));
}

TEST_F(DetailDialogs, TwoPressesOpenTwoInstancesThatShareTheWorkingValues) {
  ASSERT_TRUE(OpenSettings());
  const auto first = Pattern1DetailDriver::OpenFrom(*settings_);
  const auto second = Pattern1DetailDriver::OpenFrom(*settings_);
  ASSERT_TRUE(first);
  ASSERT_TRUE(second);
  EXPECT_NE(first.hwnd(), second.hwnd());
  EXPECT_EQ(WindowsTitled(settings_->pid(), Pattern1DetailDriver::kTitle).size(), 2u);
  for (const auto& d : {first, second}) ExpectDialogFrame(d.hwnd(), settings_->hwnd(), Pattern1DetailForm());
  // A bar moved in one instance is what the other one saves.
  first.ScaleThumbTo(70);
  EXPECT_EQ(second.Scale(), 50);
  second.Save();
  EXPECT_TRUE(second.WaitClosed());
  EXPECT_TRUE(first.Visible());
  EXPECT_EQ(Value(L"ScrActionRegSelectNo1FlagScale"), L"70");
  EXPECT_EQ(Value(L"ScrActionRegSelectNo1FlagTimer"), L"1500");

  const auto a = Pattern2DetailDriver::OpenFrom(*settings_);
  const auto b = Pattern2DetailDriver::OpenFrom(*settings_);
  ASSERT_TRUE(a);
  ASSERT_TRUE(b);
  EXPECT_NE(a.hwnd(), b.hwnd());
  EXPECT_EQ(WindowsTitled(settings_->pid(), Pattern2DetailDriver::kTitle).size(), 2u);
  a.SpeedThumbTo(4, 123);
  b.Save();
  EXPECT_TRUE(b.WaitClosed());
  EXPECT_EQ(Value(SpeedKey(4)), L"123");
  // Closed instances stay, hidden, until the settings dialog goes.
  for (HWND closed : {second.hwnd(), b.hwnd()}) EXPECT_TRUE(IsWindow(closed) && !IsWindowVisible(closed));
}

}  // namespace
}  // namespace tessmoor::e2e
