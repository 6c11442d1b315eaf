#include "setup/pattern1_detail_model.h"

#include <gtest/gtest.h>

#include "app/settings_keys.h"
#include "tests/support/fake_dialog_views.h"
#include "tests/support/fakes.h"

namespace tessmoor {
namespace {

using testing::FakePattern1DetailView;
using testing::MemoryStore;
using Pair = std::pair<std::string, std::string>;

class Pattern1DetailTest : public ::testing::Test {
 protected:
  Pattern1DetailModel Open(FakePattern1DetailView& view) { return Pattern1DetailModel(settings_, texts_, view); }
  void FillStore() {
    store_.Set("ScreenDetailSetUpPointRegXFlag", "100");
    store_.Set("ScreenDetailSetUpPointRegYFlag", "100");
    store_.Set("ScrActionRegSelectNo1FlagDetail", "1");
    store_.Set("ScrActionRegSelectNo1FlagTimer", "1500");
    store_.Set("ScrActionRegSelectNo1FlagScale", "50");
    for (int b = 1; b <= 4; ++b) store_.Set(keys::Pattern1BoxUse(b), "1");
  }

  MemoryStore store_;
  Settings settings_{store_};
  Pattern1DetailTexts texts_;
  FakePattern1DetailView view_;
};

TEST_F(Pattern1DetailTest, AnEmptyStoreGetsTheFirstRunValuesInOrderAndShowsThem) {
  Open(view_);
  EXPECT_EQ(store_.writes(), (std::vector<Pair>{{"ScreenDetailSetUpPointRegXFlag", "100"},
                                                {"ScreenDetailSetUpPointRegYFlag", "100"},
                                                {"ScrActionRegSelectNo1FlagDetail", "1"},
                                                {"ScrActionRegSelectNo1FlagTimer", "1500"},
                                                {"ScrActionRegSelectNo1FlagScale", "50"},
                                                {"ImageRegForm1No1BoxScrSetUpFormTabControlCheckBoxReg", "1"},
                                                {"ImageRegForm1No2BoxScrSetUpFormTabControlCheckBoxReg", "1"},
                                                {"ImageRegForm1No3BoxScrSetUpFormTabControlCheckBoxReg", "1"},
                                                {"ImageRegForm1No4BoxScrSetUpFormTabControlCheckBoxReg", "1"}}));
  EXPECT_EQ(view_.log, (std::vector<std::string>{"TopMost", "MoveTo 100,100", "Mode 1", "Timer 1500", "Scale 50",
                                                 "Box 1 on", "Box 2 on", "Box 3 on", "Box 4 on", "Label 50"}));
  EXPECT_EQ(texts_.timer, "1500");
  EXPECT_EQ(texts_.scale, "50");
}

TEST_F(Pattern1DetailTest, OpensAtTheSharedDetailPosition) {
  FillStore();
  store_.Set("ScreenDetailSetUpPointRegXFlag", "640");
  store_.Set("ScreenDetailSetUpPointRegYFlag", "-12");
  Open(view_);
  EXPECT_EQ(view_.log[1], "MoveTo 640,-12");
  EXPECT_TRUE(store_.writes().empty());
}

struct ModeCase {
  std::string stored;
  int shown;
  std::string after_save;
};

void PrintTo(const ModeCase& c, std::ostream* os) { *os << '"' << c.stored << '"'; }

class StoredMode : public Pattern1DetailTest, public ::testing::WithParamInterface<ModeCase> {};

TEST_P(StoredMode, SelectsItsRadioButtonAndSavesWhatIsSelected) {
  FillStore();
  store_.Set("ScrActionRegSelectNo1FlagDetail", GetParam().stored);
  auto model = Open(view_);
  EXPECT_EQ(view_.mode, GetParam().shown);
  EXPECT_EQ(model.selected_mode(), GetParam().shown);
  model.No1ImageRegFileSaveButtonClick();
  EXPECT_EQ(store_.Get("ScrActionRegSelectNo1FlagDetail"), GetParam().after_save);
}

INSTANTIATE_TEST_SUITE_P(Values, StoredMode,
                         ::testing::Values(ModeCase{"1", 1, "1"}, ModeCase{"2", 2, "2"}, ModeCase{"3", 3, "3"},
                                           ModeCase{"4", 4, "4"}, ModeCase{"6", 4, "4"}, ModeCase{"9", 0, "9"},
                                           ModeCase{"7", 0, "7"}, ModeCase{"", 0, ""}, ModeCase{"01", 0, "01"}));

TEST_F(Pattern1DetailTest, SavingWithoutAModeLeavesTheModeKeyUnwritten) {
  FillStore();
  store_.Set("ScrActionRegSelectNo1FlagDetail", "9");
  auto model = Open(view_);
  model.No1ImageRegFileSaveButtonClick();
  for (const auto& w : store_.writes()) EXPECT_NE(w.first, "ScrActionRegSelectNo1FlagDetail");
}

TEST_F(Pattern1DetailTest, SaveWritesModeTimerScaleAndBoxesInOrderThenThePosition) {
  FillStore();
  auto model = Open(view_);
  model.SelectMode(3);
  model.SetBoxChecked(3, false);
  model.Scroll(Pattern1Bar::kTimer, ScrollCode::kThumbTrack, 2345);
  model.Scroll(Pattern1Bar::kScale, ScrollCode::kLineRight, 0);
  view_.origin = {700, 20};
  model.No1ImageRegFileSaveButtonClick();
  EXPECT_EQ(store_.writes(), (std::vector<Pair>{{"ScrActionRegSelectNo1FlagDetail", "3"},
                                                {"ScrActionRegSelectNo1FlagTimer", "2345"},
                                                {"ScrActionRegSelectNo1FlagScale", "51"},
                                                {"ImageRegForm1No1BoxScrSetUpFormTabControlCheckBoxReg", "1"},
                                                {"ImageRegForm1No2BoxScrSetUpFormTabControlCheckBoxReg", "1"},
                                                {"ImageRegForm1No3BoxScrSetUpFormTabControlCheckBoxReg", "0"},
                                                {"ImageRegForm1No4BoxScrSetUpFormTabControlCheckBoxReg", "1"},
                                                {"ScreenDetailSetUpPointRegXFlag", "700"},
                                                {"ScreenDetailSetUpPointRegYFlag", "20"}}));
  EXPECT_EQ(view_.closes, 1);
}

TEST_F(Pattern1DetailTest, CancelWritesNothingButThePosition) {
  FillStore();
  auto model = Open(view_);
  model.SelectMode(2);
  model.SetBoxChecked(1, false);
  model.Scroll(Pattern1Bar::kScale, ScrollCode::kThumbPosition, 140);
  view_.origin = {5, 6};
  model.CancelButtonClick();
  EXPECT_EQ(store_.writes(), (std::vector<Pair>{{"ScreenDetailSetUpPointRegXFlag", "5"},
                                                {"ScreenDetailSetUpPointRegYFlag", "6"}}));
  EXPECT_EQ(view_.closes, 1);
}

struct ClampCase {
  std::string timer;
  std::string scale;
  int timer_position;
  int scale_position;
};

void PrintTo(const ClampCase& c, std::ostream* os) { *os << '"' << c.timer << "\" \"" << c.scale << '"'; }

class StoredNumbers : public Pattern1DetailTest, public ::testing::WithParamInterface<ClampCase> {};

TEST_P(StoredNumbers, AreSetIntoTheBarsClampedAndSavedAsTheBarsShowThem) {
  FillStore();
  store_.Set("ScrActionRegSelectNo1FlagTimer", GetParam().timer);
  store_.Set("ScrActionRegSelectNo1FlagScale", GetParam().scale);
  auto model = Open(view_);
  EXPECT_EQ(view_.timer_position, GetParam().timer_position);
  EXPECT_EQ(view_.scale_position, GetParam().scale_position);
  EXPECT_EQ(view_.scale_label, std::to_string(GetParam().scale_position));
  model.No1ImageRegFileSaveButtonClick();
  EXPECT_EQ(store_.Get("ScrActionRegSelectNo1FlagTimer"), std::to_string(GetParam().timer_position));
  EXPECT_EQ(store_.Get("ScrActionRegSelectNo1FlagScale"), std::to_string(GetParam().scale_position));
}

INSTANTIATE_TEST_SUITE_P(
    Values, StoredNumbers,
    ::testing::Values(ClampCase{"1500", "500", 1500, 150}, ClampCase{"100", "0", 500, 1},
                      ClampCase{"9999", "-3", 5000, 1}, ClampCase{"2345", "150", 2345, 150},
                      // Damaged numbers open the dialog with the first-run values.
                      ClampCase{"abc", "5O", 1500, 50}, ClampCase{"", "1.5", 1500, 50},
                      ClampCase{"99999999999", "0x10", 1500, 50}));

TEST_F(Pattern1DetailTest, ADamagedPositionOpensAtTheFirstRunPosition) {
  FillStore();
  store_.Set("ScreenDetailSetUpPointRegXFlag", "left");
  Open(view_);
  EXPECT_EQ(view_.log[1], "MoveTo 100,100");
}

TEST_F(Pattern1DetailTest, BarsStepByTheirArrowAndPageSteps) {
  FillStore();
  auto model = Open(view_);
  model.Scroll(Pattern1Bar::kTimer, ScrollCode::kLineRight, 0);
  EXPECT_EQ(model.bar_position(Pattern1Bar::kTimer), 2000);
  model.Scroll(Pattern1Bar::kTimer, ScrollCode::kPageLeft, 0);
  model.Scroll(Pattern1Bar::kTimer, ScrollCode::kPageLeft, 0);
  model.Scroll(Pattern1Bar::kTimer, ScrollCode::kLineLeft, 0);
  EXPECT_EQ(model.bar_position(Pattern1Bar::kTimer), 500);
  model.Scroll(Pattern1Bar::kScale, ScrollCode::kPageRight, 0);
  EXPECT_EQ(model.bar_position(Pattern1Bar::kScale), 51);
  model.Scroll(Pattern1Bar::kScale, ScrollCode::kRight, 0);
  EXPECT_EQ(view_.scale_position, 150);
  EXPECT_EQ(texts_.scale, "150");
  EXPECT_EQ(texts_.timer, "500");
}

TEST_F(Pattern1DetailTest, TheScaleLabelShowsThePositionEachNotificationCarries) {
  FillStore();
  auto model = Open(view_);
  model.Scroll(Pattern1Bar::kScale, ScrollCode::kThumbTrack, 77);
  EXPECT_EQ(view_.scale_label, "77");
  model.Scroll(Pattern1Bar::kScale, ScrollCode::kThumbTrack, 90);
  EXPECT_EQ(view_.scale_label, "90");
  model.Scroll(Pattern1Bar::kScale, ScrollCode::kEndScroll, 0);
  EXPECT_EQ(view_.scale_label, "90");
  model.Scroll(Pattern1Bar::kTimer, ScrollCode::kThumbTrack, 4000);
  EXPECT_EQ(view_.scale_label, "90");  // the timer bar has no label
}

TEST_F(Pattern1DetailTest, CheckBoxesAreTickedOnlyByOne) {
  FillStore();
  store_.Set(keys::Pattern1BoxUse(2), "0");
  store_.Set(keys::Pattern1BoxUse(3), "yes");
  auto model = Open(view_);
  EXPECT_EQ(view_.checked, (std::array<bool, 4>{true, false, false, true}));
  model.No1ImageRegFileSaveButtonClick();
  EXPECT_EQ(store_.Get(keys::Pattern1BoxUse(3)), "0");
}

TEST_F(Pattern1DetailTest, AllOpenInstancesShareTheTimerAndScaleTheySave) {
  FillStore();
  FakePattern1DetailView first_view, second_view;
  auto first = Open(first_view);
  auto second = Open(second_view);
  first.Scroll(Pattern1Bar::kScale, ScrollCode::kThumbPosition, 120);
  EXPECT_EQ(second_view.scale_position, 50);
  second.No1ImageRegFileSaveButtonClick();
  EXPECT_EQ(store_.Get("ScrActionRegSelectNo1FlagScale"), "120");

  // A new instance reloads the shared texts from the store.
  store_.Set("ScrActionRegSelectNo1FlagTimer", "3000");
  FakePattern1DetailView third_view;
  Open(third_view);
  EXPECT_EQ(texts_.timer, "3000");
}

}  // namespace
}  // namespace tessmoor
