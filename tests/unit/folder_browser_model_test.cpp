#include "setup/folder_browser_model.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/fakes.h"

namespace tessmoor {
namespace {

using testing::FakeFileSystem;
using Outcome = FolderBrowserModel::Outcome;

constexpr const char* kMask = "*.jpg;*.jpeg;*.bmp";

TEST(RootLength, DriveRootsUncSharesAndRelativePaths) {
  EXPECT_EQ(RootLength("C:\\Photos"), 3u);
  EXPECT_EQ(RootLength("C:\\"), 3u);
  EXPECT_EQ(RootLength("C:"), 2u);
  EXPECT_EQ(RootLength("C:Photos"), 2u);
  EXPECT_EQ(RootLength("\\\\srv\\share\\pics"), 12u);
  EXPECT_EQ(RootLength("\\\\srv\\share"), 11u);
  EXPECT_EQ(RootLength("\\\\srv"), 5u);
  EXPECT_EQ(RootLength("Photos\\2024"), 0u);
  EXPECT_EQ(RootLength(""), 0u);
}

struct MaskCase {
  const char* name;
  const char* mask;
  bool matches;
};

class MaskTest : public ::testing::TestWithParam<MaskCase> {};

TEST_P(MaskTest, MatchesWildcardsWithoutRegardToCase) {
  const MaskCase& c = GetParam();
  EXPECT_EQ(MatchesMask(c.name, c.mask), c.matches) << c.name << " ~ " << c.mask;
}

INSTANTIATE_TEST_SUITE_P(
    Names, MaskTest,
    ::testing::Values(MaskCase{"sea.jpg", kMask, true}, MaskCase{"SEA.JPG", kMask, true},
                      MaskCase{"hill.JpEg", kMask, true}, MaskCase{"sky.bmp", kMask, true},
                      MaskCase{".jpg", kMask, true}, MaskCase{"写真.JPG", kMask, true},
                      MaskCase{"ÉTÉ.BMP", kMask, true}, MaskCase{"sea.png", kMask, false},
                      MaskCase{"sea.jpg.bak", kMask, false}, MaskCase{"sea.jpgx", kMask, false},
                      MaskCase{"jpg", kMask, false}, MaskCase{"sea.jp", kMask, false},
                      MaskCase{"a.bmp", "*.jpg; *.bmp", true}, MaskCase{"noext", "*.*", true},
                      MaskCase{"a.bmp", "?.bmp", true}, MaskCase{"写.bmp", "?.bmp", true},
                      MaskCase{"ab.bmp", "?.bmp", false}, MaskCase{"a.bmp", "", false},
                      MaskCase{"x-1-y.jpg", "*-*-*.jpg", true}, MaskCase{"x-1.jpg", "*-*-*.jpg", false}));

// A C: drive with pictures, a D: drive and a share.
FakeFileSystem PictureDrives() {
  FakeFileSystem files;
  files.AddDrive("C:\\", "System");
  files.AddDrive("D:\\");
  files.AddFolder("C:\\Photos\\2024\\Summer");
  files.AddFolder("C:\\Photos\\archive");
  files.AddFolder("C:\\Photos\\Beach");
  files.AddFolder("C:\\Photos\\.thumbs");
  files.Hide("C:\\Photos\\.thumbs");
  files.Add("C:\\Photos\\b.JPG");
  files.Add("C:\\Photos\\A.bmp");
  files.Add("C:\\Photos\\c.jpeg");
  files.Add("C:\\Photos\\notes.txt");
  files.Add("C:\\Photos\\desktop.jpg");
  files.Hide("C:\\Photos\\desktop.jpg");
  files.AddFolder("D:\\");
  files.AddFolder("\\\\srv\\share\\pics");
  files.Add("\\\\srv\\share\\pics\\s.jpg");
  return files;
}

class FolderBrowserTest : public ::testing::Test {
 protected:
  std::vector<std::string> RowNames() const {
    std::vector<std::string> names;
    for (const auto& row : model_.rows()) names.push_back(row.name + "/" + std::to_string(row.level) + (row.open ? "+" : ""));
    return names;
  }

  FakeFileSystem files_ = PictureDrives();
  FolderBrowserModel model_{files_, kMask};
};

TEST_F(FolderBrowserTest, DrivesShowTheirLetterInLowerCaseAndTheLabelOfThoseThatHaveOne) {
  ASSERT_EQ(model_.drives().size(), 2u);
  EXPECT_EQ(model_.drives()[0].root, "C:\\");
  EXPECT_EQ(model_.drives()[0].text, "c: [System]");
  EXPECT_EQ(model_.drives()[1].text, "d:");
  EXPECT_EQ(model_.drive_index(), -1);  // no folder yet
}

TEST_F(FolderBrowserTest, AFolderListsTheChainItsVisibleSubFoldersAndTheMatchingFilesSorted) {
  ASSERT_TRUE(model_.OpenFolder("C:\\Photos"));
  EXPECT_EQ(model_.folder(), "C:\\Photos");
  EXPECT_EQ(RowNames(), (std::vector<std::string>{"C:\\/0+", "Photos/1+", "2024/2", "archive/2", "Beach/2"}));
  EXPECT_EQ(model_.current_row(), 1);
  EXPECT_EQ(model_.files(), (std::vector<std::string>{"A.bmp", "b.JPG", "c.jpeg"}));
  EXPECT_EQ(model_.drive_index(), 0);
  EXPECT_EQ(model_.PathOf(0), "C:\\");
  EXPECT_EQ(model_.PathOf(1), "C:\\Photos");
  EXPECT_EQ(model_.PathOf(4), "C:\\Photos\\Beach");
}

TEST_F(FolderBrowserTest, ADriveRootKeepsItsBackslash) {
  ASSERT_TRUE(model_.OpenFolder("c:"));  // the current folder of C:, here its root
  EXPECT_EQ(model_.folder(), "C:\\");
  EXPECT_EQ(RowNames(), (std::vector<std::string>{"C:\\/0+", "Photos/1"}));
  EXPECT_EQ(model_.PathOf(1), "C:\\Photos");
  EXPECT_TRUE(model_.files().empty());
}

TEST_F(FolderBrowserTest, TrailingSeparatorsSlashesAndDotsAreNormalised) {
  for (const char* spelling : {"C:\\Photos\\2024\\\\", "c:/Photos/2024/", "C:\\Photos\\archive\\..\\.\\2024"}) {
    ASSERT_TRUE(model_.OpenFolder(spelling)) << spelling;
    EXPECT_EQ(model_.folder(), "C:\\Photos\\2024") << spelling;
    EXPECT_EQ(RowNames(), (std::vector<std::string>{"C:\\/0+", "Photos/1+", "2024/2+", "Summer/3"})) << spelling;
  }
}

TEST_F(FolderBrowserTest, ARelativePathIsTakenFromTheCurrentFolder) {
  files_.SetCurrentFolder("C:\\Photos");
  ASSERT_TRUE(model_.OpenFolder("2024\\Summer"));
  EXPECT_EQ(model_.folder(), "C:\\Photos\\2024\\Summer");
  EXPECT_EQ(model_.current_row(), 3);
}

TEST_F(FolderBrowserTest, AUncShareIsARootOfItsOwnWithoutADrive) {
  ASSERT_TRUE(model_.OpenFolder("\\\\srv\\share"));
  EXPECT_EQ(model_.folder(), "\\\\srv\\share\\");
  EXPECT_EQ(RowNames(), (std::vector<std::string>{"\\\\srv\\share\\/0+", "pics/1"}));
  ASSERT_TRUE(model_.OpenFolder("\\\\srv\\share\\pics\\"));
  EXPECT_EQ(model_.folder(), "\\\\srv\\share\\pics");
  EXPECT_EQ(model_.PathOf(0), "\\\\srv\\share\\");
  EXPECT_EQ(model_.files(), std::vector<std::string>{"s.jpg"});
  EXPECT_EQ(model_.drive_index(), -1);
}

TEST_F(FolderBrowserTest, WhatIsNoFolderChangesNothing) {
  ASSERT_TRUE(model_.OpenFolder("C:\\Photos"));
  for (const char* bad : {"", "C:\\Photos\\b.JPG", "C:\\Nowhere", "E:\\"}) {
    EXPECT_FALSE(model_.OpenFolder(bad)) << bad;
    EXPECT_EQ(model_.folder(), "C:\\Photos") << bad;
    EXPECT_EQ(model_.rows().size(), 5u) << bad;
  }
}

TEST_F(FolderBrowserTest, AFolderThatCannotBeListedOpensWithNothingBelowIt) {
  files_.MakeUnlistable("C:\\Photos\\archive");
  ASSERT_TRUE(model_.OpenFolder("C:\\Photos\\archive"));
  EXPECT_EQ(RowNames(), (std::vector<std::string>{"C:\\/0+", "Photos/1+", "archive/2+"}));
  EXPECT_TRUE(model_.files().empty());
}

TEST_F(FolderBrowserTest, RowsOpenUpwardsAndDownwardsButNotTheCurrentFolder) {
  ASSERT_TRUE(model_.OpenFolder("C:\\Photos\\2024"));
  EXPECT_EQ(model_.OpenRow(2), Outcome::kUnchanged);
  EXPECT_EQ(model_.OpenRow(-1), Outcome::kUnchanged);
  EXPECT_EQ(model_.OpenRow(4), Outcome::kUnchanged);
  EXPECT_EQ(model_.OpenRow(3), Outcome::kOpened);
  EXPECT_EQ(model_.folder(), "C:\\Photos\\2024\\Summer");
  EXPECT_EQ(model_.OpenRow(1), Outcome::kOpened);
  EXPECT_EQ(model_.folder(), "C:\\Photos");
  EXPECT_EQ(model_.OpenRow(0), Outcome::kOpened);
  EXPECT_EQ(model_.folder(), "C:\\");
}

TEST_F(FolderBrowserTest, ARowWhoseFolderHasGoneIsRefusedAndTheFolderStays) {
  ASSERT_TRUE(model_.OpenFolder("C:\\Photos"));
  files_.RemoveFolder("C:\\Photos\\Beach");
  EXPECT_EQ(model_.OpenRow(4), Outcome::kRefused);
  EXPECT_EQ(model_.folder(), "C:\\Photos");
  EXPECT_EQ(model_.rows().back().name, "Beach");
}

TEST_F(FolderBrowserTest, ChoosingADriveOpensItsCurrentFolderOrElseItsRoot) {
  ASSERT_TRUE(model_.OpenFolder("C:\\Photos"));
  EXPECT_EQ(model_.ChooseDrive(0), Outcome::kUnchanged);  // the drive it is on
  EXPECT_EQ(model_.ChooseDrive(2), Outcome::kUnchanged);
  EXPECT_EQ(model_.ChooseDrive(1), Outcome::kOpened);
  EXPECT_EQ(model_.folder(), "D:\\");
  EXPECT_EQ(model_.drive_index(), 1);
  files_.SetCurrentFolder("C:\\Photos\\2024");
  EXPECT_EQ(model_.ChooseDrive(0), Outcome::kOpened);
  EXPECT_EQ(model_.folder(), "C:\\Photos\\2024");
}

TEST_F(FolderBrowserTest, ADriveWithoutAMediumIsRefused) {
  files_.AddDrive("E:\\");
  FolderBrowserModel model(files_, kMask);
  ASSERT_TRUE(model.OpenFolder("C:\\Photos"));
  EXPECT_EQ(model.ChooseDrive(2), Outcome::kRefused);
  EXPECT_EQ(model.folder(), "C:\\Photos");
  EXPECT_EQ(model.drive_index(), 0);
}

// The model keeps the system's own order of names, whatever it is.
class ReversedNames : public testing::ForwardingFileSystem {
 public:
  using ForwardingFileSystem::ForwardingFileSystem;
  bool NameBefore(std::string_view a, std::string_view b) override { return ForwardingFileSystem::NameBefore(b, a); }
};

TEST_F(FolderBrowserTest, NamesAreSortedInTheSystemsOrder) {
  ReversedNames reversed(files_);
  FolderBrowserModel model(reversed, kMask);
  ASSERT_TRUE(model.OpenFolder("C:\\Photos"));
  EXPECT_EQ(model.files(), (std::vector<std::string>{"c.jpeg", "b.JPG", "A.bmp"}));
  EXPECT_EQ(model.rows()[2].name, "Beach");
}

}  // namespace
}  // namespace tessmoor
