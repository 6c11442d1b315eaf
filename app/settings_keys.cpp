#include "app/settings_keys.h"

#include <algorithm>
#include <string>
#include <unordered_map>

namespace tessmoor::keys {

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
std::string MusicPath(int slot) { return "MusicNo" + std::to_string(slot); }
std::string MusicPlayFlag(int slot) { return "MusicPlayStopNo" + std::to_string(slot); }

namespace {

std::vector<KeySpec> BuildTable() {
  std::vector<KeySpec> t;
  auto add = [&t](std::string name, std::string first_run, KeyType type) {
    t.push_back({std::move(name), std::move(first_run), type});
  };
  add(std::string(kPattern), "1", KeyType::kChoice);
  for (int b = 1; b <= kBoxCount; ++b)
    for (int s = 1; s <= kSlotsPerBox; ++s) add(ImagePath(b, s), "", KeyType::kPath);
  add(std::string(kDetailMode), "1", KeyType::kChoice);
  add(std::string(kSlideInterval), "1500", KeyType::kNumber);
  add(std::string(kSlideScale), "50", KeyType::kNumber);
  for (int b = 1; b <= kBoxCount; ++b) add(Pattern1BoxUse(b), "1", KeyType::kChoice);
  // Each window starts in a motion mode of its own: window n in mode n.
  for (int n = 1; n <= kWindowCount; ++n) add(MotionMode(n), std::to_string(n), KeyType::kChoice);
  for (int n = 1; n <= kWindowCount; ++n) add(WindowSpeed(n), "50", KeyType::kNumber);
  for (int n = 1; n <= kWindowCount; ++n) add(WindowScale(n), "50", KeyType::kNumber);
  for (int b = 1; b <= kBoxCount; ++b) add(Pattern2BoxUse(b), "1", KeyType::kChoice);
  add(std::string(kMusicSwitch), "1", KeyType::kChoice);
  for (int m = 1; m <= kMusicSlots; ++m) add(MusicPath(m), "", KeyType::kPath);
  for (int m = 1; m <= kMusicSlots; ++m) add(MusicPlayFlag(m), "1", KeyType::kChoice);
  add(std::string(kSetupX), "100", KeyType::kNumber);
  add(std::string(kSetupY), "100", KeyType::kNumber);
  add(std::string(kDetailX), "100", KeyType::kNumber);
  add(std::string(kDetailY), "100", KeyType::kNumber);
  return t;
}

}  // namespace

const std::vector<KeySpec>& AllKeys() {
  static const std::vector<KeySpec> table = BuildTable();
  return table;
}

const KeySpec* Find(std::string_view name) {
  static const std::unordered_map<std::string_view, const KeySpec*> index = [] {
    std::unordered_map<std::string_view, const KeySpec*> m;
    for (const KeySpec& k : AllKeys()) m.emplace(k.name, &k);
    return m;
  }();
  auto it = index.find(name);
  return it == index.end() ? nullptr : it->second;
}

}  // namespace tessmoor::keys
