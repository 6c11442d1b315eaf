#include "setup/settings_dialog_model.h"

#include "app/settings_keys.h"
#include "platform/text.h"

namespace tessmoor {

SettingsDialogModel::SettingsDialogModel(Settings& settings, FileSystem& files,
                                         SettingsDialogView* view)
    : settings_(settings), files_(files), view_(view) {
  left_ = settings_.ReadNumber(keys::kSetupX);
  top_ = settings_.ReadNumber(keys::kSetupY);
  if (view_) view_->MoveTo(left_, top_);

  pattern_ = settings_.Read(keys::kPattern);
  pattern2_selected_ = pattern_ == "2";
  if (view_) view_->SelectPattern(pattern2_selected_);

  LoadSlots();

  music_play_selected_ = settings_.Read(keys::kMusicSwitch) != "1";
  if (view_) view_->SelectMusicPlay(music_play_selected_);
}

void SettingsDialogModel::LoadSlots() {
  for (int b = 1; b <= keys::kBoxCount; ++b) {
    for (int s = 1; s <= keys::kSlotsPerBox; ++s) {
      const std::string value = settings_.Read(keys::ImagePath(b, s));
      // A key that was set but whose file is gone stays in the store until the user saves.
      slots_[Index(b, s)] = !value.empty() && files_.FileExists(value) ? value : std::string();
      if (s == 1 && view_) {
        const std::string& path = slots_[Index(b, 1)];
        if (path.empty()) {
          view_->ClearBoxPreview(b);
        } else {
          const std::string lower = LowerCase(path);
          view_->LoadBoxPreview(b, FileExtension(lower), lower);
        }
      }
    }
  }
}

}  // namespace tessmoor
