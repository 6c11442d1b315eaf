#include <gtest/gtest.h>

#include <memory>
#include <set>

#include "app/settings_keys.h"
#include "setup/settings_dialog_model.h"
#include "show/folder_kept.h"
#include "tests/support/fake_dialog_views.h"
#include "tests/support/fakes.h"
#include "tests/support/picture_files.h"

namespace tessmoor {
namespace {

using testing::FakeFileSystem;
using testing::FakeSettingsDialogView;
using testing::MemoryStore;
using Writes = std::vector<std::pair<std::string, std::string>>;

constexpr const char* kTrip = "C:\\Photos\\Trip";
constexpr const char* kOther = "D:\\Other";

// What a save leaves in a slot's kept place: a folder it puts in the slot is made ready for the
// first show, a slot that stops holding a folder keeps nothing, and an unchanged slot is left alone.
class SettingsFolderPlaceTest : public ::testing::Test {
 protected:
  SettingsFolderPlaceTest() {
    for (int b = 1; b <= 4; ++b)
      for (int s = 1; s <= 12; ++s) store_.Set(keys::ImagePath(b, s), "");
    store_.Set(std::string(keys::kEveryMonitor), "0");
    store_.Set(std::string(keys::kFolderSubfolders), "1");
    store_.Set(std::string(keys::kFolderOrder), "1");
    for (const char* folder : {"C:\\Photos\\Trip\\zz", "D:\\Other", "C:\\P", "C:\\Empty", "C:\\Sub\\deep"})
      files_.AddFolder(folder);
    const auto bmp = test::MakeBmp(8, 8, test::Solid(test::kBlue));
    files_.Add("C:\\Photos\\Trip\\10.bmp", bmp);
    files_.Add("C:\\Photos\\Trip\\2.bmp", bmp);
    files_.Add("C:\\Photos\\Trip\\notes.txt", {'x'});
    files_.Add("C:\\Photos\\Trip\\zz\\1.bmp", bmp);
    files_.Add("D:\\Other\\b.bmp", bmp);
    files_.Add("D:\\Other\\a.bmp", bmp);
    files_.Add("C:\\P\\a.bmp", bmp);
    files_.Add("C:\\Sub\\deep\\x.bmp", bmp);
  }
  SettingsDialogModel& Open(RandomSource* random = nullptr) {
    model_ = std::make_unique<SettingsDialogModel>(settings_, files_, &view_, nullptr, random);
    return *model_;
  }
  // The save's writes, the closing position left off.
  Writes Save() {
    store_.ClearWrites();
    model_->NoImageRegFileSaveButtonClick();
    Writes writes = store_.writes();
    if (view_.closes > 0) writes.resize(writes.size() - 2);
    return writes;
  }
  // The writes of a save that keeps no place: the pattern, the 48 slots, the music switch.
  Writes SettingsWrites() const {
    Writes writes = {{"ScrActionRegSelectNoFlag", "1"}};
    for (int b = 1; b <= 4; ++b)
      for (int s = 1; s <= 12; ++s) writes.emplace_back(keys::ImagePath(b, s), model_->slot_path(b, s));
    writes.emplace_back("MusicPlayStop", model_->music_play_selected() ? "0" : "1");
    return writes;
  }
  FolderKept Kept(int box, int slot) { return ParseFolderKept(store_.Get(keys::FolderPlace(box, slot)).value_or("")); }

  MemoryStore store_;
  Settings settings_{store_};
  FakeFileSystem files_;
  FakeSettingsDialogView view_;
  std::unique_ptr<SettingsDialogModel> model_;
};

TEST_F(SettingsFolderPlaceTest, ANewFolderInNameOrderKeepsItsFirstPictureByNameAsTheNext) {
  Open();
  model_->BoxTabControlChange(2, 5);
  model_->BoxFolderDragDrop(2, kTrip);
  const Writes writes = Save();
  Writes expected = SettingsWrites();
  ASSERT_EQ(writes.size(), expected.size() + 1);
  EXPECT_EQ(Writes(writes.begin(), writes.end() - 1), expected);
  EXPECT_EQ(writes.back().first, keys::FolderPlace(2, 5));
  EXPECT_EQ(view_.closes, 1);

  const FolderKept kept = Kept(2, 5);
  EXPECT_EQ(kept.place, "");
  ASSERT_TRUE(kept.next.has_value());
  EXPECT_EQ(kept.next->path, "2.bmp");  // 2 before 10 by its number; the subfolder after both
  EXPECT_TRUE(ParseFolderOrderState(kept.next->state).has_value());
}

TEST_F(SettingsFolderPlaceTest, ANewFolderInShuffledOrderKeepsAPictureOfItsListingDrawnFromTheRandomSource) {
  store_.Set(std::string(keys::kFolderOrder), "2");
  testing::ScriptedRandom random({5, 1234567, 99});
  Open(&random);
  model_->set_slot_path(4, 12, kTrip);
  Save();
  const FolderKept kept = Kept(4, 12);
  EXPECT_EQ(kept.place, "");
  ASSERT_TRUE(kept.next.has_value());
  EXPECT_TRUE((std::set<std::string>{"2.bmp", "10.bmp", "zz\\1.bmp"}.count(kept.next->path)));
  EXPECT_GT(random.draws(), 0);
}

TEST_F(SettingsFolderPlaceTest, AFolderReplacingAnotherFolderOrAFileIsKeptAfreshUnchangedSlotsAreLeftAlone) {
  store_.Set(keys::ImagePath(1, 1), kTrip);
  store_.Set(keys::FolderPlace(1, 1), "stale");
  store_.Set(keys::ImagePath(1, 2), "C:\\P\\a.bmp");
  store_.Set(keys::ImagePath(1, 3), kTrip);
  store_.Set(keys::FolderPlace(1, 3), "kept by the show");
  Open();
  model_->set_slot_path(1, 1, kOther);
  model_->set_slot_path(1, 2, kOther);
  const Writes writes = Save();
  ASSERT_EQ(writes.size(), SettingsWrites().size() + 2);
  EXPECT_EQ(writes[writes.size() - 2].first, keys::FolderPlace(1, 1));
  EXPECT_EQ(writes.back().first, keys::FolderPlace(1, 2));
  for (int s : {1, 2}) {
    ASSERT_TRUE(Kept(1, s).next.has_value());
    EXPECT_EQ(Kept(1, s).next->path, "a.bmp");
  }
  EXPECT_EQ(store_.Get(keys::FolderPlace(1, 3)), "kept by the show");

  // Saved again with nothing changed: no place is touched.
  Open();
  EXPECT_EQ(Save(), SettingsWrites());
}

TEST_F(SettingsFolderPlaceTest, ASlotThatStopsHoldingAFolderHasItsStalePlaceEmptied) {
  store_.Set(keys::ImagePath(3, 2), kTrip);
  store_.Set(keys::FolderPlace(3, 2), "stale 2");
  store_.Set(keys::ImagePath(3, 3), kTrip);
  store_.Set(keys::FolderPlace(3, 3), "stale 3");
  store_.Set(keys::ImagePath(3, 4), "C:\\Photos\\Gone");  // opens empty, saves empty
  store_.Set(keys::FolderPlace(3, 4), "stale 4");
  store_.Set(keys::ImagePath(3, 5), kTrip);  // becomes a file, but nothing was kept
  Open();
  model_->set_slot_path(3, 2, "c:\\p\\a.bmp");
  model_->BoxTabControlChange(3, 3);
  model_->BoxClearButtonClick(3);
  model_->set_slot_path(3, 5, "c:\\p\\a.bmp");
  Writes expected = SettingsWrites();
  for (int s : {2, 3, 4}) expected.emplace_back(keys::FolderPlace(3, s), "");
  EXPECT_EQ(Save(), expected);
  EXPECT_FALSE(store_.Get(keys::FolderPlace(3, 5)).has_value());
}

TEST_F(SettingsFolderPlaceTest, AFolderWithoutAPictureKeepsNoNextPicture) {
  store_.Set(std::string(keys::kFolderSubfolders), "0");
  store_.Set(keys::ImagePath(2, 2), kTrip);
  store_.Set(keys::FolderPlace(2, 2), "stale");
  Open();
  model_->set_slot_path(2, 1, "C:\\Empty");
  model_->set_slot_path(2, 2, "C:\\Empty");
  model_->set_slot_path(2, 3, "C:\\Sub");  // its only picture is in a subfolder, which is not taken
  Writes expected = SettingsWrites();
  expected.emplace_back(keys::FolderPlace(2, 2), "");
  EXPECT_EQ(Save(), expected);
  EXPECT_FALSE(store_.Get(keys::FolderPlace(2, 1)).has_value());
  EXPECT_FALSE(store_.Get(keys::FolderPlace(2, 3)).has_value());

  // With subfolders taken, the same folder put in another slot has a first picture.
  store_.Set(std::string(keys::kFolderSubfolders), "1");
  Open();
  model_->set_slot_path(2, 4, "C:\\Sub");
  Save();
  ASSERT_TRUE(Kept(2, 4).next.has_value());
  EXPECT_EQ(Kept(2, 4).next->path, "deep\\x.bmp");
  EXPECT_FALSE(store_.Get(keys::FolderPlace(2, 3)).has_value());
}

TEST_F(SettingsFolderPlaceTest, ARefusedPlaceWriteStillSavesAndClosesARefusedSettingsWriteKeepsNone) {
  Open();
  model_->set_slot_path(1, 1, kTrip);
  model_->set_slot_path(1, 2, kOther);
  // The music switch is refused: no place is kept, the dialog stays open.
  store_.fail_attempt = store_.write_attempts() + 50;
  Save();
  EXPECT_EQ(view_.save_failures.size(), 1u);
  EXPECT_EQ(view_.closes, 0);
  EXPECT_FALSE(store_.Get(keys::FolderPlace(1, 1)).has_value());

  // Then the first place is refused: the settings are in, the second place too, and it closes.
  store_.fail_attempt = store_.write_attempts() + 51;
  Save();
  EXPECT_EQ(view_.save_failures.size(), 1u);
  EXPECT_EQ(view_.closes, 1);
  EXPECT_EQ(store_.Get(keys::ImagePath(1, 1)), kTrip);
  EXPECT_FALSE(store_.Get(keys::FolderPlace(1, 1)).has_value());
  ASSERT_TRUE(Kept(1, 2).next.has_value());
  EXPECT_EQ(Kept(1, 2).next->path, "a.bmp");
}

}  // namespace
}  // namespace tessmoor
