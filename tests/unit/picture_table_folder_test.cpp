// Slots that name a folder, in the picture table: a different picture at each showing, the place
// kept between shows, and every fault of a folder turned into a passed-over showing or an empty
// slot.
#include <gtest/gtest.h>

#include <set>

#include "app/settings_keys.h"
#include "show/folder_kept.h"
#include "show/picture_table.h"
#include "tests/support/fakes.h"
#include "tests/support/scripted_files.h"
#include "tests/support/tag_decoder.h"

namespace tessmoor {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
using testing::FakeFileSystem;
using testing::MemoryStore;
using testing::ScriptedFiles;
using testing::TagDecoder;
using testing::TagFile;
using testing::TagOf;

constexpr const char* kAlbum = "C:\\Album";

std::string InAlbum(int id, const char* extension = ".jpg") {
  return std::string(kAlbum) + "\\p" + std::to_string(id) + extension;
}

// One store that several shows run on, one after the other; a folder of pictures p1..pN.
struct Shows {
  explicit Shows(int pictures, const char* order = "1") : files(fake) {
    fake.AddFolder(kAlbum);
    for (int id = 1; id <= pictures; ++id) fake.Add(InAlbum(id), TagFile(id));
    store.Set(std::string(keys::kPattern), "1");
    store.Set(std::string(keys::kFolderOrder), order);
    store.Set(keys::ImagePath(1, 1), kAlbum);
  }
  // A new show: settings read and the table built, as the show window does.
  PictureTable& Start(std::chrono::milliseconds wait = 2s) {
    table.reset();
    show = ReadShowSettings(settings);
    PicturePipeline pipeline;
    pipeline.decoder = decoder;
    pipeline.random = &random;
    pipeline.folder_wait = wait;
    table = std::make_unique<PictureTable>(settings, files, show, PictureTable::Options{{}, 2}, pipeline);
    return *table;
  }
  int TakeId(int box = 1, int slot = 1) { return TagOf(table->Take(box, slot).get()); }

  MemoryStore store;
  Settings settings{store};
  FakeFileSystem fake;
  ScriptedFiles files;
  std::shared_ptr<TagDecoder> decoder = std::make_shared<TagDecoder>();
  SplitMixRandom random{42};
  ShowSettings show;
  std::unique_ptr<PictureTable> table;  // last: its threads end before the files go
};

TEST(PictureTableFolder, FolderSlotKeepsItsPathAndTheFolderSettingsAreReadWithoutWritingAPlace) {
  Shows shows(3);
  shows.store.ClearWrites();
  PictureTable& table = shows.Start();
  EXPECT_EQ(table.Path(1, 1), kAlbum);
  EXPECT_EQ(table.usable_count(1), 1);
  EXPECT_TRUE(shows.show.box_use[0]);
  EXPECT_TRUE(table.Present(1, 1));
  EXPECT_TRUE(table.BoxHasPicture(1));
  std::vector<std::string> written = shows.store.WrittenKeys();
  ASSERT_GE(written.size(), 1u);
  EXPECT_EQ(written.back(), std::string(keys::kFolderSubfolders));  // its first-run value; the order was set
  EXPECT_EQ(shows.store.Get(std::string(keys::kFolderSubfolders)), "1");
  for (const std::string& key : written) EXPECT_EQ(key.find("FolderPlace"), std::string::npos) << key;
}

TEST(PictureTableFolder, EachTakeShowsTheNextPictureAndWritesThePlace) {
  Shows shows(3);
  PictureTable& table = shows.Start();
  EXPECT_EQ(TagOf(table.PictureAt(1, 1)), 1);
  EXPECT_EQ(TagOf(table.PictureAt(1, 1)), 1);  // asking takes nothing
  std::vector<int> shown;
  for (int i = 0; i < 4; ++i) {
    shown.push_back(shows.TakeId());
    ASSERT_TRUE(ParseFolderOrderState(ParseFolderKept(*shows.store.Get(keys::FolderPlace(1, 1))).place));
    // Once the next picture is known, at the take or soon after, it is kept with the place.
    table.WaitAll();
    table.Collect();
    const FolderKept kept = ParseFolderKept(*shows.store.Get(keys::FolderPlace(1, 1)));
    EXPECT_EQ(ParseFolderOrderState(kept.place)->kind(), FolderOrderKind::kByName);
    ASSERT_TRUE(kept.next.has_value()) << i;
    EXPECT_EQ(kept.next->path, (std::vector<std::string>{"p2.jpg", "p3.jpg", "p1.jpg", "p2.jpg"}[i])) << i;
  }
  EXPECT_EQ(shown, (std::vector<int>{1, 2, 3, 1}));
}

TEST(PictureTableFolder, NextShowGoesOnFromTheKeptPlaceAndADamagedPlaceStartsAfresh) {
  Shows shows(5);
  shows.Start();
  EXPECT_EQ(shows.TakeId(), 1);
  EXPECT_EQ(shows.TakeId(), 2);
  shows.Start();
  EXPECT_EQ(shows.TakeId(), 3);
  shows.store.Set(keys::FolderPlace(1, 1), "1 N garbage");
  const std::map<std::string, std::string> before = shows.store.values();
  shows.Start();
  EXPECT_EQ(shows.TakeId(), 1);
  std::map<std::string, std::string> after = shows.store.values();
  after.erase(keys::FolderPlace(1, 1));
  std::map<std::string, std::string> expected = before;
  expected.erase(keys::FolderPlace(1, 1));
  EXPECT_EQ(after, expected);
}

TEST(PictureTableFolder, ShowAfterAnotherStartsOnTheKeptNextPictureBeforeTheFolderIsListed) {
  Shows shows(4, "2");
  PictureTable& first = shows.Start();
  const int shown = shows.TakeId();
  first.WaitAll();
  first.Collect();
  const std::optional<FolderPick> next = ParseFolderKept(*shows.store.Get(keys::FolderPlace(1, 1))).next;
  ASSERT_TRUE(next.has_value());
  shows.files.Hold(kAlbum, ScriptedFiles::Calls::kListings);
  const int listings = shows.files.listings();
  PictureTable& second = shows.Start(1s);
  const int started_on = TagOf(second.PictureAt(1, 1));
  EXPECT_NE(started_on, -1) << "the first picture waited for the listing";
  EXPECT_EQ("p" + std::to_string(started_on) + ".jpg", next->path);
  EXPECT_NE(started_on, shown);
  EXPECT_EQ(shows.files.listings(), listings);
  shows.files.ReleaseAll();
  EXPECT_EQ(shows.TakeId(), started_on);
  second.WaitAll();
  std::set<int> cycle{shown, started_on, shows.TakeId()};
  second.WaitAll();
  cycle.insert(shows.TakeId());
  EXPECT_EQ(cycle, (std::set<int>{1, 2, 3, 4}));  // the shuffled cycle goes on across the shows
}

TEST(PictureTableFolder, ShuffledFolderStartsEachNewShowOnAPictureNotYetShown) {
  Shows shows(6, "2");
  std::set<int> firsts;
  for (int show = 0; show < 6; ++show) {
    shows.Start();
    firsts.insert(shows.TakeId());
  }
  EXPECT_EQ(firsts, (std::set<int>{1, 2, 3, 4, 5, 6}));
}

TEST(PictureTableFolder, DecoderDecidesWhichFilesAreTheShowsPictures) {
  Shows shows(2);
  shows.decoder = std::make_shared<TagDecoder>(std::vector<std::string>{".png"});
  shows.fake.Add(InAlbum(7, ".png"), TagFile(7));
  shows.fake.Add("C:\\scan.png", TagFile(8));
  shows.store.Set(keys::ImagePath(1, 2), "C:\\scan.png");
  PictureTable& table = shows.Start();
  EXPECT_EQ(shows.TakeId(), 7);
  EXPECT_EQ(shows.TakeId(), 7);  // the .jpg files are not pictures to this decoder
  EXPECT_EQ(TagOf(table.PictureAt(1, 2)), 8);  // and a file slot of its kind is decoded
}

TEST(PictureTableFolder, FolderWithoutPicturesIsAnEmptySlotAndItsBoxIsSwitchedOff) {
  Shows shows(0);
  shows.store.Set(std::string(keys::kPattern), "2");
  shows.fake.Add(std::string(kAlbum) + "\\notes.txt", TagFile(1));
  PictureTable& table = shows.Start();
  EXPECT_TRUE(shows.show.box_use[0]);  // an existing folder: in use until it turns out empty
  table.WaitAll();
  EXPECT_EQ(table.Collect(), std::vector<int>{1});
  EXPECT_FALSE(shows.show.box_use[0]);
  EXPECT_FALSE(shows.show.window_timers[0].running());
  EXPECT_EQ(table.Path(1, 1), "");
  EXPECT_FALSE(table.Present(1, 1));
  EXPECT_FALSE(table.BoxHasPicture(1));
  EXPECT_EQ(shows.store.Get(keys::ImagePath(1, 1)), kAlbum);
}

TEST(PictureTableFolder, FolderThatVanishesDuringTheShowBecomesAnEmptySlot) {
  Shows shows(3);
  shows.store.Set(keys::ImagePath(1, 2), InAlbum(2));  // a file slot in the same folder
  PictureTable& table = shows.Start();
  EXPECT_EQ(shows.TakeId(), 1);
  ASSERT_EQ(TagOf(table.PictureAt(1, 2)), 2);
  shows.files.Change([](FakeFileSystem& f) { f.RemoveTree(kAlbum); });
  // The picture decoded ahead may still be shown; then the folder is found gone.
  for (int i = 0; i < 3 && !table.Path(1, 1).empty(); ++i) shows.TakeId();
  EXPECT_EQ(table.PictureAt(1, 1), nullptr);
  EXPECT_EQ(table.Path(1, 1), "");
  EXPECT_FALSE(table.Present(1, 1));
  EXPECT_EQ(TagOf(table.PictureAt(1, 2)), 2);  // decoded before: the file slot keeps its picture
}

TEST(PictureTableFolder, FileListedAndDeletedBeforeItIsReadIsPassedOver) {
  Shows shows(3);
  bool deleted = false;
  shows.files.BeforeRead([&](const std::string& path) {
    if (path != InAlbum(1) || deleted) return;
    deleted = true;
    shows.files.Change([&](FakeFileSystem& f) { f.Remove(path); });
  });
  shows.Start();
  EXPECT_EQ(shows.TakeId(), 2);
  EXPECT_EQ(shows.TakeId(), 3);
  EXPECT_EQ(shows.TakeId(), 2);
}

TEST(PictureTableFolder, SlowFolderIsPassedOverForTheShowingWithoutHoldingUpAnotherSlot) {
  Shows shows(2);
  shows.fake.Add("C:\\sea.jpg", TagFile(50));
  shows.store.Set(keys::ImagePath(1, 2), "C:\\sea.jpg");
  shows.files.Hold(kAlbum);
  PictureTable& table = shows.Start(100ms);
  const Clock::time_point start = Clock::now();
  EXPECT_EQ(TagOf(table.PictureAt(1, 2)), 50);
  EXPECT_EQ(table.PictureAt(1, 1), nullptr);
  EXPECT_EQ(table.Take(1, 1), nullptr);
  EXPECT_LT(Clock::now() - start, 600ms);
  EXPECT_EQ(table.Path(1, 1), kAlbum);  // passed over for this showing only
  EXPECT_TRUE(table.Present(1, 1));
  EXPECT_TRUE(table.BoxHasPicture(1));
  EXPECT_TRUE(table.Collect().empty());
  // The show ends while the folder still does not answer: the table goes at once.
  const Clock::time_point end = Clock::now();
  shows.table.reset();
  EXPECT_LT(Clock::now() - end, 1s);
  shows.files.ReleaseAll();
  EXPECT_TRUE(shows.files.WaitIdle(5s));
}

TEST(PictureTableFolder, FolderSlotHoldsOnePictureDecodedAheadWhateverTheFolderHolds) {
  for (int pictures : {10, 2000}) {
    Shows shows(pictures);
    PictureTable& table = shows.Start();
    table.WaitAll();
    std::this_thread::sleep_for(30ms);
    EXPECT_EQ(shows.decoder->decodes(), 1) << pictures;
    EXPECT_EQ(table.PictureBytes(), 2u * 8) << pictures;  // one 2 x 2 picture, rows of 8 bytes
    shows.TakeId();
    table.WaitAll();
    EXPECT_EQ(shows.decoder->decodes(), 2) << pictures;
  }
}

}  // namespace
}  // namespace tessmoor
