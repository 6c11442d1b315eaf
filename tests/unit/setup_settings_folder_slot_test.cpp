#include <gtest/gtest.h>

#include <memory>
#include <utility>
#include <vector>

#include "app/settings_keys.h"
#include "setup/settings_dialog_layout.h"
#include "setup/settings_dialog_model.h"
#include "show/folder_kept.h"
#include "tests/support/fake_dialog_views.h"
#include "tests/support/fakes.h"
#include "tests/support/picture_files.h"
#include "tests/support/tag_decoder.h"

namespace tessmoor {
namespace {

using testing::FakeFileSystem;
using testing::FakeSettingsDialogView;
using testing::MemoryStore;

std::vector<std::uint8_t> Bmp(int w, int h) { return test::MakeBmp(w, h, test::Solid(test::kBlue)); }

// Makes each folder preview only when the test says, as a thread would have it ready later.
class LaterFolderPreviews final : public FolderPreviews {
 public:
  struct Asked {
    FolderPreviewRequest request;
    Done done;
  };
  LaterFolderPreviews(FileSystem& files, const PictureDecoder& decoder) : files_(files), decoder_(decoder) {}
  void Start(FolderPreviewRequest request, Done done) override {
    asked.push_back({std::move(request), std::move(done)});
  }
  // The answer to the `index`th request arrives on the dialog's thread.
  void Finish(std::size_t index) {
    const Asked& a = asked.at(index);
    a.done(MakeFolderPreview(files_, decoder_, a.request));
  }
  std::vector<Asked> asked;

 private:
  FileSystem& files_;
  const PictureDecoder& decoder_;
};

std::string SizeOf(const FakeSettingsDialogView::PictureControl& c) {
  return std::to_string(c.control.width) + "x" + std::to_string(c.control.height);
}

// Slots that name folders: kept, previewed by their first picture with a mark, filled by a drop
// from the folder list or by the open dialog.
class SettingsFolderSlotTest : public ::testing::Test {
 protected:
  SettingsFolderSlotTest() {
    for (int b = 1; b <= 4; ++b)
      for (int s = 1; s <= 12; ++s) store_.Set(keys::ImagePath(b, s), "");
    store_.Set(std::string(keys::kFolderSubfolders), "1");
    // "2" comes before "10" by the value of its number; the subfolder's picture comes after both.
    files_.AddFolder("C:\\Photos\\Trip\\zz");
    files_.Add("C:\\Photos\\Trip\\10.bmp", Bmp(40, 40));
    files_.Add("C:\\Photos\\Trip\\2.bmp", Bmp(300, 900));
    files_.Add("C:\\Photos\\Trip\\notes.txt", {'x'});
    files_.Add("C:\\Photos\\Trip\\zz\\1.bmp", Bmp(640, 480));
  }
  SettingsDialogModel& Open(const PictureDecoder* decoder = nullptr) {
    model_ = std::make_unique<SettingsDialogModel>(settings_, files_, &view_, decoder);
    return *model_;
  }
  SettingsDialogModel& OpenListingLater() {
    model_ = std::make_unique<SettingsDialogModel>(settings_, files_, &view_, &decoder_, nullptr, &later_);
    return *model_;
  }

  MemoryStore store_;
  Settings settings_{store_};
  FakeFileSystem files_;
  FakeSettingsDialogView view_;
  BuiltInPictureDecoder decoder_;
  LaterFolderPreviews later_{files_, decoder_};
  std::unique_ptr<SettingsDialogModel> model_;
};

TEST_F(SettingsFolderSlotTest, AStoredFolderIsKeptThroughASaveExactlyAsWritten) {
  store_.Set(keys::ImagePath(2, 1), "C:\\Photos\\Trip");
  store_.Set(keys::ImagePath(3, 7), "c:\\PHOTOS\\trip\\");
  store_.Set(keys::ImagePath(4, 2), "C:\\Photos\\Gone");
  Open();
  EXPECT_EQ(model_->slot_path(2, 1), "C:\\Photos\\Trip");
  EXPECT_EQ(model_->slot_path(3, 7), "c:\\PHOTOS\\trip\\");
  EXPECT_EQ(model_->slot_path(4, 2), "");  // a folder that is gone is an empty slot, as a file is
  model_->NoImageRegFileSaveButtonClick();
  EXPECT_EQ(store_.Get(keys::ImagePath(2, 1)), "C:\\Photos\\Trip");
  EXPECT_EQ(store_.Get(keys::ImagePath(3, 7)), "c:\\PHOTOS\\trip\\");
  EXPECT_EQ(store_.Get(keys::ImagePath(4, 2)), "");
  // Slots the save leaves as they were, and a gone folder with nothing kept, keep no place.
  for (const auto& [b, s] : {std::pair{2, 1}, {3, 7}, {4, 2}}) EXPECT_FALSE(store_.Get(keys::FolderPlace(b, s)));
}

TEST_F(SettingsFolderSlotTest, AFolderSlotShowsItsFirstPictureByNameAndMarksItsCount) {
  store_.Set(keys::ImagePath(2, 1), "C:\\Photos\\Trip");
  Open();
  EXPECT_FALSE(view_.boxes[1].empty);
  EXPECT_EQ(SizeOf(view_.boxes[1]), "45x137");  // 2.bmp, 300 x 900
  EXPECT_EQ(view_.boxes[1].folder_pictures, 3u);
  EXPECT_TRUE(view_.errors.empty());
  EXPECT_FALSE(view_.boxes[0].folder_pictures.has_value());
}

TEST_F(SettingsFolderSlotTest, TheSubfolderSettingDecidesWhatTheCountAndTheFirstPictureTake) {
  files_.Remove("C:\\Photos\\Trip\\2.bmp");
  files_.Remove("C:\\Photos\\Trip\\10.bmp");
  store_.Set(keys::ImagePath(1, 1), "C:\\Photos\\Trip");
  Open();
  EXPECT_EQ(SizeOf(view_.boxes[0]), "137x102");  // zz\1.bmp, 640 x 480
  EXPECT_EQ(view_.boxes[0].folder_pictures, 1u);

  store_.Set(std::string(keys::kFolderSubfolders), "0");
  model_->BoxTabControlChange(1, 1);
  EXPECT_TRUE(view_.boxes[0].empty);
  EXPECT_EQ(SizeOf(view_.boxes[0]), "137x137");
  EXPECT_EQ(view_.boxes[0].folder_pictures, 0u);
  EXPECT_TRUE(view_.errors.empty());
}

TEST_F(SettingsFolderSlotTest, AFolderWhoseFirstPictureIsBrokenOrThatCannotBeListedShowsAnEmptyMarkedBox) {
  files_.Add("C:\\Photos\\Trip\\1.bmp", {'B', 'M', 1});
  files_.AddFolder("C:\\Locked");
  files_.MakeUnlistable("C:\\Locked");
  store_.Set(keys::ImagePath(1, 1), "C:\\Photos\\Trip");
  store_.Set(keys::ImagePath(1, 2), "C:\\Locked");
  Open();
  EXPECT_TRUE(view_.boxes[0].empty);
  EXPECT_EQ(view_.boxes[0].folder_pictures, 4u);
  model_->BoxTabControlChange(1, 2);
  EXPECT_EQ(model_->slot_path(1, 2), "C:\\Locked");
  EXPECT_TRUE(view_.boxes[0].empty);
  EXPECT_EQ(view_.boxes[0].folder_pictures, 0u);
  EXPECT_TRUE(view_.errors.empty());
}

TEST_F(SettingsFolderSlotTest, ATabWithAFileOrAnEmptySlotTakesTheMarkAway) {
  files_.Add("c:\\p\\a.bmp", Bmp(64, 48));
  store_.Set(keys::ImagePath(3, 1), "C:\\Photos\\Trip");
  store_.Set(keys::ImagePath(3, 2), "c:\\p\\a.bmp");
  Open();
  EXPECT_EQ(view_.boxes[2].folder_pictures, 3u);
  model_->BoxTabControlChange(3, 2);
  EXPECT_FALSE(view_.boxes[2].empty);
  EXPECT_FALSE(view_.boxes[2].folder_pictures.has_value());
  model_->BoxTabControlChange(3, 1);
  model_->BoxTabControlChange(3, 3);
  EXPECT_TRUE(view_.boxes[2].empty);
  EXPECT_FALSE(view_.boxes[2].folder_pictures.has_value());
}

TEST_F(SettingsFolderSlotTest, AFolderDroppedFromTheFolderListFillsTheCurrentSlotAsSpelt) {
  Open();
  EXPECT_TRUE(SettingsDialogModel::BoxDragOver(DragSource::kFolderList));
  model_->BoxTabControlChange(4, 9);
  model_->BoxFolderDragDrop(4, "C:\\Photos\\Trip");
  EXPECT_EQ(model_->slot_path(4, 9), "C:\\Photos\\Trip");
  EXPECT_EQ(model_->slot_path(4, 1), "");
  EXPECT_EQ(SizeOf(view_.boxes[3]), "45x137");
  EXPECT_EQ(view_.boxes[3].folder_pictures, 3u);
  model_->NoImageRegFileSaveButtonClick();
  EXPECT_EQ(store_.Get(keys::ImagePath(4, 9)), "C:\\Photos\\Trip");
  // The save keeps the folder's first picture for the show, which then starts on it unlisted:
  // shuffled at first run, drawn from the clock.
  const FolderKept kept = ParseFolderKept(store_.Get(keys::FolderPlace(4, 9)).value_or(""));
  ASSERT_TRUE(kept.next.has_value());
  EXPECT_TRUE(kept.next->path == "2.bmp" || kept.next->path == "10.bmp" || kept.next->path == "zz\\1.bmp")
      << kept.next->path;
  EXPECT_FALSE(store_.Get(keys::FolderPlace(4, 1)).has_value());
}

TEST_F(SettingsFolderSlotTest, TheFileDropTakesNothingFromTheFolderListAndAnEmptyFolderDropNothing) {
  Open();
  const auto log_size = view_.log.size();
  model_->BoxDragDrop(1, DragSource::kFolderList, "C:\\Photos", std::string_view("Trip"));
  model_->BoxFolderDragDrop(1, "");
  model_->BoxFolderDragDrop(5, "C:\\Photos\\Trip");
  EXPECT_EQ(model_->slot_path(1, 1), "");
  EXPECT_EQ(view_.log.size(), log_size);
}

TEST_F(SettingsFolderSlotTest, TheOpenButtonTakesAFolderAsTheDialogSpellsIt) {
  Open();
  view_.next_choice = "C:\\Photos\\Trip";
  model_->BoxImageButtonClick(2);
  EXPECT_EQ(model_->slot_path(2, 1), "C:\\Photos\\Trip");
  EXPECT_EQ(view_.boxes[1].folder_pictures, 3u);
  // Next time the dialog starts beside the folder, where it can be chosen again.
  model_->BoxImageButtonClick(2);
  EXPECT_EQ(view_.chooser_folders.back(), "C:\\Photos\\");
}

TEST_F(SettingsFolderSlotTest, PreviewsGoThroughTheGivenDecoderSoEveryFormatShows) {
  files_.Add("c:\\p\\sea.png", testing::TagFile(7, 300, 900));
  files_.AddFolder("C:\\Scans");
  files_.Add("C:\\Scans\\a.tif", testing::TagFile(8, 640, 480));
  store_.Set(keys::ImagePath(1, 1), "c:\\p\\sea.png");
  store_.Set(keys::ImagePath(2, 1), "C:\\Scans");
  const testing::TagDecoder decoder;
  Open(&decoder);
  EXPECT_EQ(SizeOf(view_.boxes[0]), "45x137");
  EXPECT_EQ(SizeOf(view_.boxes[1]), "137x102");
  EXPECT_EQ(view_.boxes[1].folder_pictures, 1u);
  model_->ScrSetUpFileListBoxClick("c:\\p", std::string_view("Sea.PNG"));
  EXPECT_EQ(SizeOf(view_.preview), "32x97");
}

TEST_F(SettingsFolderSlotTest, WithoutAViewAFolderSlotIsKeptAndNothingIsListed) {
  store_.Set(keys::ImagePath(1, 1), "C:\\Photos\\Trip");
  SettingsDialogModel model(settings_, files_, nullptr);
  EXPECT_EQ(model.slot_path(1, 1), "C:\\Photos\\Trip");
  EXPECT_EQ(files_.listings(), 0);
}

TEST_F(SettingsFolderSlotTest, AFolderIsMarkedAtOnceAndShowsItsPictureAndCountWhenTheListingComes) {
  store_.Set(keys::ImagePath(2, 1), "C:\\Photos\\Trip");
  OpenListingLater();
  // Nothing listed or decoded on the dialog's thread: an empty box with a mark that has no count.
  EXPECT_EQ(files_.listings(), 0);
  EXPECT_TRUE(view_.boxes[1].empty);
  EXPECT_EQ(SizeOf(view_.boxes[1]), "137x137");
  EXPECT_TRUE(view_.boxes[1].counting);
  EXPECT_FALSE(view_.boxes[0].counting);
  ASSERT_EQ(later_.asked.size(), 1u);
  const FolderPreviewRequest& request = later_.asked[0].request;
  EXPECT_EQ(request.folder, "C:\\Photos\\Trip");
  EXPECT_TRUE(request.subfolders);
  EXPECT_EQ(request.enlarge, BoxPictureEnlarges(2));

  later_.Finish(0);
  EXPECT_GT(files_.listings(), 0);
  EXPECT_EQ(SizeOf(view_.boxes[1]), "45x137");  // 2.bmp
  EXPECT_EQ(view_.boxes[1].folder_pictures, 3u);
  EXPECT_FALSE(view_.boxes[1].counting);
  EXPECT_TRUE(view_.errors.empty());
}

TEST_F(SettingsFolderSlotTest, ALateListingForABoxThatHasMovedOnIsDropped) {
  files_.Add("c:\\p\\a.bmp", Bmp(64, 48));
  files_.AddFolder("C:\\Scans");
  files_.Add("C:\\Scans\\wide.bmp", Bmp(640, 480));
  store_.Set(keys::ImagePath(1, 1), "C:\\Photos\\Trip");
  store_.Set(keys::ImagePath(1, 2), "c:\\p\\a.bmp");
  store_.Set(keys::ImagePath(1, 3), "C:\\Photos\\Trip");
  OpenListingLater();
  // Another tab: its file shows, and the first tab's folder comes too late.
  model_->BoxTabControlChange(1, 2);
  later_.Finish(0);
  EXPECT_EQ(SizeOf(view_.boxes[0]), "137x102");
  EXPECT_FALSE(view_.boxes[0].folder_pictures.has_value());
  EXPECT_FALSE(view_.boxes[0].counting);

  // The slot cleared while its folder is listed.
  model_->BoxTabControlChange(1, 3);
  model_->BoxClearButtonClick(1);
  later_.Finish(1);
  EXPECT_TRUE(view_.boxes[0].empty);
  EXPECT_FALSE(view_.boxes[0].folder_pictures.has_value());

  // Another folder dropped before the first one's answer: the last drop wins, in either order.
  model_->BoxFolderDragDrop(1, "C:\\Photos\\Trip");
  model_->BoxFolderDragDrop(1, "C:\\Scans");
  later_.Finish(3);
  later_.Finish(2);
  EXPECT_EQ(SizeOf(view_.boxes[0]), "137x102");  // wide.bmp
  EXPECT_EQ(view_.boxes[0].folder_pictures, 1u);

  // Away and back to the same folder: only the answer to the latest request is shown.
  model_->BoxTabControlChange(1, 1);
  model_->BoxTabControlChange(1, 2);
  model_->BoxTabControlChange(1, 1);
  ASSERT_EQ(later_.asked.size(), 6u);
  later_.Finish(4);
  EXPECT_TRUE(view_.boxes[0].counting);
  later_.Finish(5);
  EXPECT_EQ(view_.boxes[0].folder_pictures, 3u);

  // A file dropped from the file list while the folder is listed.
  model_->BoxTabControlChange(1, 2);
  model_->BoxTabControlChange(1, 1);
  model_->BoxDragDrop(1, DragSource::kFileList, "c:\\p", std::string_view("a.bmp"));
  later_.Finish(6);
  EXPECT_EQ(SizeOf(view_.boxes[0]), "137x102");
  EXPECT_FALSE(view_.boxes[0].folder_pictures.has_value());
  EXPECT_EQ(model_->slot_path(1, 1), "c:\\p\\a.bmp");
  EXPECT_TRUE(view_.errors.empty());
}

TEST(PictureFileChoices, TheMaskAndTheFiltersListEveryFormatTheDecoderTakesJpegAndBmpFirst) {
  const std::vector<std::string> extensions{".bmp", ".gif", ".jpeg", ".jpg", ".png", ".tif"};
  EXPECT_EQ(PictureFileMask(extensions), "*.jpg;*.jpeg;*.bmp;*.gif;*.png;*.tif");
  const std::vector<OwnedFileFilter> filters = PictureFileFilters(extensions);
  std::vector<std::string> texts;
  for (const OwnedFileFilter& f : filters) texts.push_back(f.description + " | " + f.pattern);
  EXPECT_EQ(texts, (std::vector<std::string>{
                       "すべてのファイル (*.jpg;*.jpeg;*.bmp;*.gif;*.png;*.tif) | *.jpg;*.jpeg;*.bmp;*.gif;*.png;*.tif",
                       "JPEG イメージファイル (*.jpg) | *.jpg",
                       "JPEG イメージファイル (*.jpeg) | *.jpeg",
                       "ビットマップ (*.bmp) | *.bmp",
                       "GIF イメージファイル (*.gif) | *.gif",
                       "PNG イメージファイル (*.png) | *.png",
                       "TIF イメージファイル (*.tif) | *.tif",
                   }));
}

TEST(PictureFileChoices, ThePortableDecodersGiveTheFamiliarListAndMask) {
  const BuiltInPictureDecoder built_in;
  EXPECT_EQ(PictureFileMask(built_in.Extensions()), kPictureFileMask);
  const std::vector<OwnedFileFilter> filters = PictureFileFilters(built_in.Extensions());
  ASSERT_EQ(filters.size(), kPictureFileFilters.size());
  for (std::size_t i = 0; i < filters.size(); ++i) {
    EXPECT_EQ(filters[i].description, kPictureFileFilters[i].description);
    EXPECT_EQ(filters[i].pattern, kPictureFileFilters[i].pattern);
  }
}

TEST(PictureFileChoices, TheFolderMarkSaysHowManyPictures) {
  EXPECT_EQ(FolderMarkCaption(0), "0 枚");
  EXPECT_EQ(FolderMarkCaption(12345), "12345 枚");
  EXPECT_EQ(FolderMarkCaption(std::nullopt), "… 枚");
}

}  // namespace
}  // namespace tessmoor
