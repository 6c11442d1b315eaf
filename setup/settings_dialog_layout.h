#pragma once
#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/dialog_layout.h"

// The settings dialog `TScrSetUpForm` as its window builds it.
namespace tessmoor {

enum class SettingsRole {
  kActionGroup,
  kPattern1Radio,
  kPattern2Radio,
  kPatternDetailButton,  // opens the detail dialog of the selected pattern
  kMusicGroup,
  kMusicPlayRadio,
  kMusicStopRadio,
  kMusicDetailButton,  // opens the music dialog
  kSaveButton,
  kCancelButton,
  // One of each per box; the index is the box 1..4. The picture, label and buttons sit inside
  // the box's tab control.
  kBoxTabControl,
  kBoxPicture,  // drop target for the file list
  kBoxLabel,
  kBoxOpenButton,
  kBoxClearButton,
  // The file browser in the left column.
  kDriveList,    // choosing a drive moves the folder list to it
  kFolderList,   // its current folder drives the file list
  kFileList,     // single selection, mask kPictureFileMask, a drag source
  kFilePreview,
};

const FormDesign& SettingsDialogForm();
// Parents come before their children.
const std::vector<ControlDesign<SettingsRole>>& SettingsDialogControls();

// The menu bar's items: the extended settings, then the version dialog. In a Win32 menu "&&"
// shows one ampersand.
inline constexpr std::string_view kExtendedMenuCaption = "拡張設定";
inline constexpr std::string_view kHelpMenuCaption = "ヘルプ&&バージョン";

// The caption of the tab of slot 1..12: "No.1" .. "No.12". Every tab control starts on slot 1.
std::string BoxTabCaption(int slot);

// Box 3's picture also enlarges pictures smaller than its control.
inline bool BoxPictureEnlarges(int box) { return box == 3; }

inline constexpr std::string_view kPictureFileMask = "*.jpg;*.jpeg;*.bmp";

struct FileFilter {
  std::string_view description;
  std::string_view pattern;
};

// The open-picture dialog's button, under its picture pane, that takes the folder it shows.
inline constexpr std::string_view kChooseFolderCaption = "このフォルダーを選ぶ";

// An open-picture dialog's filter built for the decoders at hand.
struct OwnedFileFilter {
  std::string description;
  std::string pattern;
};

// The file list's mask for a decoder's extensions (lower-cased, dot included): JPEG and BMP first
// as ever, then the others in order: "*.jpg;*.jpeg;*.bmp;*.gif;*.png".
std::string PictureFileMask(const std::vector<std::string>& extensions);

// The open-picture dialogs' filters for a decoder's extensions: every picture first (as
// PictureFileMask), then those of kPictureFileFilters the decoder takes, then one per other
// format: "PNG イメージファイル (*.png)".
std::vector<OwnedFileFilter> PictureFileFilters(const std::vector<std::string>& extensions);

// What a box's folder mark says: "123 枚", or "… 枚" while the folder is still being counted.
std::string FolderMarkCaption(std::optional<std::size_t> pictures);

// The filter list of the open-picture dialogs with the portable decoders alone, in the order they
// offer it.
inline constexpr std::array<FileFilter, 4> kPictureFileFilters{{
    {"すべてのファイル (*.jpg;*.jpeg;*.bmp)", "*.jpg;*.jpeg;*.bmp"},
    {"JPEG イメージファイル (*.jpg)", "*.jpg"},
    {"JPEG イメージファイル (*.jpeg)", "*.jpeg"},
    {"ビットマップ (*.bmp)", "*.bmp"},
}};

}  // namespace tessmoor
