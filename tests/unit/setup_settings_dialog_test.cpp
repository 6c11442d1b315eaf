#include "setup/settings_dialog_model.h"

#include <gtest/gtest.h>

#include <memory>

#include "app/settings_keys.h"
#include "tests/support/fake_dialog_views.h"
#include "tests/support/fakes.h"
#include "tests/support/picture_files.h"

namespace tessmoor {
namespace {

using testing::FakeFileSystem;
using testing::FakeSettingsDialogView;
using testing::MemoryStore;
using Pair = std::pair<std::string, std::string>;

std::vector<std::uint8_t> Jpeg(int w, int h) { return test::MakeJpeg(w, h, test::Gradient(w, h), 85); }
std::vector<std::uint8_t> Bmp(int w, int h) { return test::MakeBmp(w, h, test::Solid(test::kBlue)); }

std::string SizeOf(const FakeSettingsDialogView::PictureControl& c) {
  return std::to_string(c.control.width) + "x" + std::to_string(c.control.height);
}

class SettingsDialogTest : public ::testing::Test {
 protected:
  SettingsDialogModel& Open() {
    model_ = std::make_unique<SettingsDialogModel>(settings_, files_, &view_);
    return *model_;
  }
  // A store in which every key the dialog reads is already set, so construction writes nothing.
  void FillStore() {
    store_.Set(std::string(keys::kSetupX), "100");
    store_.Set(std::string(keys::kSetupY), "100");
    store_.Set(std::string(keys::kPattern), "1");
    for (int b = 1; b <= 4; ++b)
      for (int s = 1; s <= 12; ++s) store_.Set(keys::ImagePath(b, s), "");
    store_.Set(std::string(keys::kMusicSwitch), "1");
  }

  MemoryStore store_;
  Settings settings_{store_};
  FakeFileSystem files_;
  FakeSettingsDialogView view_;
  std::unique_ptr<SettingsDialogModel> model_;
};

TEST_F(SettingsDialogTest, FirstRunWritesExactlyTheListedKeysInOrderBeforeAnyButton) {
  Open();
  std::vector<Pair> expected = {{"ScreenSetUpPointRegXFlag", "100"},
                                {"ScreenSetUpPointRegYFlag", "100"},
                                {"ScrActionRegSelectNoFlag", "1"}};
  for (int b = 1; b <= 4; ++b)
    for (int s = 1; s <= 12; ++s) expected.emplace_back(keys::ImagePath(b, s), "");
  expected.emplace_back("MusicPlayStop", "1");
  EXPECT_EQ(store_.writes(), expected);
  EXPECT_EQ(view_.log, (std::vector<std::string>{"MoveTo 100,100", "Pattern 1", "ClearBox 1", "ClearBox 2",
                                                 "ClearBox 3", "ClearBox 4", "Music stop"}));
  for (const auto& box : view_.boxes) {
    EXPECT_TRUE(box.empty);
    EXPECT_EQ(SizeOf(box), "137x137");
  }
}

TEST_F(SettingsDialogTest, CancelRecordsOnlyTheMovedPositionAndKeepsTheFirstRunValues) {
  Open();
  store_.ClearWrites();
  view_.origin = {250, 310};
  model_->CancelButtonClick();
  EXPECT_EQ(store_.writes(), (std::vector<Pair>{{"ScreenSetUpPointRegXFlag", "250"}, {"ScreenSetUpPointRegYFlag", "310"}}));
  EXPECT_EQ(view_.closes, 1);
  EXPECT_EQ(store_.Get("ScrActionRegSelectNoFlag"), "1");
  EXPECT_EQ(store_.Get(keys::ImagePath(4, 12)), "");
}

TEST_F(SettingsDialogTest, TheCloseBoxRecordsThePositionToo) {
  FillStore();
  Open();
  view_.origin = {-5, 7};
  model_->Close();
  EXPECT_EQ(store_.writes(), (std::vector<Pair>{{"ScreenSetUpPointRegXFlag", "-5"}, {"ScreenSetUpPointRegYFlag", "7"}}));
  EXPECT_EQ(view_.closes, 1);
}

class DamagedPosition : public SettingsDialogTest, public ::testing::WithParamInterface<std::string> {};

TEST_P(DamagedPosition, OpensAtTheFirstRunPositionAndLeavesTheValue) {
  FillStore();
  store_.Set("ScreenSetUpPointRegXFlag", GetParam());
  store_.Set("ScreenSetUpPointRegYFlag", "240");
  Open();
  EXPECT_EQ(view_.log.front(), "MoveTo 100,240");
  EXPECT_TRUE(store_.writes().empty());
  EXPECT_EQ(store_.Get("ScreenSetUpPointRegXFlag"), GetParam());
}

INSTANTIATE_TEST_SUITE_P(Texts, DamagedPosition, ::testing::Values("", "abc", "1.5", "10 ", "0x10", "99999999999"));

TEST_F(SettingsDialogTest, APositionWithLeadingBlanksOrInHexadecimalIsANumber) {
  FillStore();
  store_.Set("ScreenSetUpPointRegXFlag", "  10");
  store_.Set("ScreenSetUpPointRegYFlag", "-$F0");
  Open();
  EXPECT_EQ(view_.log.front(), "MoveTo 10,-240");
  EXPECT_TRUE(store_.writes().empty());
}

TEST_F(SettingsDialogTest, PatternTwoIsSelectedFromTheStore) {
  FillStore();
  store_.Set("ScrActionRegSelectNoFlag", "2");
  Open();
  EXPECT_TRUE(view_.pattern2);
  EXPECT_TRUE(model_->pattern2_selected());
}

TEST_F(SettingsDialogTest, AnUnknownPatternShowsPatternOneAndSavesOne) {
  FillStore();
  store_.Set("ScrActionRegSelectNoFlag", "3");
  Open();
  EXPECT_FALSE(view_.pattern2);
  EXPECT_EQ(model_->pattern(), "3");
  model_->NoImageRegFileSaveButtonClick();
  EXPECT_EQ(store_.Get("ScrActionRegSelectNoFlag"), "1");
}

TEST_F(SettingsDialogTest, AStoredNonIsTreatedAsNeverSet) {
  FillStore();
  store_.Set("ScrActionRegSelectNoFlag", "non");
  Open();
  EXPECT_EQ(store_.writes(), (std::vector<Pair>{{"ScrActionRegSelectNoFlag", "1"}}));
}

struct MusicCase {
  std::string stored;
  bool play;
  std::string saved;
};

class MusicSwitch : public SettingsDialogTest, public ::testing::WithParamInterface<MusicCase> {};

TEST_P(MusicSwitch, OnlyOneMeansStopAndSavingWritesZeroForPlay) {
  FillStore();
  store_.Set("MusicPlayStop", GetParam().stored);
  Open();
  EXPECT_EQ(view_.music_play, GetParam().play);
  model_->NoImageRegFileSaveButtonClick();
  EXPECT_EQ(store_.Get("MusicPlayStop"), GetParam().saved);
}

INSTANTIATE_TEST_SUITE_P(Values, MusicSwitch,
                         ::testing::Values(MusicCase{"1", false, "1"}, MusicCase{"0", true, "0"},
                                           MusicCase{"x", true, "0"}, MusicCase{"", true, "0"}));

TEST_F(SettingsDialogTest, SaveWritesPatternSlotsMusicInOrderThenRecordsThePosition) {
  FillStore();
  files_.Add("C:\\P\\a.jpg");
  store_.Set(keys::ImagePath(2, 7), "C:\\P\\a.jpg");
  Open();
  model_->set_pattern2_selected(true);
  model_->set_music_play_selected(true);
  view_.origin = {30, 40};
  store_.ClearWrites();
  model_->NoImageRegFileSaveButtonClick();

  std::vector<Pair> expected = {{"ScrActionRegSelectNoFlag", "2"}};
  for (int b = 1; b <= 4; ++b)
    for (int s = 1; s <= 12; ++s) expected.emplace_back(keys::ImagePath(b, s), b == 2 && s == 7 ? "C:\\P\\a.jpg" : "");
  expected.emplace_back("MusicPlayStop", "0");
  expected.emplace_back("ScreenSetUpPointRegXFlag", "30");
  expected.emplace_back("ScreenSetUpPointRegYFlag", "40");
  EXPECT_EQ(store_.writes(), expected);
  EXPECT_EQ(view_.closes, 1);
}

TEST_F(SettingsDialogTest, ASavedStateIsShownWhenTheDialogOpensAgain) {
  Open();
  model_->set_pattern2_selected(true);
  model_->set_music_play_selected(true);
  model_->NoImageRegFileSaveButtonClick();
  FakeSettingsDialogView again;
  SettingsDialogModel reopened(settings_, files_, &again);
  EXPECT_TRUE(again.pattern2);
  EXPECT_TRUE(again.music_play);
}

TEST_F(SettingsDialogTest, TheDetailButtonFollowsTheRadioButtonsNotTheStore) {
  FillStore();
  Open();
  EXPECT_EQ(model_->NoImageRegFileDSaveButtonClick(), PatternDetailDialog::kPattern1);
  model_->set_pattern2_selected(true);
  EXPECT_EQ(model_->NoImageRegFileDSaveButtonClick(), PatternDetailDialog::kPattern2);
  EXPECT_EQ(store_.Get("ScrActionRegSelectNoFlag"), "1");
  model_->set_pattern2_selected(false);
  EXPECT_EQ(model_->NoImageRegFileDSaveButtonClick(), PatternDetailDialog::kPattern1);
}

TEST_F(SettingsDialogTest, AVanishedFileEmptiesItsSlotButOnlyASaveClearsTheKey) {
  FillStore();
  store_.Set(keys::ImagePath(3, 4), "C:\\gone.jpg");
  Open();
  EXPECT_EQ(model_->slot_path(3, 4), "");
  EXPECT_TRUE(store_.writes().empty());
  model_->CancelButtonClick();
  EXPECT_EQ(store_.Get(keys::ImagePath(3, 4)), "C:\\gone.jpg");

  Open();
  model_->NoImageRegFileSaveButtonClick();
  EXPECT_EQ(store_.Get(keys::ImagePath(3, 4)), "");
}

TEST_F(SettingsDialogTest, AStoredMixedCasePathKeepsItsCaseAndIsPreviewedLowerCased) {
  FillStore();
  files_.Add("C:\\Photos\\A.JPG");                    // what the existence test sees
  files_.Add("c:\\photos\\a.jpg", Jpeg(640, 480));  // what the preview reads
  store_.Set(keys::ImagePath(1, 1), "C:\\Photos\\A.JPG");
  Open();
  EXPECT_EQ(model_->slot_path(1, 1), "C:\\Photos\\A.JPG");
  EXPECT_FALSE(view_.boxes[0].empty);
  EXPECT_EQ(SizeOf(view_.boxes[0]), "137x102");
}

TEST_F(SettingsDialogTest, FirstSlotsArePreviewedDecodedAtTheirControlsSize) {
  FillStore();
  for (int b = 1; b <= 4; ++b) {
    const std::string path = "c:\\p\\" + std::to_string(b) + ".jpg";
    files_.Add(path, Jpeg(3000, 4000));
    store_.Set(keys::ImagePath(b, 1), path);
  }
  Open();
  for (const auto& box : view_.boxes) {
    EXPECT_EQ(SizeOf(box), "102x137");
    EXPECT_LE(box.decoded.width, 137);
    EXPECT_LE(box.decoded.height, 137);
  }
}

TEST_F(SettingsDialogTest, PreviewsAreDecodedAtTheWindowsDpi) {
  FillStore();
  files_.Add("c:\\p\\big.jpg", Jpeg(4000, 3000));
  store_.Set(keys::ImagePath(1, 1), "c:\\p\\big.jpg");
  view_.dpi = 144;
  Open();
  EXPECT_EQ(SizeOf(view_.boxes[0]), "137x102");
  EXPECT_GT(view_.boxes[0].decoded.width, 137);
  EXPECT_LE(view_.boxes[0].decoded.width, 206);
}

TEST_F(SettingsDialogTest, AFirstPictureThatCannotBeDecodedStillOpensTheDialog) {
  FillStore();
  files_.Add("c:\\p\\broken.jpg", {0xFF, 0xD8, 0xFF, 0xDB, 0, 3, 0});
  files_.Add("c:\\p\\fine.bmp", Bmp(50, 40));
  store_.Set(keys::ImagePath(1, 1), "c:\\p\\broken.jpg");
  store_.Set(keys::ImagePath(3, 1), "c:\\p\\fine.bmp");
  Open();
  EXPECT_TRUE(view_.boxes[0].empty);
  EXPECT_EQ(SizeOf(view_.boxes[0]), "137x137");
  EXPECT_EQ(model_->slot_path(1, 1), "c:\\p\\broken.jpg");
  EXPECT_TRUE(view_.errors.empty());
  // The rest of the construction ran: box 3 enlarges its small picture, the music switch is shown.
  EXPECT_EQ(SizeOf(view_.boxes[2]), "137x109");
  EXPECT_EQ(view_.boxes[2].drawn.right, 137);
  EXPECT_EQ(view_.log.back(), "Music stop");
}

TEST_F(SettingsDialogTest, AFileThatIsNoPictureLeavesTheBoxEmptyAndKeepsThePath) {
  FillStore();
  files_.Add("c:\\p\\notes.txt", {'h', 'i'});
  store_.Set(keys::ImagePath(2, 1), "c:\\p\\notes.txt");
  Open();
  EXPECT_TRUE(view_.boxes[1].empty);
  EXPECT_EQ(model_->slot_path(2, 1), "c:\\p\\notes.txt");
}

TEST_F(SettingsDialogTest, OnlyTheFirstSlotOfABoxIsPreviewedAtConstruction) {
  FillStore();
  files_.Add("c:\\p\\two.jpg", Jpeg(64, 48));
  store_.Set(keys::ImagePath(1, 2), "c:\\p\\two.jpg");
  Open();
  EXPECT_TRUE(view_.boxes[0].empty);
  EXPECT_EQ(model_->slot_path(1, 2), "c:\\p\\two.jpg");
}

TEST_F(SettingsDialogTest, TheOpenButtonStoresTheChosenNameLowerCased) {
  FillStore();
  files_.Add("d:\\pics\\sea.jpeg", Jpeg(640, 480));
  Open();
  view_.next_choice = "D:\\Pics\\Sea.Jpeg";
  model_->BoxImageButtonClick(2);
  EXPECT_EQ(model_->slot_path(2, 1), "d:\\pics\\sea.jpeg");
  EXPECT_EQ(SizeOf(view_.boxes[1]), "137x102");
  EXPECT_EQ(view_.chooser_folders, (std::vector<std::string>{""}));
}

TEST_F(SettingsDialogTest, TheOpenDialogStartsInTheSlotsFolderOrWhereItWasLastStarted) {
  FillStore();
  files_.Add("C:\\Photos\\A.JPG");
  store_.Set(keys::ImagePath(4, 1), "C:\\Photos\\A.JPG");
  Open();
  model_->BoxImageButtonClick(4);  // cancelled
  EXPECT_EQ(model_->slot_path(4, 1), "C:\\Photos\\A.JPG");
  model_->BoxTabControlChange(4, 2);
  model_->BoxImageButtonClick(4);  // an empty slot: the last folder stays
  model_->BoxImageButtonClick(1);  // another box's dialog has its own
  EXPECT_EQ(view_.chooser_folders, (std::vector<std::string>{"C:\\Photos\\", "C:\\Photos\\", ""}));
}

TEST_F(SettingsDialogTest, AChosenFileThatCannotBeDecodedIsReportedAndStillStored) {
  FillStore();
  files_.Add("c:\\p\\a.jpg", Jpeg(640, 480));
  files_.Add("c:\\p\\bad.jpg", {1, 2, 3});
  store_.Set(keys::ImagePath(1, 1), "c:\\p\\a.jpg");
  Open();
  view_.next_choice = "C:\\P\\Bad.jpg";
  model_->BoxImageButtonClick(1);
  EXPECT_EQ(model_->slot_path(1, 1), "c:\\p\\bad.jpg");
  ASSERT_EQ(view_.errors.size(), 1u);
  EXPECT_EQ(view_.errors[0].rfind("c:\\p\\bad.jpg: ", 0), 0u) << view_.errors[0];
  EXPECT_FALSE(view_.boxes[0].empty);  // the previous picture stays
}

TEST_F(SettingsDialogTest, ClearingASlotAndCancellingLeavesTheStoreSavingEmptiesIt) {
  FillStore();
  files_.Add("c:\\p\\five.jpg", Jpeg(64, 48));
  store_.Set(keys::ImagePath(4, 5), "c:\\p\\five.jpg");
  Open();
  model_->BoxTabControlChange(4, 5);
  EXPECT_FALSE(view_.boxes[3].empty);
  model_->BoxClearButtonClick(4);
  EXPECT_EQ(model_->slot_path(4, 5), "");
  EXPECT_TRUE(view_.boxes[3].empty);
  model_->CancelButtonClick();
  EXPECT_EQ(store_.Get(keys::ImagePath(4, 5)), "c:\\p\\five.jpg");

  Open();
  model_->BoxTabControlChange(4, 5);
  model_->BoxClearButtonClick(4);
  model_->NoImageRegFileSaveButtonClick();
  EXPECT_EQ(store_.Get(keys::ImagePath(4, 5)), "");
}

TEST_F(SettingsDialogTest, ATabChangeShowsThatSlotAndAnEmptyTabRestoresTheDesignSize) {
  FillStore();
  files_.Add("c:\\p\\tall.bmp", Bmp(300, 900));
  store_.Set(keys::ImagePath(2, 3), "c:\\p\\tall.bmp");
  Open();
  model_->BoxTabControlChange(2, 3);
  EXPECT_EQ(model_->current_slot(2), 3);
  EXPECT_EQ(SizeOf(view_.boxes[1]), "45x137");
  model_->BoxTabControlChange(2, 4);
  EXPECT_TRUE(view_.boxes[1].empty);
  EXPECT_EQ(SizeOf(view_.boxes[1]), "137x137");
}

TEST_F(SettingsDialogTest, ATabWhoseFileVanishedWhileOpenReportsTheFailure) {
  FillStore();
  files_.Add("c:\\p\\a.jpg", Jpeg(64, 48));
  store_.Set(keys::ImagePath(1, 2), "c:\\p\\a.jpg");
  Open();
  files_.Remove("c:\\p\\a.jpg");
  model_->BoxTabControlChange(1, 2);
  EXPECT_EQ(view_.errors.size(), 1u);
  EXPECT_EQ(model_->slot_path(1, 2), "c:\\p\\a.jpg");
}

struct DropCase {
  std::string folder;
  std::string item;
  std::string stored;
};

void PrintTo(const DropCase& c, std::ostream* os) { *os << c.folder << " + " << c.item; }

class DropFromTheFileList : public SettingsDialogTest, public ::testing::WithParamInterface<DropCase> {};

TEST_P(DropFromTheFileList, JoinsTheFolderAndTheLowerCasedNameWithOneBackslash) {
  FillStore();
  files_.Add(GetParam().stored, Bmp(640, 480));
  Open();
  model_->BoxTabControlChange(2, 6);
  model_->BoxDragDrop(2, DragSource::kFileList, GetParam().folder, GetParam().item);
  EXPECT_EQ(model_->slot_path(2, 6), GetParam().stored);
  EXPECT_EQ(SizeOf(view_.boxes[1]), "137x102");
  EXPECT_FALSE(view_.boxes[1].empty);
}

INSTANTIATE_TEST_SUITE_P(Folders, DropFromTheFileList,
                         ::testing::Values(DropCase{"E:\\", "Beach.BMP", "E:\\beach.bmp"},
                                           DropCase{"E:\\Shots", "Beach.BMP", "E:\\Shots\\beach.bmp"},
                                           DropCase{"C:\\Users\\Ａ写真", "ＳＵＮ.Bmp", "C:\\Users\\Ａ写真\\ｓｕｎ.bmp"}));

TEST_F(SettingsDialogTest, ADropFromElsewhereOrWithoutASelectionChangesNothing) {
  FillStore();
  Open();
  const auto log_size = view_.log.size();
  model_->BoxDragDrop(1, DragSource::kOther, "E:\\", std::string_view("a.jpg"));
  model_->BoxDragDrop(1, DragSource::kFileList, "E:\\", std::nullopt);
  EXPECT_EQ(model_->slot_path(1, 1), "");
  EXPECT_EQ(view_.log.size(), log_size);
  EXPECT_TRUE(SettingsDialogModel::BoxDragOver(DragSource::kFileList));
  EXPECT_FALSE(SettingsDialogModel::BoxDragOver(DragSource::kOther));
}

TEST_F(SettingsDialogTest, ADroppedFileThatCannotBeDecodedIsStoredWithoutAMessage) {
  FillStore();
  files_.Add("c:\\p\\a.jpg", Jpeg(640, 480));
  files_.Add("E:\\bad.jpg", {7, 7, 7});
  store_.Set(keys::ImagePath(1, 1), "c:\\p\\a.jpg");
  Open();
  model_->BoxDragDrop(1, DragSource::kFileList, "E:\\", std::string_view("BAD.JPG"));
  EXPECT_EQ(model_->slot_path(1, 1), "E:\\bad.jpg");
  EXPECT_TRUE(view_.errors.empty());
  EXPECT_EQ(SizeOf(view_.boxes[0]), "137x102");
}

TEST_F(SettingsDialogTest, AFileListClickPreviewsWithoutChangingASlot) {
  FillStore();
  files_.Add("e:\\shots\\wide.jpg", Jpeg(640, 480));
  Open();
  model_->ScrSetUpFileListBoxClick("E:\\Shots", std::string_view("Wide.JPG"));
  EXPECT_FALSE(view_.preview.empty);
  EXPECT_EQ(SizeOf(view_.preview), "97x72");
  for (int b = 1; b <= 4; ++b)
    for (int s = 1; s <= 12; ++s) EXPECT_EQ(model_->slot_path(b, s), "");

  model_->ScrSetUpFileListBoxClick("E:\\Shots", std::nullopt);
  EXPECT_TRUE(view_.preview.empty);
  EXPECT_EQ(SizeOf(view_.preview), "97x97");

  files_.Add("e:\\shots\\bad.bmp", {'B', 'M'});
  model_->ScrSetUpFileListBoxClick("E:\\Shots", std::string_view("bad.bmp"));
  EXPECT_EQ(view_.errors.size(), 1u);
}

TEST(SettingsDialogHidden, WithoutAViewItReadsAndInitialisesOnly) {
  MemoryStore store;
  Settings settings(store);
  FakeFileSystem files;
  files.Add("c:\\p\\a.jpg", {1, 2, 3});  // not decodable, and not decoded without a view
  store.Set(keys::ImagePath(1, 1), "c:\\p\\a.jpg");
  SettingsDialogModel model(settings, files, nullptr);
  EXPECT_EQ(store.writes().size(), 51u);  // everything but the slot already set
  EXPECT_EQ(model.slot_path(1, 1), "c:\\p\\a.jpg");
  model.set_slot_path(2, 3, "x");
  EXPECT_EQ(model.slot_path(2, 3), "x");
  store.ClearWrites();
  model.Close();
  model.BoxTabControlChange(1, 2);
  EXPECT_TRUE(store.writes().empty());
}

}  // namespace
}  // namespace tessmoor
