#include "setup/settings_dialog_layout.h"

#include <algorithm>

#include "platform/image/picture_decoder.h"

namespace tessmoor {

namespace {

using R = SettingsRole;
using K = ControlKind;
using Control = ControlDesign<SettingsRole>;

// Radio buttons and labels have only a position in the design; their sizes here fit their
// captions at 12 pixels without reaching the next control.
std::vector<Control> BuildControls() {
  std::vector<Control> c = {
      {"GroupBox1", K::kGroupBox, R::kActionGroup, 0, 0, "", 160, 8, 249, 89, "動作"},
      {"No1ScrActionRadioButton", K::kRadioButton, R::kPattern1Radio, 0, 0, "GroupBox1", 8, 16, 73, 17,
       "パターン 1", 1},
      {"No2ScrActionRadioButton", K::kRadioButton, R::kPattern2Radio, 0, 0, "GroupBox1", 88, 16, 73, 17,
       "パターン２", 1},
      {"NoImageRegFileDSaveButton", K::kButton, R::kPatternDetailButton, 0, 0, "GroupBox1", 168, 56, 65, 25,
       "詳細設定"},
      {"MusicGroupBox", K::kGroupBox, R::kMusicGroup, 0, 0, "", 416, 8, 121, 89, "音楽"},
      {"MusicPlaySetRadioButton", K::kRadioButton, R::kMusicPlayRadio, 0, 0, "MusicGroupBox", 8, 24, 49, 17,
       "再生", 2},
      {"MusicStopSetRadioButton", K::kRadioButton, R::kMusicStopRadio, 0, 0, "MusicGroupBox", 64, 24, 49, 17,
       "停止", 2},
      {"MusicRegFileDSaveButton", K::kButton, R::kMusicDetailButton, 0, 0, "MusicGroupBox", 40, 56, 65, 25,
       "詳細設定"},
      {"NoImageRegFileSaveButton", K::kButton, R::kSaveButton, 0, 0, "", 544, 8, 73, 25, "設定を保存"},
      {"CancelButton", K::kButton, R::kCancelButton, 0, 0, "", 544, 40, 73, 25, "キャンセル"},
  };

  struct BoxNames {
    std::string_view tab, picture, label, label_caption, open, clear;
    int x, y;
  };
  static constexpr BoxNames kBoxes[4] = {
      {"ImageRegNo1BoxScrSetUpFormTabControl", "ImageRegNo1BoxScrSetUpFormTabControlNoImage", "Label1",
       "No.1 Tab", "ImageRegNo1BoxScrSetUpFormTabControlNoImageButton",
       "ImageRegNo1BoxScrSetUpFormTabControlNoImageClearButton", 160, 104},
      {"ImageRegNo2BoxScrSetUpFormTabControl", "ImageRegNo2BoxScrSetUpFormTabControlNoImage", "Label2",
       "No.2 Tab", "ImageRegNo2BoxScrSetUpFormTabControlNoImageButton",
       "ImageRegNo2BoxScrSetUpFormTabControlNoImageClearButton", 392, 104},
      {"ImageRegNo3BoxScrSetUpFormTabControl", "ImageRegNo3BoxScrSetUpFormTabControlNoImage", "Label3",
       "No.3 Tab", "ImageRegNo3BoxScrSetUpFormTabControlNoImageButton",
       "ImageRegNo3BoxScrSetUpFormTabControlNoImageClearButton", 160, 280},
      {"ImageRegNo4BoxScrSetUpFormTabControl", "ImageRegNo4BoxScrSetUpFormTabControlNoImage", "Label4",
       "No.4 Tab", "ImageRegNo4BoxScrSetUpFormTabControlNoImageButton",
       "ImageRegNo4BoxScrSetUpFormTabControlNoImageClearButton", 392, 280},
  };
  for (int b = 1; b <= 4; ++b) {
    const BoxNames& n = kBoxes[b - 1];
    c.push_back({n.tab, K::kTabControl, R::kBoxTabControl, b, 0, "", n.x, n.y, 225, 169});
    c.push_back({n.picture, K::kPicture, R::kBoxPicture, b, 0, n.tab, 8, 24, 137, 137});
    c.push_back({n.label, K::kLabel, R::kBoxLabel, b, 0, n.tab, 168, 24, 48, 12, n.label_caption});
    c.push_back({n.open, K::kButton, R::kBoxOpenButton, b, 0, n.tab, 176, 40, 33, 25, "開く"});
    c.push_back({n.clear, K::kButton, R::kBoxClearButton, b, 0, n.tab, 176, 72, 33, 25, "消去"});
  }

  c.push_back({"ScrSetUpDriveComboBox", K::kDriveList, R::kDriveList, 0, 0, "", 8, 16, 145, 20});
  c.push_back({"ScrSetUpDirectoryListBox", K::kFolderList, R::kFolderList, 0, 0, "", 8, 40, 145, 161});
  c.push_back({"ScrSetUpFileListBox", K::kFileList, R::kFileList, 0, 0, "", 8, 208, 145, 137});
  c.push_back({"ScrSetUpPreviewImage", K::kPicture, R::kFilePreview, 0, 0, "", 8, 352, 97, 97});
  return c;
}

}  // namespace

const FormDesign& SettingsDialogForm() {
  static const FormDesign form{"TScrSetUpForm", "設定", 638, 510, 390, 176, TitleButtons::kSystemMenuOnly,
                             false};
  return form;
}

const std::vector<ControlDesign<SettingsRole>>& SettingsDialogControls() {
  static const std::vector<Control> controls = BuildControls();
  return controls;
}

std::string BoxTabCaption(int slot) { return "No." + std::to_string(slot); }

namespace {

// Lower-cased extensions as the built-in ones are listed first: ".jpg", ".jpeg", ".bmp".
std::vector<std::string> MaskOrder(const std::vector<std::string>& extensions) {
  std::vector<std::string> ordered;
  for (std::string_view first : {".jpg", ".jpeg", ".bmp"})
    if (std::find(extensions.begin(), extensions.end(), first) != extensions.end()) ordered.emplace_back(first);
  for (const std::string& e : extensions)
    if (std::find(ordered.begin(), ordered.end(), e) == ordered.end()) ordered.push_back(e);
  return ordered;
}

}  // namespace

std::string PictureFileMask(const std::vector<std::string>& extensions) {
  return ExtensionPatterns(MaskOrder(extensions));
}

std::vector<OwnedFileFilter> PictureFileFilters(const std::vector<std::string>& extensions) {
  const std::string all = PictureFileMask(extensions);
  std::vector<OwnedFileFilter> filters{{"すべてのファイル (" + all + ")", all}};
  std::vector<std::string> named;
  for (const FileFilter& f : kPictureFileFilters) {
    if (f.pattern.find(';') != std::string_view::npos) continue;
    const std::string extension(f.pattern.substr(1));
    if (std::find(extensions.begin(), extensions.end(), extension) == extensions.end()) continue;
    filters.push_back({std::string(f.description), std::string(f.pattern)});
    named.push_back(extension);
  }
  for (const std::string& e : MaskOrder(extensions)) {
    if (std::find(named.begin(), named.end(), e) != named.end()) continue;
    std::string format = e.substr(1);
    std::transform(format.begin(), format.end(), format.begin(),
                   [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; });
    filters.push_back({format + " イメージファイル (*" + e + ")", "*" + e});
  }
  return filters;
}

std::string FolderMarkCaption(std::optional<std::size_t> pictures) {
  return (pictures ? std::to_string(*pictures) : std::string("…")) + " 枚";
}

}  // namespace tessmoor
