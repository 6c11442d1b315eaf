// The walk of a folder slot's folder: which files are the show's pictures, and why no folder can
// make the walk endless.
#include "show/folder_pictures.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>

#include "tests/support/fakes.h"
#include "tests/support/tag_decoder.h"

namespace tessmoor {
namespace {

using ::testing::UnorderedElementsAre;
using testing::FakeFileSystem;
using testing::TagDecoder;

const BuiltInPictureDecoder& JpegAndBmp() {
  static const BuiltInPictureDecoder decoder;
  return decoder;
}

FakeFileSystem Library() {
  FakeFileSystem files;
  files.AddFolder("C:\\Photos\\2023\\Kyoto");
  files.AddFolder("C:\\Photos\\Empty");
  files.Add("C:\\Photos\\sea.JPG");
  files.Add("C:\\Photos\\hill.bmp");
  files.Add("C:\\Photos\\notes.txt");
  files.Add("C:\\Photos\\scan.png");
  files.Add("C:\\Photos\\Thumbs.db");
  files.Add("C:\\Photos\\2023\\river.jpeg");
  files.Add("C:\\Photos\\2023\\Kyoto\\temple.jpg");
  return files;
}

TEST(FolderPictures, TakesTheFilesTheDecoderAcceptsWithTheirSubfoldersAsRelativePaths) {
  FakeFileSystem files = Library();
  EXPECT_THAT(*ListFolderPictures(files, "C:\\Photos", true, JpegAndBmp()),
              UnorderedElementsAre("sea.JPG", "hill.bmp", "2023\\river.jpeg", "2023\\Kyoto\\temple.jpg"));
  EXPECT_THAT(*ListFolderPictures(files, "C:\\Photos\\", false, JpegAndBmp()),
              UnorderedElementsAre("sea.JPG", "hill.bmp"));
  // Another decoder, other pictures: the list comes from its extensions.
  const TagDecoder png_only({".png"});
  EXPECT_THAT(*ListFolderPictures(files, "C:\\Photos", true, png_only), UnorderedElementsAre("scan.png"));
}

TEST(FolderPictures, LeavesOutHiddenFilesAndFoldersAndPassesOverSubfoldersThatCannotBeListed) {
  FakeFileSystem files = Library();
  files.Add("C:\\Photos\\secret.jpg");
  files.Hide("C:\\Photos\\secret.jpg");
  files.Hide("C:\\Photos\\2023\\Kyoto");
  files.AddFolder("C:\\Photos\\Locked");
  files.Add("C:\\Photos\\Locked\\a.jpg");
  files.MakeUnlistable("C:\\Photos\\Locked");
  EXPECT_THAT(*ListFolderPictures(files, "C:\\Photos", true, JpegAndBmp()),
              UnorderedElementsAre("sea.JPG", "hill.bmp", "2023\\river.jpeg"));
}

TEST(FolderPictures, FolderThatCannotBeListedGivesNothingAndAnEmptyOneNoPictures) {
  FakeFileSystem files = Library();
  EXPECT_FALSE(ListFolderPictures(files, "C:\\Gone", true, JpegAndBmp()).has_value());
  EXPECT_FALSE(ListFolderPictures(files, "", true, JpegAndBmp()).has_value());
  files.MakeUnlistable("C:\\Photos");
  EXPECT_FALSE(ListFolderPictures(files, "C:\\Photos", true, JpegAndBmp()).has_value());
  EXPECT_THAT(*ListFolderPictures(files, "C:\\Photos\\Empty", true, JpegAndBmp()), ::testing::IsEmpty());
}

TEST(FolderPictures, NamesInAnyScriptArePassedOnByteForByte) {
  FakeFileSystem files;
  const std::vector<std::string> names = {"京都\\金閣寺.jpg", "Москва\\Кремль.JPG", "Ελλάδα.bmp", "😀 smile.jpeg",
                                          "مرحبا.jpg", "한국\\서울.jpg"};
  for (const std::string& name : names) {
    const std::string path = "D:\\写真\\" + name;
    files.AddFolder(path.substr(0, path.find_last_of('\\')));
    files.Add(path);
  }
  std::vector<std::string> listed = *ListFolderPictures(files, "D:\\写真", true, JpegAndBmp());
  std::vector<std::string> expected = names;
  std::sort(listed.begin(), listed.end());
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(listed, expected);
}

// A folder "C:\\Loop" whose subfolders "back" (and "again") lead to itself: every path below it,
// however deep, lists what the folder itself lists, as a link or junction to an ancestor does.
class LoopingFiles : public testing::ForwardingFileSystem {
 public:
  explicit LoopingFiles(FakeFileSystem& files) : ForwardingFileSystem(files) {}
  std::optional<std::vector<FolderEntry>> ListFolder(std::string_view path) override {
    ++listings;
    std::string p(path);
    for (const char* link : {"\\back", "\\again"})
      for (std::size_t at; (at = p.find(link)) != std::string::npos;) p.erase(at, std::string(link).size());
    return ForwardingFileSystem::ListFolder(p);
  }
  int listings = 0;
};

TEST(FolderPictures, LinksThatLoopBackEndTheWalkWithEachPictureListedOnce) {
  FakeFileSystem files;
  files.AddFolder("C:\\Loop\\back");
  files.AddFolder("C:\\Loop\\again");
  files.AddFolder("C:\\Loop\\real");
  files.Add("C:\\Loop\\a.jpg");
  files.Add("C:\\Loop\\real\\b.jpg");
  LoopingFiles looping(files);
  const std::vector<std::string> listed = *ListFolderPictures(looping, "C:\\Loop", true, JpegAndBmp());
  EXPECT_THAT(listed, UnorderedElementsAre("a.jpg", "real\\b.jpg"));
  EXPECT_LE(looping.listings, 4);
}

TEST(FolderPictures, SameNamedFolderNestedInItselfIsStillWalked) {
  FakeFileSystem files;
  files.AddFolder("C:\\Trip\\Trip\\Day1");
  files.Add("C:\\Trip\\Trip\\Day1\\a.jpg");
  EXPECT_THAT(*ListFolderPictures(files, "C:\\Trip", true, JpegAndBmp()), UnorderedElementsAre("Trip\\Day1\\a.jpg"));
}

TEST(FolderPictures, WalkStopsSixtyFourFoldersDeep) {
  FakeFileSystem files;
  std::string path = "C:\\Deep";
  for (int depth = 1; depth <= 70; ++depth) {
    path += "\\d" + std::to_string(depth);
    files.AddFolder(path);
    files.Add(path + "\\p.jpg");
  }
  const std::vector<std::string> listed = *ListFolderPictures(files, "C:\\Deep", true, JpegAndBmp());
  EXPECT_EQ(listed.size(), static_cast<std::size_t>(kMaxFolderDepth));
}

TEST(FolderPictures, StopEndsTheWalkWithNothing) {
  FakeFileSystem files = Library();
  const std::atomic<bool> stop{true};
  EXPECT_FALSE(ListFolderPictures(files, "C:\\Photos", true, JpegAndBmp(), &stop).has_value());
}

TEST(FolderSummary, CountsThePicturesAndNamesTheFirstInNameOrder) {
  FakeFileSystem files;
  files.AddFolder("C:\\Album\\sub");
  for (const char* name : {"img10.jpg", "img2.jpg", "IMG3.bmp", "readme.txt"}) files.Add(std::string("C:\\Album\\") + name);
  files.Add("C:\\Album\\sub\\img1.jpg");
  const FolderSummary with = *SummarizeFolder(files, "C:\\Album", true, JpegAndBmp());
  EXPECT_EQ(with.pictures, 4u);
  EXPECT_EQ(with.first, "C:\\Album\\img2.jpg");  // the folder's own files before its subfolders'
  const FolderSummary without = *SummarizeFolder(files, "C:\\Album", false, JpegAndBmp());
  EXPECT_EQ(without.pictures, 3u);
  files.AddFolder("C:\\Nothing");
  EXPECT_EQ(SummarizeFolder(files, "C:\\Nothing", true, JpegAndBmp())->first, "");
  EXPECT_FALSE(SummarizeFolder(files, "C:\\Gone", true, JpegAndBmp()).has_value());
}

}  // namespace
}  // namespace tessmoor
