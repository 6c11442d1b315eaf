// Both show patterns over a picture table whose slots name folders: a slot is one picture per
// visit, a folder slot a different picture at each visit, and a folder that is not ready is passed
// over like an empty slot for that visit without stopping anything.
#include <gtest/gtest.h>

#include "app/settings_keys.h"
#include "pattern2/window_motion.h"
#include "show/picture_table.h"
#include "show/slide_engine.h"
#include "tests/support/fakes.h"
#include "tests/support/scripted_files.h"
#include "tests/support/tag_decoder.h"

namespace tessmoor {
namespace {

using namespace std::chrono_literals;
using testing::FakeFileSystem;
using testing::ScriptedFiles;
using testing::TagDecoder;
using testing::TagFile;
using testing::TagOf;

// What reaches the screen: the id of each picture drawn ("-" for a clear is left out).
class TagCanvas : public Canvas {
 public:
  int ClientWidth() const override { return 1024; }
  int ClientHeight() const override { return 768; }
  void Clear() override {}
  void StretchDraw(const Rect&, const Picture& picture) override { drawn.push_back(TagOf(&picture)); }
  std::vector<int> drawn;
};

class TagWindow : public pattern2::PictureWindowPort {
 public:
  void Create(const Picture& picture, Size) override {
    picture_ = &picture;
    shown.push_back(TagOf(&picture));
  }
  void SetPosition(int left, int top) override {
    left_ = left;
    top_ = top;
  }
  void Show() override {}
  void Close() override {}
  int Left() const override { return left_; }
  int Top() const override { return top_; }
  int Width() const override { return 20; }
  int Height() const override { return 20; }
  // The picture the window shows now, read again: still alive while it is shown.
  int ShowingNow() const { return TagOf(picture_); }
  std::vector<int> shown;

 private:
  const Picture* picture_ = nullptr;
  int left_ = 0;
  int top_ = 0;
};

// Box 1: slot 1 the folder C:\Album of pictures 1..N, slot 2 the file C:\sea.jpg (picture 100).
struct Rig {
  Rig(const char* pattern, const char* mode, int pictures) : files(fake) {
    fake.AddFolder("C:\\Album");
    for (int id = 1; id <= pictures; ++id) fake.Add("C:\\Album\\p" + std::to_string(id) + ".jpg", TagFile(id));
    fake.Add("C:\\sea.jpg", TagFile(100));
    store.Set(std::string(keys::kPattern), pattern);
    store.Set(std::string(keys::kDetailMode), mode);
    store.Set(std::string(keys::kSlideInterval), "500");
    store.Set(std::string(keys::kFolderOrder), "1");
    store.Set(keys::ImagePath(1, 1), "C:\\Album");
    store.Set(keys::ImagePath(1, 2), "C:\\sea.jpg");
  }
  void Start(std::chrono::milliseconds wait = 2s) {
    show = ReadShowSettings(settings);
    PicturePipeline pipeline;
    pipeline.decoder = std::make_shared<TagDecoder>();
    pipeline.folder_wait = wait;
    table = std::make_unique<PictureTable>(settings, files, show, PictureTable::Options{{}, 2}, pipeline);
  }
  std::vector<int> SlideTicks(int count) {
    if (!engine) engine = std::make_unique<SlideEngine>(SlideEngine::Parts{show, settings, *table, canvas, random});
    for (int i = 0; i < count; ++i) {
      table->Collect();
      engine->Tick();
    }
    return canvas.drawn;
  }

  testing::MemoryStore store;
  Settings settings{store};
  FakeFileSystem fake;
  ScriptedFiles files;
  ShowSettings show;
  TagCanvas canvas;
  testing::ScriptedRandom random{{0}};
  std::unique_ptr<PictureTable> table;
  std::unique_ptr<SlideEngine> engine;
};

TEST(FolderSlideShow, FolderSlotShowsItsNextPictureAtEachVisitAndTheTimelineStaysTheSame) {
  Rig rig("1", "1", 3);
  rig.Start();
  // Start tick, slot 1, slot 2, the box change (slots 3 to 12 empty; no other box) and a restart:
  // its start tick and a tick with the counter at 0. Six ticks per round.
  EXPECT_EQ(rig.SlideTicks(18), (std::vector<int>{1, 100, 2, 100, 3, 100, 1, 100}));
  EXPECT_EQ(rig.engine->state().current_box, 1);
}

TEST(FolderSlideShow, FiveDirectionsPlaceOneFolderPictureFiveTimesThenTakeTheNext) {
  Rig rig("1", "4", 3);
  rig.Start();
  // Start, slot 1 and slot 2 five times each, the box change, the restart's start tick and five
  // ticks at the counter 0, then slot 1 again.
  const std::vector<int> drawn = rig.SlideTicks(1 + 10 + 1 + 1 + 5 + 5);
  EXPECT_EQ(drawn, (std::vector<int>{1, 1, 1, 1, 1, 100, 100, 100, 100, 100, 2, 2, 2, 2, 2}));
}

TEST(FolderSlideShow, FolderNotReadyIsPassedOverWithinTheTickAndShownOnceReady) {
  Rig rig("1", "1", 2);
  rig.files.Hold("C:\\Album");
  rig.Start(50ms);
  EXPECT_EQ(rig.SlideTicks(2), (std::vector<int>{100}));  // slot 1 passed over, slot 2 drawn
  rig.files.ReleaseAll();
  rig.table->WaitAll();
  EXPECT_EQ(rig.SlideTicks(5), (std::vector<int>{100, 1, 100}));  // the round's last ticks, then slots 1 and 2
}

TEST(FolderSlideShow, FolderThatTurnsOutEmptyLeavesTheBoxToItsFile) {
  Rig rig("1", "1", 0);
  rig.Start();
  rig.table->WaitAll();
  EXPECT_EQ(rig.SlideTicks(6), (std::vector<int>{100, 100}));
  EXPECT_EQ(rig.table->Path(1, 1), "");
}

struct WindowRig : Rig {
  explicit WindowRig(int pictures) : Rig("2", "1", pictures) {
    store.Set(keys::ImagePath(1, 2), "");
  }
  pattern2::TimerAction Tick() {
    if (!motion) motion = std::make_unique<pattern2::WindowMotion>(1, Motion::kTopLeft, 50, *table, window);
    table->Collect();
    return motion->Tick({{100, 100}, {100, 100}});
  }
  TagWindow window;
  std::unique_ptr<pattern2::WindowMotion> motion;
};

TEST(FolderPictureWindow, EachNewWindowShowsTheFolderNextPictureAndKeepsItWhileShown) {
  WindowRig rig(3);
  rig.Start();
  for (int t = 0; t < 400 && rig.window.shown.size() < 5; ++t) {
    ASSERT_EQ(rig.Tick(), pattern2::TimerAction::kKeepRunning);
    EXPECT_EQ(rig.window.ShowingNow(), rig.window.shown.back());
  }
  EXPECT_EQ(rig.window.shown, (std::vector<int>{1, 2, 3, 1, 2}));
}

TEST(FolderPictureWindow, WindowWaitsForAFolderThatIsNotReadyInsteadOfStopping) {
  WindowRig rig(2);
  rig.files.Hold("C:\\Album");
  rig.Start(20ms);
  for (int t = 0; t < 5; ++t) EXPECT_EQ(rig.Tick(), pattern2::TimerAction::kKeepRunning);
  EXPECT_TRUE(rig.window.shown.empty());
  EXPECT_FALSE(rig.motion->created());
  rig.files.ReleaseAll();
  rig.table->WaitAll();
  EXPECT_EQ(rig.Tick(), pattern2::TimerAction::kKeepRunning);
  EXPECT_EQ(rig.window.shown, std::vector<int>{1});
}

TEST(FolderPictureWindow, FolderWithoutPicturesStopsTheWindowLikeAnEmptyBox) {
  WindowRig rig(0);
  rig.Start();
  rig.table->WaitAll();
  EXPECT_EQ(rig.Tick(), pattern2::TimerAction::kStop);
  EXPECT_TRUE(rig.window.shown.empty());
}

}  // namespace
}  // namespace tessmoor
