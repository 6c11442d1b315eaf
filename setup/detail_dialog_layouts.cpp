#include "setup/detail_dialog_layouts.h"

#include <deque>
#include <string>

#include "setup/pattern1_detail_model.h"
#include "setup/pattern2_detail_model.h"

namespace tessmoor {

namespace {

using K = ControlKind;

// Check boxes, radio buttons and labels have only a position in the design; their sizes here
// fit their captions at 12 pixels without reaching the next control (the mode buttons stand
// 16 pixels apart, so they are 16 high).
std::vector<ControlDesign<Pattern1DetailRole>> BuildPattern1() {
  using R = Pattern1DetailRole;
  std::vector<ControlDesign<R>> c = {
      {"GroupBox1", K::kGroupBox, R::kModeGroup, 0, 0, "", 8, 8, 241, 73, "詳細動作"},
      {"No1FlagDetailRadioButton", K::kRadioButton, R::kModeRadio, 1, 0, "GroupBox1", 8, 16, 89, 16, "中央", 1},
      {"No1FlagDetailRandomRadioButton", K::kRadioButton, R::kModeRadio, 2, 0, "GroupBox1", 8, 32, 89, 16,
       "配置ランダム", 1},
      {"No1FlagDetailRandomWithRadioButton", K::kRadioButton, R::kModeRadio, 3, 0, "GroupBox1", 104, 32, 129,
       16, "配置ランダム貼り付け", 1},
      {"No1FlagDetailFiveDirectionRadioButton", K::kRadioButton, R::kModeRadio, 4, 0, "GroupBox1", 8, 48, 89,
       16, "５方向", 1},
      {"Label3", K::kLabel, R::kBoxesLabel, 0, 0, "", 16, 224, 72, 12, "使用する写真"},
      {"ImageRegNo1BoxScrSetUpFormTabControlCheckBox", K::kCheckBox, R::kBoxCheck, 1, 0, "", 16, 240, 97, 17,
       "No1 Tab"},
      {"ImageRegNo2BoxScrSetUpFormTabControlCheckBox", K::kCheckBox, R::kBoxCheck, 2, 0, "", 144, 240, 97, 17,
       "No2 Tab"},
      {"ImageRegNo3BoxScrSetUpFormTabControlCheckBox", K::kCheckBox, R::kBoxCheck, 3, 0, "", 16, 264, 97, 17,
       "No3 Tab"},
      {"ImageRegNo4BoxScrSetUpFormTabControlCheckBox", K::kCheckBox, R::kBoxCheck, 4, 0, "", 144, 264, 97, 17,
       "No4 Tab"},
      {"Label1", K::kLabel, R::kScaleLabel, 0, 0, "", 16, 296, 84, 12, "画像の大きさ %"},
      {"PSentLabel", K::kLabel, R::kScaleValueLabel, 0, 0, "", 112, 296, 24, 12, ""},
      {"ScrNo1ActionRegSelectNoFlagScaleScrollBar", K::kScrollBar, R::kScaleBar, 0, 0, "", 8, 312, 241, 17, "",
       0, Pattern1BarDesign(Pattern1Bar::kScale)},
      {"Label2", K::kLabel, R::kTimerLabel, 0, 0, "", 16, 336, 84, 12, "スライドの早さ"},
      {"ScrNo1ActionRegSelectNoFlagTimerScrollBar", K::kScrollBar, R::kTimerBar, 0, 0, "", 8, 352, 241, 16, "",
       0, Pattern1BarDesign(Pattern1Bar::kTimer)},
      {"No1ImageRegFileSaveButton", K::kButton, R::kSaveButton, 0, 0, "", 24, 376, 89, 25, "設定の保存"},
      {"CancelButton", K::kButton, R::kCancelButton, 0, 0, "", 144, 376, 89, 25, "キャンセル"},
  };
  return c;
}

// The design places the four group boxes; the controls inside them are laid out here: the size
// heading and value over the size bar, the speed heading over the speed bar, the use check box,
// and the motion modes with the four corners where they point and the bounce beside them.
std::vector<ControlDesign<Pattern2DetailRole>> BuildPattern2() {
  using R = Pattern2DetailRole;
  // The names are made once and kept for the life of the program; the table holds views of them.
  static std::deque<std::string> names;
  auto keep = [](std::string s) -> std::string_view { return names.emplace_back(std::move(s)); };

  struct Group {
    std::string_view name, caption;
    int x, y;
  };
  static constexpr Group kGroups[4] = {
      {"GroupBox2", "No1 Tab", 8, 8},
      {"GroupBox3", "No2 Tab", 272, 8},
      {"GroupBox5", "No3 Tab", 8, 176},
      {"GroupBox4", "No4 Tab", 272, 176},
  };
  static constexpr std::string_view kModeCaptions[5] = {"左上", "右上", "左下", "右下", "バウンド"};
  static constexpr Point kModeAt[5] = {{8, 120}, {80, 120}, {8, 140}, {80, 140}, {152, 120}};

  std::vector<ControlDesign<R>> c;
  for (int n = 1; n <= 4; ++n) {
    const Group& g = kGroups[n - 1];
    const std::string no = std::to_string(n);
    c.push_back({g.name, K::kGroupBox, R::kWindowGroup, n, 0, "", g.x, g.y, 257, 161, g.caption});
    c.push_back({keep("SizeHeadingNo" + no + "Label"), K::kLabel, R::kSizeLabel, n, 0, g.name, 8, 16, 84, 12,
                 "画像の大きさ %"});
    c.push_back({keep("PSentLabelNo" + no + "Tab"), K::kLabel, R::kSizeValueLabel, n, 0, g.name, 96, 16, 24, 12,
                 ""});
    c.push_back({keep("ScrNo2ActionRegSelectNo" + no + "FlagScaleScrollBar"), K::kScrollBar, R::kSizeBar, n, 0,
                 g.name, 8, 32, 241, 17, "", 0, Pattern2BarDesign(n, Pattern2Bar::kSize)});
    c.push_back({keep("SpeedHeadingNo" + no + "Label"), K::kLabel, R::kSpeedLabel, n, 0, g.name, 8, 56, 84, 12,
                 "スライドの早さ"});
    c.push_back({keep("ScrActionRegSelectTimerNo2FormNo" + no + "FlagScrollBar"), K::kScrollBar, R::kSpeedBar,
                 n, 0, g.name, 8, 72, 241, 17, "", 0, Pattern2BarDesign(n, Pattern2Bar::kSpeed)});
    c.push_back({keep("ImageRegNo" + no + "BoxScrSetUpFormTabControlCheckBox"), K::kCheckBox, R::kBoxCheck, n, 0,
                 g.name, 8, 96, 97, 17, g.caption});
    for (int k = 1; k <= 5; ++k) {
      const Point at = kModeAt[k - 1];
      c.push_back({keep("ScrNo2ActionRegSelectNo" + no + "Pattern" + std::to_string(k) + "RadioButton"),
                   K::kRadioButton, R::kModeRadio, n, k, g.name, at.x, at.y, 65, 17, kModeCaptions[k - 1], n});
    }
  }
  c.push_back({"No2ImageRegFileSaveButton", K::kButton, R::kSaveButton, 0, 0, "", 176, 352, 89, 25, "設定の保存"});
  c.push_back({"CancelButton", K::kButton, R::kCancelButton, 0, 0, "", 280, 352, 89, 25, "キャンセル"});
  c.push_back({"Image1", K::kPicture, R::kImage, 0, 0, "", 8, 352, 33, 33});
  return c;
}

}  // namespace

constexpr FormDesign kPattern1Form{"TNo1SetUpDetailForm", "パターン１詳細", 264, 437, 591, 335,
                                 TitleButtons::kSystemMenuOnly, true};
// Its design position does not matter: the dialog always opens at the stored one.
constexpr FormDesign kPattern2Form{"TNo2SetUpDetailForm", "パターン２詳細", 547, 430, 100, 100,
                                 TitleButtons::kSystemMenuOnly, true};

const FormDesign& Pattern1DetailForm() { return kPattern1Form; }
const FormDesign& Pattern2DetailForm() { return kPattern2Form; }

const std::vector<ControlDesign<Pattern1DetailRole>>& Pattern1DetailControls() {
  static const auto controls = BuildPattern1();
  return controls;
}

const std::vector<ControlDesign<Pattern2DetailRole>>& Pattern2DetailControls() {
  static const auto controls = BuildPattern2();
  return controls;
}

}  // namespace tessmoor
