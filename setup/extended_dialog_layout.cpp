#include "setup/extended_dialog_layout.h"

namespace tessmoor {

namespace {

using K = ControlKind;
using R = ExtendedRole;

// The look of the pattern-1 detail dialog: groups 241 wide at the left margin, radio buttons 16
// apart, the save and cancel buttons side by side under the groups.
std::vector<ControlSpec<R>> BuildControls() {
  return {
      {"OtherMonitorsGroupBox", K::kGroupBox, R::kMonitorsGroup, 0, 0, "", 8, 8, 241, 57, "ほかのモニター"},
      {"OtherMonitorsBlackRadioButton", K::kRadioButton, R::kMonitorsBlackRadio, 0, 0, "OtherMonitorsGroupBox", 8,
       16, 129, 16, "黒", 1},
      {"OtherMonitorsSlideShowRadioButton", K::kRadioButton, R::kMonitorsSlideShowRadio, 0, 0,
       "OtherMonitorsGroupBox", 8, 32, 129, 16, "スライドショー", 1},
      {"FolderGroupBox", K::kGroupBox, R::kFolderGroup, 0, 0, "", 8, 72, 241, 89, "フォルダーの写真"},
      {"FolderSubfoldersCheckBox", K::kCheckBox, R::kSubfoldersCheck, 0, 0, "FolderGroupBox", 8, 16, 185, 17,
       "サブフォルダーも含める"},
      {"FolderOrderLabel", K::kLabel, R::kOrderLabel, 0, 0, "FolderGroupBox", 8, 40, 72, 12, "表示の順番"},
      {"FolderNameOrderRadioButton", K::kRadioButton, R::kNameOrderRadio, 0, 0, "FolderGroupBox", 8, 56, 89, 16,
       "名前順", 2},
      {"FolderShuffleRadioButton", K::kRadioButton, R::kShuffledRadio, 0, 0, "FolderGroupBox", 104, 56, 89, 16,
       "シャッフル", 2},
      {"ExtendedRegFileSaveButton", K::kButton, R::kSaveButton, 0, 0, "", 24, 172, 89, 25, "設定の保存"},
      {"CancelButton", K::kButton, R::kCancelButton, 0, 0, "", 144, 172, 89, 25, "キャンセル"},
  };
}

}  // namespace

// Top-most like the detail dialogs; it always opens at this place of its own, in screen pixels.
constexpr FormSpec kExtendedForm{"TExtendedSetUpForm", "拡張設定", 264, 236, 380, 180,
                                 TitleButtons::kSystemMenuOnly, true};

const FormSpec& ExtendedDialogForm() { return kExtendedForm; }

const std::vector<ControlSpec<ExtendedRole>>& ExtendedDialogControls() {
  static const auto controls = BuildControls();
  return controls;
}

}  // namespace tessmoor
