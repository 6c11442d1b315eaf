// One folder slot's pictures one at a time, on the calling thread: the order, the kept place, and
// every fault a folder can have.
#include "show/folder_picker.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <set>

#include "tests/support/fakes.h"
#include "tests/support/tag_decoder.h"

namespace tessmoor {
namespace {

using testing::FakeFileSystem;
using testing::TagDecoder;
using testing::TagFile;
using testing::TagOf;

constexpr const char* kFolder = "C:\\Album";

std::string PathOf(int id) { return std::string(kFolder) + "\\p" + std::to_string(id) + ".jpg"; }

// A folder of pictures p1.jpg .. pN.jpg, each carrying its number.
struct Rig {
  explicit Rig(int count, FolderOrderKind order = FolderOrderKind::kByName, std::string place = "") {
    files.AddFolder(kFolder);
    for (int id = 1; id <= count; ++id) files.Add(PathOf(id), TagFile(id));
    setup = {kFolder, true, order, std::move(place), {}};
  }
  FolderPicker& Picker() {
    if (!picker) picker = std::make_unique<FolderPicker>(files, decoder, setup, 7);
    return *picker;
  }
  // Picks and shows `count` pictures; their ids, -1 for "none".
  std::vector<int> Show(int count) {
    std::vector<int> ids;
    for (int i = 0; i < count; ++i) {
      std::optional<FolderPicker::Pick> pick = Picker().Next(hooks);
      ids.push_back(pick ? TagOf(pick->picture.get()) : -1);
      if (!pick) continue;
      last_place = pick->place;
      Picker().Shown(*pick);
    }
    return ids;
  }

  FakeFileSystem files;
  TagDecoder decoder;
  FolderPicker::Setup setup;
  FolderPicker::Hooks hooks;
  std::unique_ptr<FolderPicker> picker;
  std::string last_place;
};

TEST(FolderPicker, NameOrderShowsEveryPictureInTurnAndWrapsToTheFirst) {
  Rig rig(3);
  rig.files.Add(PathOf(10), TagFile(10));  // by value: p10 comes after p3
  EXPECT_EQ(rig.Show(6), (std::vector<int>{1, 2, 3, 10, 1, 2}));
}

TEST(FolderPicker, PictureIsTheSameUntilItHasBeenShown) {
  Rig rig(3);
  EXPECT_EQ(TagOf(rig.Picker().Next(rig.hooks)->picture.get()), 1);
  EXPECT_EQ(TagOf(rig.Picker().Next(rig.hooks)->picture.get()), 1);
}

TEST(FolderPicker, KeptPlaceCarriesOnInTheNextShowAndADamagedOneStartsAfresh) {
  Rig first(5);
  EXPECT_EQ(first.Show(2), (std::vector<int>{1, 2}));
  Rig next(5, FolderOrderKind::kByName, first.last_place);
  EXPECT_EQ(next.Show(2), (std::vector<int>{3, 4}));
  for (const char* damaged : {"1 N zz", "", "non", "9 N 0 0 0 0"}) {
    Rig fresh(5, FolderOrderKind::kByName, damaged);
    EXPECT_EQ(fresh.Show(1), (std::vector<int>{1})) << damaged;
  }
}

TEST(FolderPicker, ShuffledShowsEveryPictureOnceBeforeAnyComesBackAcrossShows) {
  std::string place;
  std::multiset<int> shown;
  // Three shows of three pictures each over a folder of nine: each picture exactly once.
  for (int show = 0; show < 3; ++show) {
    Rig rig(9, FolderOrderKind::kShuffled, place);
    for (int id : rig.Show(3)) shown.insert(id);
    place = rig.last_place;
  }
  EXPECT_EQ(shown, (std::multiset<int>{1, 2, 3, 4, 5, 6, 7, 8, 9}));
}

TEST(FolderKept, PlaceAndNextPictureRoundTripAndAnythingDamagedIsNoKeptValue) {
  Rig rig(3);
  rig.Show(1);
  const std::string place = rig.last_place;
  const std::optional<FolderPick> next = rig.Picker().Following(place);
  ASSERT_TRUE(next.has_value());
  const FolderKept kept{place, next};
  EXPECT_EQ(ParseFolderKept(FormatFolderKept(kept)), kept);
  EXPECT_EQ(ParseFolderKept(place), (FolderKept{place, std::nullopt}));
  EXPECT_EQ(ParseFolderKept("anything"), (FolderKept{"anything", std::nullopt}));  // a damaged place
  for (const std::string path : {"..\\secret.jpg", "a\\..\\b.jpg", "C:\\x.jpg", "\\x.jpg", "", "a\\\\b.jpg"})
    EXPECT_EQ(ParseFolderKept(place + "\n" + next->state + "\n" + path), FolderKept{}) << path;
  EXPECT_EQ(ParseFolderKept(place + "\n" + next->state), FolderKept{});
  EXPECT_EQ(ParseFolderKept(place + "\nnonsense\np2.jpg"), FolderKept{});
  EXPECT_EQ(ParseFolderKept(FormatFolderKept(kept) + "\n"), FolderKept{});
}

TEST(FolderPicker, FollowingIsWhatTheNextPickTakesAtTheEndOfACycleToo) {
  Rig rig(3, FolderOrderKind::kShuffled);
  // As the show does it: pick, list again if due, work out the following, show, pick again.
  std::optional<FolderPicker::Pick> pick = rig.Picker().Next(rig.hooks);
  for (int i = 0; i < 7; ++i) {
    ASSERT_TRUE(pick.has_value());
    rig.Picker().RelistIfDue(nullptr);
    const std::optional<FolderPick> following = rig.Picker().Following(pick->place);
    ASSERT_TRUE(following.has_value());
    rig.Picker().Shown(*pick);
    pick = rig.Picker().Next(rig.hooks);
    EXPECT_EQ(pick->path, following->path) << i;
  }
}

TEST(FolderPicker, KeptNextPictureIsShownFirstWithoutListingAndTheOrderGoesOnFromIt) {
  Rig first(5);
  EXPECT_EQ(first.Show(2), (std::vector<int>{1, 2}));
  const std::string kept = FormatFolderKept({first.last_place, first.Picker().Following(first.last_place)});
  Rig next(5, FolderOrderKind::kByName, kept);
  std::optional<FolderPicker::Pick> pick = next.Picker().Next(next.hooks);
  EXPECT_EQ(TagOf(pick->picture.get()), 3);
  EXPECT_EQ(next.files.listings(), 0);
  next.Picker().Shown(*pick);
  next.Picker().RelistIfDue(nullptr);
  EXPECT_EQ(next.files.listings(), 1);
  EXPECT_EQ(next.Show(3), (std::vector<int>{4, 5, 1}));
  // The kept next picture is gone: the folder is listed and the order goes on from the place.
  Rig gone(5, FolderOrderKind::kByName, kept);
  gone.files.Remove(PathOf(3));
  EXPECT_EQ(gone.Show(2), (std::vector<int>{4, 5}));
}

TEST(FolderPicker, FolderJustPutInASlotStartsOnItsFirstPictureWithoutListing) {
  SplitMixRandom random(3);
  std::vector<std::string> names;
  for (int id : {10, 2, 7}) names.push_back("p" + std::to_string(id) + ".jpg");
  const std::optional<std::string> kept = KeptForNewFolder(kFolder, names, FolderOrderKind::kByName, random);
  ASSERT_TRUE(kept.has_value());
  EXPECT_EQ(ParseFolderKept(*kept).place, "");
  Rig rig(0, FolderOrderKind::kByName, *kept);
  for (int id : {2, 7, 10}) rig.files.Add(PathOf(id), TagFile(id));
  EXPECT_EQ(rig.Show(1), (std::vector<int>{2}));
  EXPECT_EQ(rig.files.listings(), 0);
  rig.Picker().RelistIfDue(nullptr);
  EXPECT_EQ(rig.Show(3), (std::vector<int>{7, 10, 2}));
  EXPECT_FALSE(KeptForNewFolder(kFolder, {}, FolderOrderKind::kShuffled, random).has_value());
}

TEST(FolderPicker, FileDeletedAfterTheListingIsPassedOverAndTheFolderListedAgainOnce) {
  Rig rig(4);
  EXPECT_EQ(rig.Show(1), (std::vector<int>{1}));
  const int listings = rig.files.listings();
  rig.files.Remove(PathOf(2));
  EXPECT_EQ(rig.Show(3), (std::vector<int>{3, 4, 1}));
  EXPECT_EQ(rig.files.listings(), listings + 1);
}

TEST(FolderPicker, UndecodableAndUnreadableFilesAmongGoodOnesAreNeverShown) {
  Rig rig(6);
  rig.files.Add(PathOf(2), {'n', 'o', 'p', 'e'});
  rig.files.Add(PathOf(5), std::vector<std::uint8_t>(10, 0));
  const std::vector<int> ids = rig.Show(8);
  EXPECT_EQ(ids, (std::vector<int>{1, 3, 4, 6, 1, 3, 4, 6}));
}

TEST(FolderPicker, FolderWithoutAGoodPictureHasNoneAfterReadingEachAtMostTwiceOver) {
  Rig rig(0);
  EXPECT_EQ(rig.Show(1), (std::vector<int>{-1}));  // empty
  Rig bad(50);
  for (int id = 1; id <= 50; ++id) bad.files.Add(PathOf(id), {'x'});
  bad.files.Add(std::string(kFolder) + "\\notes.txt", TagFile(99));  // not a picture by its name
  EXPECT_EQ(bad.Show(1), (std::vector<int>{-1}));
  EXPECT_LE(bad.decoder.decodes(), 2 * 50 + 2);
  EXPECT_EQ(bad.files.listings(), 2);  // listed once more before giving up
  Rig gone(3);
  gone.files.RemoveTree(kFolder);
  EXPECT_EQ(gone.Show(1), (std::vector<int>{-1}));
}

TEST(FolderPicker, FolderThatVanishesOrIsEmptiedDuringTheShowEndsWithoutAPicture) {
  Rig vanish(3);
  EXPECT_EQ(vanish.Show(1), (std::vector<int>{1}));
  vanish.files.RemoveTree(kFolder);
  EXPECT_EQ(vanish.Show(2), (std::vector<int>{-1, -1}));
  Rig emptied(3);
  EXPECT_EQ(emptied.Show(1), (std::vector<int>{1}));
  for (int id = 1; id <= 3; ++id) emptied.files.Remove(PathOf(id));
  EXPECT_EQ(emptied.Show(1), (std::vector<int>{-1}));
}

TEST(FolderPicker, PicturesAddedDuringTheShowJoinAfterARound) {
  Rig rig(2);
  EXPECT_EQ(rig.Show(2), (std::vector<int>{1, 2}));
  rig.files.Add(PathOf(3), TagFile(3));
  rig.Picker().RelistIfDue(nullptr);  // a whole round shown: listed again
  EXPECT_EQ(rig.Show(2), (std::vector<int>{3, 1}));
}

TEST(FolderPicker, TellsEachStepAndStopsWhenAsked) {
  Rig rig(2);
  std::vector<FolderPicker::Step> steps;
  rig.hooks.step = [&](FolderPicker::Step s) { steps.push_back(s); };
  rig.Show(1);
  using S = FolderPicker::Step;
  EXPECT_EQ(steps, (std::vector<S>{S::kListing, S::kReading, S::kDecoding}));
  const std::atomic<bool> stop{true};
  rig.hooks.stop = &stop;
  EXPECT_FALSE(rig.Picker().Next(rig.hooks).has_value());
}

TEST(FolderPicker, HundredThousandPicturesAreTakenInNameOrder) {
  Rig rig(0);
  for (int id = 1; id <= 100000; ++id) rig.files.Add(PathOf(id), TagFile(id));
  EXPECT_EQ(rig.Show(3), (std::vector<int>{1, 2, 3}));
  EXPECT_EQ(rig.Picker().listed(), 100000u);
}

}  // namespace
}  // namespace tessmoor
