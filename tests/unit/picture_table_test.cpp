#include "show/picture_table.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <mutex>
#include <set>

#include "app/settings_dialog_values.h"
#include "app/settings_keys.h"
#include "platform/image/decode.h"
#include "show/slide_engine.h"
#include "tests/support/fake_canvas.h"
#include "tests/support/fakes.h"
#include "tests/support/picture_files.h"

namespace tessmoor {
namespace {

using testing::FakeFileSystem;
using testing::MemoryStore;

const std::vector<std::uint8_t>& Jpeg1600x1200() {
  static const auto bytes = test::MakeJpeg(1600, 1200, test::Gradient(1600, 1200), 85);
  return bytes;
}
const std::vector<std::uint8_t>& Bmp900x300() {
  static const auto bytes = test::MakeBmp(900, 300, test::Gradient(900, 300));
  return bytes;
}
const std::vector<std::uint8_t>& Bmp200x100() {
  static const auto bytes = test::MakeBmp(200, 100, test::Solid(test::kBlue));
  return bytes;
}
std::vector<std::uint8_t> NotAPicture() { return {0xFF, 0xD8, 0xFF, 0xE0, 0x00, 0x10, 'J', 'F'}; }
std::vector<std::uint8_t> TruncatedBmp() {
  std::vector<std::uint8_t> bytes = Bmp900x300();
  bytes.resize(200);
  return bytes;
}

// The show settings the show window reads from a store holding `texts` and first-run values
// for every other key.
ShowSettings ShowReading(const std::vector<std::pair<std::string, std::string>>& texts) {
  MemoryStore store;
  for (const auto& [key, text] : texts) store.Set(key, text);
  Settings settings(store);
  return ReadShowSettings(settings);
}

// A pattern-1 show as the show window leaves it before the table is built.
ShowSettings Pattern1Show() { return ShowReading({{std::string(keys::kPattern), "1"}}); }

ShowSettings Pattern2Show() { return ShowReading({{std::string(keys::kPattern), "2"}}); }

struct Rig {
  explicit Rig(ShowSettings s = Pattern1Show()) : show(std::move(s)) {}
  // Stores `path` as the slot's picture path and, when `bytes` are given, puts the file on disk.
  void Put(int box, int slot, const std::string& path, std::optional<std::vector<std::uint8_t>> bytes) {
    store.Set(keys::ImagePath(box, slot), path);
    if (bytes) files.Add(path, std::move(*bytes));
  }
  PictureTable& Build(int width = 1024, int height = 768, int threads = 0) {
    table = std::make_unique<PictureTable>(settings, files, show,
                                           PictureTable::Options{ShowDecodeTargets(show, width, height), threads});
    return *table;
  }

  MemoryStore store;
  Settings settings{store};
  FakeFileSystem files;
  ShowSettings show;
  std::unique_ptr<PictureTable> table;
};

TEST(PictureTableBuild, FreshStoreWritesAllFortyEightKeysEmptyInBoxMajorOrder) {
  Rig rig(Pattern2Show());
  PictureTable& table = rig.Build();
  std::vector<std::pair<std::string, std::string>> expected;
  for (int b = 1; b <= 4; ++b)
    for (int s = 1; s <= 12; ++s) expected.emplace_back(keys::ImagePath(b, s), "");
  EXPECT_EQ(rig.store.writes(), expected);
  for (int b = 1; b <= 4; ++b) {
    EXPECT_EQ(table.usable_count(b), 0);
    EXPECT_FALSE(rig.show.box_use[b - 1]);
    EXPECT_FALSE(rig.show.window_timers[b - 1].running());
    EXPECT_FALSE(table.BoxHasPicture(b));
    for (int s = 0; s <= 12; ++s) EXPECT_EQ(table.Path(b, s), "");
    for (int s = 1; s <= 12; ++s) EXPECT_EQ(table.PictureAt(b, s), nullptr);
  }
  EXPECT_TRUE(table.Collect().empty());  // switched off at build, not during the show
}

TEST(PictureTableBuild, ShowStartOnAFreshStoreLeavesEveryKeyEmptyAndEveryBoxOffInMemoryOnly) {
  MemoryStore store;
  Settings settings(store);
  FakeFileSystem files;
  (void)ReadSettingsDialogValues(settings);
  ShowSettings show = ReadShowSettings(settings);
  PictureTable table(settings, files, show, {ShowDecodeTargets(show, 1024, 768), 0});
  for (int b = 1; b <= 4; ++b) {
    for (int s = 1; s <= 12; ++s) EXPECT_EQ(store.Get(keys::ImagePath(b, s)), "");
    EXPECT_FALSE(show.box_use[b - 1]);
    EXPECT_EQ(store.Get(keys::Pattern1BoxUse(b)), "1");
  }
}

TEST(PictureTableBuild, KeyHoldingTheEmptyTextWritesNothing) {
  Rig rig;
  rig.Put(1, 1, "", std::nullopt);
  rig.Put(1, 2, "C:\\Photos\\sea.jpg", Jpeg1600x1200());
  PictureTable& table = rig.Build();
  EXPECT_EQ(table.Path(1, 1), "");
  for (const auto& [key, value] : rig.store.writes()) EXPECT_NE(key, keys::ImagePath(1, 1));
  EXPECT_EQ(rig.store.writes().size(), 46u);
}

TEST(PictureTableBuild, MissingFileLeavesTheSlotEmptyAndThePathInTheStore) {
  Rig rig;
  rig.Put(3, 4, "D:\\gone.jpg", std::nullopt);
  PictureTable& table = rig.Build();
  EXPECT_EQ(table.Path(3, 4), "");
  EXPECT_EQ(rig.store.Get(keys::ImagePath(3, 4)), "D:\\gone.jpg");
  EXPECT_FALSE(rig.show.box_use[2]);
}

TEST(PictureTableBuild, ExtensionsInAnyCaseAreDecodedAndPathsKeepTheirCase) {
  Rig rig;
  rig.Put(1, 1, "C:\\Photos\\Sea.JPG", Jpeg1600x1200());
  rig.Put(1, 2, "C:\\Photos\\Hill.Bmp", Bmp900x300());
  rig.Put(1, 3, "C:\\Photos\\Sky.JpEg", Jpeg1600x1200());
  rig.Put(1, 4, "C:\\ÄÖ\\Été.BMP", Bmp200x100());
  PictureTable& table = rig.Build();
  const std::string paths[] = {"C:\\Photos\\Sea.JPG", "C:\\Photos\\Hill.Bmp",
                               "C:\\Photos\\Sky.JpEg", "C:\\ÄÖ\\Été.BMP"};
  for (int s = 1; s <= 4; ++s) {
    EXPECT_EQ(table.Path(1, s), paths[s - 1]);
    const Picture* picture = table.PictureAt(1, s);
    ASSERT_NE(picture, nullptr) << s;
    EXPECT_FALSE(picture->empty()) << s;
  }
  EXPECT_EQ(table.usable_count(1), 4);
}

TEST(PictureTableBuild, OtherExtensionKeepsItsPathButHasAnEmptyPicture) {
  Rig rig;
  rig.Put(2, 1, "C:\\Photos\\sea.png", Jpeg1600x1200());
  rig.Put(2, 2, "C:\\Photos\\sea.jpe", Jpeg1600x1200());
  rig.Put(2, 3, "C:\\Photos\\README", Jpeg1600x1200());
  PictureTable& table = rig.Build();
  for (int s = 1; s <= 3; ++s) {
    EXPECT_NE(table.Path(2, s), "");
    const Picture* picture = table.PictureAt(2, s);
    ASSERT_NE(picture, nullptr);
    EXPECT_TRUE(picture->empty());
    EXPECT_EQ(picture->width, 0);
  }
  EXPECT_EQ(table.usable_count(2), 3);
  EXPECT_TRUE(rig.show.box_use[1]);
  EXPECT_TRUE(table.BoxHasPicture(2));
}

TEST(PictureTableBuild, TwoSlotsNamingTheSameFileAreDecodedTwice) {
  Rig rig;
  rig.Put(1, 1, "C:\\Photos\\sea.jpg", Jpeg1600x1200());
  rig.Put(1, 7, "C:\\Photos\\sea.jpg", Jpeg1600x1200());
  PictureTable& table = rig.Build();
  const Picture* a = table.PictureAt(1, 1);
  const Picture* b = table.PictureAt(1, 7);
  ASSERT_NE(a, nullptr);
  ASSERT_NE(b, nullptr);
  EXPECT_NE(a, b);
  EXPECT_EQ(a->pixels, b->pixels);
  EXPECT_EQ(table.usable_count(1), 2);
}

TEST(PictureTableFailures, CorruptFilesAmongGoodOnesLoseOnlyTheirOwnSlots) {
  Rig rig;
  rig.Put(1, 1, "C:\\a.jpg", Jpeg1600x1200());
  rig.Put(1, 2, "C:\\b.jpg", NotAPicture());
  rig.Put(1, 3, "C:\\c.bmp", Bmp900x300());
  rig.Put(1, 4, "C:\\d.bmp", TruncatedBmp());
  rig.Put(1, 5, "C:\\e.jpg", std::vector<std::uint8_t>{});
  PictureTable& table = rig.Build();
  EXPECT_NE(table.PictureAt(1, 1), nullptr);
  EXPECT_EQ(table.PictureAt(1, 2), nullptr);
  EXPECT_NE(table.PictureAt(1, 3), nullptr);
  EXPECT_EQ(table.PictureAt(1, 4), nullptr);
  EXPECT_EQ(table.PictureAt(1, 5), nullptr);
  for (int s : {2, 4, 5}) {
    EXPECT_EQ(table.Path(1, s), "") << s;
  }
  EXPECT_EQ(table.Path(1, 1), "C:\\a.jpg");
  EXPECT_EQ(table.usable_count(1), 2);
  EXPECT_TRUE(rig.show.box_use[0]);
  EXPECT_TRUE(table.Collect().empty());
}

TEST(PictureTableFailures, BoxWhoseEveryFileFailsIsSwitchedOffAndReportedOnce) {
  Rig rig(Pattern2Show());
  rig.Put(1, 1, "C:\\a.jpg", Jpeg1600x1200());
  rig.Put(2, 5, "C:\\b.jpg", NotAPicture());
  rig.Put(2, 9, "C:\\c.bmp", TruncatedBmp());
  rig.Put(3, 1, "C:\\d.jpg", Jpeg1600x1200());
  rig.Put(4, 1, "C:\\e.jpg", Jpeg1600x1200());
  PictureTable& table = rig.Build();
  EXPECT_TRUE(rig.show.box_use[1]);  // the files exist: in use until they fail
  table.WaitAll();
  EXPECT_EQ(table.Collect(), std::vector<int>{2});
  EXPECT_FALSE(rig.show.box_use[1]);
  EXPECT_FALSE(rig.show.window_timers[1].running());
  EXPECT_TRUE(rig.show.window_timers[0].running());
  EXPECT_EQ(table.Path(2, 5), "");
  EXPECT_EQ(table.Path(2, 9), "");
  EXPECT_FALSE(table.BoxHasPicture(2));
  EXPECT_TRUE(table.Collect().empty());
  EXPECT_EQ(rig.store.Get(keys::ImagePath(2, 5)), "C:\\b.jpg");
}

TEST(PictureTableFailures, BoxHasPictureWaitsForTheVerdictAndSwitchesTheBoxOff) {
  Rig rig;
  rig.Put(1, 1, "C:\\a.jpg", NotAPicture());
  rig.Put(1, 2, "C:\\b.jpg", NotAPicture());
  rig.Put(2, 1, "C:\\c.jpg", Jpeg1600x1200());
  PictureTable& table = rig.Build();
  EXPECT_FALSE(table.BoxHasPicture(1));
  EXPECT_FALSE(rig.show.box_use[0]);
  EXPECT_TRUE(table.BoxHasPicture(2));
  EXPECT_EQ(table.Collect(), std::vector<int>{1});
}

// Files whose existence and contents a test controls: a read can be held until the test lets it
// go, and every read is recorded. Safe to call from the decode threads.
class ProbeFiles : public testing::ForwardingFileSystem {
 public:
  explicit ProbeFiles(FakeFileSystem& files) : ForwardingFileSystem(files), files_(files) {}
  bool FileExists(std::string_view path) override {
    return files_.FileExists(path) || vanishing_.count(std::string(path)) != 0;
  }
  std::optional<std::vector<std::uint8_t>> ReadFile(std::string_view path, std::size_t max) override {
    std::unique_lock lock(mutex_);
    reads_.emplace_back(path);
    released_.wait(lock, [&] { return held_.count(std::string(path)) == 0; });
    if (vanishing_.count(std::string(path)) != 0) return std::nullopt;
    return files_.ReadFile(path, max);
  }
  void Hold(const std::string& path) {
    std::lock_guard lock(mutex_);
    held_.insert(path);
  }
  void ReleaseAll() {
    {
      std::lock_guard lock(mutex_);
      held_.clear();
    }
    released_.notify_all();
  }
  std::vector<std::string> reads() {
    std::lock_guard lock(mutex_);
    return reads_;
  }
  std::set<std::string> vanishing_;

 private:
  FakeFileSystem& files_;
  std::mutex mutex_;
  std::condition_variable released_;
  std::set<std::string> held_;
  std::vector<std::string> reads_;
};

TEST(PictureTableFailures, FileGoneBetweenTheExistenceTestAndTheReadMakesTheSlotUnusable) {
  Rig rig;
  ProbeFiles probe(rig.files);
  probe.vanishing_.insert("C:\\gone.jpg");
  rig.Put(1, 1, "C:\\gone.jpg", std::nullopt);
  rig.Put(1, 2, "C:\\here.jpg", Jpeg1600x1200());
  PictureTable table(rig.settings, probe, rig.show, {ShowDecodeTargets(rig.show, 1024, 768), 2});
  EXPECT_EQ(table.usable_count(1), 2);
  EXPECT_EQ(table.PictureAt(1, 1), nullptr);
  EXPECT_EQ(table.Path(1, 1), "");
  EXPECT_NE(table.PictureAt(1, 2), nullptr);
}

TEST(PictureTableDecoding, PictureAtWaitsForItsOwnSlotOnly) {
  Rig rig;
  ProbeFiles probe(rig.files);
  for (int s = 1; s <= 3; ++s)
    rig.Put(1, s, "C:\\p" + std::to_string(s) + ".jpg", Jpeg1600x1200());
  probe.Hold("C:\\p2.jpg");
  struct Release {
    ProbeFiles& probe;
    ~Release() { probe.ReleaseAll(); }
  };
  auto table = std::make_unique<PictureTable>(rig.settings, probe, rig.show,
                                              PictureTable::Options{ShowDecodeTargets(rig.show, 1024, 768), 2});
  Release release{probe};
  EXPECT_NE(table->PictureAt(1, 1), nullptr);
  EXPECT_NE(table->PictureAt(1, 3), nullptr);  // slot 2 is still being read
  probe.ReleaseAll();
  EXPECT_NE(table->PictureAt(1, 2), nullptr);
}

TEST(PictureTableDecoding, PatternOneDecodesBoxByBoxWithBoxesNotInUseLast) {
  Rig rig;
  rig.show.box_use[0] = false;
  ProbeFiles probe(rig.files);
  std::vector<std::string> expected;
  for (int b : {2, 3, 4, 1})
    for (int s : {1, 2, 12}) expected.push_back("C:\\" + std::to_string(b) + "-" + std::to_string(s) + ".bmp");
  for (const std::string& path : expected) {
    const int b = path[3] - '0';
    const int s = std::stoi(path.substr(5));
    rig.Put(b, s, path, Bmp200x100());
  }
  PictureTable table(rig.settings, probe, rig.show, {ShowDecodeTargets(rig.show, 1024, 768), 1});
  table.WaitAll();
  EXPECT_EQ(probe.reads(), expected);
}

TEST(PictureTableDecoding, PatternTwoDecodesSlotOneOfEveryBoxFirst) {
  Rig rig(Pattern2Show());
  ProbeFiles probe(rig.files);
  std::vector<std::string> expected;
  for (int s : {1, 2})
    for (int b = 1; b <= 4; ++b) expected.push_back("C:\\" + std::to_string(b) + "-" + std::to_string(s) + ".bmp");
  for (const std::string& path : expected) rig.Put(path[3] - '0', path[5] - '0', path, Bmp200x100());
  PictureTable table(rig.settings, probe, rig.show, {ShowDecodeTargets(rig.show, 1024, 768), 1});
  table.WaitAll();
  EXPECT_EQ(probe.reads(), expected);
}

struct SizeCase {
  const char* name;
  ShowSettings show;
  int box;
  int expected_width, expected_height;
};

class PictureTableScaledSize : public ::testing::TestWithParam<SizeCase> {};

TEST_P(PictureTableScaledSize, DecodesNoLargerThanTheShowDrawsAndKeepsTheFileSize) {
  const SizeCase& c = GetParam();
  Rig rig(c.show);
  rig.Put(c.box, 1, "C:\\big.jpg", Jpeg1600x1200());
  PictureTable& table = rig.Build(1024, 768);
  const Picture* picture = table.PictureAt(c.box, 1);
  ASSERT_NE(picture, nullptr);
  EXPECT_EQ(picture->width, c.expected_width);
  EXPECT_EQ(picture->height, c.expected_height);
  EXPECT_EQ(picture->source_width, 1600);
  EXPECT_EQ(picture->source_height, 1200);
}

ShowSettings WithScale(const std::string& scale) {
  return ShowReading({{std::string(keys::kPattern), "1"}, {std::string(keys::kSlideScale), scale}});
}
ShowSettings WithWindowScales(const std::array<std::string, 4>& scales) {
  std::vector<std::pair<std::string, std::string>> texts{{std::string(keys::kPattern), "2"}};
  for (int n = 1; n <= 4; ++n) texts.emplace_back(keys::WindowScale(n), scales[n - 1]);
  return ShowReading(texts);
}

INSTANTIATE_TEST_SUITE_P(
    Shows, PictureTableScaledSize,
    ::testing::Values(
        // Fit side 350: the picture is drawn at 350 x 262.
        SizeCase{"pattern1_first_run", Pattern1Show(), 1, 350, 262},
        SizeCase{"pattern1_damaged_scale", WithScale("x"), 2, 350, 262},
        // Fit side 1050 at 150 %; a picture is never decoded larger than its file.
        SizeCase{"pattern1_scale_150", WithScale("150"), 1, 1050, 787},
        SizeCase{"pattern1_scale_300", WithScale("300"), 1, 1600, 1200},
        // A pattern-2 window is half its fitted picture: 350 / 2 = 175.
        SizeCase{"pattern2_window1", WithWindowScales({"50", "100", "20", "bad"}), 1, 175, 131},
        SizeCase{"pattern2_window2", WithWindowScales({"50", "100", "20", "bad"}), 2, 350, 262},
        SizeCase{"pattern2_window3", WithWindowScales({"50", "100", "20", "bad"}), 3, 70, 52},
        SizeCase{"pattern2_window4_damaged", WithWindowScales({"50", "100", "20", "bad"}), 4, 175, 131}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PictureTableDecoding, SmallPicturesAndBmpFilesAreScaledTheSameWay) {
  Rig rig;
  rig.Put(1, 1, "C:\\small.bmp", Bmp200x100());
  rig.Put(1, 2, "C:\\wide.bmp", Bmp900x300());
  PictureTable& table = rig.Build();
  const Picture* small = table.PictureAt(1, 1);
  const Picture* wide = table.PictureAt(1, 2);
  ASSERT_NE(small, nullptr);
  ASSERT_NE(wide, nullptr);
  EXPECT_EQ(small->width, 200);
  EXPECT_EQ(small->height, 100);
  EXPECT_EQ(wide->width, 350);
  EXPECT_EQ(wide->height, 116);
  EXPECT_EQ(wide->source_width, 900);
  EXPECT_EQ(wide->source_height, 300);
}

TEST(PictureTableDecoding, HoldsOnlyTheScaledPictures) {
  Rig rig;
  for (int s = 1; s <= 4; ++s) rig.Put(1, s, "C:\\p" + std::to_string(s) + ".jpg", Jpeg1600x1200());
  PictureTable& table = rig.Build();
  table.WaitAll();
  const std::size_t scaled = 4u * ((350 * 3 + 3) & ~3) * 262;
  EXPECT_GE(table.PictureBytes(), scaled);
  EXPECT_LT(table.PictureBytes(), scaled + scaled / 10);
}

TEST(ShowDecodeTargets, TinyWindowStillLimitsTheDecodedSize) {
  ShowSettings show = Pattern1Show();
  for (const DecodeTarget& t : ShowDecodeTargets(show, 80, 60)) {
    EXPECT_EQ(t.max_width, 1);
    EXPECT_EQ(t.max_height, 1);
  }
  for (const DecodeTarget& t : ShowDecodeTargets(show, 1920, 1080)) EXPECT_EQ(t.max_width, 500);
  show.scale = 150;
  for (const DecodeTarget& t : ShowDecodeTargets(show, 1920, 1080)) EXPECT_EQ(t.max_height, 1500);
}

}  // namespace
}  // namespace tessmoor
