#include "app/settings_keys.h"

#include <algorithm>
#include <string>
#include <unordered_map>

namespace tessmoor {

ShowPattern PatternOf(std::string_view text) {
  if (text == "1") return ShowPattern::kPattern1;
  if (text == "2") return ShowPattern::kPattern2;
  return ShowPattern::kOther;
}

std::string_view PatternText(ShowPattern pattern) {
  switch (pattern) {
    case ShowPattern::kPattern1: return "1";
    case ShowPattern::kPattern2: return "2";
    case ShowPattern::kOther: break;
  }
  return "";
}

Motion MotionOf(std::string_view text) {
  if (text == "1") return Motion::kTopLeft;
  if (text == "2") return Motion::kTopRight;
  if (text == "3") return Motion::kBottomLeft;
  if (text == "4") return Motion::kBottomRight;
  if (text == "5") return Motion::kBounce;
  return Motion::kStill;
}

namespace keys {

std::string ImagePath(int box, int slot) {
  return "ImageRegNo" + std::to_string(box) + "BoxNo" + std::to_string(slot) + "ImagePass";
}
std::string Pattern1BoxUse(int box) {
  return "ImageRegForm1No" + std::to_string(box) + "BoxScrSetUpFormTabControlCheckBoxReg";
}
std::string Pattern2BoxUse(int box) {
  return "ImageRegForm2No" + std::to_string(box) + "BoxScrSetUpFormTabControlCheckBoxReg";
}
std::string MotionMode(int window) {
  return "ScrNo2ActionRegSelectNo" + std::to_string(window) + "FlagDetail";
}
std::string WindowSpeed(int window) {
  return "ScrActionRegSelectTimerNo2FormNo" + std::to_string(window) + "Flag";
}
std::string WindowScale(int window) {
  return "ScrActionRegSelectScaleNo2FormNo" + std::to_string(window) + "Flag";
}
std::string FolderPlace(int box, int slot) {
  return "ImageRegNo" + std::to_string(box) + "BoxNo" + std::to_string(slot) + "FolderPlace";
}
std::string MusicPath(int slot) { return "MusicNo" + std::to_string(slot); }
std::string MusicPlayFlag(int slot) { return "MusicPlayStopNo" + std::to_string(slot); }

namespace {

// Pattern 1 takes pictures only from a box whose text is exactly "1"; a pattern-2 window stops
// only for "0". Music plays, and a music slot takes its turn, unless the text is "1".
constexpr SwitchTexts kPattern1Use{"1", "0", false};
constexpr SwitchTexts kPattern2Use{"1", "0", true};
constexpr SwitchTexts kPlayUnlessOne{"0", "1", true};

std::vector<KeyDef> BuildTable() {
  std::vector<KeyDef> t;
  auto text = [&t](std::string name, std::string first_run, KeyType type) {
    t.push_back({std::move(name), std::move(first_run), type, {}, std::nullopt});
  };
  auto number = [&t](std::string name, std::string first_run, NumberRange range) {
    t.push_back({std::move(name), std::move(first_run), KeyType::kNumber, range, std::nullopt});
  };
  auto on_off = [&t](std::string name, std::string first_run, SwitchTexts texts) {
    t.push_back({std::move(name), std::move(first_run), KeyType::kChoice, {}, texts});
  };
  text(std::string(kPattern), "1", KeyType::kChoice);
  for (int b = 1; b <= kBoxCount; ++b)
    for (int s = 1; s <= kSlotsPerBox; ++s) text(ImagePath(b, s), "", KeyType::kPath);
  text(std::string(kDetailMode), "1", KeyType::kChoice);
  number(std::string(kSlideInterval), "1500", {500, 5000});
  number(std::string(kSlideScale), "50", {1, 150});
  for (int b = 1; b <= kBoxCount; ++b) on_off(Pattern1BoxUse(b), "1", kPattern1Use);
  // Each window starts in a motion mode of its own: window n in mode n.
  for (int n = 1; n <= kWindowCount; ++n) text(MotionMode(n), std::to_string(n), KeyType::kChoice);
  for (int n = 1; n <= kWindowCount; ++n) number(WindowSpeed(n), "50", {1, 300});
  for (int n = 1; n <= kWindowCount; ++n) number(WindowScale(n), "50", {1, 100});
  for (int b = 1; b <= kBoxCount; ++b) on_off(Pattern2BoxUse(b), "1", kPattern2Use);
  on_off(std::string(kMusicSwitch), "1", kPlayUnlessOne);
  for (int m = 1; m <= kMusicSlots; ++m) text(MusicPath(m), "", KeyType::kPath);
  for (int m = 1; m <= kMusicSlots; ++m) on_off(MusicPlayFlag(m), "1", kPlayUnlessOne);
  // Screen pixels: any number, negative ones left of or above the primary monitor.
  number(std::string(kSetupX), "100", {});
  number(std::string(kSetupY), "100", {});
  number(std::string(kDetailX), "100", {});
  number(std::string(kDetailY), "100", {});
  // A damaged text counts as the first-run value: the monitors beside the primary stay black, a
  // folder takes its subfolders, and its pictures come shuffled.
  on_off(std::string(kEveryMonitor), "0", {"1", "0", false});
  on_off(std::string(kFolderSubfolders), "1", {"1", "0", true});
  text(std::string(kFolderOrder), "2", KeyType::kChoice);
  return t;
}

}  // namespace

const std::vector<KeyDef>& AllKeys() {
  static const std::vector<KeyDef> table = BuildTable();
  return table;
}

const std::vector<KeyDef>& StateKeys() {
  static const std::vector<KeyDef> table = [] {
    std::vector<KeyDef> t;
    for (int b = 1; b <= kBoxCount; ++b)
      for (int s = 1; s <= kSlotsPerBox; ++s) t.push_back({FolderPlace(b, s), "", KeyType::kState, {}, std::nullopt});
    return t;
  }();
  return table;
}

const KeyDef* Find(std::string_view name) {
  static const std::unordered_map<std::string_view, const KeyDef*> index = [] {
    std::unordered_map<std::string_view, const KeyDef*> m;
    for (const KeyDef& k : AllKeys()) m.emplace(k.name, &k);
    for (const KeyDef& k : StateKeys()) m.emplace(k.name, &k);
    return m;
  }();
  auto it = index.find(name);
  return it == index.end() ? nullptr : it->second;
}

}  // namespace keys
}  // namespace tessmoor
