#include "setup/music_dialog_layout.h"

#include <deque>
#include <string>

#include "setup/music_dialog_model.h"

namespace tessmoor {

namespace {

using K = ControlKind;
using R = MusicRole;

// Each slot's row stands 40 pixels below the one before; the two last check boxes are wider.
std::vector<ControlDesign<R>> BuildControls() {
  // The names are made once and kept for the life of the program; the table holds views of them.
  static std::deque<std::string> names;
  auto keep = [](std::string s) -> std::string_view { return names.emplace_back(std::move(s)); };

  std::vector<ControlDesign<R>> c;
  for (int n = 1; n <= kMusicDialogSlots; ++n) {
    const std::string no = std::to_string(n);
    const int top = 8 + 40 * (n - 1);
    c.push_back({keep("MusicNameNo" + no + "CheckBox"), K::kCheckBox, R::kSlotCheck, n, 0, "", 8, top,
                 n >= 4 ? 193 : 185, 17, "", 0, {}, kDialogFont, kMusicCheckBoxId + n});
    c.push_back({keep("MusicNo" + no + "OpenDialogButton"), K::kButton, R::kOpenButton, n, 0, "", 208, top, 25,
                 25, "....", 0, {}, kDialogFont, kMusicOpenButtonId + n});
    c.push_back({keep("MusicNo" + no + "OpenDialogEraseButton"), K::kButton, R::kEraseButton, n, 0, "", 240,
                 top, 25, 25, "X", 0, {}, kDialogFont, kMusicEraseButtonId + n});
    c.push_back({keep("MusicPlayNo" + no + "BitBtn"), K::kIconButton, R::kPlayButton, n, 0, "", 272, top, 33, 25,
                 "", 0, {}, kDialogFont, kMusicPlayButtonId + n});
  }
  c.push_back({"MusicStopBitBtn", K::kIconButton, R::kStopButton, 0, 0, "", 272, 208, 33, 25, "", 0, {},
               kDialogFont, kMusicStopButtonId});
  c.push_back({"MusicRegFileSaveButton", K::kButton, R::kSaveButton, 0, 0, "", 40, 216, 75, 25, "設定の保存", 0,
               {}, kDialogFont, kMusicSaveButtonId});
  c.push_back({"CancelButton", K::kButton, R::kCancelButton, 0, 0, "", 128, 216, 73, 25, "キャンセル", 0, {},
               kDialogFont, kMusicCancelButtonId});
  return c;
}

}  // namespace

const FormDesign& MusicDialogForm() {
  static const FormDesign form{"TMusicSetUpForm", kMusicDialogCaption, kMusicDialogWidth, kMusicDialogHeight,
                             kMusicDialogLeft, kMusicDialogTop, TitleButtons::kSystemMenuOnly, false};
  return form;
}

const std::vector<ControlDesign<MusicRole>>& MusicDialogControls() {
  static const std::vector<ControlDesign<MusicRole>> controls = BuildControls();
  return controls;
}

}  // namespace tessmoor
