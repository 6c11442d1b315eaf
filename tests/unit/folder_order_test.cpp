#include "show/folder_order.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "platform/random.h"

namespace tessmoor {
namespace {

constexpr const char* kFolder = "D:\\写真\\旅行";

class CountingRandom final : public RandomSource {
 public:
  explicit CountingRandom(std::uint64_t seed) : random_(seed) {}
  std::int32_t Next31() override {
    ++calls;
    return random_.Next31();
  }
  int calls = 0;

 private:
  SplitMixRandom random_;
};

std::vector<std::string> Numbered(int count, const std::string& stem = "img") {
  std::vector<std::string> names;
  for (int i = 1; i <= count; ++i) names.push_back(stem + std::to_string(i) + ".jpg");
  return names;
}

// Picks `count` pictures in a row, the state of each passed to the next, the way the show keeps
// it in the registry between picks and between shows.
struct Walker {
  explicit Walker(FolderOrderKind kind) : order(kind) {}

  FolderOrderKind order;
  std::string state;
  CountingRandom random{42};
  std::string folder = kFolder;

  std::string Next(const FolderListing& listing) {
    const std::optional<FolderPick> pick = NextInFolder(folder, listing, order, state, random);
    if (!pick) return "<none>";
    state = pick->state;
    return pick->path;
  }
  std::vector<std::string> Walk(const FolderListing& listing, std::size_t count) {
    std::vector<std::string> shown;
    while (shown.size() < count) shown.push_back(Next(listing));
    return shown;
  }
};

std::uint64_t SeedOf(const std::string& state) {
  return std::get<ShuffledPlace>(ParseFolderOrderState(state)->place).seed;
}

TEST(FolderListing, SortsNaturallyAndDropsEmptyAndRepeatedPaths) {
  const FolderListing listing({"img10.jpg", "", "sub\\a.jpg", "img2.jpg", "img10.jpg", "Img1.jpg"});
  EXPECT_EQ(listing.paths(), (std::vector<std::string>{"Img1.jpg", "img2.jpg", "img10.jpg", "sub\\a.jpg"}));
}

TEST(FolderListing, KeepsTheOrderGivenWhenAskedAndStillDropsEmptyAndRepeatedPaths) {
  const FolderListing listing({"img10.jpg", "", "sub\\a.jpg", "img2.jpg", "img10.jpg", "Img1.jpg"},
                              FolderListing::Order::kAsGiven);
  EXPECT_EQ(listing.paths(), (std::vector<std::string>{"img10.jpg", "sub\\a.jpg", "img2.jpg", "Img1.jpg"}));
  EXPECT_EQ(listing[1], "sub\\a.jpg");
  EXPECT_EQ(listing.hash(1), NameHash("sub\\a.jpg"));
}

TEST(FolderOrder, ShuffledCyclesAreTheSameWhateverOrderTheListingKeeps) {
  const std::vector<std::string> names = Numbered(12);
  std::vector<std::string> reversed(names.rbegin(), names.rend());
  Walker natural{FolderOrderKind::kShuffled};
  Walker as_given{FolderOrderKind::kShuffled};
  EXPECT_EQ(natural.Walk(FolderListing(names), 30),
            as_given.Walk(FolderListing(reversed, FolderListing::Order::kAsGiven), 30));
}

TEST(FolderOrder, AnEmptyFolderGivesNothingInEitherOrder) {
  CountingRandom random(1);
  for (const FolderOrderKind order : {FolderOrderKind::kByName, FolderOrderKind::kShuffled}) {
    EXPECT_FALSE(NextInFolder(kFolder, FolderListing(), order, "", random));
    EXPECT_FALSE(NextInFolder(kFolder, FolderListing({"", ""}), order, "", random));
  }
}

TEST(FolderOrder, AFolderOfOnePictureRepeatsItInEitherOrder) {
  const FolderListing one({"only.png"});
  for (const FolderOrderKind order : {FolderOrderKind::kByName, FolderOrderKind::kShuffled}) {
    Walker walker{order};
    EXPECT_EQ(walker.Walk(one, 5), std::vector<std::string>(5, "only.png"));
  }
}

TEST(FolderOrderByName, WalksTheNaturalOrderAndWrapsToTheStart) {
  const FolderListing listing({"img10.jpg", "sub\\a.jpg", "img2.jpg", "IMG1.jpg"});
  Walker walker{FolderOrderKind::kByName};
  EXPECT_EQ(walker.Walk(listing, 6), (std::vector<std::string>{"IMG1.jpg", "img2.jpg", "img10.jpg", "sub\\a.jpg",
                                                               "IMG1.jpg", "img2.jpg"}));
  EXPECT_EQ(walker.random.calls, 0);
}

TEST(FolderOrderByName, CarriesOnAfterARestartWithTheFolderListedAgain) {
  std::vector<std::string> names = Numbered(20);
  Walker walker{FolderOrderKind::kByName};
  walker.Walk(FolderListing(names), 7);
  std::shuffle(names.begin(), names.end(), std::mt19937(5));
  EXPECT_EQ(walker.Walk(FolderListing(names), 2), (std::vector<std::string>{"img8.jpg", "img9.jpg"}));
}

TEST(FolderOrderByName, ReconcilesAChangedFolderWithoutStartingOver) {
  Walker walker{FolderOrderKind::kByName};
  walker.Walk(FolderListing(Numbered(10)), 4);  // up to img4
  const std::string at_img4 = walker.state;

  std::vector<std::string> names = Numbered(10);
  names.push_back("img4b.jpg");  // joins after the place
  names.push_back("img0.jpg");   // joins before it: comes after the wrap
  EXPECT_EQ(walker.Walk(FolderListing(names), 7),
            (std::vector<std::string>{"img4b.jpg", "img5.jpg", "img6.jpg", "img7.jpg", "img8.jpg", "img9.jpg", "img10.jpg"}));
  EXPECT_EQ(walker.Walk(FolderListing(names), 2), (std::vector<std::string>{"img0.jpg", "img1.jpg"}));

  names = Numbered(10);
  names.erase(names.begin() + 3);  // the picture shown last is gone: the one after it is next
  names.push_back("a.jpg");        // even with a picture more before the place
  walker.state = at_img4;
  EXPECT_EQ(walker.Next(FolderListing(names)), "img5.jpg");
  names.pop_back();

  names.erase(names.begin() + 3);  // and the one after it: the one now at its place
  walker.state = at_img4;
  EXPECT_EQ(walker.Next(FolderListing(names)), "img6.jpg");
  names.resize(3);  // the place is past the end now: back to the start
  walker.state = at_img4;
  EXPECT_EQ(walker.Next(FolderListing(names)), "img1.jpg");
}

class FolderOrderCycle : public ::testing::TestWithParam<int> {};

TEST_P(FolderOrderCycle, ShowsEveryPictureOnceBeforeAnyComesBack) {
  const int count = GetParam();
  const FolderListing listing(Numbered(count));
  Walker walker{FolderOrderKind::kShuffled};
  std::vector<std::vector<std::string>> cycles;
  for (int cycle = 0; cycle < 4; ++cycle) {
    std::vector<std::string> shown = walker.Walk(listing, static_cast<std::size_t>(count));
    if (!cycles.empty() && count > 1) {
      EXPECT_NE(shown.front(), cycles.back().back()) << "no picture twice in a row";
    }
    cycles.push_back(shown);
    std::sort(shown.begin(), shown.end());
    std::vector<std::string> all = listing.paths();
    std::sort(all.begin(), all.end());
    EXPECT_EQ(shown, all) << "cycle " << cycle;
  }
  if (count >= 10) {
    EXPECT_NE(cycles[0], cycles[1]);
    EXPECT_NE(cycles[1], cycles[2]);
    EXPECT_NE(cycles[0], std::vector<std::string>(listing.paths()));
  }
}

INSTANTIATE_TEST_SUITE_P(FolderSizes, FolderOrderCycle, ::testing::Values(1, 2, 3, 10, 500));

TEST(FolderOrderShuffled, DrawsRandomNumbersOnlyWhenACycleBegins) {
  const FolderListing listing(Numbered(30));
  Walker walker{FolderOrderKind::kShuffled};
  walker.Next(listing);
  const int per_cycle = walker.random.calls;
  EXPECT_GT(per_cycle, 0);
  walker.Walk(listing, 29);
  EXPECT_EQ(walker.random.calls, per_cycle);
  walker.Next(listing);
  EXPECT_GT(walker.random.calls, per_cycle);
}

TEST(FolderOrderShuffled, CarriesOnAcrossRestartsWithANewRandomSourceAndListing) {
  std::vector<std::string> names = Numbered(40);
  Walker walker{FolderOrderKind::kShuffled};
  std::set<std::string> cycle;
  for (int show = 0; show < 40; ++show) {
    std::shuffle(names.begin(), names.end(), std::mt19937(static_cast<std::uint32_t>(show)));
    walker.random = CountingRandom(static_cast<std::uint64_t>(show));
    EXPECT_TRUE(cycle.insert(walker.Next(FolderListing(names))).second) << "show " << show;
  }
}

TEST(FolderOrderShuffled, NewPicturesJoinTheCycleWhenTheirTurnIsStillToCome) {
  const FolderListing before(Numbered(20));
  Walker walker{FolderOrderKind::kShuffled};
  std::vector<std::string> shown = walker.Walk(before, 10);
  const auto place = std::get<ShuffledPlace>(ParseFolderOrderState(walker.state)->place);
  // One new picture whose key comes after the place, one whose key comes before it.
  std::string later, earlier;
  for (int i = 0; later.empty() || earlier.empty(); ++i) {
    const std::string name = "new" + std::to_string(i) + ".jpg";
    (ShuffleKey(place.seed, NameHash(name)) > place.shown_key ? later : earlier) = name;
  }
  std::vector<std::string> names = Numbered(20);
  names.push_back(later);
  names.push_back(earlier);
  const FolderListing after(names);
  std::vector<std::string> rest = walker.Walk(after, 11);
  EXPECT_NE(std::find(rest.begin(), rest.end(), later), rest.end());
  EXPECT_EQ(std::find(rest.begin(), rest.end(), earlier), rest.end());
  shown.insert(shown.end(), rest.begin(), rest.end());
  EXPECT_EQ(std::set<std::string>(shown.begin(), shown.end()).size(), 21u);
  EXPECT_EQ(SeedOf(walker.state), place.seed) << "still the first cycle";
  const std::vector<std::string> next_cycle = walker.Walk(after, 22);
  EXPECT_NE(SeedOf(walker.state), place.seed);
  EXPECT_EQ(std::set<std::string>(next_cycle.begin(), next_cycle.end()).size(), 22u);
}

TEST(FolderOrderShuffled, NeverRepeatsAPictureInACycleWhileTheFolderChanges) {
  // Pictures come and go between picks. Within a cycle nothing shows twice, and a cycle ends only
  // once every picture listed all through it has been shown.
  std::mt19937 random(17);
  std::set<std::string> listed;
  for (const std::string& name : Numbered(60)) listed.insert(name);
  int next_name = 61, cycles = 0;
  Walker walker{FolderOrderKind::kShuffled};
  std::set<std::string> shown, listed_throughout = listed;
  std::uint64_t seed = 0;
  for (int pick = 0; pick < 1500; ++pick) {
    if (random() % 3 == 0) listed.insert("img" + std::to_string(next_name++) + ".jpg");
    if (random() % 3 == 0 && listed.size() > 1) listed.erase(std::next(listed.begin(), random() % listed.size()));
    std::erase_if(listed_throughout, [&](const std::string& name) { return !listed.contains(name); });
    const std::string name = walker.Next(FolderListing({listed.begin(), listed.end()}));
    if (SeedOf(walker.state) != seed) {
      if (pick > 0) {
        ++cycles;
        for (const std::string& kept : listed_throughout) EXPECT_TRUE(shown.contains(kept)) << kept;
      }
      seed = SeedOf(walker.state);
      shown.clear();
      listed_throughout = listed;
    }
    EXPECT_TRUE(listed.contains(name));
    ASSERT_TRUE(shown.insert(name).second) << name << " twice in one cycle, pick " << pick;
  }
  EXPECT_GT(cycles, 5);
}

TEST(FolderOrder, StartsAFreshOrderForAnotherFolderOrTheOtherOrder) {
  const FolderListing listing(Numbered(12));
  for (const FolderOrderKind order : {FolderOrderKind::kByName, FolderOrderKind::kShuffled}) {
    Walker walker{order};
    walker.Walk(listing, 5);
    const std::string kept = walker.state;
    CountingRandom random(99);
    const auto fresh = NextInFolder(kFolder, listing, order, "", random);
    for (const char* renamed : {"D:\\写真\\旅行2", "D:\\写真", "E:\\写真\\旅行"}) {
      random = CountingRandom(99);
      const auto pick = NextInFolder(renamed, listing, order, kept, random);
      EXPECT_EQ(pick->path, fresh->path) << renamed;
    }
    random = CountingRandom(99);  // the same folder written another way carries on
    EXPECT_EQ(NextInFolder("d:/写真/旅行/", listing, order, kept, random)->path, walker.Next(listing));
    const FolderOrderKind other = order == FolderOrderKind::kByName ? FolderOrderKind::kShuffled : FolderOrderKind::kByName;
    random = CountingRandom(99);
    const auto switched = NextInFolder(kFolder, listing, other, kept, random);
    random = CountingRandom(99);
    EXPECT_EQ(switched->state, NextInFolder(kFolder, listing, other, "", random)->state);
  }
}

TEST(FolderOrder, ADamagedPlaceStartsAFreshOrderAndNothingElse) {
  const FolderListing listing(Numbered(25));
  std::mt19937 random(23);
  for (const FolderOrderKind order : {FolderOrderKind::kByName, FolderOrderKind::kShuffled}) {
    Walker walker{order};
    walker.Walk(listing, 3);
    const std::string valid = walker.state;
    for (int round = 0; round < 3000; ++round) {
      std::string damaged = valid;
      if (round % 4 == 0) {
        damaged.resize(random() % 300);
        for (char& c : damaged) c = static_cast<char>(random());
      } else {
        damaged[random() % damaged.size()] = static_cast<char>(random());
        if (round % 4 == 1) damaged = "2" + damaged.substr(1);  // a later format version
      }
      const auto parsed = ParseFolderOrderState(damaged);
      if (parsed && parsed->folder == FolderFingerprint(kFolder)) continue;  // still a place of this folder
      CountingRandom a(round), b(round);
      const auto pick = NextInFolder(kFolder, listing, order, damaged, a);
      const auto fresh = NextInFolder(kFolder, listing, order, "", b);
      ASSERT_EQ(pick->path, fresh->path) << damaged;
      ASSERT_EQ(pick->state, fresh->state) << damaged;
    }
  }
}

TEST(FolderOrder, HandsBackNamesInAnyScriptByteForByte) {
  const std::vector<std::string> names = {"夏\\花火２.jpg", "Москва.png", "🌸.gif", "broken\xFF.bmp", "é.tif"};
  const FolderListing listing(names);
  for (const FolderOrderKind order : {FolderOrderKind::kByName, FolderOrderKind::kShuffled}) {
    Walker walker{order};
    std::vector<std::string> shown = walker.Walk(listing, names.size());
    std::sort(shown.begin(), shown.end());
    std::vector<std::string> expected = names;
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(shown, expected);
  }
}

}  // namespace
}  // namespace tessmoor
