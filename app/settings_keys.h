#pragma once
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The table of every persistent setting: its key, its first-run value and how it is read.
namespace tessmoor {

// The show pattern key's values: "1" the slide show, "2" the picture windows. Any other text
// starts no show at all.
enum class ShowPattern { kPattern1, kPattern2, kOther };
ShowPattern PatternOf(std::string_view text);
std::string_view PatternText(ShowPattern pattern);  // "1" or "2"; kOther has no text ("")

// A pattern-2 motion mode: "1" top left, "2" top right, "3" bottom left, "4" bottom right,
// "5" bounce. Any other text keeps the item still where it was put first.
enum class Motion { kTopLeft, kTopRight, kBottomLeft, kBottomRight, kBounce, kStill };
Motion MotionOf(std::string_view text);

namespace keys {

enum class KeyType {
  kChoice,  // compared as exact text: pattern, modes, flags
  kNumber,  // integer text
  kPath,    // a full file path or the empty string
  kState,   // kept by the show for itself: shown by no dialog, never written by a read
};

// The numbers the dialogs offer for a kNumber key. The show uses a stored number outside it as
// it stands; a dialog shows and saves it clamped.
struct NumberRange {
  int min = std::numeric_limits<int>::min();
  int max = std::numeric_limits<int>::max();
};

// A kChoice key that switches something on or off: the texts the dialogs write for either
// state, and what any other stored text means.
struct SwitchTexts {
  std::string_view on;
  std::string_view off;
  bool other_is_on = false;
};

struct KeyDef {
  std::string name;
  // Written when the key is not set, and used in place of a damaged number.
  std::string first_run;
  KeyType type;
  NumberRange range;
  std::optional<SwitchTexts> switch_texts;
};

inline constexpr int kBoxCount = 4;
inline constexpr int kSlotsPerBox = 12;
inline constexpr int kWindowCount = 4;
inline constexpr int kMusicSlots = 5;

inline constexpr std::string_view kPattern = "ScrActionRegSelectNoFlag";
inline constexpr std::string_view kDetailMode = "ScrActionRegSelectNo1FlagDetail";
inline constexpr std::string_view kSlideInterval = "ScrActionRegSelectNo1FlagTimer";
inline constexpr std::string_view kSlideScale = "ScrActionRegSelectNo1FlagScale";
inline constexpr std::string_view kMusicSwitch = "MusicPlayStop";
inline constexpr std::string_view kSetupX = "ScreenSetUpPointRegXFlag";
inline constexpr std::string_view kSetupY = "ScreenSetUpPointRegYFlag";
inline constexpr std::string_view kDetailX = "ScreenDetailSetUpPointRegXFlag";
inline constexpr std::string_view kDetailY = "ScreenDetailSetUpPointRegYFlag";

// The extended settings (拡張設定), each with a first-run value that keeps the behaviour the show
// had before the setting existed.
// "1": every monitor runs a slide show of its own; "0": the monitors beside the primary stay black.
inline constexpr std::string_view kEveryMonitor = "ScrActionRegSelectEveryMonitorFlag";
// "1": a slot that names a folder takes the pictures of its subfolders too; "0": its own only.
inline constexpr std::string_view kFolderSubfolders = "ImageRegFolderSubFlag";
// "1": a folder's pictures in name order; "2": shuffled, every picture once before any repeats.
inline constexpr std::string_view kFolderOrder = "ImageRegFolderOrderFlag";

// Numbered keys; arguments are 1-based (box 1..4, slot 1..12, window 1..4, music slot 1..5).
std::string ImagePath(int box, int slot);
std::string Pattern1BoxUse(int box);
std::string Pattern2BoxUse(int box);
std::string MotionMode(int window);
std::string WindowSpeed(int window);
std::string WindowScale(int window);
std::string MusicPath(int slot);
std::string MusicPlayFlag(int slot);

// All 90 keys: pattern, pictures, pattern 1, pattern 2, music, positions (87 keys), then the
// extended settings.
const std::vector<KeyDef>& AllKeys();

// Kept state beside the settings: values the show writes for itself, which no dialog shows. The
// settings dialog's save writes them only for a slot whose path it changes, so that the show
// starts it as it should (setup/save_writes.h: KeepPlaceOfChangedSlot).
// Read them with Settings::Peek, which writes nothing: a value that was never written, or that
// has been damaged, only means that nothing has been kept. First-run value: the empty text.
// The place of folder slot (box, slot) in its folder's order (show/folder_order_state.h),
// written after every picture the slot shows: "ImageRegNo<b>BoxNo<s>FolderPlace".
std::string FolderPlace(int box, int slot);
// The 48 FolderPlace keys, box-major.
const std::vector<KeyDef>& StateKeys();

// The entry for `name` in either table, or nullptr for a name that is neither.
const KeyDef* Find(std::string_view name);

}  // namespace keys
}  // namespace tessmoor
