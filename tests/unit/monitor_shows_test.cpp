// The windows over the monitors beside the primary: black, or each with a slide show of its own
// over the one picture source, following the monitors when they change.
#include "show/monitor_shows.h"

#include <gtest/gtest.h>

#include "show/picture_table.h"
#include "tests/support/fake_canvas.h"
#include "tests/support/fake_monitor_surfaces.h"

namespace tessmoor {
namespace {

using testing::DescribeDraw;
using testing::FakeMonitorSurface;
using testing::FakeMonitorSurfaces;
using testing::SlideRig;

constexpr Rect kPrimary{0, 0, 1024, 768};
constexpr Rect kLeft{-800, 0, 0, 600};       // fit side 300: 1600 x 1200 becomes 300 x 225
constexpr Rect kRight{1024, 0, 1624, 800};   // portrait; fit side 300 as well
constexpr Rect kAbove{0, -600, 800, 0};

std::vector<MonitorArea> Layout(std::vector<Rect> others, Rect primary = kPrimary) {
  std::vector<MonitorArea> monitors;
  // Listed the other way round from the show's order: the order must not come from the list.
  for (auto it = others.rbegin(); it != others.rend(); ++it) monitors.push_back({*it, false});
  monitors.push_back({primary, true});
  return monitors;
}

class OtherMonitorsTest : public ::testing::Test {
 protected:
  explicit OtherMonitorsTest(const char* mode = "1") : rig_(mode) {
    rig_.show.every_monitor = true;
    rig_.RegisterAll();
  }
  OtherMonitors& Make() {
    monitors_ = std::make_unique<OtherMonitors>(
        OtherMonitors::Parts{rig_.show, rig_.settings, rig_.pictures, surfaces_, 7});
    return *monitors_;
  }
  // Fires the window over `area` once; what it drew, and the interval it armed.
  SlideRig::TickRecord Fire(const Rect& area) {
    FakeMonitorSurface* s = surfaces_.Over(area);
    EXPECT_NE(s, nullptr) << testing::Text(area);
    if (!s || !s->recorded()) return {};
    s->recorded()->TakeCalls();
    s->Fire();
    return {testing::Describe(s->recorded()->TakeCalls()), static_cast<int>(s->armed_ms()), 0};
  }

  SlideRig rig_;
  FakeMonitorSurfaces surfaces_{FakeMonitorSurfaces::Canvases::kRecording, &rig_.pictures};
  std::unique_ptr<OtherMonitors> monitors_;
};

TEST_F(OtherMonitorsTest, FirstRunSettingCoversTheOthersBlackAndRunsNothing) {
  rig_.show.every_monitor = false;
  EXPECT_EQ(Make().Cover(Layout({kLeft, kRight})), kPrimary);
  EXPECT_EQ(surfaces_.TakeLog(), (std::vector<std::string>{"open (-800,0,0,600) black", "open (1024,0,1624,800) black"}));
  EXPECT_EQ(monitors_->covered(), (std::vector<Rect>{kLeft, kRight}));
  for (FakeMonitorSurface* s : surfaces_.open()) {
    EXPECT_EQ(s->canvas(), nullptr);
    EXPECT_EQ(s->armed_ms(), -1);
  }
  EXPECT_EQ(monitors_->engine(0), nullptr);
}

TEST_F(OtherMonitorsTest, PatternTwoStaysOnThePrimaryWhateverTheSetting) {
  rig_.show.pattern = ShowPattern::kPattern2;
  Make().Cover(Layout({kLeft, kRight}));
  EXPECT_FALSE(monitors_->slides());
  for (FakeMonitorSurface* s : surfaces_.open()) EXPECT_EQ(s->canvas(), nullptr);
}

TEST_F(OtherMonitorsTest, EachMonitorFitsToItsOwnSizeAndBeginsItsPlaceLaterInTheOrder) {
  Make().Cover(Layout({kRight, kLeft}));
  EXPECT_EQ(surfaces_.TakeLog(), (std::vector<std::string>{"open (-800,0,0,600) slides", "open (1024,0,1624,800) slides"}));
  for (FakeMonitorSurface* s : surfaces_.open()) EXPECT_EQ(s->armed_ms(), 1);  // as the primary's timer
  EXPECT_EQ(Fire(kLeft), (SlideRig::TickRecord{"clear; clear", 500, 0}));
  EXPECT_EQ(Fire(kRight), (SlideRig::TickRecord{"clear; clear", 500, 0}));
  // The primary shows picture 1; the next monitor in the order picture 2, the one after it 3.
  EXPECT_EQ(Fire(kLeft), (SlideRig::TickRecord{"clear; " + DescribeDraw(2, {250, 187, 550, 412}), 1500, 0}));
  EXPECT_EQ(Fire(kRight), (SlideRig::TickRecord{"clear; " + DescribeDraw(3, {150, 287, 450, 512}), 1500, 0}));
}

TEST_F(OtherMonitorsTest, AMonitorsShowHasTheTimelineOfAnEngineOfItsOwnSize) {
  Make().Cover(Layout({kLeft, kRight}));
  SlideRig alone("1", 600, 800);
  alone.RegisterAll();
  alone.engine().BeginLater(2);
  for (int i = 0; i < 60; ++i) {
    const SlideRig::TickRecord expected = alone.Tick();
    const std::int64_t next = alone.engine().Tick().NextTickMs();  // two ticks a round, to pass pauses too
    const SlideRig::TickRecord got = Fire(kRight);
    EXPECT_EQ(got.screen, expected.screen) << i;
    FakeMonitorSurface* s = surfaces_.Over(kRight);
    s->Fire();
    EXPECT_EQ(s->armed_ms(), next) << i;  // the pause is in the armed time, not slept
  }
}

TEST_F(OtherMonitorsTest, RandomPlacementStaysInsideEachMonitorWithAGeneratorOfItsOwn) {
  rig_.show.current_detail_mode = "2";
  Make().Cover(Layout({kLeft, kRight}));
  std::vector<std::pair<int, int>> left, right;
  for (int i = 0; i < 40; ++i) {
    for (FakeMonitorSurface* s : surfaces_.open()) {
      s->recorded()->TakeCalls();
      s->Fire();
      for (const testing::FakeCanvas::Call& c : s->recorded()->TakeCalls()) {
        if (c.clear) continue;
        const Rect& r = c.rect;
        EXPECT_EQ(r.width(), 300);
        EXPECT_EQ(r.height(), 225);
        EXPECT_GE(r.left, 0);
        EXPECT_GE(r.top, 0);
        EXPECT_LE(r.right, s->bounds().width()) << testing::Text(s->bounds());
        EXPECT_LE(r.bottom, s->bounds().height()) << testing::Text(s->bounds());
        (s->bounds() == kLeft ? left : right).push_back({r.left, r.top});
      }
    }
  }
  ASSERT_GE(left.size(), 30u);
  ASSERT_EQ(left.size(), right.size());
  // Two monitors whose free room is 500 x 375 and 300 x 575: draws from one stream would put them
  // at the same offsets modulo those sizes.
  int same = 0;
  for (std::size_t i = 0; i < left.size(); ++i) same += left[i].first % 300 == right[i].first % 300;
  EXPECT_LT(same, static_cast<int>(left.size()) / 2);
}

TEST_F(OtherMonitorsTest, FollowsMonitorsUnpluggedPluggedInAndSetToAnotherResolution) {
  OtherMonitors& monitors = Make();
  monitors.Cover(Layout({kLeft, kRight}));
  surfaces_.TakeLog();
  FakeMonitorSurface* right = surfaces_.Over(kRight);
  const SlideEngine* right_engine = monitors.engine(1);
  Fire(kRight);
  EXPECT_EQ(Fire(kRight).screen, "clear; " + DescribeDraw(3, {150, 287, 450, 512}));

  // Unplugged: its window closes; the other goes on from where it was.
  EXPECT_EQ(monitors.Cover(Layout({kRight})), kPrimary);
  EXPECT_EQ(surfaces_.TakeLog(), (std::vector<std::string>{"close (-800,0,0,600)"}));
  EXPECT_EQ(surfaces_.Over(kRight), right);
  EXPECT_EQ(monitors.engine(0), right_engine);
  EXPECT_EQ(Fire(kRight).screen, "clear; " + DescribeDraw(4, {150, 287, 450, 512}));

  // Plugged in above the primary: a new window whose show begins at its place in the new order
  // (above comes before right), on its own timer.
  monitors.Cover(Layout({kRight, kAbove}));
  EXPECT_EQ(surfaces_.TakeLog(), (std::vector<std::string>{"open (0,-600,800,0) slides"}));
  EXPECT_EQ(monitors.covered(), (std::vector<Rect>{kAbove, kRight}));
  EXPECT_EQ(surfaces_.Over(kAbove)->armed_ms(), 1);
  Fire(kAbove);
  EXPECT_EQ(Fire(kAbove).screen, "clear; " + DescribeDraw(2, {250, 187, 550, 412}));
  EXPECT_EQ(Fire(kRight).screen, "clear; " + DescribeDraw(5, {150, 287, 450, 512}));

  // Set to 800 x 1000: the window follows and the show goes on at the new fit side, 400.
  const Rect taller{1024, 0, 1824, 1000};
  monitors.Cover(Layout({taller, kAbove}));
  EXPECT_EQ(surfaces_.TakeLog(), (std::vector<std::string>{"move (1024,0,1824,1000)"}));
  EXPECT_EQ(surfaces_.Over(taller), right);
  EXPECT_EQ(Fire(taller).screen, "clear; " + DescribeDraw(6, {200, 350, 600, 650}));

  // The primary set to another resolution: its new area is for the show window alone.
  const Rect new_primary{0, 0, 1024, 600};
  EXPECT_EQ(monitors.Cover(Layout({taller, kAbove}, new_primary)), new_primary);
  EXPECT_EQ(surfaces_.TakeLog(), (std::vector<std::string>{}));

  // Every monitor gone (a driver between two states): every window closes.
  EXPECT_EQ(monitors.Cover({}), std::nullopt);
  EXPECT_TRUE(surfaces_.open().empty());
}

TEST_F(OtherMonitorsTest, TinyMonitorGetsAShowThatDrawsNothingAndAnEmptyOneNone) {
  const Rect line{1024, 0, 2944, 1}, dot{-1, 0, 0, 1}, nothing{2000, 2000, 2000, 2000};
  Make().Cover(Layout({line, dot, nothing}));
  EXPECT_EQ(monitors_->covered(), (std::vector<Rect>{dot, line}));
  for (int i = 0; i < 40; ++i) {
    for (const Rect& r : {line, dot}) EXPECT_EQ(Fire(r).screen.find("draw"), std::string::npos) << i;
  }
}

TEST(ShowDecodeTargetsOver, LargestFitOverTheMonitorsThatDrawPerBox) {
  ShowSettings show;
  show.pattern = ShowPattern::kPattern1;
  show.scale = 50;
  const std::vector<Rect> others{kLeft, {1024, 0, 3584, 1440}, {0, 768, 99, 769}};
  const auto primary_only = ShowDecodeTargets(show, 1024, 768);
  EXPECT_EQ(primary_only[0].max_width, 350);
  // Black monitors draw nothing: the primary's size alone.
  auto targets = ShowDecodeTargetsOver(show, {1024, 768}, others);
  for (int b = 0; b < 4; ++b) EXPECT_EQ(targets[b].max_width, 350) << b;
  // With a show on each: 2560 x 1440 fits at min(25, 14) * 50 = 700, for every box.
  show.every_monitor = true;
  targets = ShowDecodeTargetsOver(show, {1024, 768}, others);
  for (int b = 0; b < 4; ++b) {
    EXPECT_EQ(targets[b].max_width, 700) << b;
    EXPECT_EQ(targets[b].max_height, 700) << b;
  }
  // Pattern 2's windows fly over the primary only.
  show.pattern = ShowPattern::kPattern2;
  show.window_scale = {50, 100, 50, 50};
  targets = ShowDecodeTargetsOver(show, {1024, 768}, others);
  EXPECT_EQ(targets[1].max_width, ShowDecodeTargets(show, 1024, 768)[1].max_width);
}

}  // namespace
}  // namespace tessmoor
