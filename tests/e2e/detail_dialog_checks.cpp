#include "tests/e2e/detail_dialog_checks.h"

#include <gtest/gtest.h>

namespace tessmoor::e2e {

std::wstring Value(const std::wstring& name) { return registry::Read(name).value_or(L"<absent>"); }

std::wstring P1BoxKey(int b) { return Key(L"ImageRegForm1No", b, L"BoxScrSetUpFormTabControlCheckBoxReg"); }
std::wstring ModeKey(int n) { return Key(L"ScrNo2ActionRegSelectNo", n, L"FlagDetail"); }
std::wstring SpeedKey(int n) { return Key(L"ScrActionRegSelectTimerNo2FormNo", n, L"Flag"); }
std::wstring SizeKey(int n) { return Key(L"ScrActionRegSelectScaleNo2FormNo", n, L"Flag"); }
std::wstring UseKey(int n) { return Key(L"ImageRegForm2No", n, L"BoxScrSetUpFormTabControlCheckBoxReg"); }

void ExpectPattern1Shows(const Pattern1DetailDriver& dialog, int mode, int timer, int scale,
                         std::array<bool, 4> boxes) {
  for (int m = 1; m <= 4; ++m) EXPECT_EQ(dialog.ModeChecked(m), m == mode) << "mode " << m;
  EXPECT_EQ(dialog.Timer(), timer);
  EXPECT_EQ(dialog.Scale(), scale);
  EXPECT_EQ(dialog.ScaleLabel(), std::to_wstring(scale));
  for (int b = 1; b <= 4; ++b) EXPECT_EQ(dialog.BoxChecked(b), boxes[b - 1]) << "box " << b;
}

void ExpectPattern2Shows(const Pattern2DetailDriver& dialog, const std::array<Pattern2Group, 4>& groups) {
  for (int n = 1; n <= 4; ++n) {
    const Pattern2Group& g = groups[n - 1];
    for (int k = 1; k <= 5; ++k)
      EXPECT_EQ(dialog.ModeChecked(n, k), k == g.mode) << "window " << n << " mode " << k;
    EXPECT_EQ(dialog.Speed(n), g.speed) << "window " << n;
    EXPECT_EQ(dialog.Size(n), g.size) << "window " << n;
    EXPECT_EQ(dialog.SizeLabel(n), std::to_wstring(g.size)) << "window " << n;
    EXPECT_EQ(dialog.Used(n), g.use) << "window " << n;
  }
}

}  // namespace tessmoor::e2e
