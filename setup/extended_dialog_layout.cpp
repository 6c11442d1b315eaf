#include "setup/extended_dialog_layout.h"

namespace tessmoor {

namespace {

using K = ControlKind;
using R = ExtendedRole;

// The look of the pattern-1 detail dialog: groups 241 wide at the left margin, radio buttons 16
// high, the save and cancel buttons side by side under the groups.
std::vector<ControlDesign<R>> BuildControls() {
  using Row = ControlDesign<R>;
  auto group = [](std::string_view name, R role, int y, int height, std::string_view caption) {
    return Row{name, K::kGroupBox, role, 0, 0, "", 8, y, 241, height, caption};
  };
  auto radio = [](std::string_view name, R role, std::string_view parent, Point at, int width,
                  std::string_view caption, int radio_group) {
    return Row{name, K::kRadioButton, role, 0, 0, parent, at.x, at.y, width, 16, caption, radio_group};
  };
  auto button = [](std::string_view name, R role, int x, std::string_view caption) {
    return Row{name, K::kButton, role, 0, 0, "", x, 172, 89, 25, caption};
  };
  constexpr std::string_view kMonitors = "OtherMonitorsGroupBox";
  constexpr std::string_view kFolder = "FolderGroupBox";
  return {
      group(kMonitors, R::kMonitorsGroup, 8, 57, "ほかのモニター"),
      radio("OtherMonitorsBlackRadioButton", R::kMonitorsBlackRadio, kMonitors, {8, 16}, 129, "黒", 1),
      radio("OtherMonitorsSlideShowRadioButton", R::kMonitorsSlideShowRadio, kMonitors, {8, 32}, 129,
            "スライドショー", 1),
      group(kFolder, R::kFolderGroup, 72, 89, "フォルダーの写真"),
      Row{"FolderSubfoldersCheckBox", K::kCheckBox, R::kSubfoldersCheck, 0, 0, kFolder, 8, 16, 185, 17,
          "サブフォルダーも含める"},
      Row{"FolderOrderLabel", K::kLabel, R::kOrderLabel, 0, 0, kFolder, 8, 40, 72, 12, "表示の順番"},
      radio("FolderNameOrderRadioButton", R::kNameOrderRadio, kFolder, {8, 56}, 89, "名前順", 2),
      radio("FolderShuffleRadioButton", R::kShuffledRadio, kFolder, {104, 56}, 89, "シャッフル", 2),
      button("ExtendedRegFileSaveButton", R::kSaveButton, 24, "設定の保存"),
      button("CancelButton", R::kCancelButton, 144, "キャンセル"),
  };
}

}  // namespace

// Top-most like the detail dialogs; it always opens at this place of its own, in screen pixels.
constexpr FormDesign kExtendedForm{"TExtendedSetUpForm", "拡張設定", 264, 236, 380, 180,
                                 TitleButtons::kSystemMenuOnly, true};

const FormDesign& ExtendedDialogForm() { return kExtendedForm; }

const std::vector<ControlDesign<ExtendedRole>>& ExtendedDialogControls() {
  static const auto controls = BuildControls();
  return controls;
}

}  // namespace tessmoor
