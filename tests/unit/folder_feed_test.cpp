// A folder slot's background thread: one picture ahead, bounded waits for a slow folder, and an
// end that never waits for a folder that does not answer.
#include "show/folder_feed.h"

#include <gtest/gtest.h>

#include <thread>

#include "tests/support/fakes.h"
#include "tests/support/scripted_files.h"
#include "tests/support/tag_decoder.h"

namespace tessmoor {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
using testing::FakeFileSystem;
using testing::ScriptedFiles;
using testing::TagDecoder;
using testing::TagFile;
using testing::TagOf;

constexpr const char* kFolder = "C:\\Album";

struct Rig {
  explicit Rig(int count) : files(fake) {
    fake.AddFolder(kFolder);
    for (int id = 1; id <= count; ++id) fake.Add(std::string(kFolder) + "\\p" + std::to_string(id) + ".jpg", TagFile(id));
  }
  FolderFeed& Start(std::shared_ptr<DecodeTurns> turns = nullptr, ThreadScope scope = {}) {
    feed = std::make_unique<FolderFeed>(FolderFeed::Shared{files, decoder, std::move(turns), std::move(scope)},
                                        FolderPicker::Setup{kFolder, true, FolderOrderKind::kByName, "", {}}, 0, 1);
    return *feed;
  }
  int TakeId() {
    std::optional<FolderFeed::Taken> taken = feed->Take();
    return taken ? TagOf(taken->picture.get()) : -1;
  }

  FakeFileSystem fake;
  ScriptedFiles files;
  std::shared_ptr<TagDecoder> decoder = std::make_shared<TagDecoder>();
  std::unique_ptr<FolderFeed> feed;  // last, so that it ends before the files go
};

double MsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

TEST(FolderFeed, EachTakeGivesTheNextPictureAndKeepsOneDecodedAhead) {
  Rig rig(3);
  FolderFeed& feed = rig.Start();
  const Picture* first = feed.Peek(5s);
  EXPECT_EQ(TagOf(first), 1);
  EXPECT_EQ(feed.Peek(5s), first);  // peeking takes nothing
  std::this_thread::sleep_for(50ms);
  EXPECT_EQ(rig.decoder->decodes(), 1);  // nothing beyond the one ahead
  std::optional<FolderFeed::Taken> taken = feed.Take();
  ASSERT_TRUE(taken.has_value());
  EXPECT_EQ(taken->picture.get(), first);
  // What is kept: the place after picture 1, and picture 2 as the next, known by now.
  const FolderKept kept = ParseFolderKept(taken->kept);
  EXPECT_EQ(ParseFolderOrderState(kept.place)->kind(), FolderOrderKind::kByName);
  ASSERT_TRUE(kept.next.has_value());
  EXPECT_EQ(kept.next->path, "p2.jpg");
  EXPECT_EQ(TagOf(feed.Peek(5s)), 2);
  EXPECT_EQ(rig.TakeId(), 2);
  EXPECT_EQ(TagOf(feed.Peek(5s)), 3);
  EXPECT_EQ(rig.TakeId(), 3);
  EXPECT_EQ(TagOf(feed.Peek(5s)), 1);
  EXPECT_EQ(TagOf(taken->picture.get()), 1);  // a picture taken stays for as long as it is held
  EXPECT_FALSE(feed.exhausted());
}

TEST(FolderFeed, SlowListingIsWaitedForBoundedOnceThenNotAtAllUntilThePictureIsReady) {
  Rig rig(2);
  rig.files.Delay(kFolder, 600ms);
  FolderFeed& feed = rig.Start();
  Clock::time_point start = Clock::now();
  EXPECT_EQ(feed.Peek(100ms), nullptr);
  EXPECT_GE(MsSince(start), 90);
  EXPECT_LT(MsSince(start), 500);
  EXPECT_FALSE(feed.exhausted());
  start = Clock::now();
  EXPECT_EQ(feed.Peek(100ms), nullptr);  // the wait ran out once: no second one
  EXPECT_LT(MsSince(start), 80);
  EXPECT_EQ(feed.Take(), std::nullopt);
  feed.WaitSettled();
  EXPECT_EQ(TagOf(feed.Peek(100ms)), 1);
}

TEST(FolderFeed, DecodeUnderWayIsWaitedForBeyondTheBound) {
  Rig rig(2);
  rig.decoder->delay = 300ms;
  FolderFeed& feed = rig.Start();
  EXPECT_EQ(TagOf(feed.Peek(20ms)), 1);
}

TEST(FolderFeed, EndingNeverWaitsForAFolderThatDoesNotAnswer) {
  Rig rig(2);
  rig.files.Hold(kFolder);
  rig.Start();
  EXPECT_EQ(rig.feed->Peek(50ms), nullptr);
  const Clock::time_point start = Clock::now();
  rig.feed.reset();
  EXPECT_LT(MsSince(start), 1000);
  rig.files.ReleaseAll();
  EXPECT_TRUE(rig.files.WaitIdle(5s));
}

TEST(FolderFeed, FolderThatVanishesDuringTheShowEndsExhausted) {
  Rig rig(3);
  FolderFeed& feed = rig.Start();
  ASSERT_EQ(TagOf(feed.Peek(5s)), 1);
  rig.files.Change([](FakeFileSystem& f) { f.RemoveTree(kFolder); });
  EXPECT_EQ(rig.TakeId(), 1);
  feed.WaitSettled();
  EXPECT_EQ(feed.Peek(100ms), nullptr);
  EXPECT_TRUE(feed.exhausted());
}

TEST(FolderFeed, ItsThreadHoldsTheThreadScopeForItsLife) {
  Rig rig(1);
  auto scopes = std::make_shared<std::atomic<int>>(0);
  rig.Start(nullptr, [scopes] {
    ++*scopes;
    return std::shared_ptr<void>(nullptr, [scopes](void*) { --*scopes; });
  });
  rig.feed->WaitSettled();
  EXPECT_EQ(scopes->load(), 1);
  rig.feed.reset();
  EXPECT_EQ(scopes->load(), 0);
}

}  // namespace
}  // namespace tessmoor
