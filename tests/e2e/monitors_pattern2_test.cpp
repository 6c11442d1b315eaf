// Pattern 2 on a desktop of several monitors: the four picture windows bounce over the primary
// monitor exactly as they do on a screen of the primary's size, and the other monitors stay
// black to their edges all the while.
#include <gtest/gtest.h>

#include <array>

#include "tests/e2e/harness.h"
#include "tests/e2e/monitors_desktop.h"
#include "tests/e2e/pattern2_motion.h"
#include "tests/support/picture_files.h"

namespace tessmoor::e2e::monitors {
namespace {

using namespace std::chrono_literals;
using namespace pattern2_motion;

constexpr auto kStart = 15s;
constexpr auto kExit = 5s;
constexpr int kSpeedMs = 10;
// Bounce tests an edge before it moves, so a window passes each edge of the primary by 2 pixels.
constexpr int kOvershoot = 2;

class MonitorsPattern2 : public OnMonitors {
 protected:
  void SetUp() override {
    OnMonitors::SetUp();
    if (HasFatalFailure()) return;
    // The motion is followed on its rules for a screen of this size.
    ASSERT_EQ(Primary().width(), kScreenWidth);
    ASSERT_EQ(Primary().height(), kScreenHeight);
  }

  // Four bouncing windows, box n's pictures in colours of its own; their expected motion.
  static std::array<std::optional<Track>, 4> PrepareBounce(Clock::time_point started) {
    const std::array<std::array<test::Rgb, 4>, 4> colours = {{
        {{test::kRed, test::kGreen, test::kBlue, test::kYellow}},
        {{test::kWhite, test::kRed, test::kGreen, test::kBlue}},
        {{test::kYellow, test::kBlue, test::kRed, test::kGreen}},
        {{test::kBlue, test::kYellow, test::kWhite, test::kRed}},
    }};
    const std::array<Dim, 4> first = {{{1600, 1200}, {1200, 1600}, {800, 400}, {600, 600}}};
    registry::Write(L"ScrActionRegSelectNoFlag", L"2");
    std::array<std::optional<Track>, 4> tracks;
    for (int n = 1; n <= 4; ++n) {
      registry::Write(Key(L"ImageRegForm2No", n, L"BoxScrSetUpFormTabControlCheckBoxReg"), L"1");
      registry::Write(Key(L"ScrNo2ActionRegSelectNo", n, L"FlagDetail"), L"5");
      registry::Write(Key(L"ScrActionRegSelectTimerNo2FormNo", n, L"Flag"), std::to_wstring(kSpeedMs));
      registry::Write(Key(L"ScrActionRegSelectScaleNo2FormNo", n, L"Flag"), L"50");
      std::map<int, Dim> sizes;
      // Two pictures a box of different sizes: a window renewed at the top or left edge takes
      // the size of its new picture, which the primary's size gives as well.
      for (int slot : {1, 2}) {
        const Dim size = slot == 1 ? first[n - 1] : first[n % 4];
        const auto& c = colours[n - 1];
        const auto pixels = test::Quadrants(size.width, size.height, c[0], c[1], c[2], c[3]);
        RegisterPicture(n, slot,
                        WriteTestFile(Key(L"monitors-box", n, L"-") + std::to_wstring(slot) + L".jpg",
                                      test::MakeJpeg(size.width, size.height, pixels, 90)));
        sizes[slot] = HalfFitted(size, 50, {kScreenWidth, kScreenHeight});
      }
      tracks[n - 1].emplace(Expected::Window(n, "5", sizes), kSpeedMs, started);
    }
    return tracks;
  }

  static HWND PictureWindow(const Module& module, int n) {
    HWND hidden = nullptr;
    for (HWND h : module.TopWindows(true)) {
      if (WindowText(h) != Key(L"No2FormNo", n, L"")) continue;
      if (IsWindowVisible(h)) return h;
      hidden = h;
    }
    return hidden;
  }

  // Black on every other monitor and the backdrop where no monitor is, but for the strip round
  // the primary that the windows pass over at its edges.
  void ExpectNothingBesideThePrimary(const DesktopShot& shot, const char* when) const {
    RECT reach = Primary().rect;
    InflateRect(&reach, kOvershoot, kOvershoot);
    for (const Monitor& m : Others()) {
      const Mismatches other = PixelsNot(shot, m.rect, 0, 0, {reach});
      EXPECT_EQ(other.count, 0) << when << ": not black on " << m << ":" << other.first;
    }
    std::vector<RECT> covered{reach};
    RECT all = Primary().rect;
    for (const Monitor& m : layout_) {
      covered.push_back(m.rect);
      UnionRect(&all, &all, &m.rect);
    }
    const Mismatches outside = PixelsNot(shot, all, Backdrop(), 0, covered);
    EXPECT_EQ(outside.count, 0) << when << ": drawn where no monitor is:" << outside.first;
  }
};

TEST_F(MonitorsPattern2, PictureWindowsBounceOverThePrimaryAsOnOneScreenOfItsSize) {
  const auto started = Clock::now();
  auto tracks = PrepareBounce(started);
  Module show(L"/s");
  HWND window = show.WaitWindow(L"No1Form", kStart);
  ASSERT_NE(window, nullptr);
  const RECT shown = WindowRectOf(window);
  EXPECT_TRUE(EqualRect(&shown, &Primary().rect)) << "the show window covers " << Text(shown);
  ASSERT_TRUE(WaitUntil([&] { return WindowsOf(show).blank.size() == Others().size(); }, kStart))
      << "not every other monitor got its black window";

  int looks = 0;
  // Past a turn at every edge: 1000 ticks cover a full crossing each way.
  const bool done = Follow([&](int n) { return PictureWindow(show, n); }, {0, 0}, tracks,
                           [&] {
                             for (const auto& t : tracks)
                               if (t->tick() < 1000) return false;
                             return true;
                           },
                           45s,
                           [&] {
                             const DesktopShot shot = CaptureDesktop();
                             if (looks++ == 1) Save(shot, L"monitors-pattern2");
                             ExpectNothingBesideThePrimary(shot, "while the windows move");
                           });
  for (int n = 1; n <= 4; ++n)
    EXPECT_GE(tracks[n - 1]->tick(), 1000) << "window " << n << " after " << tracks[n - 1]->samples() << " samples";
  ASSERT_TRUE(done);
  EXPECT_GE(looks, 5);
  EXPECT_TRUE(show.Running());
  PostMessageW(window, WM_KEYDOWN, VK_SPACE, 0);
  EXPECT_EQ(show.WaitExit(kExit), 0u);
}

}  // namespace
}  // namespace tessmoor::e2e::monitors
