#include "platform/text.h"

#include <gtest/gtest.h>

namespace tessmoor {
namespace {

TEST(LowerCase, LowersLatinLettersAndLeavesJapaneseAlone) {
  EXPECT_EQ(LowerCase("C:\\Photos\\A.JPG"), "c:\\photos\\a.jpg");
  EXPECT_EQ(LowerCase("D:\\写真\\ＡＢＣ旅行.Jpeg"), "d:\\写真\\ａｂｃ旅行.jpeg");
  EXPECT_EQ(LowerCase("ÄÖÜ ÉCOLE Ÿ Ł İ"), "äöü école ÿ ł i");
  EXPECT_EQ(LowerCase("ΑΘΗΝΑ МОСКВА"), "αθηνα москва");
  EXPECT_EQ(LowerCase("ｶﾒﾗ カメラ ×"), "ｶﾒﾗ カメラ ×");
}

TEST(LowerCase, CopiesBrokenUtf8Unchanged) {
  const std::string broken = std::string("A\xE3\x81") + "B";
  EXPECT_EQ(LowerCase(broken), std::string("a\xE3\x81") + "b");
}

TEST(FileExtension, IsTheTextFromTheLastDotOfTheName) {
  EXPECT_EQ(FileExtension("c:\\photos\\a.jpg"), ".jpg");
  EXPECT_EQ(FileExtension("c:\\photos.old\\a"), "");
  EXPECT_EQ(FileExtension("c:\\p\\a.tar.jpeg"), ".jpeg");
  EXPECT_EQ(FileExtension("c:\\p\\a."), ".");
  EXPECT_EQ(FileExtension(""), "");
}

TEST(Paths, FolderKeepsItsSeparatorAndJoinUsesExactlyOne) {
  EXPECT_EQ(FolderOf("C:\\Photos\\A.JPG"), "C:\\Photos\\");
  EXPECT_EQ(FolderOf("A.JPG"), "");
  EXPECT_EQ(JoinPath("E:\\", "beach.bmp"), "E:\\beach.bmp");
  EXPECT_EQ(JoinPath("E:\\Shots", "beach.bmp"), "E:\\Shots\\beach.bmp");
  EXPECT_EQ(JoinPath("E:\\Shots\\", "beach.bmp"), "E:\\Shots\\beach.bmp");
}

}  // namespace
}  // namespace tessmoor
