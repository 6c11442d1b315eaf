#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <map>
#include <set>
#include <string>

#include "setup/detail_dialog_layouts.h"
#include "setup/music_dialog_layout.h"
#include "setup/pattern1_detail_model.h"
#include "setup/pattern2_detail_model.h"
#include "setup/picture_preview.h"
#include "platform/scroll_bar.h"
#include "setup/settings_dialog_layout.h"
#include "setup/version_dialog_model.h"

namespace tessmoor {
namespace {

// Every control has a unique name, comes after its parent, lies inside it (the form: its outer
// size) and overlaps none of its siblings; scroll bars start inside their range.
template <class Role>
void ExpectSoundLayout(const FormDesign& form, const std::vector<ControlDesign<Role>>& controls) {
  struct Box {
    int w, h;
  };
  std::map<std::string_view, Box> placed;
  std::map<std::string_view, std::vector<const ControlDesign<Role>*>> children;
  for (const auto& c : controls) {
    SCOPED_TRACE(std::string(c.name));
    EXPECT_FALSE(placed.count(c.name)) << "name used twice";
    Box parent{form.width, form.height};
    if (!c.parent.empty()) {
      ASSERT_TRUE(placed.count(c.parent)) << "parent " << c.parent << " comes later";
      parent = placed[c.parent];
    }
    EXPECT_GE(c.x, 0);
    EXPECT_GE(c.y, 0);
    EXPECT_GT(c.width, 0);
    EXPECT_GT(c.height, 0);
    EXPECT_LE(c.x + c.width, parent.w);
    EXPECT_LE(c.y + c.height, parent.h);
    for (const auto* other : children[c.parent]) {
      const bool apart = c.x >= other->x + other->width || other->x >= c.x + c.width ||
                         c.y >= other->y + other->height || other->y >= c.y + c.height;
      EXPECT_TRUE(apart) << "overlaps " << other->name;
    }
    if (c.kind == ControlKind::kScrollBar) {
      EXPECT_LT(c.scroll.min, c.scroll.max);
      EXPECT_EQ(ClampPosition(c.scroll, c.scroll.design_position), c.scroll.design_position);
      EXPECT_GE(c.scroll.small_change, 1);
    }
    if (c.kind == ControlKind::kRadioButton) {
      EXPECT_NE(c.radio_group, 0);
    }
    children[c.parent].push_back(&c);
    placed[c.name] = {c.width, c.height};
  }
}

TEST(DialogLayouts, AreSound) {
  ExpectSoundLayout(SettingsDialogForm(), SettingsDialogControls());
  ExpectSoundLayout(Pattern1DetailForm(), Pattern1DetailControls());
  ExpectSoundLayout(Pattern2DetailForm(), Pattern2DetailControls());
  ExpectSoundLayout(VersionDialogForm(), VersionDialogControls());
  ExpectSoundLayout(MusicDialogForm(), MusicDialogControls());
}

template <class Role>
const ControlDesign<Role>& Named(const std::vector<ControlDesign<Role>>& controls, std::string_view name) {
  const auto it = std::find_if(controls.begin(), controls.end(), [&](const auto& c) { return c.name == name; });
  if (it == controls.end()) throw std::runtime_error("no control " + std::string(name));
  return *it;
}

TEST(SettingsDialogLayout, PlacesTheDesignedControls) {
  const auto& form = SettingsDialogForm();
  EXPECT_EQ(form.caption, "設定");
  EXPECT_EQ(form.width, 638);
  EXPECT_EQ(form.height, 510);
  EXPECT_EQ(form.title_buttons, TitleButtons::kSystemMenuOnly);
  EXPECT_EQ(form.font.face, "ＭＳ Ｐゴシック");
  EXPECT_EQ(form.font.height_px, 12);
  const auto& c = SettingsDialogControls();
  const auto& tab3 = Named(c, "ImageRegNo3BoxScrSetUpFormTabControl");
  EXPECT_EQ((Point{tab3.x, tab3.y}), (Point{160, 280}));
  EXPECT_EQ(tab3.index, 3);
  const auto& picture2 = Named(c, "ImageRegNo2BoxScrSetUpFormTabControlNoImage");
  EXPECT_EQ(picture2.parent, "ImageRegNo2BoxScrSetUpFormTabControl");
  EXPECT_EQ((Size{picture2.width, picture2.height}), kBoxPictureDesign);
  const auto& preview = Named(c, "ScrSetUpPreviewImage");
  EXPECT_EQ((Size{preview.width, preview.height}), kFilePreviewDesign);
  EXPECT_EQ(Named(c, "NoImageRegFileSaveButton").caption, "設定を保存");
  EXPECT_EQ(Named(c, "No1ScrActionRadioButton").caption, "パターン 1");
  EXPECT_EQ(Named(c, "No2ScrActionRadioButton").caption, "パターン２");
  // The pattern and music radio buttons are two groups.
  EXPECT_NE(Named(c, "No1ScrActionRadioButton").radio_group, Named(c, "MusicStopSetRadioButton").radio_group);
  EXPECT_EQ(kHelpMenuCaption, "ヘルプ&&バージョン");
}

TEST(SettingsDialogLayout, OnlyBoxThreeEnlargesItsPicture) {
  EXPECT_FALSE(BoxPictureEnlarges(1));
  EXPECT_FALSE(BoxPictureEnlarges(2));
  EXPECT_TRUE(BoxPictureEnlarges(3));
  EXPECT_FALSE(BoxPictureEnlarges(4));
}

TEST(SettingsDialogLayout, NamesTheTwelveTabsBySlot) {
  EXPECT_EQ(BoxTabCaption(1), "No.1");
  EXPECT_EQ(BoxTabCaption(12), "No.12");
}

TEST(SettingsDialogLayout, OffersThePictureFiltersInOrder) {
  ASSERT_EQ(kPictureFileFilters.size(), 4u);
  EXPECT_EQ(kPictureFileFilters[0].description, "すべてのファイル (*.jpg;*.jpeg;*.bmp)");
  EXPECT_EQ(kPictureFileFilters[0].pattern, "*.jpg;*.jpeg;*.bmp");
  EXPECT_EQ(kPictureFileFilters[1].description, "JPEG イメージファイル (*.jpg)");
  EXPECT_EQ(kPictureFileFilters[1].pattern, "*.jpg");
  EXPECT_EQ(kPictureFileFilters[2].description, "JPEG イメージファイル (*.jpeg)");
  EXPECT_EQ(kPictureFileFilters[2].pattern, "*.jpeg");
  EXPECT_EQ(kPictureFileFilters[3].description, "ビットマップ (*.bmp)");
  EXPECT_EQ(kPictureFileFilters[3].pattern, "*.bmp");
  EXPECT_EQ(kPictureFileMask, "*.jpg;*.jpeg;*.bmp");
}

TEST(Pattern1DetailLayout, HasTheDesignedBars) {
  const auto& c = Pattern1DetailControls();
  const auto& scale = Named(c, "ScrNo1ActionRegSelectNoFlagScaleScrollBar");
  EXPECT_EQ(scale.scroll.min, 1);
  EXPECT_EQ(scale.scroll.max, 150);
  EXPECT_EQ(scale.scroll.small_change, 1);
  EXPECT_EQ(scale.scroll.design_position, 100);
  const auto& timer = Named(c, "ScrNo1ActionRegSelectNoFlagTimerScrollBar");
  EXPECT_EQ(timer.scroll.min, 500);
  EXPECT_EQ(timer.scroll.max, 5000);
  EXPECT_EQ(timer.scroll.small_change, 500);
  EXPECT_EQ(timer.scroll.large_change, 500);
  EXPECT_EQ((Size{timer.width, timer.height}), (Size{241, 16}));
  EXPECT_EQ(Named(c, "No1FlagDetailRandomWithRadioButton").caption, "配置ランダム貼り付け");
  EXPECT_EQ(Named(c, "No1FlagDetailFiveDirectionRadioButton").index, 4);
  EXPECT_EQ(Pattern1DetailForm().caption, "パターン１詳細");
  EXPECT_TRUE(Pattern1DetailForm().top_most);
}

TEST(Pattern2DetailLayout, HasFourGroupsOfFiveModesWithOneStepSpeedBars) {
  const auto& c = Pattern2DetailControls();
  EXPECT_EQ(Pattern2DetailForm().caption, "パターン２詳細");
  EXPECT_EQ(Pattern2DetailForm().width, 547);
  EXPECT_EQ(Pattern2DetailForm().height, 430);
  const auto& group3 = Named(c, "GroupBox5");
  EXPECT_EQ(group3.caption, "No3 Tab");
  EXPECT_EQ((Point{group3.x, group3.y}), (Point{8, 176}));
  std::map<int, std::set<int>> modes;
  for (const auto& control : c)
    if (control.role == Pattern2DetailRole::kModeRadio) modes[control.radio_group].insert(control.item);
  EXPECT_EQ(modes.size(), 4u);
  for (const auto& [group, items] : modes) EXPECT_EQ(items, (std::set<int>{1, 2, 3, 4, 5})) << group;
  EXPECT_EQ(Named(c, "ScrNo2ActionRegSelectNo4Pattern5RadioButton").caption, "バウンド");
  for (int n = 1; n <= 4; ++n) {
    const auto& speed = Named(c, "ScrActionRegSelectTimerNo2FormNo" + std::to_string(n) + "FlagScrollBar");
    EXPECT_EQ(speed.scroll.small_change, 1) << n;
    EXPECT_EQ(speed.scroll.max, 300);
    EXPECT_EQ(speed.scroll.design_position, n == 1 ? 200 : 1);
    const auto& size = Named(c, "ScrNo2ActionRegSelectNo" + std::to_string(n) + "FlagScaleScrollBar");
    EXPECT_EQ(size.scroll.max, 100);
    EXPECT_EQ(size.scroll.design_position, n == 1 ? 50 : 1);
    EXPECT_EQ(Named(c, "PSentLabelNo" + std::to_string(n) + "Tab").index, n);
  }
}

TEST(MusicDialogLayout, OpensAtItsDesignPlaceWithItsFrame) {
  const FormDesign& form = MusicDialogForm();
  EXPECT_EQ(form.caption, "音楽");
  EXPECT_EQ((Point{form.left, form.top}), (Point{409, 197}));
  EXPECT_EQ((Size{form.width, form.height}), (Size{323, 279}));
  EXPECT_EQ(form.title_buttons, TitleButtons::kSystemMenuOnly);
  EXPECT_FALSE(form.top_most);
  EXPECT_EQ(form.font.face, "ＭＳ Ｐゴシック");
  EXPECT_EQ(form.font.height_px, 12);
}

// Left, top, width and height of a row, its caption and its command id.
struct MusicRow {
  MusicRole role;
  int index;
  ControlKind kind;
  std::array<int, 4> bounds;  // left, top, width, height
  std::string_view caption;
  int id;
};

TEST(MusicDialogLayout, PlacesEverySlotRowFortyPixelsBelowTheOneBeforeWithItsOwnIds) {
  std::vector<MusicRow> expected;
  for (int n = 1; n <= 5; ++n) {
    const int y = 8 + 40 * (n - 1);
    expected.push_back({MusicRole::kSlotCheck, n, ControlKind::kCheckBox, {8, y, n >= 4 ? 193 : 185, 17}, "", 100 + n});
    expected.push_back({MusicRole::kOpenButton, n, ControlKind::kButton, {208, y, 25, 25}, "....", 110 + n});
    expected.push_back({MusicRole::kEraseButton, n, ControlKind::kButton, {240, y, 25, 25}, "X", 120 + n});
    expected.push_back({MusicRole::kPlayButton, n, ControlKind::kIconButton, {272, y, 33, 25}, "", 130 + n});
  }
  expected.push_back({MusicRole::kStopButton, 0, ControlKind::kIconButton, {272, 208, 33, 25}, "", 140});
  expected.push_back({MusicRole::kSaveButton, 0, ControlKind::kButton, {40, 216, 75, 25}, "設定の保存", 141});
  expected.push_back({MusicRole::kCancelButton, 0, ControlKind::kButton, {128, 216, 73, 25}, "キャンセル", 142});

  const auto& c = MusicDialogControls();
  ASSERT_EQ(c.size(), expected.size());
  std::set<int> ids;
  for (std::size_t i = 0; i < c.size(); ++i) {
    SCOPED_TRACE(std::string(c[i].name));
    const MusicRow& e = expected[i];
    EXPECT_EQ(c[i].role, e.role);
    EXPECT_EQ(c[i].index, e.index);
    EXPECT_EQ(c[i].kind, e.kind);
    EXPECT_TRUE(c[i].parent.empty());
    EXPECT_EQ((std::array<int, 4>{c[i].x, c[i].y, c[i].width, c[i].height}), e.bounds);
    EXPECT_EQ(c[i].caption, e.caption);
    EXPECT_EQ(c[i].id, e.id);
    EXPECT_TRUE(ids.insert(c[i].id).second) << "id used twice";
  }
  EXPECT_EQ(Named(c, "MusicNameNo4CheckBox").width, 193);
  EXPECT_EQ(Named(c, "MusicPlayNo3BitBtn").id, kMusicPlayButtonId + 3);
  EXPECT_EQ(Named(c, "MusicStopBitBtn").id, kMusicStopButtonId);
}

struct StepCase {
  ScrollCode code;
  int current;
  int thumb;
  int target;
};

class ScrollTargetTest : public ::testing::TestWithParam<StepCase> {};

TEST_P(ScrollTargetTest, MovesByTheCodeAndStaysInRange) {
  const ScrollBarDesign bar{500, 5000, 500, 1000, 1500};
  EXPECT_EQ(ScrollTarget(bar, GetParam().code, GetParam().current, GetParam().thumb), GetParam().target);
}

INSTANTIATE_TEST_SUITE_P(
    Codes, ScrollTargetTest,
    ::testing::Values(StepCase{ScrollCode::kLineRight, 1500, 0, 2000}, StepCase{ScrollCode::kLineLeft, 1500, 0, 1000},
                      StepCase{ScrollCode::kLineLeft, 700, 0, 500}, StepCase{ScrollCode::kPageRight, 4500, 0, 5000},
                      StepCase{ScrollCode::kPageLeft, 1500, 0, 500}, StepCase{ScrollCode::kThumbTrack, 1500, 2345, 2345},
                      StepCase{ScrollCode::kThumbPosition, 1500, 9000, 5000}, StepCase{ScrollCode::kLeft, 3000, 0, 500},
                      StepCase{ScrollCode::kRight, 3000, 0, 5000}, StepCase{ScrollCode::kEndScroll, 3000, 0, 3000}));

}  // namespace
}  // namespace tessmoor
