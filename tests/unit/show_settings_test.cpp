#include "show/show_settings.h"

#include <gtest/gtest.h>

#include "app/settings_keys.h"
#include "show/exit_on_input.h"
#include "show/music_settings.h"
#include "tests/support/fakes.h"

namespace tessmoor {
namespace {

using testing::FakeFileSystem;
using testing::MemoryStore;

TEST(ShowSettings, EmptyStoreRunsPatternOneWithFirstRunValues) {
  MemoryStore store;
  Settings settings(store);
  const ShowSettings show = ReadShowSettings(settings);
  EXPECT_EQ(store.WrittenKeys(),
            (std::vector<std::string>{"ScrActionRegSelectNoFlag", "ScrActionRegSelectNo1FlagDetail",
                                      "ScrActionRegSelectNo1FlagTimer", "ScrActionRegSelectNo1FlagScale",
                                      keys::Pattern1BoxUse(1), keys::Pattern1BoxUse(2),
                                      keys::Pattern1BoxUse(3), keys::Pattern1BoxUse(4)}));
  EXPECT_EQ(show.pattern, ShowPattern::kPattern1);
  EXPECT_EQ(show.current_detail_mode, "1");
  EXPECT_EQ(show.slide_interval, 1500);
  EXPECT_EQ(show.scale, 50);
  EXPECT_EQ(show.box_use, (std::array<bool, 4>{true, true, true, true}));
  EXPECT_EQ(show.slide_timer.interval_ms, 1);
  for (const TimerSetting& t : show.window_timers) EXPECT_FALSE(t.running());
  // The pattern-2 keys stay absent.
  EXPECT_FALSE(store.Has(keys::MotionMode(1)));
}

TEST(ShowSettings, StoredDetailModeIsCopiedAsItStands) {
  MemoryStore store;
  store.Set("ScrActionRegSelectNoFlag", "1");
  store.Set("ScrActionRegSelectNo1FlagDetail", "9");
  Settings settings(store);
  EXPECT_EQ(ReadShowSettings(settings).current_detail_mode, "9");
}

TEST(ShowSettings, PatternTwoWithoutItsKeysGivesEachWindowItsOwnModeAndFiftyMilliseconds) {
  MemoryStore store;
  store.Set("ScrActionRegSelectNoFlag", "2");
  Settings settings(store);
  const ShowSettings show = ReadShowSettings(settings);
  EXPECT_EQ(show.motion_mode,
            (std::array<Motion, 4>{Motion::kTopLeft, Motion::kTopRight, Motion::kBottomLeft, Motion::kBottomRight}));
  EXPECT_EQ(show.window_scale, (std::array<int, 4>{50, 50, 50, 50}));
  for (const TimerSetting& t : show.window_timers) EXPECT_EQ(t.interval_ms, 50);
  EXPECT_FALSE(show.slide_timer.running());
  EXPECT_EQ(store.writes().size(), 16u);
  EXPECT_EQ(store.Get(keys::MotionMode(3)), "3");
  EXPECT_FALSE(store.Has("ScrActionRegSelectNo1FlagTimer"));
}

TEST(ShowSettings, PatternTwoBoxSwitchedOffStopsOnlyItsTimer) {
  MemoryStore store;
  store.Set("ScrActionRegSelectNoFlag", "2");
  store.Set(keys::Pattern2BoxUse(3), "0");
  store.Set(keys::WindowSpeed(2), "120");
  Settings settings(store);
  const ShowSettings show = ReadShowSettings(settings);
  EXPECT_EQ(show.window_timers[0].interval_ms, 50);
  EXPECT_EQ(show.window_timers[1].interval_ms, 120);
  EXPECT_FALSE(show.window_timers[2].running());
  EXPECT_EQ(show.window_timers[3].interval_ms, 50);
}

TEST(ShowSettings, DamagedWindowSpeedRunsAtTheFirstRunSpeedAndStaysStored) {
  for (const char* bad : {"fast", "", "12ms", "1e3"}) {
    MemoryStore store;
    store.Set("ScrActionRegSelectNoFlag", "2");
    store.Set(keys::WindowSpeed(1), bad);
    Settings settings(store);
    EXPECT_EQ(ReadShowSettings(settings).window_timers[0].interval_ms, 50) << bad;
    EXPECT_EQ(store.Get(keys::WindowSpeed(1)), bad);
  }
}

TEST(ShowSettings, ForcingABoxOffStopsItsWindowTimer) {
  ShowSettings show;
  show.window_timers[1].interval_ms = 50;
  show.box_use[1] = true;
  ForceBoxOff(show, 2);
  EXPECT_FALSE(show.box_use[1]);
  EXPECT_FALSE(show.window_timers[1].running());
}

TEST(ExitOnInput, FirstMoveOnlyRecordsThePositionAndAnyLaterChangeEndsTheShow) {
  ExitOnInput exit(true);
  EXPECT_FALSE(exit.OnMouseMove(300, 200));
  EXPECT_FALSE(exit.OnMouseMove(300, 200));
  EXPECT_TRUE(exit.OnMouseMove(301, 200));
  EXPECT_TRUE(exit.OnMouseMove(300, 199));
  EXPECT_TRUE(exit.OnKey());
  EXPECT_TRUE(exit.OnMouseDown());
}

TEST(ExitOnInput, FirstPositionLeftOfThePrimaryMonitorIsRecordedToo) {
  ExitOnInput exit(true);
  EXPECT_FALSE(exit.OnMouseMove(-1500, -20));
  EXPECT_FALSE(exit.OnMouseMove(-1500, -20));
  EXPECT_TRUE(exit.OnMouseMove(-1499, -20));
}

TEST(ExitOnInput, PositionsSoonAfterAChangeOfTheMonitorsAreTheSystemsNotMoves) {
  ExitOnInput exit(true);
  EXPECT_FALSE(exit.OnMouseMove(224, 767, 5000));
  exit.MonitorsChanged(6000);
  // Where the system put the mouse, and where it reports it again to windows made over it.
  EXPECT_FALSE(exit.OnMouseMove(0, 599, 6001));
  EXPECT_FALSE(exit.OnMouseMove(-1, 599, 6999));
  EXPECT_TRUE(exit.OnKey());
  EXPECT_TRUE(exit.OnMouseDown());
  // Settled: the last of them is the first position.
  EXPECT_FALSE(exit.OnMouseMove(-1, 599, 7000));
  EXPECT_TRUE(exit.OnMouseMove(0, 599, 7000));
}

TEST(ExitOnInput, AChangeWithoutAReportLeavesTheNextPositionTheFirst) {
  ExitOnInput exit(true);
  EXPECT_FALSE(exit.OnMouseMove(10, 10, 100));
  exit.MonitorsChanged(200);
  EXPECT_FALSE(exit.OnMouseMove(50, 50, 5000));  // long after: no move since the change yet
  EXPECT_TRUE(exit.OnMouseMove(51, 50, 5001));
}

TEST(ExitOnInput, PreviewIgnoresAllInput) {
  ExitOnInput exit(false);
  EXPECT_FALSE(exit.OnKey());
  EXPECT_FALSE(exit.OnMouseDown());
  EXPECT_FALSE(exit.OnMouseMove(1, 1));
  EXPECT_FALSE(exit.OnMouseMove(50, 60));
}

TEST(MusicSettings, ReadsSwitchThenEachPathAndFlagInTurn) {
  MemoryStore store;
  FakeFileSystem files;
  files.Add("C:\\Music\\Song.MID");
  store.Set("MusicNo2", "C:\\Music\\Song.MID");
  store.Set("MusicPlayStopNo2", "0");
  store.Set("MusicNo3", "C:\\Music\\gone.wav");
  store.Set("MusicPlayStop", "x");
  Settings settings(store);
  const MusicSettings music = ReadMusicSettings(settings, files);
  EXPECT_EQ(store.WrittenKeys(),
            (std::vector<std::string>{"MusicNo1", "MusicPlayStopNo1", "MusicPlayStopNo3", "MusicNo4",
                                      "MusicPlayStopNo4", "MusicNo5", "MusicPlayStopNo5"}));
  EXPECT_TRUE(music.music_on);
  EXPECT_EQ(music.track[1], "c:\\music\\song.mid");
  EXPECT_EQ(music.track[2], "");
  EXPECT_TRUE(music.playable(2));
  EXPECT_FALSE(music.playable(1));
  EXPECT_FALSE(music.playable(3));
}

}  // namespace
}  // namespace tessmoor
