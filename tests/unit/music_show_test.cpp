#include "show/show_music.h"

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

// Remembers which files were asked about, in order.
class RecordingFiles : public testing::ForwardingFileSystem {
 public:
  RecordingFiles() : ForwardingFileSystem(files) {}
  bool FileExists(std::string_view path) override {
    asked.emplace_back(path);
    return files.FileExists(path);
  }
  std::optional<std::vector<std::uint8_t>> ReadFile(std::string_view path,
                                                     std::size_t max_bytes) override {
    return files.ReadFile(path, max_bytes);
  }
  FakeFileSystem files;
  std::vector<std::string> asked;
};

std::string Track(int slot) { return "c:\\music\\track" + std::to_string(slot) + ".wav"; }

// A show's music as it starts: store, files and player, with the settings read the way the
// show window reads them.
class ShowMusicTest : public ::testing::Test {
 protected:
  // Slot `slot` switched on (flag "0") with a file that exists.
  void Playable(int slot) {
    On(slot);
    WithFile(slot);
  }
  void On(int slot) { store_.Set(keys::MusicPlayFlag(slot), "0"); }
  void Off(int slot) { store_.Set(keys::MusicPlayFlag(slot), "1"); }
  void WithFile(int slot) {
    store_.Set(keys::MusicPath(slot), Track(slot));
    files_.files.Add(Track(slot));
  }
  void MusicOn() { store_.Set(std::string(keys::kMusicSwitch), "0"); }

  ShowMusic& Music() {
    if (!music_) {
      Settings settings(store_);
      music_.emplace(ReadMusicSettings(settings, files_), player_, files_);
      files_.asked.clear();
    }
    return *music_;
  }
  MusicTimer Start() { return Music().Start(now_); }

  // Delivers every posted notification, as the message loop would. A rotation that keeps
  // answering failures with new attempts fails the test instead of hanging it.
  MusicTimer DeliverAll() {
    MusicTimer timer = Music().timer();
    for (int delivered = 0; auto posted = player_.TakePosted(); ++delivered) {
      if (delivered == 50) {
        ADD_FAILURE() << "notifications never stop coming";
        break;
      }
      timer = Music().OnNotify(posted->kind, posted->device_id, now_);
    }
    return timer;
  }
  // The playing track reaches its end and the device says so.
  MusicTimer EndTrack() {
    EXPECT_TRUE(player_.FinishPlay());
    return DeliverAll();
  }

  MemoryStore store_;
  RecordingFiles files_;
  FakeMediaPlayer player_;
  std::optional<ShowMusic> music_;
  std::int64_t now_ = 10'000;
};

TEST_F(ShowMusicTest, AllKeysAbsentWritesDefaultsAndPlaysNothing) {
  Start();
  EXPECT_EQ(store_.Get("MusicPlayStop"), "1");
  for (int k = 1; k <= 5; ++k) {
    EXPECT_EQ(store_.Get(keys::MusicPath(k)), "");
    EXPECT_EQ(store_.Get(keys::MusicPlayFlag(k)), "1");
  }
  EXPECT_FALSE(Music().music_on());
  EXPECT_TRUE(player_.calls().empty());
  // A stray notification does nothing either.
  player_.Post(MediaNotify::kEnded, 1);
  EXPECT_EQ(DeliverAll(), MusicTimer{});
  EXPECT_TRUE(player_.calls().empty());
}

TEST_F(ShowMusicTest, SwitchOffPlaysNothingEvenWithPlayableSlots) {
  Playable(1);
  Playable(2);
  EXPECT_EQ(Start(), MusicTimer{});
  EXPECT_TRUE(player_.calls().empty());
  EXPECT_EQ(Music().playing_slot(), 0);
}

TEST_F(ShowMusicTest, MissingFirstFileStartsSlotTwoAndTriesTheOthersAtItsEnd) {
  MusicOn();
  On(1);
  store_.Set(keys::MusicPath(1), Track(1));  // file gone
  Playable(2);
  Start();
  EXPECT_EQ(player_.calls(), (std::vector<std::string>{"open " + Track(2), "play"}));
  EXPECT_EQ(Music().playing_slot(), 2);
  EXPECT_EQ(Music().next_track(), 3);

  // Slot 1 was empty from the start, slots 3 to 5 are switched off: only slot 2's own file
  // needs looking at again, after the others.
  files_.asked.clear();
  player_.ClearCalls();
  EndTrack();
  EXPECT_EQ(files_.asked, (std::vector<std::string>{Track(2)}));
  EXPECT_EQ(player_.Opens(), (std::vector<std::string>{Track(2)}));
  EXPECT_EQ(Music().next_track(), 3);
}

TEST_F(ShowMusicTest, AtTheEndOfATrackTheFollowingSlotsAreTriedInCyclicOrder) {
  MusicOn();
  for (int k = 1; k <= 5; ++k) On(k);
  for (int k : {2, 3, 4, 5}) store_.Set(keys::MusicPath(k), Track(k));  // gone later
  for (int k : {2, 3, 4, 5}) files_.files.Add(Track(k));
  Start();
  ASSERT_EQ(Music().playing_slot(), 2);
  for (int k : {3, 4, 5}) files_.files.Remove(Track(k));
  files_.asked.clear();
  EndTrack();
  EXPECT_EQ(files_.asked, (std::vector<std::string>{Track(3), Track(4), Track(5), Track(2)}));
  EXPECT_EQ(Music().playing_slot(), 2);
}

TEST_F(ShowMusicTest, RotatesThroughEveryPlayableSlotAndBackToTheFirst) {
  MusicOn();
  for (int k : {1, 2, 4, 5}) Playable(k);
  Off(3);
  WithFile(3);
  Start();
  std::vector<int> played{Music().playing_slot()};
  for (int i = 0; i < 5; ++i) {
    EndTrack();
    played.push_back(Music().playing_slot());
  }
  EXPECT_EQ(played, (std::vector<int>{1, 2, 4, 5, 1, 2}));
}

TEST_F(ShowMusicTest, ASinglePlayableTrackStartsAgainAtEveryEnd) {
  MusicOn();
  Playable(4);
  Start();
  for (int i = 0; i < 3; ++i) EndTrack();
  EXPECT_EQ(player_.Opens(), std::vector<std::string>(4, Track(4)));
  EXPECT_EQ(player_.CountCalls("play"), 4);
  EXPECT_TRUE(player_.playing());
  EXPECT_EQ(Music().next_track(), 5);
}

TEST_F(ShowMusicTest, AllSlotsOnWithoutAnyFileTurnsTheMusicOff) {
  MusicOn();
  for (int k = 1; k <= 5; ++k) {
    On(k);
    store_.Set(keys::MusicPath(k), Track(k));
  }
  EXPECT_EQ(Start(), MusicTimer{});
  EXPECT_FALSE(Music().music_on());
  EXPECT_TRUE(player_.calls().empty());
}

TEST_F(ShowMusicTest, FirstSlotSwitchedOffDoesNotKeepLaterSlotsSilent) {
  MusicOn();
  Off(1);
  WithFile(1);
  Off(2);
  Playable(3);
  Start();
  EXPECT_EQ(player_.Opens(), (std::vector<std::string>{Track(3)}));
  EXPECT_EQ(Music().playing_slot(), 3);
  EXPECT_EQ(Music().next_track(), 4);
  EXPECT_TRUE(Music().music_on());
}

TEST_F(ShowMusicTest, StoredPathsWithCapitalsPlayLowerCased) {
  MusicOn();
  On(1);
  store_.Set(keys::MusicPath(1), "D:\\Music\\Theme.WAV");
  files_.files.Add("D:\\Music\\Theme.WAV");
  files_.files.Add("d:\\music\\theme.wav");
  Start();
  EXPECT_EQ(player_.Opens(), (std::vector<std::string>{"d:\\music\\theme.wav"}));
}

// Notifications that do not report the end of the playing track.
struct StrayCase {
  const char* name;
  MediaNotify kind;
  bool other_device;
};
void PrintTo(const StrayCase& c, std::ostream* os) { *os << c.name; }

class ShowMusicStrayNotify : public ShowMusicTest,
                             public ::testing::WithParamInterface<StrayCase> {};

TEST_P(ShowMusicStrayNotify, KeepsTheTrackPlaying) {
  MusicOn();
  Playable(1);
  Playable(2);
  player_.reuse_ids = false;
  Start();
  const std::uint32_t id = player_.DeviceId();
  player_.ClearCalls();
  Music().OnNotify(GetParam().kind, GetParam().other_device ? id + 7 : id, now_);
  EXPECT_TRUE(player_.calls().empty());
  EXPECT_EQ(Music().playing_slot(), 1);
  // The real end still moves on.
  EndTrack();
  EXPECT_EQ(Music().playing_slot(), 2);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, ShowMusicStrayNotify,
    ::testing::Values(StrayCase{"Aborted", MediaNotify::kAborted, false},
                      StrayCase{"Superseded", MediaNotify::kSuperseded, false},
                      StrayCase{"EndOfAnotherDevice", MediaNotify::kEnded, true},
                      StrayCase{"FailureOfAnotherDevice", MediaNotify::kFailed, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ShowMusicTest, OpeningAndStartingATrackReportNothingThatSkipsIt) {
  MusicOn();
  Playable(1);
  Playable(2);
  Start();
  // Everything the player posted for the opening and the start is delivered first.
  DeliverAll();
  EXPECT_EQ(Music().playing_slot(), 1);
  EXPECT_EQ(player_.Opens(), (std::vector<std::string>{Track(1)}));
}

TEST_F(ShowMusicTest, EndOfATrackStoppedEarlierDoesNotSkipItsSuccessorOnAReusedId) {
  MusicOn();
  Playable(1);
  Playable(2);
  Playable(3);
  player_.lengths_ms[Track(1)] = 1000;
  Start();
  // Slot 1's time runs out: it is stopped, which posts its abort, and slot 2 opens on the same
  // id before that abort is delivered.
  Music().Tick(*Music().timer().due_ms);
  ASSERT_EQ(Music().playing_slot(), 2);
  ASSERT_TRUE(player_.HasPosted());
  DeliverAll();
  EXPECT_EQ(Music().playing_slot(), 2);
}

TEST_F(ShowMusicTest, UnopenableTrackIsPassedOverForTheRestOfTheShow) {
  MusicOn();
  Playable(1);
  Playable(2);
  player_.unopenable.insert(Track(1));
  Start();
  EXPECT_EQ(player_.Opens(), (std::vector<std::string>{Track(1), Track(2)}));
  EXPECT_TRUE(Music().passed_over(1));
  player_.ClearCalls();
  EndTrack();
  EndTrack();
  EXPECT_EQ(player_.Opens(), (std::vector<std::string>{Track(2), Track(2)}));
}

TEST_F(ShowMusicTest, UnplayableTrackIsClosedAndPassedOver) {
  MusicOn();
  Playable(1);
  Playable(3);
  player_.unplayable.insert(Track(1));
  Start();
  EXPECT_EQ(player_.calls(), (std::vector<std::string>{"open " + Track(1), "play", "close",
                                                      "open " + Track(3), "play"}));
  EXPECT_EQ(Music().playing_slot(), 3);
}

TEST_F(ShowMusicTest, NothingOpenableGoesSilentWithoutRetrying) {
  MusicOn();
  for (int k = 1; k <= 5; ++k) {
    Playable(k);
    player_.unopenable.insert(Track(k));
  }
  EXPECT_EQ(Start(), MusicTimer{});
  EXPECT_EQ(player_.Opens().size(), 5u);
  EXPECT_FALSE(Music().music_on());
  player_.ClearCalls();
  player_.Post(MediaNotify::kFailed, 1);
  DeliverAll();
  Music().Tick(now_ + 3'600'000);
  EXPECT_TRUE(player_.calls().empty());
}

TEST_F(ShowMusicTest, WithoutASoundDeviceEachTrackFailsOnceThenTheShowIsSilent) {
  MusicOn();
  for (int k : {1, 2, 5}) {
    Playable(k);
    player_.fail_at_play.insert(Track(k));
  }
  Start();
  EXPECT_EQ(DeliverAll(), MusicTimer{});
  EXPECT_EQ(player_.Opens(), (std::vector<std::string>{Track(1), Track(2), Track(5)}));
  EXPECT_FALSE(player_.HasPosted());
  EXPECT_FALSE(player_.IsOpen());
  EXPECT_FALSE(Music().music_on());
}

TEST_F(ShowMusicTest, FailedTrackIsPassedOverWhileTheOthersRotate) {
  MusicOn();
  Playable(1);
  Playable(2);
  player_.fail_at_play.insert(Track(2));
  Start();
  EndTrack();  // slot 1 ends, slot 2 fails at once, slot 1 again
  DeliverAll();
  EndTrack();
  EXPECT_EQ(player_.Opens(), (std::vector<std::string>{Track(1), Track(2), Track(1), Track(1)}));
  EXPECT_TRUE(Music().passed_over(2));
}

TEST_F(ShowMusicTest, TrackThatNeverReportsItsEndMovesOnAfterItsLengthAndAMargin) {
  MusicOn();
  const std::string midi = "c:\\music\\song.mid";
  On(1);
  store_.Set(keys::MusicPath(1), midi);
  files_.files.Add(midi);
  Playable(2);
  player_.never_notifies.insert(midi);
  player_.lengths_ms[midi] = 60'000;
  player_.lengths_ms[Track(2)] = 5'000;

  const MusicTimer timer = Start();
  ASSERT_TRUE(timer.due_ms);
  const std::int64_t due = now_ + 60'000 + EndGraceMs(60'000);
  EXPECT_EQ(*timer.due_ms, due);
  EXPECT_GT(EndGraceMs(60'000), 0);
  EXPECT_EQ(timer.IntervalFrom(now_), 60'000 + EndGraceMs(60'000));

  // The device plays to its end and says nothing.
  EXPECT_TRUE(player_.FinishPlay());
  EXPECT_EQ(DeliverAll(), timer);
  // A timer that fires early changes nothing.
  EXPECT_EQ(Music().Tick(due - 1), timer);
  EXPECT_EQ(Music().playing_slot(), 1);

  const MusicTimer next = Music().Tick(due);
  EXPECT_EQ(Music().playing_slot(), 2);
  EXPECT_EQ(player_.calls(), (std::vector<std::string>{"open " + midi, "play", "stop", "close",
                                                      "open " + Track(2), "play"}));
  ASSERT_TRUE(next.due_ms);
  EXPECT_EQ(*next.due_ms, due + 5'000 + EndGraceMs(5'000));
}

TEST_F(ShowMusicTest, TrackWithAReportedEndClearsItsTimer) {
  MusicOn();
  Playable(1);
  player_.lengths_ms[Track(1)] = 4'000;
  ASSERT_TRUE(Start().due_ms);
  now_ += 4'100;
  const MusicTimer after = EndTrack();
  ASSERT_TRUE(after.due_ms);
  EXPECT_EQ(*after.due_ms, now_ + 4'000 + EndGraceMs(4'000));
}

TEST_F(ShowMusicTest, TrackOfUnknownLengthNeedsNoTimer) {
  MusicOn();
  Playable(1);
  EXPECT_EQ(Start(), MusicTimer{});
  EXPECT_EQ(Music().playing_slot(), 1);
}

TEST_F(ShowMusicTest, FileRemovedDuringTheShowIsSkippedUntilItComesBack) {
  MusicOn();
  Playable(1);
  Playable(2);
  Start();
  files_.files.Remove(Track(2));
  EndTrack();
  EXPECT_EQ(Music().playing_slot(), 1);
  files_.files.Add(Track(2));
  EndTrack();
  EXPECT_EQ(Music().playing_slot(), 2);
}

TEST_F(ShowMusicTest, ShutdownStopsAndClosesThePlayerAndIgnoresWhatFollows) {
  MusicOn();
  Playable(1);
  player_.lengths_ms[Track(1)] = 1'000;
  Start();
  player_.ClearCalls();
  Music().Shutdown();
  EXPECT_EQ(player_.calls(), (std::vector<std::string>{"stop", "close"}));
  EXPECT_FALSE(player_.IsOpen());
  EXPECT_EQ(Music().timer(), MusicTimer{});
  player_.ClearCalls();
  DeliverAll();
  Music().Tick(now_ + 100'000);
  Music().Start(now_);
  EXPECT_TRUE(player_.calls().empty());
}

TEST_F(ShowMusicTest, StartingTwiceDoesNotRestartTheTrack) {
  MusicOn();
  Playable(1);
  Start();
  Start();
  EXPECT_EQ(player_.Opens().size(), 1u);
}

TEST(MusicTimer, IntervalIsTheRemainingTimeAndAtLeastOneMillisecond) {
  EXPECT_EQ(MusicTimer{}.IntervalFrom(0), std::nullopt);
  EXPECT_EQ(MusicTimer{500}.IntervalFrom(200), 300);
  EXPECT_EQ(MusicTimer{500}.IntervalFrom(500), 1);
  EXPECT_EQ(MusicTimer{500}.IntervalFrom(900), 1);
}

}  // namespace
}  // namespace tessmoor
