// The module's start-up, its single-instance guard, the show window and its exit rules, driven
// from outside as Windows' screen-saver host drives it.
#include <gtest/gtest.h>

#include "tests/e2e/harness.h"
#include "tests/e2e/skips.h"

namespace tessmoor::e2e {
namespace {

using namespace std::chrono_literals;

constexpr auto kStart = 15s;  // a cold start under Wine can take a few seconds
constexpr auto kExit = 5s;

class Foundation : public ::testing::Test {
 protected:
  void SetUp() override { registry::DeleteSettings(); }
};

TEST_F(Foundation, ShowOnAnEmptyStoreCoversTheScreenBlackAndWritesFirstRunKeys) {
  Module show(L"/s");
  HWND window = show.WaitWindow(L"No1Form", kStart);
  ASSERT_NE(window, nullptr) << "the show window never appeared";
  const RECT r = WindowRectOf(window);
  EXPECT_EQ(r.left, 0);
  EXPECT_EQ(r.top, 0);
  EXPECT_EQ(r.right, GetSystemMetrics(SM_CXSCREEN));
  EXPECT_EQ(r.bottom, GetSystemMetrics(SM_CYSCREEN));
  EXPECT_TRUE(GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOPMOST);
  EXPECT_EQ(GetWindowLongW(window, GWL_STYLE) & (WS_CAPTION | WS_THICKFRAME), 0);

  PumpFor(500ms);
  const Screenshot shot = CaptureScreen();
  shot.Save(L"show-empty");
  for (auto [x, y] : {std::pair{0, 0}, {shot.width / 2, shot.height / 2}, {shot.width - 1, shot.height - 1}})
    EXPECT_EQ(shot.At(x, y), 0u) << x << "," << y;

  const auto values = registry::All();
  EXPECT_EQ(values.at(L"ScrActionRegSelectNoFlag"), L"1");
  EXPECT_EQ(values.at(L"ScrActionRegSelectNo1FlagDetail"), L"1");
  EXPECT_EQ(values.at(L"ScrActionRegSelectNo1FlagTimer"), L"1500");
  EXPECT_EQ(values.at(L"ScrActionRegSelectNo1FlagScale"), L"50");
  for (int b = 1; b <= 4; ++b) {
    EXPECT_EQ(values.at(Key(L"ImageRegForm1No", b, L"BoxScrSetUpFormTabControlCheckBoxReg")), L"1");
    for (int s = 1; s <= 12; ++s)
      EXPECT_EQ(values.at(L"ImageRegNo" + std::to_wstring(b) + L"BoxNo" + std::to_wstring(s) + L"ImagePass"), L"");
  }
  for (int m = 1; m <= 5; ++m) {
    EXPECT_EQ(values.at(Key(L"MusicNo", m, L"")), L"");
    EXPECT_EQ(values.at(Key(L"MusicPlayStopNo", m, L"")), L"1");
  }
  EXPECT_EQ(values.at(L"MusicPlayStop"), L"1");
  EXPECT_EQ(values.at(L"ScreenSetUpPointRegXFlag"), L"100");
  EXPECT_EQ(values.at(L"ScreenSetUpPointRegYFlag"), L"100");
  EXPECT_EQ(values.at(L"ScrActionRegSelectEveryMonitorFlag"), L"0");
  EXPECT_EQ(values.at(L"ImageRegFolderSubFlag"), L"1");
  EXPECT_EQ(values.at(L"ImageRegFolderOrderFlag"), L"2");
  // 1 pattern + 48 pictures + 7 pattern-1 + 11 music + 2 positions + 3 extended; pattern 2 stays
  // absent.
  EXPECT_EQ(values.size(), 72u);
  EXPECT_EQ(values.count(L"ScrNo2ActionRegSelectNo1FlagDetail"), 0u);

  PostMessageW(window, WM_KEYDOWN, VK_SPACE, 0);
  EXPECT_EQ(show.WaitExit(kExit), 0u);
}

TEST_F(Foundation, SecondStartWhileTheShowRunsExitsWithOneAndWritesNothing) {
  Module first(L"/s");
  ASSERT_NE(first.WaitWindow(L"No1Form", kStart), nullptr);
  registry::Write(L"ScrActionRegSelectNo1FlagTimer", L"non");
  const auto before = registry::All();
  for (const wchar_t* args : {L"/s", L"/c", L"/p 1234"}) {
    Module second(args);
    EXPECT_EQ(second.WaitExit(kStart), 1u) << args;
  }
  EXPECT_EQ(registry::All(), before);
  EXPECT_TRUE(first.Running());
}

TEST_F(Foundation, KeyClickAndSecondMouseMoveEachEndTheShow) {
  for (int kind = 0; kind < 3; ++kind) {
    Module show(L"/s");
    HWND window = show.WaitWindow(L"No1Form", kStart);
    ASSERT_NE(window, nullptr);
    switch (kind) {
      case 0:
        PostMessageW(window, WM_KEYDOWN, 'A', 0);
        break;
      case 1:
        PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
        break;
      case 2: {
        // The system reports the cursor's position when the window appears under it, and that
        // report may be the first one: the test's own moves go to where the cursor is.
        PumpFor(300ms);
        POINT at{};
        GetCursorPos(&at);
        PostMessageW(window, WM_MOUSEMOVE, 0, MAKELPARAM(at.x, at.y));
        PumpFor(500ms);
        EXPECT_TRUE(show.Running()) << "one mouse-move event alone ended the show";
        PostMessageW(window, WM_MOUSEMOVE, 0, MAKELPARAM(at.x, at.y));
        PumpFor(300ms);
        EXPECT_TRUE(show.Running()) << "a move to the recorded position ended the show";
        PostMessageW(window, WM_MOUSEMOVE, 0, MAKELPARAM(at.x + 1, at.y));
        break;
      }
    }
    EXPECT_EQ(show.WaitExit(kExit), 0u) << "input kind " << kind;
  }
}

TEST_F(Foundation, NoArgumentExitsAtOnceWithoutWriting) {
  Module module(L"");
  EXPECT_EQ(module.WaitExit(kStart), 0u);
  EXPECT_FALSE(registry::KeyExists());
  // The module did run: a show started right after it finds no other instance.
  Module show(L"/s");
  EXPECT_NE(show.WaitWindow(L"No1Form", kStart), nullptr);
}


TEST_F(Foundation, PreviewRunsInsideTheHostWindowAtItsSizeAndIgnoresInput) {
  PreviewHost host(152, 112);
  ASSERT_NE(host.hwnd(), nullptr);
  Module preview(L"/p " + host.Handle());
  HWND child = nullptr;
  ASSERT_TRUE(WaitUntil(
      [&] {
        // Visible once the show window has read its settings and built its table.
        auto children = ChildWindows(host.hwnd());
        child = children.empty() ? nullptr : children[0];
        return child != nullptr && IsWindowVisible(child);
      },
      kStart))
      << "the preview never appeared inside the host";
  EXPECT_EQ(GetParent(child), host.hwnd());
  DWORD pid = 0;
  GetWindowThreadProcessId(child, &pid);
  EXPECT_EQ(pid, preview.pid());
  const RECT r = WindowRectOf(child);
  const RECT h = WindowRectOf(host.hwnd());
  EXPECT_EQ(r.left, h.left);
  EXPECT_EQ(r.top, h.top);
  EXPECT_EQ(r.right - r.left, 152);
  EXPECT_EQ(r.bottom - r.top, 112);
  EXPECT_EQ(registry::Read(L"ScrActionRegSelectNoFlag"), L"1");

  const auto before = registry::All();
  PostMessageW(child, WM_KEYDOWN, 'A', 0);
  PostMessageW(child, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  PostMessageW(child, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
  PostMessageW(child, WM_MOUSEMOVE, 0, MAKELPARAM(50, 40));
  PumpFor(700ms);
  EXPECT_TRUE(preview.Running()) << "input ended the preview";
  EXPECT_EQ(registry::All(), before);

  host.Destroy();
  EXPECT_EQ(preview.WaitExit(kExit), 0u) << "the preview outlived its host window";
}

TEST_F(Foundation, PreviewWithANonNumericHandleShowsTheConversionErrorAndExitsZero) {
  Module preview(L"/p abc");
  HWND box = nullptr;
  ASSERT_TRUE(WaitUntil(
      [&] {
        for (HWND h : preview.TopWindows()) {
          wchar_t cls[64] = {};
          GetClassNameW(h, cls, 64);
          if (std::wstring(cls) == L"#32770") box = h;
        }
        return box != nullptr;
      },
      kStart))
      << "no message box";
  bool names_the_text = false;
  for (HWND c : ChildWindows(box))
    if (WindowText(c).find(L"'abc'") != std::wstring::npos) names_the_text = true;
  EXPECT_TRUE(names_the_text);
  EXPECT_TRUE(preview.Running());
  PostMessageW(box, WM_COMMAND, IDOK, 0);
  EXPECT_EQ(preview.WaitExit(kExit), 0u);
  EXPECT_EQ(preview.TopWindows().size(), 0u);
}

TEST_F(Foundation, PatternTwoShowWritesItsKeysAndADamagedSpeedDoesNotStopIt) {
  registry::Write(L"ScrActionRegSelectNoFlag", L"2");
  registry::Write(L"ScrActionRegSelectTimerNo2FormNo2Flag", L"fast");
  Module show(L"/s");
  HWND window = show.WaitWindow(L"No1Form", kStart);
  ASSERT_NE(window, nullptr);
  const auto values = registry::All();
  for (int n = 1; n <= 4; ++n) {
    EXPECT_EQ(values.at(Key(L"ScrNo2ActionRegSelectNo", n, L"FlagDetail")), std::to_wstring(n));
    EXPECT_EQ(values.at(Key(L"ScrActionRegSelectScaleNo2FormNo", n, L"Flag")), L"50");
    EXPECT_EQ(values.at(Key(L"ImageRegForm2No", n, L"BoxScrSetUpFormTabControlCheckBoxReg")), L"1");
  }
  EXPECT_EQ(values.at(L"ScrActionRegSelectTimerNo2FormNo2Flag"), L"fast");
  EXPECT_EQ(values.count(L"ScrActionRegSelectNo1FlagTimer"), 0u);
  PostMessageW(window, WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_EQ(show.WaitExit(kExit), 0u);
}

TEST_F(Foundation, OtherPatternValueCreatesNoWindow) {
  registry::Write(L"ScrActionRegSelectNoFlag", L"3");
  Module show(L"/s");
  EXPECT_EQ(show.WaitExit(kStart), 0u);
  EXPECT_EQ(registry::All().size(), 1u);
}

TEST_F(Foundation, InputMethodStatusWindowIsOffDuringTheShowAndRestoredAfter) {
  SystemParametersInfoW(SPI_SETSHOWIMEUI, TRUE, nullptr, 0);
  BOOL shown = FALSE;
  SystemParametersInfoW(SPI_GETSHOWIMEUI, 0, &shown, 0);
  if (!shown) TESSMOOR_SKIP_WHERE_WINE_LACKS("this system does not keep the input-method setting");
  Module show(L"/s");
  HWND window = show.WaitWindow(L"No1Form", kStart);
  ASSERT_NE(window, nullptr);
  SystemParametersInfoW(SPI_GETSHOWIMEUI, 0, &shown, 0);
  EXPECT_FALSE(shown);
  PostMessageW(window, WM_KEYDOWN, 'A', 0);
  ASSERT_EQ(show.WaitExit(kExit), 0u);
  SystemParametersInfoW(SPI_GETSHOWIMEUI, 0, &shown, 0);
  EXPECT_TRUE(shown);
}

}  // namespace
}  // namespace tessmoor::e2e
