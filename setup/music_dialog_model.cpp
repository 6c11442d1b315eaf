#include "setup/music_dialog_model.h"

#include <utility>

#include "app/settings_keys.h"
#include "platform/text.h"
#include "setup/save_writes.h"

namespace tessmoor {

MusicDialogModel::MusicDialogModel(Settings& settings, FileSystem& files, MediaPlayer& player,
                                   std::shared_ptr<MusicPaths> paths, MusicDialogView* view)
    : settings_(settings),
      files_(files),
      player_(player),
      paths_(paths ? std::move(paths) : std::make_shared<MusicPaths>()),
      view_(view) {
  for (int n = 1; n <= kMusicDialogSlots; ++n) {
    // A stored file that has gone leaves the slot empty but its key as it is, until a save.
    const std::string stored = settings_.Read(keys::MusicPath(n));
    const bool exists = !stored.empty() && files_.FileExists(stored);
    paths_->set_path(n, exists ? LowerCase(stored) : std::string());
    SetCaption(n, paths_->path(n));
    // The tick comes from the flag alone, so a slot whose file is gone can show ticked.
    SetTicked(n, settings_.ReadSwitch(keys::MusicPlayFlag(n)));
  }
  SetButtons(kMusicIdle);
}

void MusicDialogModel::MusicNameCheckBoxClick(int slot, bool ticked) {
  if (Valid(slot)) ticked_[slot - 1] = ticked;
}

void MusicDialogModel::MusicNoOpenDialogButtonClick(int slot) {
  if (!Valid(slot) || previewing_ || !view_) return;
  const std::string chosen = view_->ChooseMusicFile();
  if (chosen.empty()) return;
  paths_->set_path(slot, LowerCase(chosen));
  SetCaption(slot, paths_->path(slot));
}

void MusicDialogModel::MusicNoOpenDialogEraseButtonClick(int slot) {
  if (!Valid(slot)) return;
  paths_->set_path(slot, std::string());
  SetCaption(slot, std::string());
  SetTicked(slot, false);
}

void MusicDialogModel::MusicPlayNoBitBtnClick(int slot) {
  if (!Valid(slot) || previewing_) return;
  const std::string& path = paths_->path(slot);
  if (path.empty() || !files_.FileExists(path)) return;
  if (player_.Open(path) != MediaResult::kOk) {
    player_.Close();
    return;
  }
  if (player_.Play() != MediaResult::kOk) {
    player_.Close();
    return;
  }
  previewing_ = true;
  preview_device_ = player_.DeviceId();
  SetButtons(kMusicPlaying);
}

void MusicDialogModel::MusicStopBitBtnClick() { EndPreview(); }

void MusicDialogModel::MusicMediaPlayerNotify(MediaNotify kind, std::uint32_t device_id) {
  if (!previewing_ || device_id != preview_device_) return;
  // A stop of an earlier preview can report after a new one opened under the same id.
  if (kind == MediaNotify::kEnded || kind == MediaNotify::kFailed) EndPreview();
}

bool MusicDialogModel::MusicRegFileSaveButtonClick() {
  SaveWrites save(settings_);
  for (int n = 1; n <= kMusicDialogSlots; ++n) save.Write(keys::MusicPath(n), paths_->path(n));
  for (int n = 1; n <= kMusicDialogSlots; ++n) save.WriteSwitch(keys::MusicPlayFlag(n), ticked_[n - 1]);
  if (save.failed()) {
    if (view_) view_->ShowSaveFailure(save.error());
    return false;
  }
  EndPreview();
  if (view_) view_->HideWindow();
  return true;
}

void MusicDialogModel::CancelButtonClick() {
  EndPreview();
  if (view_) view_->HideWindow();
}

void MusicDialogModel::FormClose() { EndPreview(); }

void MusicDialogModel::SetCaption(int slot, std::string caption) {
  captions_[slot - 1] = std::move(caption);
  if (view_) view_->ShowCaption(slot, captions_[slot - 1]);
}

void MusicDialogModel::SetTicked(int slot, bool ticked) {
  ticked_[slot - 1] = ticked;
  if (view_) view_->ShowTicked(slot, ticked);
}

void MusicDialogModel::SetButtons(const MusicButtonStates& states) {
  buttons_ = states;
  if (view_) view_->ShowButtons(states);
}

void MusicDialogModel::EndPreview() {
  if (!previewing_) return;
  player_.Stop();
  player_.Close();
  previewing_ = false;
  preview_device_ = 0;
  SetButtons(kMusicIdle);
}

}  // namespace tessmoor
