// An engine that begins some pictures later in the show order (the monitors beside the primary),
// and an engine on a canvas too small to draw on.
#include <gtest/gtest.h>

#include "show/slide_engine.h"
#include "tests/support/fake_canvas.h"
#include "tests/support/memory_canvas.h"

namespace tessmoor {
namespace {

using testing::DescribeDraw;
using testing::SlideRig;
using Row = SlideRig::TickRecord;

// The picture each tick drew (0: none), from the canvas calls the rig describes.
std::vector<int> Drawn(const std::vector<Row>& rows) {
  std::vector<int> drawn;
  for (const Row& row : rows) {
    const std::size_t at = row.screen.find("draw ");
    drawn.push_back(at == std::string::npos ? 0 : std::stoi(row.screen.substr(at + 5)));
  }
  return drawn;
}

std::vector<Row> TicksBegunLater(SlideRig& rig, int pictures, int ticks) {
  rig.engine().BeginLater(pictures);
  return rig.Ticks(ticks);
}

TEST(SlideBeginLater, StartsThatManyPicturesOnAfterItsStartTickAndKeepsTheCycle) {
  for (int later : {1, 2, 11, 12, 13, 30, 46}) {
    SlideRig rig("1");
    rig.RegisterAll();
    const std::vector<Row> rows = TicksBegunLater(rig, later, 3);
    EXPECT_EQ(rows[0], (Row{"clear; clear", 500, 0})) << later;  // black first, as the primary
    const std::vector<int> drawn = Drawn(rows);
    EXPECT_EQ(drawn[1], later + 1) << later;
    // A picture in the middle of a box is followed by the next; one at a box's end by the pause
    // and the black tick of the box change.
    if (later % 12 == 11) {
      EXPECT_EQ(rows[1].pause_seconds, 1) << later;
      EXPECT_EQ(drawn[2], 0) << later;
    } else {
      EXPECT_EQ(drawn[2], later + 2) << later;
    }
  }
}

TEST(SlideBeginLater, LastPictureRestartsFromTheFirstAsTheShowDoes) {
  SlideRig rig("1");
  rig.RegisterAll();
  const std::vector<Row> rows = TicksBegunLater(rig, 47, 4);
  EXPECT_EQ(rows[1], (Row{"clear; " + DescribeDraw(48, {337, 253, 687, 515}), 1, 1}));  // then the restart
  EXPECT_EQ(rows[2], (Row{"clear; clear", 500, 0}));
  EXPECT_EQ(Drawn(rows)[3], 1);
}

TEST(SlideBeginLater, NoOffsetOrWholeRoundsKeepThePrimarysTimelineExactly) {
  SlideRig plain("1");
  plain.RegisterAll();
  const std::vector<Row> expected = plain.Ticks(110);
  for (int later : {0, 48, 96, -3}) {
    SlideRig rig("1");
    rig.RegisterAll();
    EXPECT_EQ(TicksBegunLater(rig, later, 110), expected) << later;
  }
}

TEST(SlideBeginLater, CountsOnlyTheFilledSlotsOfTheBoxesInUseAndGoesRoundAgain) {
  // Box 1 slots 1, 4 and 9, box 2 (not in use) slot 1, box 3 slot 2: the order is 1, 4, 9, 26.
  const int expected_first[] = {1, 4, 9, 26, 1, 4};
  for (int later = 0; later < 6; ++later) {
    SlideRig rig("1");
    for (int slot : {1, 4, 9}) rig.Register(1, slot);
    rig.Register(2, 1);
    rig.Register(3, 2);
    rig.show.box_use[1] = false;
    EXPECT_EQ(Drawn(TicksBegunLater(rig, later, 2))[1], expected_first[later]) << later;
  }
}

TEST(SlideBeginLater, AFileGoneBeforeTheStartIsNotCounted) {
  SlideRig rig("1");
  rig.RegisterBox(1);
  rig.Vanish(1, 2);
  EXPECT_EQ(Drawn(TicksBegunLater(rig, 1, 2))[1], 3);
}

TEST(SlideBeginLater, WithoutPicturesOrAfterTheFirstTickChangesNothing) {
  SlideRig empty("1");
  empty.engine().BeginLater(3);
  EXPECT_EQ(empty.engine().state(), SlideEngine::State{});

  SlideRig rig("1");
  rig.RegisterAll();
  rig.Tick();
  const SlideEngine::State after_start = rig.engine().state();
  rig.engine().BeginLater(5);
  EXPECT_EQ(rig.engine().state(), after_start);
  EXPECT_EQ(Drawn({rig.Tick()})[0], 1);
}

TEST(SlideBeginLater, RandomPastePilesFromItsOwnPictureAndClearsAtTheNextBox) {
  SlideRig rig("3");
  rig.RegisterAll();
  rig.random = testing::ScriptedRandom({10, 20});
  const std::vector<Row> rows = TicksBegunLater(rig, 9, 6);
  EXPECT_EQ(rows[0], (Row{"clear", 500, 0}));
  EXPECT_EQ(rows[1], (Row{DescribeDraw(10, {10, 20, 360, 282}), 1500, 0}));
  EXPECT_EQ(rows[2], (Row{DescribeDraw(11, {10, 20, 360, 282}), 1500, 0}));  // piled, not cleared
  EXPECT_EQ(rows[3], (Row{DescribeDraw(12, {10, 20, 360, 282}), 500, 1}));
  EXPECT_EQ(rows[4], (Row{"clear", 1500, 0}));  // box 2 begins on black
  EXPECT_EQ(Drawn(rows)[5], 13);
}

TEST(SlideBeginLater, FiveDirectionsShowItsFirstPictureInAllFivePlaces) {
  SlideRig rig("4");
  rig.RegisterAll();
  const std::vector<Row> rows = TicksBegunLater(rig, 4, 7);
  const Rect places[] = {{337, 253, 687, 515}, {0, 0, 350, 262}, {674, 0, 1024, 262},
                         {674, 506, 1024, 768}, {0, 506, 350, 768}};
  EXPECT_EQ(rows[1].screen, "clear; " + DescribeDraw(5, places[0]));
  for (int p = 1; p < 5; ++p) EXPECT_EQ(rows[1 + p].screen, DescribeDraw(5, places[p])) << p;
  EXPECT_EQ(rows[6].screen, "clear; " + DescribeDraw(6, places[0]));
}

// ---- A canvas too small to draw on ----

struct TinyCase {
  int width, height;
};

class SlideOnATinyCanvas : public ::testing::TestWithParam<TinyCase> {};

TEST_P(SlideOnATinyCanvas, KeepsTheTimelineDrawsNothingAndDrawsNoRandomNumber) {
  for (const char* mode : {"1", "2", "3", "4"}) {
    SlideRig normal(mode);
    normal.RegisterAll();
    SlideRig tiny(mode, GetParam().width, GetParam().height);
    tiny.RegisterAll();
    tiny.show.scale = 150;  // even at the largest scale the fit side is 0
    const int ticks = std::string(mode) == "4" ? 260 : 60;
    const std::vector<Row> expected = normal.Ticks(ticks);
    const std::vector<Row> rows = tiny.Ticks(ticks);
    ASSERT_EQ(rows.size(), expected.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
      EXPECT_EQ(rows[i].screen.find("draw"), std::string::npos) << mode << " tick " << i << ": " << rows[i].screen;
      EXPECT_EQ(rows[i].interval_ms, expected[i].interval_ms) << mode << " tick " << i;
      EXPECT_EQ(rows[i].pause_seconds, expected[i].pause_seconds) << mode << " tick " << i;
    }
    EXPECT_EQ(tiny.random.draws(), 0) << mode;
    EXPECT_GT(tiny.pictures.picture_requests(), 0) << mode;  // the slots still took their turns
  }
}

TEST_P(SlideOnATinyCanvas, RealCanvasOfThatSizeStaysBlack) {
  testing::MemoryCanvas canvas(GetParam().width, GetParam().height);
  SlideRig rig("2", GetParam().width, GetParam().height);
  rig.RegisterAll();
  SlideEngine engine({rig.show, rig.settings, rig.pictures, canvas, rig.random});
  for (int i = 0; i < 60; ++i) engine.Tick();
  EXPECT_EQ(canvas.Lit(), 0);
}

INSTANTIATE_TEST_SUITE_P(Sizes, SlideOnATinyCanvas,
                         ::testing::Values(TinyCase{0, 0}, TinyCase{1, 1}, TinyCase{99, 1}, TinyCase{1, 768},
                                           TinyCase{99, 99}));

}  // namespace
}  // namespace tessmoor
