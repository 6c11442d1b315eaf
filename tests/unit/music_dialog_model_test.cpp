#include "setup/music_dialog_model.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/settings_keys.h"
#include "tests/support/fake_media_player.h"
#include "tests/support/fakes.h"

namespace tessmoor {
namespace {

using testing::FakeFileSystem;
using testing::FakeMediaPlayer;
using testing::MemoryStore;

}  // namespace

void PrintTo(const MusicButtonStates& b, std::ostream* os) {
  *os << "{play " << b.play_enabled << ", open " << b.open_enabled << ", stop " << b.stop_enabled
      << "}";
}

namespace {

// Keeps what the window would show, and answers the open dialog from a script.
class FakeMusicView : public MusicDialogView {
 public:
  void ShowCaption(int slot, std::string_view caption) override {
    captions[slot - 1] = std::string(caption);
  }
  void ShowTicked(int slot, bool ticked) override { ticks[slot - 1] = ticked; }
  void ShowButtons(const MusicButtonStates& states) override {
    buttons = states;
    ++button_updates;
  }
  std::string ChooseMusicFile() override {
    ++file_dialogs;
    return next_choice;
  }
  void HideWindow() override { ++hides; }
  void ShowSaveFailure(std::uint32_t error) override { save_failures.push_back(error); }

  std::array<std::string, 5> captions{"?", "?", "?", "?", "?"};
  std::array<bool, 5> ticks{};
  MusicButtonStates buttons{false, false, false};
  int button_updates = 0;
  std::string next_choice;
  int file_dialogs = 0;
  int hides = 0;
  std::vector<std::uint32_t> save_failures;
};

// Remembers every key read, in order.
class ReadLog : public KeyValueStore {
 public:
  explicit ReadLog(MemoryStore& store) : store_(store) {}
  StoredValue Read(std::string_view key) override {
    reads.emplace_back(key);
    return store_.Read(key);
  }
  WriteResult WriteString(std::string_view key, std::string_view value) override {
    return store_.WriteString(key, value);
  }
  std::vector<std::string> reads;

 private:
  MemoryStore& store_;
};

class MusicDialogTest : public ::testing::Test {
 protected:
  MusicDialogModel& Dialog() {
    if (!dialog_) dialog_ = Make(view_, player_);
    return *dialog_;
  }
  std::unique_ptr<MusicDialogModel> Make(FakeMusicView& view, FakeMediaPlayer& player) {
    return std::make_unique<MusicDialogModel>(settings_, files_, player, paths_, &view);
  }
  // A slot with a stored file that exists, as the user saved it earlier.
  void Stored(int slot, const std::string& path, const std::string& flag = "1") {
    store_.Set(keys::MusicPath(slot), path);
    store_.Set(keys::MusicPlayFlag(slot), flag);
    files_.Add(path);
  }
  void Choose(int slot, const std::string& path) {
    view_.next_choice = path;
    Dialog().MusicNoOpenDialogButtonClick(slot);
  }
  std::vector<std::pair<std::string, std::string>> SaveWrites() {
    store_.ClearWrites();
    EXPECT_TRUE(Dialog().MusicRegFileSaveButtonClick());
    return store_.writes();
  }
  static std::vector<std::pair<std::string, std::string>> Writes(
      const std::array<std::string, 5>& paths, const std::array<std::string, 5>& flags) {
    std::vector<std::pair<std::string, std::string>> writes;
    for (int n = 1; n <= 5; ++n) writes.emplace_back(keys::MusicPath(n), paths[n - 1]);
    for (int n = 1; n <= 5; ++n) writes.emplace_back(keys::MusicPlayFlag(n), flags[n - 1]);
    return writes;
  }

  MemoryStore store_;
  Settings settings_{store_};
  FakeFileSystem files_;
  FakeMediaPlayer player_;
  FakeMusicView view_;
  std::shared_ptr<MusicPaths> paths_ = std::make_shared<MusicPaths>();
  std::unique_ptr<MusicDialogModel> dialog_;
};

TEST_F(MusicDialogTest, EmptyStoreShowsFiveEmptyUntickedSlotsAndWritesTheirDefaults) {
  Dialog();
  std::vector<std::pair<std::string, std::string>> expected;
  for (int n = 1; n <= 5; ++n) {
    expected.emplace_back(keys::MusicPath(n), "");
    expected.emplace_back(keys::MusicPlayFlag(n), "1");
  }
  EXPECT_EQ(store_.writes(), expected);
  for (int n = 1; n <= 5; ++n) {
    EXPECT_EQ(view_.captions[n - 1], "") << n;
    EXPECT_FALSE(view_.ticks[n - 1]) << n;
    EXPECT_EQ(Dialog().path(n), "");
  }
  EXPECT_EQ(view_.buttons, kMusicIdle);
  EXPECT_FALSE(store_.Has("MusicPlayStop"));
}

TEST_F(MusicDialogTest, ReadsEachSlotsPathThenItsFlag) {
  ReadLog log(store_);
  Settings settings(log);
  MusicDialogModel dialog(settings, files_, player_, paths_, &view_);
  std::vector<std::string> expected;
  for (int n = 1; n <= 5; ++n) {
    expected.push_back(keys::MusicPath(n));
    expected.push_back(keys::MusicPlayFlag(n));
  }
  EXPECT_EQ(log.reads, expected);
}

TEST_F(MusicDialogTest, StoredPathWithCapitalsIsShownAndSavedLowerCased) {
  Stored(1, "D:\\Music\\Theme.WAV", "0");
  Dialog();
  EXPECT_EQ(view_.captions[0], "d:\\music\\theme.wav");
  EXPECT_TRUE(view_.ticks[0]);
  EXPECT_EQ(SaveWrites(), Writes({"d:\\music\\theme.wav", "", "", "", ""}, {"0", "1", "1", "1", "1"}));
}

TEST_F(MusicDialogTest, AnyFlagOtherThanOneTicksTheSlot) {
  store_.Set(keys::MusicPlayFlag(2), "0");
  store_.Set(keys::MusicPlayFlag(3), "yes");
  store_.Set(keys::MusicPlayFlag(4), "");
  store_.Set(keys::MusicPlayFlag(5), "1");
  Dialog();
  EXPECT_EQ(view_.ticks, (std::array<bool, 5>{false, true, true, true, false}));
}

TEST_F(MusicDialogTest, MissingFileIsTickedWithAnEmptyCaptionAndItsKeyKeptUntilSave) {
  store_.Set(keys::MusicPath(4), "c:\\gone.mid");
  store_.Set(keys::MusicPlayFlag(4), "0");
  Dialog();
  EXPECT_EQ(view_.captions[3], "");
  EXPECT_TRUE(view_.ticks[3]);
  EXPECT_EQ(store_.Get(keys::MusicPath(4)), "c:\\gone.mid");
  const auto writes = SaveWrites();
  EXPECT_EQ(writes, Writes({"", "", "", "", ""}, {"1", "1", "1", "0", "1"}));
}

TEST_F(MusicDialogTest, ChosenFileIsLowerCasedAndLeavesTheTickAlone) {
  Choose(2, "C:\\Music\\Song.MID");
  EXPECT_EQ(view_.captions[1], "c:\\music\\song.mid");
  EXPECT_EQ(Dialog().path(2), "c:\\music\\song.mid");
  EXPECT_FALSE(view_.ticks[1]);
  EXPECT_EQ(SaveWrites(), Writes({"", "c:\\music\\song.mid", "", "", ""}, {"1", "1", "1", "1", "1"}));
}

TEST_F(MusicDialogTest, ChosenFileNamesBeyondAsciiAreLowerCasedToo) {
  Choose(1, "C:\\Música\\ÉTÉ.WAV");
  EXPECT_EQ(Dialog().path(1), "c:\\música\\été.wav");
}

TEST_F(MusicDialogTest, CancelledOpenDialogChangesNothing) {
  Stored(3, "c:\\a.wav", "0");
  Choose(3, "");
  EXPECT_EQ(view_.file_dialogs, 1);
  EXPECT_EQ(view_.captions[2], "c:\\a.wav");
  EXPECT_EQ(Dialog().path(3), "c:\\a.wav");
  EXPECT_TRUE(view_.ticks[2]);
}

TEST_F(MusicDialogTest, TickedSlotsSaveZero) {
  Dialog();
  Dialog().MusicNameCheckBoxClick(1, true);
  Dialog().MusicNameCheckBoxClick(5, true);
  Dialog().MusicNameCheckBoxClick(5, false);
  Dialog().MusicNameCheckBoxClick(3, true);
  EXPECT_EQ(SaveWrites(), Writes({"", "", "", "", ""}, {"0", "1", "0", "1", "1"}));
}

TEST_F(MusicDialogTest, ErasingATickedSlotUnticksItAndSavesAnEmptyPath) {
  Stored(2, "c:\\b.wav", "0");
  Dialog();
  Dialog().MusicNoOpenDialogEraseButtonClick(2);
  EXPECT_EQ(view_.captions[1], "");
  EXPECT_FALSE(view_.ticks[1]);
  EXPECT_EQ(Dialog().path(2), "");
  EXPECT_EQ(SaveWrites(), Writes({"", "", "", "", ""}, {"1", "1", "1", "1", "1"}));
}

TEST_F(MusicDialogTest, SaveHidesTheWindowAndCancelWritesNothing) {
  Dialog();
  EXPECT_TRUE(Dialog().MusicRegFileSaveButtonClick());
  EXPECT_EQ(view_.hides, 1);
  store_.ClearWrites();
  Choose(1, "c:\\x.wav");
  Dialog().MusicNameCheckBoxClick(1, true);
  Dialog().CancelButtonClick();
  EXPECT_EQ(view_.hides, 2);
  EXPECT_TRUE(store_.writes().empty());
}

TEST_F(MusicDialogTest, ARefusedSaveStaysOpenWithTheChoicesAndThePreviewPlaying) {
  Stored(1, "c:\\a.wav");
  Dialog();
  Choose(2, "c:\\b.wav");
  Dialog().MusicPlayNoBitBtnClick(1);
  player_.ClearCalls();
  store_.ClearWrites();
  const int attempts = store_.write_attempts();
  store_.fail_writes = true;
  store_.fail_error = 1010;
  EXPECT_FALSE(Dialog().MusicRegFileSaveButtonClick());
  EXPECT_EQ(view_.hides, 0);
  EXPECT_EQ(view_.save_failures, (std::vector<std::uint32_t>{1010}));
  EXPECT_TRUE(store_.writes().empty());
  EXPECT_EQ(store_.write_attempts(), attempts + 1) << "the save went on after the refused write";
  EXPECT_TRUE(player_.calls().empty()) << "the preview was stopped";
  EXPECT_TRUE(Dialog().previewing());
  EXPECT_EQ(Dialog().path(2), "c:\\b.wav");

  store_.fail_writes = false;
  EXPECT_TRUE(Dialog().MusicRegFileSaveButtonClick());
  EXPECT_EQ(view_.hides, 1);
  EXPECT_EQ(store_.Get(keys::MusicPath(2)), "c:\\b.wav");
}

TEST_F(MusicDialogTest, PlayMovesToPlayingAndStopBackToIdle) {
  Stored(1, "c:\\a.wav");
  Dialog();
  Dialog().MusicPlayNoBitBtnClick(1);
  EXPECT_EQ(player_.calls(), (std::vector<std::string>{"open c:\\a.wav", "play"}));
  EXPECT_EQ(view_.buttons, kMusicPlaying);
  EXPECT_TRUE(Dialog().previewing());
  player_.ClearCalls();
  Dialog().MusicStopBitBtnClick();
  EXPECT_EQ(player_.calls(), (std::vector<std::string>{"stop", "close"}));
  EXPECT_EQ(view_.buttons, kMusicIdle);
  EXPECT_FALSE(Dialog().previewing());
}

TEST_F(MusicDialogTest, EndOfThePreviewStopsClosesAndGoesIdle) {
  Stored(2, "c:\\b.mid");
  Dialog();
  Dialog().MusicPlayNoBitBtnClick(2);
  ASSERT_TRUE(player_.FinishPlay());
  player_.ClearCalls();
  auto posted = player_.TakePosted();
  ASSERT_TRUE(posted);
  Dialog().MusicMediaPlayerNotify(posted->kind, posted->device_id);
  EXPECT_EQ(player_.calls(), (std::vector<std::string>{"stop", "close"}));
  EXPECT_EQ(view_.buttons, kMusicIdle);
}

TEST_F(MusicDialogTest, NoOtherPreviewStartsWhileOnePlays) {
  Stored(1, "c:\\a.wav");
  Stored(2, "c:\\b.wav");
  Dialog();
  Dialog().MusicPlayNoBitBtnClick(1);
  Dialog().MusicPlayNoBitBtnClick(2);
  Dialog().MusicPlayNoBitBtnClick(1);
  view_.next_choice = "c:\\c.wav";
  Dialog().MusicNoOpenDialogButtonClick(3);
  EXPECT_EQ(player_.Opens(), (std::vector<std::string>{"c:\\a.wav"}));
  EXPECT_EQ(player_.CountCalls("play"), 1);
  EXPECT_EQ(view_.file_dialogs, 0);
  EXPECT_EQ(player_.open_path(), "c:\\a.wav");
}

TEST_F(MusicDialogTest, StopThenPlayAgainIgnoresTheAbortOfTheFirstOnTheSameId) {
  Stored(1, "c:\\a.wav");
  Dialog();
  Dialog().MusicPlayNoBitBtnClick(1);
  Dialog().MusicStopBitBtnClick();
  Dialog().MusicPlayNoBitBtnClick(1);
  while (auto posted = player_.TakePosted())
    Dialog().MusicMediaPlayerNotify(posted->kind, posted->device_id);
  EXPECT_EQ(view_.buttons, kMusicPlaying);
  EXPECT_TRUE(player_.playing());
}

TEST_F(MusicDialogTest, NotificationsOfOtherPlaysLeaveThePreviewPlaying) {
  Stored(1, "c:\\a.wav");
  Dialog();
  player_.reuse_ids = false;
  Dialog().MusicPlayNoBitBtnClick(1);
  const std::uint32_t id = player_.DeviceId();
  Dialog().MusicMediaPlayerNotify(MediaNotify::kSuperseded, id);
  Dialog().MusicMediaPlayerNotify(MediaNotify::kAborted, id);
  Dialog().MusicMediaPlayerNotify(MediaNotify::kEnded, id + 1);
  Dialog().MusicMediaPlayerNotify(MediaNotify::kFailed, id + 1);
  EXPECT_EQ(view_.buttons, kMusicPlaying);
  EXPECT_TRUE(player_.playing());
}

TEST_F(MusicDialogTest, PlayOnAnEmptySlotOrAGoneFileDoesNothing) {
  Stored(2, "c:\\b.wav");
  Dialog();
  files_.Remove("c:\\b.wav");
  const int updates = view_.button_updates;
  Dialog().MusicPlayNoBitBtnClick(1);
  Dialog().MusicPlayNoBitBtnClick(2);
  EXPECT_TRUE(player_.calls().empty());
  EXPECT_EQ(view_.button_updates, updates);
  EXPECT_EQ(view_.buttons, kMusicIdle);
}

// A file the player cannot take, at each point where it can refuse.
enum class Refusal { kOpen, kPlay, kAtOnce };
void PrintTo(Refusal r, std::ostream* os) {
  *os << (r == Refusal::kOpen ? "open" : r == Refusal::kPlay ? "play" : "at once");
}

class MusicDialogRefusal : public MusicDialogTest, public ::testing::WithParamInterface<Refusal> {};

TEST_P(MusicDialogRefusal, LeavesTheButtonsIdleAndThePlayerClosed) {
  Stored(1, "c:\\odd.wav");
  Dialog();
  switch (GetParam()) {
    case Refusal::kOpen: player_.unopenable.insert("c:\\odd.wav"); break;
    case Refusal::kPlay: player_.unplayable.insert("c:\\odd.wav"); break;
    case Refusal::kAtOnce: player_.fail_at_play.insert("c:\\odd.wav"); break;
  }
  Dialog().MusicPlayNoBitBtnClick(1);
  while (auto posted = player_.TakePosted())
    Dialog().MusicMediaPlayerNotify(posted->kind, posted->device_id);
  EXPECT_EQ(view_.buttons, kMusicIdle);
  EXPECT_FALSE(Dialog().previewing());
  EXPECT_FALSE(player_.IsOpen());
  // And the next preview can start.
  files_.Add("c:\\fine.wav");
  Choose(2, "c:\\fine.wav");
  Dialog().MusicPlayNoBitBtnClick(2);
  EXPECT_EQ(view_.buttons, kMusicPlaying);
}

INSTANTIATE_TEST_SUITE_P(Points, MusicDialogRefusal,
                         ::testing::Values(Refusal::kOpen, Refusal::kPlay, Refusal::kAtOnce));

TEST_F(MusicDialogTest, UnsupportedExtensionIsNotPreviewed) {
  Stored(1, "c:\\song.mp3");
  Dialog();
  Dialog().MusicPlayNoBitBtnClick(1);
  EXPECT_EQ(view_.buttons, kMusicIdle);
  EXPECT_FALSE(player_.IsOpen());
}

// Every way of closing the dialog ends a preview that plays.
enum class Closing { kSave, kCancel, kCloseBox };
void PrintTo(Closing c, std::ostream* os) {
  *os << (c == Closing::kSave ? "save" : c == Closing::kCancel ? "cancel" : "close box");
}

class MusicDialogClosing : public MusicDialogTest, public ::testing::WithParamInterface<Closing> {};

TEST_P(MusicDialogClosing, StopsAndClosesThePreview) {
  Stored(1, "c:\\long.mid");
  Dialog();
  Dialog().MusicPlayNoBitBtnClick(1);
  player_.ClearCalls();
  switch (GetParam()) {
    case Closing::kSave: Dialog().MusicRegFileSaveButtonClick(); break;
    case Closing::kCancel: Dialog().CancelButtonClick(); break;
    case Closing::kCloseBox: Dialog().FormClose(); break;
  }
  EXPECT_EQ(player_.calls(), (std::vector<std::string>{"stop", "close"}));
  EXPECT_FALSE(player_.IsOpen());
  EXPECT_EQ(view_.buttons, kMusicIdle);
}

INSTANTIATE_TEST_SUITE_P(Ways, MusicDialogClosing,
                         ::testing::Values(Closing::kSave, Closing::kCancel, Closing::kCloseBox));

TEST_F(MusicDialogTest, OpenInstancesShareTheirPathsButNotTheirCaptionsOrTicks) {
  Stored(1, "c:\\one.wav", "0");
  Dialog();
  FakeMusicView other_view;
  FakeMediaPlayer other_player;
  auto other = Make(other_view, other_player);

  Choose(2, "C:\\Two.WAV");
  EXPECT_EQ(other->path(2), "c:\\two.wav");
  EXPECT_EQ(other_view.captions[1], "");
  other->MusicNoOpenDialogEraseButtonClick(1);
  EXPECT_EQ(Dialog().path(1), "");
  EXPECT_EQ(view_.captions[0], "c:\\one.wav");
  EXPECT_TRUE(view_.ticks[0]);

  // The first dialog saves what the second erased, with its own ticks.
  EXPECT_EQ(SaveWrites(), Writes({"", "c:\\two.wav", "", "", ""}, {"0", "1", "1", "1", "1"}));
}

TEST_F(MusicDialogTest, ANewInstanceReloadsTheSharedPathsFromTheStore) {
  Stored(1, "c:\\one.wav");
  Dialog();
  Choose(1, "c:\\changed.wav");
  FakeMusicView other_view;
  auto other = Make(other_view, player_);
  EXPECT_EQ(Dialog().path(1), "c:\\one.wav");
  EXPECT_EQ(view_.captions[0], "c:\\changed.wav");
}

TEST_F(MusicDialogTest, PreviewPlaysTheSharedPath) {
  Stored(1, "c:\\one.wav");
  files_.Add("c:\\two.wav");
  Dialog();
  FakeMusicView other_view;
  FakeMediaPlayer other_player;
  auto other = Make(other_view, other_player);
  view_.next_choice = "c:\\two.wav";
  Dialog().MusicNoOpenDialogButtonClick(1);
  other->MusicPlayNoBitBtnClick(1);
  EXPECT_EQ(other_player.Opens(), (std::vector<std::string>{"c:\\two.wav"}));
  EXPECT_TRUE(player_.calls().empty());
}

TEST(MusicDialogData, OpenDialogOffersBothKindsThenEachAlone) {
  ASSERT_EQ(kMusicFileFilters.size(), 3u);
  EXPECT_EQ(kMusicFileFilters[0].description, "すべてのファイル (*.mid;*.wav)");
  EXPECT_EQ(kMusicFileFilters[0].pattern, "*.mid;*.wav");
  EXPECT_EQ(kMusicFileFilters[1].pattern, "*.mid");
  EXPECT_EQ(kMusicFileFilters[2].pattern, "*.wav");
  EXPECT_NE(kMusicFileFilters[1].description.find("MIDI"), std::string_view::npos);
  EXPECT_NE(kMusicFileFilters[2].description.find("WAV"), std::string_view::npos);
}

}  // namespace
}  // namespace tessmoor
