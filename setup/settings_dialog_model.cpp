#include "setup/settings_dialog_model.h"

#include <ctime>

#include "app/extended_settings.h"
#include "app/settings_keys.h"
#include "platform/text.h"
#include "setup/save_writes.h"
#include "setup/settings_dialog_layout.h"

namespace tessmoor {

SettingsDialogModel::SettingsDialogModel(Settings& settings, FileSystem& files,
                                         SettingsDialogView* view, const PictureDecoder* decoder,
                                         RandomSource* random, FolderPreviews* previews)
    : settings_(settings), files_(files), view_(view), decoder_(decoder), random_(random), previews_(previews) {
  if (!decoder_) {
    own_decoder_ = std::make_unique<BuiltInPictureDecoder>();
    decoder_ = own_decoder_.get();
  }
  if (!previews_) {
    own_previews_ = std::make_unique<FolderPreviewsAtOnce>(files_, *decoder_);
    previews_ = own_previews_.get();
  }
  const SettingsDialogValues values = ReadSettingsDialogValues(settings_);
  left_ = values.position.x;
  top_ = values.position.y;
  if (view_) view_->MoveTo(left_, top_);

  pattern_ = values.pattern;
  pattern2_selected_ = PatternOf(pattern_) == ShowPattern::kPattern2;
  if (view_) view_->SelectPattern(pattern2_selected_);

  LoadSlots(values);

  music_play_selected_ = values.music_play;
  if (view_) view_->SelectMusicPlay(music_play_selected_);
}

void SettingsDialogModel::LoadSlots(const SettingsDialogValues& values) {
  for (int b = 1; b <= keys::kBoxCount; ++b) {
    for (int s = 1; s <= keys::kSlotsPerBox; ++s) {
      const std::string& value = values.picture(b, s);
      opened_[Index(b, s)] = value;
      // A key that was set but whose file or folder is gone stays in the store until the user
      // saves.
      const bool exists = !value.empty() && (files_.FileExists(value) || files_.FolderExists(value));
      slots_[Index(b, s)] = exists ? value : std::string();
    }
    // A first picture that cannot be shown must not keep the user from the dialog where the
    // slot can be replaced: the box stays empty and the slot keeps its path.
    ShowSlot(b, 1, OnFailure::kClear);
  }
}

void SettingsDialogModel::ShowSlot(int box, int slot, OnFailure on_failure) {
  if (!view_) return;
  MoveOn(box);
  const std::string& path = slots_[Index(box, slot)];
  if (path.empty()) {
    view_->ClearBoxPicture(box);
    return;
  }
  if (!files_.FileExists(path) && files_.FolderExists(path)) {
    ShowFolderSlot(box, path);
    return;
  }
  LoadBoxPreview(box, LowerCase(path), on_failure);
}

void SettingsDialogModel::ShowFolderSlot(int box, const std::string& folder) {
  view_->ClearBoxPicture(box);
  view_->MarkBoxFolder(box, std::nullopt);
  FolderPreviewRequest request{folder, settings_.ReadSwitch(keys::kFolderSubfolders), kBoxPictureDesign,
                               BoxPictureEnlarges(box), view_->DotsPerInch()};
  const unsigned turn = box_turn_[box - 1];
  previews_->Start(std::move(request), [this, box, turn, folder](FolderPreview made) {
    // The tab changed, the slot was cleared or filled anew meanwhile: the box shows that now.
    if (box_turn_[box - 1] != turn || slots_[Index(box, current_slot(box))] != folder) return;
    ShowBoxPreview(box, folder, std::move(made.preview), OnFailure::kClear);
    view_->MarkBoxFolder(box, made.pictures);
  });
}

void SettingsDialogModel::LoadBoxPreview(int box, std::string_view path, OnFailure on_failure) {
  if (!view_) return;
  ShowBoxPreview(box, path,
                 LoadPreview(files_, *decoder_, path, kBoxPictureDesign, BoxPictureEnlarges(box), view_->DotsPerInch()),
                 on_failure);
}

void SettingsDialogModel::ShowBoxPreview(int box, std::string_view path, Preview preview, OnFailure on_failure) {
  switch (preview.status) {
    case PreviewStatus::kShown:
      view_->ShowBoxPicture(box, preview.placement, std::move(preview.picture));
      break;
    case PreviewStatus::kNoPicture:
      view_->ClearBoxPicture(box);
      break;
    case PreviewStatus::kFailed:
      if (on_failure == OnFailure::kClear) view_->ClearBoxPicture(box);
      if (on_failure == OnFailure::kReport) view_->ShowPictureError(path, preview.message);
      break;
  }
}

void SettingsDialogModel::NoImageRegFileSaveButtonClick() {
  SaveWrites save(settings_);
  save.Write(keys::kPattern, PatternText(pattern2_selected_ ? ShowPattern::kPattern2 : ShowPattern::kPattern1));
  for (int b = 1; b <= keys::kBoxCount; ++b)
    for (int s = 1; s <= keys::kSlotsPerBox; ++s) save.Write(keys::ImagePath(b, s), slots_[Index(b, s)]);
  save.WriteSwitch(keys::kMusicSwitch, music_play_selected_);
  if (save.failed()) {
    if (view_) view_->ShowSaveFailure(save.error());
    return;
  }
  KeepPlacesOfChangedSlots();
  opened_ = slots_;
  Close();
}

void SettingsDialogModel::KeepPlacesOfChangedSlots() {
  // Read only when a slot changed: a save that changes none reads and writes nothing beyond its
  // own writes.
  std::optional<ExtendedSettings> extended;
  std::optional<SplitMixRandom> clock_random;
  for (int b = 1; b <= keys::kBoxCount; ++b) {
    for (int s = 1; s <= keys::kSlotsPerBox; ++s) {
      const std::string& path = slots_[Index(b, s)];
      if (path == opened_[Index(b, s)]) continue;
      if (!extended) extended = ReadExtendedSettings(settings_);
      if (!random_ && !clock_random) clock_random.emplace(static_cast<std::uint64_t>(std::time(nullptr)));
      RandomSource& random = random_ ? *random_ : *clock_random;
      KeepPlaceOfChangedSlot(settings_, {files_, *decoder_, *extended, random}, b, s, path);
    }
  }
}

void SettingsDialogModel::CancelButtonClick() { Close(); }

void SettingsDialogModel::Close() {
  FormClose();
  if (view_) view_->CloseWindow();
}

void SettingsDialogModel::FormClose() {
  if (!view_) return;
  const Point origin = view_->WindowOrigin();
  settings_.Write(keys::kSetupX, origin.x);
  settings_.Write(keys::kSetupY, origin.y);
}

PatternDetailDialog SettingsDialogModel::NoImageRegFileDSaveButtonClick() const {
  return pattern2_selected_ ? PatternDetailDialog::kPattern2 : PatternDetailDialog::kPattern1;
}

void SettingsDialogModel::BoxImageButtonClick(int box) {
  if (!ValidBox(box) || !view_) return;
  const std::string& current = slots_[Index(box, current_slot(box))];
  // With an empty slot the dialog starts where its last use left it.
  if (!current.empty()) initial_folder_[box - 1] = std::string(FolderOf(current));
  const std::optional<std::string> chosen = view_->ChoosePictureFile(box, initial_folder_[box - 1]);
  if (!chosen || chosen->empty()) return;
  // A folder keeps the dialog's spelling: its name is shown to the user as it stands.
  const bool folder = !files_.FileExists(*chosen) && files_.FolderExists(*chosen);
  slots_[Index(box, current_slot(box))] = folder ? *chosen : LowerCase(*chosen);
  ShowSlot(box, current_slot(box), OnFailure::kReport);
}

void SettingsDialogModel::BoxClearButtonClick(int box) {
  if (!ValidBox(box)) return;
  slots_[Index(box, current_slot(box))].clear();
  MoveOn(box);
  if (view_) view_->ClearBoxPicture(box);
}

void SettingsDialogModel::BoxTabControlChange(int box, int slot) {
  if (!ValidBox(box) || slot < 1 || slot > keys::kSlotsPerBox) return;
  current_slot_[box - 1] = slot;
  ShowSlot(box, slot, OnFailure::kReport);
}

void SettingsDialogModel::BoxDragDrop(int box, DragSource source, std::string_view folder,
                                      std::optional<std::string_view> selected_item) {
  if (!ValidBox(box) || source != DragSource::kFileList || !selected_item) return;
  const std::string name = LowerCase(*selected_item);
  // The folder keeps its case; one backslash joins it to the name, also at a drive root.
  const std::string path = JoinPath(folder, name);
  slots_[Index(box, current_slot(box))] = path;
  MoveOn(box);
  LoadBoxPreview(box, path, OnFailure::kIgnore);
}

void SettingsDialogModel::BoxFolderDragDrop(int box, std::string_view folder) {
  if (!ValidBox(box) || folder.empty()) return;
  slots_[Index(box, current_slot(box))] = std::string(folder);
  ShowSlot(box, current_slot(box), OnFailure::kIgnore);
}

void SettingsDialogModel::ScrSetUpFileListBoxClick(std::string_view folder,
                                                   std::optional<std::string_view> selected_item) {
  if (!view_) return;
  const std::string lower = selected_item ? LowerCase(JoinPath(folder, *selected_item)) : std::string();
  Preview preview = LoadPreview(files_, *decoder_, lower, kFilePreviewDesign, false, view_->DotsPerInch());
  switch (preview.status) {
    case PreviewStatus::kShown:
      view_->ShowFilePreview(preview.placement, std::move(preview.picture));
      break;
    case PreviewStatus::kNoPicture:
      view_->ClearFilePreview();
      break;
    case PreviewStatus::kFailed:
      view_->ShowPictureError(lower, preview.message);
      break;
  }
}

}  // namespace tessmoor
