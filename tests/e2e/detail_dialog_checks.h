#pragma once
#include <array>
#include <string>

#include "tests/e2e/detail_dialog_driver.h"

// What the detail dialogs show and the settings they keep, shared by their tests.
namespace tessmoor::e2e {

// A setting as the store holds it, "<absent>" when it holds none.
std::wstring Value(const std::wstring& name);

// The pattern-1 keys: its boxes b = 1..4.
std::wstring P1BoxKey(int b);
// The pattern-2 keys of window n = 1..4.
std::wstring ModeKey(int n);
std::wstring SpeedKey(int n);
std::wstring SizeKey(int n);
std::wstring UseKey(int n);

// The pattern-1 dialog shows this mode, timer, scale (on its bar and its label) and these boxes.
void ExpectPattern1Shows(const Pattern1DetailDriver& dialog, int mode, int timer, int scale,
                         std::array<bool, 4> boxes);

// What one window's group of the pattern-2 dialog shows.
struct Pattern2Group {
  int mode;  // 0: none selected
  int speed;
  int size;
  bool use;
};

inline constexpr std::array<Pattern2Group, 4> kPattern2FirstRun{
    {{1, 50, 50, true}, {2, 50, 50, true}, {3, 50, 50, true}, {4, 50, 50, true}}};

void ExpectPattern2Shows(const Pattern2DetailDriver& dialog, const std::array<Pattern2Group, 4>& groups);

}  // namespace tessmoor::e2e
