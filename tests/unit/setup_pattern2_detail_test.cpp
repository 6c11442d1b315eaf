#include "setup/pattern2_detail_model.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "app/settings_keys.h"
#include "setup/pattern1_detail_model.h"
#include "tests/support/fake_dialog_views.h"
#include "tests/support/fakes.h"

namespace tessmoor {
namespace {

using testing::FakePattern1DetailView;
using testing::FakePattern2DetailView;
using testing::MemoryStore;
using Pair = std::pair<std::string, std::string>;

class Pattern2DetailTest : public ::testing::Test {
 protected:
  Pattern2DetailModel Open(FakePattern2DetailView& view) { return Pattern2DetailModel(settings_, texts_, view); }
  void FillStore() {
    store_.Set("ScreenDetailSetUpPointRegXFlag", "100");
    store_.Set("ScreenDetailSetUpPointRegYFlag", "100");
    for (int n = 1; n <= 4; ++n) {
      store_.Set(keys::MotionMode(n), std::to_string(n));
      store_.Set(keys::WindowSpeed(n), "50");
      store_.Set(keys::WindowScale(n), "50");
      store_.Set(keys::Pattern2BoxUse(n), "1");
    }
  }
  // The first-run texts of one kind of key for windows 1..4.
  static std::vector<Pair> Keys(std::string (*key)(int), std::array<std::string, 4> values) {
    std::vector<Pair> out;
    for (int n = 1; n <= 4; ++n) out.emplace_back(key(n), values[n - 1]);
    return out;
  }
  static std::vector<Pair> Position(const std::string& x, const std::string& y) {
    return {{"ScreenDetailSetUpPointRegXFlag", x}, {"ScreenDetailSetUpPointRegYFlag", y}};
  }
  static std::vector<Pair> Join(std::initializer_list<std::vector<Pair>> parts) {
    std::vector<Pair> out;
    for (const auto& p : parts) out.insert(out.end(), p.begin(), p.end());
    return out;
  }

  MemoryStore store_;
  Settings settings_{store_};
  Pattern2DetailTexts texts_;
  FakePattern2DetailView view_;
};

TEST_F(Pattern2DetailTest, AnEmptyStoreGetsTheFirstRunValuesInOrderAndRecordsThePositionItOpenedAt) {
  Open(view_);
  EXPECT_EQ(store_.writes(), Join({Position("100", "100"), Keys(keys::MotionMode, {"1", "2", "3", "4"}),
                                   Keys(keys::WindowSpeed, {"50", "50", "50", "50"}),
                                   Keys(keys::WindowScale, {"50", "50", "50", "50"}),
                                   Keys(keys::Pattern2BoxUse, {"1", "1", "1", "1"}), Position("100", "100")}));
  EXPECT_EQ(view_.log.front(), "TopMost");
  EXPECT_EQ(view_.log[1], "MoveTo 100,100");
  EXPECT_EQ(view_.modes, (std::array<int, 4>{1, 2, 3, 4}));
  EXPECT_EQ(view_.speed_positions, (std::array<int, 4>{50, 50, 50, 50}));
  EXPECT_EQ(view_.size_positions, (std::array<int, 4>{50, 50, 50, 50}));
  EXPECT_EQ(view_.checked, (std::array<bool, 4>{true, true, true, true}));
  EXPECT_EQ(view_.size_labels, (std::array<std::string, 4>{"50", "50", "50", "50"}));
}

TEST_F(Pattern2DetailTest, OpeningRecordsTheWindowsActualPosition) {
  FillStore();
  store_.Set("ScreenDetailSetUpPointRegXFlag", "300");
  store_.Set("ScreenDetailSetUpPointRegYFlag", "200");
  Open(view_);
  EXPECT_EQ(view_.log[1], "MoveTo 300,200");
  EXPECT_EQ(store_.writes(), Position("300", "200"));
}

TEST_F(Pattern2DetailTest, AStoredPlaceOnNoMonitorIsKeptUntilTheDialogClosesAtItsNewPlace) {
  FillStore();
  store_.Set("ScreenDetailSetUpPointRegXFlag", "-5000");
  store_.Set("ScreenDetailSetUpPointRegYFlag", "30000");
  view_.brought_to = Point{12, 34};
  auto model = Open(view_);
  EXPECT_EQ(view_.log[1], "MoveTo -5000,30000");
  EXPECT_TRUE(store_.writes().empty()) << "opening wrote the place the window was brought to";
  model.CancelButtonClick();
  EXPECT_EQ(store_.writes(), Position("12", "34"));
}

TEST_F(Pattern2DetailTest, AFirstRunPlaceOnNoMonitorIsWrittenAsReadAndTheNewPlaceOnlyAtClosing) {
  view_.brought_to = Point{0, 0};
  auto model = Open(view_);
  EXPECT_EQ(store_.writes().front(), Pair("ScreenDetailSetUpPointRegXFlag", "100"));
  EXPECT_EQ(store_.writes().back(), Pair(keys::Pattern2BoxUse(4), "1")) << "the open-time record was written";
  model.Close();
  EXPECT_EQ(store_.Get("ScreenDetailSetUpPointRegXFlag"), "0");
  EXPECT_EQ(store_.Get("ScreenDetailSetUpPointRegYFlag"), "0");
}

TEST_F(Pattern2DetailTest, SaveWritesTheSixteenKeysInOrderThenThePosition) {
  FillStore();
  auto model = Open(view_);
  store_.ClearWrites();
  model.SelectMode(1, 5);
  model.SelectMode(4, 1);
  model.Scroll(2, Pattern2Bar::kSpeed, ScrollCode::kThumbPosition, 250);
  model.Scroll(3, Pattern2Bar::kSize, ScrollCode::kThumbPosition, 80);
  model.SetBoxChecked(2, false);
  view_.origin = {410, 90};
  model.No2ImageRegFileSaveButtonClick();
  EXPECT_EQ(store_.writes(), Join({Keys(keys::MotionMode, {"5", "2", "3", "1"}),
                                   Keys(keys::WindowSpeed, {"50", "250", "50", "50"}),
                                   Keys(keys::WindowScale, {"50", "50", "80", "50"}),
                                   Keys(keys::Pattern2BoxUse, {"1", "0", "1", "1"}), Position("410", "90")}));
  EXPECT_EQ(view_.closes, 1);
}

TEST_F(Pattern2DetailTest, CancelWritesNothingButThePosition) {
  FillStore();
  auto model = Open(view_);
  store_.ClearWrites();
  model.Scroll(3, Pattern2Bar::kSize, ScrollCode::kThumbPosition, 80);
  model.SelectMode(3, 5);
  view_.origin = {12, 34};
  model.CancelButtonClick();
  EXPECT_EQ(store_.writes(), Position("12", "34"));
  EXPECT_EQ(store_.Get(keys::WindowScale(3)), "50");
}

TEST_F(Pattern2DetailTest, BothDetailDialogsReopenWhereThePatternTwoDialogWasClosed) {
  FillStore();
  auto model = Open(view_);
  view_.origin = {720, 480};
  model.Close();
  FakePattern1DetailView pattern1_view;
  Pattern1DetailTexts pattern1_texts;
  Pattern1DetailModel pattern1(settings_, pattern1_texts, pattern1_view);
  EXPECT_EQ(pattern1_view.origin, (Point{720, 480}));
  FakePattern2DetailView again;
  Open(again);
  EXPECT_EQ(again.origin, (Point{720, 480}));
}

struct ModeCase {
  std::string stored;
  int shown;
};

void PrintTo(const ModeCase& c, std::ostream* os) { *os << '"' << c.stored << '"'; }

class StoredMotionMode : public Pattern2DetailTest, public ::testing::WithParamInterface<ModeCase> {};

TEST_P(StoredMotionMode, SelectsItsButtonOrNoneAndANoneGroupKeepsTheStoredMode) {
  FillStore();
  store_.Set(keys::MotionMode(3), GetParam().stored);
  auto model = Open(view_);
  EXPECT_EQ(view_.modes[2], GetParam().shown);
  store_.ClearWrites();
  model.No2ImageRegFileSaveButtonClick();
  EXPECT_EQ(store_.Get(keys::MotionMode(3)), GetParam().shown ? std::to_string(GetParam().shown) : GetParam().stored);
  const auto written = store_.WrittenKeys();
  const bool wrote_mode = std::find(written.begin(), written.end(), keys::MotionMode(3)) != written.end();
  EXPECT_EQ(wrote_mode, GetParam().shown != 0);
  EXPECT_EQ(written.size(), GetParam().shown ? 18u : 17u);
}

INSTANTIATE_TEST_SUITE_P(Values, StoredMotionMode,
                         ::testing::Values(ModeCase{"1", 1}, ModeCase{"5", 5}, ModeCase{"6", 0}, ModeCase{"7", 0},
                                           ModeCase{"0", 0}, ModeCase{"15", 0}, ModeCase{"", 0}));

TEST_F(Pattern2DetailTest, EveryWindowsSpeedBarStepsByOnePerArrowClick) {
  FillStore();
  auto model = Open(view_);
  for (int n = 1; n <= 4; ++n) {
    model.Scroll(n, Pattern2Bar::kSpeed, ScrollCode::kLineRight, 0);
    EXPECT_EQ(model.bar_position(n, Pattern2Bar::kSpeed), 51) << n;
    model.Scroll(n, Pattern2Bar::kSpeed, ScrollCode::kLineLeft, 0);
    model.Scroll(n, Pattern2Bar::kSpeed, ScrollCode::kLineLeft, 0);
    EXPECT_EQ(view_.speed_positions[n - 1], 49) << n;
  }
}

TEST_F(Pattern2DetailTest, ThePercentLabelShowsThePositionEachNotificationCarries) {
  FillStore();
  auto model = Open(view_);
  model.Scroll(3, Pattern2Bar::kSize, ScrollCode::kThumbTrack, 61);
  EXPECT_EQ(view_.size_labels[2], "61");
  model.Scroll(3, Pattern2Bar::kSize, ScrollCode::kThumbTrack, 80);
  EXPECT_EQ(view_.size_labels[2], "80");
  model.Scroll(3, Pattern2Bar::kSize, ScrollCode::kEndScroll, 0);
  EXPECT_EQ(view_.size_labels[2], "80");
  EXPECT_EQ(texts_.size[2], "80");
  model.Scroll(3, Pattern2Bar::kSpeed, ScrollCode::kThumbTrack, 7);
  EXPECT_EQ(view_.size_labels[2], "80");
  EXPECT_EQ(view_.size_labels[0], "50");
}

struct NumberCase {
  std::string speed;
  std::string size;
  int speed_position;
  int size_position;
};

void PrintTo(const NumberCase& c, std::ostream* os) { *os << '"' << c.speed << "\" \"" << c.size << '"'; }

class StoredWindowNumbers : public Pattern2DetailTest, public ::testing::WithParamInterface<NumberCase> {};

TEST_P(StoredWindowNumbers, AreClampedIntoTheBarsAndSavedAsShown) {
  FillStore();
  for (int n = 1; n <= 4; ++n) {
    store_.Set(keys::WindowSpeed(n), GetParam().speed);
    store_.Set(keys::WindowScale(n), GetParam().size);
  }
  auto model = Open(view_);
  for (int n = 1; n <= 4; ++n) {
    EXPECT_EQ(view_.speed_positions[n - 1], GetParam().speed_position);
    EXPECT_EQ(view_.size_positions[n - 1], GetParam().size_position);
    EXPECT_EQ(view_.size_labels[n - 1], std::to_string(GetParam().size_position));
  }
  model.No2ImageRegFileSaveButtonClick();
  for (int n = 1; n <= 4; ++n) {
    EXPECT_EQ(store_.Get(keys::WindowSpeed(n)), std::to_string(GetParam().speed_position));
    EXPECT_EQ(store_.Get(keys::WindowScale(n)), std::to_string(GetParam().size_position));
  }
}

INSTANTIATE_TEST_SUITE_P(Values, StoredWindowNumbers,
                         ::testing::Values(NumberCase{"200", "1", 200, 1}, NumberCase{"500", "0", 300, 1},
                                           NumberCase{"-1", "101", 1, 100}, NumberCase{"abc", "", 50, 50},
                                           NumberCase{"3e2", "50%", 50, 50}));

TEST_F(Pattern2DetailTest, ADamagedPositionOpensAtTheFirstRunPositionAndRecordsIt) {
  FillStore();
  store_.Set("ScreenDetailSetUpPointRegYFlag", "top");
  Open(view_);
  EXPECT_EQ(view_.log[1], "MoveTo 100,100");
  EXPECT_EQ(store_.Get("ScreenDetailSetUpPointRegYFlag"), "100");
}

TEST_F(Pattern2DetailTest, UseFlagsOtherThanOneLeaveTheBoxUnticked) {
  FillStore();
  store_.Set(keys::Pattern2BoxUse(1), "0");
  store_.Set(keys::Pattern2BoxUse(4), "true");
  auto model = Open(view_);
  EXPECT_EQ(view_.checked, (std::array<bool, 4>{false, true, true, false}));
  EXPECT_EQ(texts_.use[3], "true");
  model.No2ImageRegFileSaveButtonClick();
  EXPECT_EQ(store_.Get(keys::Pattern2BoxUse(4)), "0");
}

TEST_F(Pattern2DetailTest, AllOpenInstancesShareTheSpeedsAndSizesTheySave) {
  FillStore();
  FakePattern2DetailView first_view, second_view;
  auto first = Open(first_view);
  auto second = Open(second_view);
  first.Scroll(1, Pattern2Bar::kSpeed, ScrollCode::kThumbPosition, 10);
  second.No2ImageRegFileSaveButtonClick();
  EXPECT_EQ(store_.Get(keys::WindowSpeed(1)), "10");
  EXPECT_EQ(second_view.speed_positions[0], 50);
}

}  // namespace
}  // namespace tessmoor
