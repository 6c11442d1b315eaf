#include "platform/media_player.h"

#include <gtest/gtest.h>

#include "tests/support/fake_media_player.h"

namespace tessmoor {
namespace {

// Which device a file opens on.
struct DeviceCase {
  const char* path;
  MediaDevice device;
};
void PrintTo(const DeviceCase& c, std::ostream* os) { *os << '"' << c.path << '"'; }

class MediaDeviceChoice : public ::testing::TestWithParam<DeviceCase> {};

TEST_P(MediaDeviceChoice, FollowsTheLowerCasedExtension) {
  EXPECT_EQ(MediaDeviceFor(GetParam().path), GetParam().device) << GetParam().path;
}

INSTANTIATE_TEST_SUITE_P(
    Extensions, MediaDeviceChoice,
    ::testing::Values(DeviceCase{"c:\\a.wav", MediaDevice::kWaveAudio},
                      DeviceCase{"C:\\A.WAV", MediaDevice::kWaveAudio},
                      DeviceCase{"c:\\a.mid", MediaDevice::kSequencer},
                      DeviceCase{"c:\\a.Midi", MediaDevice::kSequencer},
                      DeviceCase{"c:\\a.RMI", MediaDevice::kSequencer},
                      DeviceCase{"c:\\a.mp3", MediaDevice::kNone},
                      DeviceCase{"c:\\a.wave", MediaDevice::kNone},
                      DeviceCase{"c:\\wav", MediaDevice::kNone},
                      DeviceCase{"c:\\x.wav\\tune", MediaDevice::kNone},
                      DeviceCase{"", MediaDevice::kNone}));

// The fake stands in for MCI in the rotation and dialog tests, so its notifications must
// follow the same rules: one per accepted play, however that play ends.
using testing::FakeMediaPlayer;

std::vector<MediaNotify> Drain(FakeMediaPlayer& player) {
  std::vector<MediaNotify> kinds;
  while (auto posted = player.TakePosted()) kinds.push_back(posted->kind);
  return kinds;
}

TEST(FakeMediaPlayer, EachAcceptedPlayEndsInExactlyOneNotification) {
  FakeMediaPlayer player;
  ASSERT_EQ(player.Open("c:\\a.wav"), MediaResult::kOk);
  EXPECT_TRUE(Drain(player).empty());  // opening reports nothing
  player.Play();
  player.FinishPlay();
  EXPECT_EQ(Drain(player), (std::vector{MediaNotify::kEnded}));
  player.Play();
  player.Play();
  player.Stop();
  player.Stop();
  EXPECT_EQ(Drain(player), (std::vector{MediaNotify::kSuperseded, MediaNotify::kAborted}));
  player.Play();
  player.Close();
  EXPECT_EQ(Drain(player), (std::vector{MediaNotify::kAborted}));
  EXPECT_FALSE(player.IsOpen());
  EXPECT_EQ(player.DeviceId(), 0u);
}

TEST(FakeMediaPlayer, ReusesTheLowestIdUnlessToldOtherwise) {
  FakeMediaPlayer player;
  player.Open("c:\\a.wav");
  const std::uint32_t first = player.DeviceId();
  player.Open("c:\\b.mid");
  EXPECT_EQ(player.DeviceId(), first);
  player.reuse_ids = false;
  player.Open("c:\\a.wav");
  EXPECT_NE(player.DeviceId(), first);
}

TEST(FakeMediaPlayer, RefusesWhatMciRefuses) {
  FakeMediaPlayer player;
  EXPECT_EQ(player.Open("c:\\a.mp3"), MediaResult::kUnsupported);
  player.unopenable.insert("c:\\a.wav");
  EXPECT_EQ(player.Open("c:\\a.wav"), MediaResult::kOpenFailed);
  EXPECT_EQ(player.Play(), MediaResult::kNotOpen);
  player.fail_at_play.insert("c:\\b.wav");
  player.Open("c:\\b.wav");
  EXPECT_EQ(player.Play(), MediaResult::kOk);
  EXPECT_EQ(Drain(player), (std::vector{MediaNotify::kFailed}));
  player.never_notifies.insert("c:\\c.mid");
  player.Open("c:\\c.mid");
  player.Play();
  EXPECT_TRUE(player.FinishPlay());
  EXPECT_TRUE(Drain(player).empty());
}

}  // namespace
}  // namespace tessmoor
