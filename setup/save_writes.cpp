#include "setup/save_writes.h"

#include "app/settings_keys.h"
#include "show/folder_kept.h"
#include "show/folder_pictures.h"

namespace tessmoor {

void SaveWrites::Keep(WriteResult result) {
  if (!result) error_ = result.error;
}

void SaveWrites::Write(std::string_view key, std::string_view value) {
  if (!failed()) Keep(settings_.Write(key, value));
}

void SaveWrites::Write(std::string_view key, int value) {
  if (!failed()) Keep(settings_.Write(key, value));
}

void SaveWrites::WriteSwitch(std::string_view key, bool on) {
  if (!failed()) Keep(settings_.WriteSwitch(key, on));
}

void KeepPlaceOfChangedSlot(Settings& settings, const KeptPlaceSources& sources, int box, int slot,
                            std::string_view path) {
  std::string kept;
  if (!path.empty() && !sources.files.FileExists(path) && sources.files.FolderExists(path)) {
    std::optional<std::vector<std::string>> pictures =
        ListFolderPictures(sources.files, path, sources.extended.folder_subfolders, sources.decoder);
    const FolderOrderKind order =
        sources.extended.folder_name_order ? FolderOrderKind::kByName : FolderOrderKind::kShuffled;
    if (pictures) kept = KeptForNewFolder(path, std::move(*pictures), order, sources.random).value_or("");
  }
  const std::string key = keys::FolderPlace(box, slot);
  if (kept.empty()) {
    const std::string before = settings.Peek(key);
    if (before == kNotSet || before.empty()) return;
  }
  settings.Write(key, kept);
}

std::string SaveFailureText(std::uint32_t error, std::string_view system_text) {
  // The system ends its messages with a line break, sometimes with blanks before it.
  while (!system_text.empty() &&
         (system_text.back() == '\r' || system_text.back() == '\n' || system_text.back() == ' '))
    system_text.remove_suffix(1);
  std::string text = "設定を保存できませんでした。\n\n";
  text += system_text.empty() ? std::string_view("設定をレジストリに書き込めませんでした。") : system_text;
  text += "\n（エラー番号 " + std::to_string(error) + "）";
  return text;
}

}  // namespace tessmoor
