#include "setup/version_dialog_model.h"

#include <gtest/gtest.h>

#include <set>
#include <tuple>

#include "tests/support/fake_dialog_views.h"

namespace tessmoor {
namespace {

using testing::FakeVersionDialogView;

struct HelpPathCase {
  std::string module;
  std::string help;
};

void PrintTo(const HelpPathCase& c, std::ostream* os) { *os << c.module; }

class HelpPath : public ::testing::TestWithParam<HelpPathCase> {};

TEST_P(HelpPath, IsTheLowerCasedHelpFileInTheModulesFolder) { EXPECT_EQ(HelpFilePath(GetParam().module), GetParam().help); }

INSTANTIATE_TEST_SUITE_P(
    Modules, HelpPath,
    ::testing::Values(HelpPathCase{"C:\\Windows\\System32\\Tessmoor.scr", "c:\\windows\\system32\\tessmoor.chm"},
                      HelpPathCase{"D:\\ツール\\Ｓａｖｅｒ\\TESSMOOR.SCR", "d:\\ツール\\ｓａｖｅｒ\\tessmoor.chm"},
                      HelpPathCase{"\\\\Server\\Share\\Tessmoor.scr", "\\\\server\\share\\tessmoor.chm"},
                      HelpPathCase{"E:\\Tessmoor.scr", "e:\\tessmoor.chm"},
                      HelpPathCase{"Tessmoor.scr", "tessmoor.chm"}));

TEST(VersionDialog, IsMadeTopMostWhenItOpens) {
  FakeVersionDialogView view;
  VersionDialogModel model("C:\\Windows\\System32\\Tessmoor.scr", view);
  EXPECT_EQ(view.log, (std::vector<std::string>{"TopMost"}));
}

TEST(VersionDialog, TheHelpButtonAsksTheShellToOpenTheHelpFile) {
  FakeVersionDialogView view;
  VersionDialogModel model("C:\\Windows\\System32\\Tessmoor.scr", view);
  model.HelpButtonClick();
  ASSERT_EQ(view.requests.size(), 1u);
  const ShellExecuteRequest& r = view.requests[0];
  EXPECT_EQ(r.mask, 0x40u);
  EXPECT_EQ(r.verb, "open");
  EXPECT_EQ(r.file, "c:\\windows\\system32\\tessmoor.chm");
  EXPECT_EQ(r.show_command, 1);
  model.HelpButtonClick();  // a second press asks again; nothing is remembered
  EXPECT_EQ(view.requests.size(), 2u);
}

TEST(VersionDialog, TheCloseButtonClosesTheWindowOnly) {
  FakeVersionDialogView view;
  VersionDialogModel model("C:\\x\\Tessmoor.scr", view);
  model.VerCloseButtonClick();
  EXPECT_EQ(view.log, (std::vector<std::string>{"TopMost", "Close"}));
  EXPECT_TRUE(view.requests.empty());
}

TEST(VersionDialog, ShowsTheProductTitleInBoldItalic) {
  const auto& controls = VersionDialogControls();
  const auto title = std::find_if(controls.begin(), controls.end(),
                                  [](const auto& c) { return c.role == VersionRole::kTitle; });
  ASSERT_NE(title, controls.end());
  EXPECT_EQ(title->caption, "Tessmoor Ver1.2.2");
  EXPECT_TRUE(title->font.bold);
  EXPECT_TRUE(title->font.italic);
  EXPECT_EQ(title->font.height_px, 15);
  EXPECT_EQ(VersionDialogForm().caption, "バージョン&ヘルプ");
  EXPECT_TRUE(VersionDialogForm().top_most);
}

TEST(VersionArtwork, IsA150By30PictureOfSeveralColours) {
  const Picture p = VersionArtwork();
  ASSERT_EQ(p.width, 150);
  ASSERT_EQ(p.height, 30);
  ASSERT_EQ(p.pixels.size(), static_cast<std::size_t>(p.stride()) * 30);
  std::set<std::tuple<int, int, int>> colours;
  for (int y = 0; y < p.height; ++y)
    for (int x = 0; x < p.width; ++x) {
      const std::uint8_t* px = p.pixels.data() + y * p.stride() + x * 3;
      colours.insert({px[0], px[1], px[2]});
    }
  EXPECT_GT(colours.size(), 8u);
  // The same picture every time: it stands in for one stored in the module.
  EXPECT_EQ(VersionArtwork().pixels, p.pixels);
}

}  // namespace
}  // namespace tessmoor
