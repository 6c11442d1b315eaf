#pragma once
#include <string>
#include <string_view>
#include <vector>

// The table of every persistent setting: its key, its first-run value and how it is read.
namespace tessmoor::keys {

enum class KeyType {
  kChoice,  // compared as exact text: pattern, modes, flags
  kNumber,  // decimal integer text
  kPath,    // a full file path or the empty string
};

struct KeySpec {
  std::string name;
  std::string first_run;
  KeyType type;
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

// Numbered keys; arguments are 1-based (box 1..4, slot 1..12, window 1..4, music slot 1..5).
std::string ImagePath(int box, int slot);
std::string Pattern1BoxUse(int box);
std::string Pattern2BoxUse(int box);
std::string MotionMode(int window);
std::string WindowSpeed(int window);
std::string WindowScale(int window);
std::string MusicPath(int slot);
std::string MusicPlayFlag(int slot);

// All 87 keys, in the order of the settings table: pattern, pictures, pattern 1, pattern 2,
// music, positions.
const std::vector<KeySpec>& AllKeys();
// The entry for `name`, or nullptr for a name that is not a setting.
const KeySpec* Find(std::string_view name);

}  // namespace tessmoor::keys
