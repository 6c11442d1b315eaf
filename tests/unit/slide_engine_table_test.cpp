// The slide engine on a real picture table that is still decoding in the background.
#include <gtest/gtest.h>

#include "app/settings_dialog_values.h"
#include "app/settings_keys.h"
#include "show/picture_table.h"
#include "show/slide_engine.h"
#include "tests/support/fake_canvas.h"
#include "tests/support/fakes.h"
#include "tests/support/picture_files.h"

namespace tessmoor {
namespace {

using testing::FakeCanvas;

std::string PathOf(int box, int slot, const char* extension = ".jpg") {
  return "C:\\Show\\" + std::to_string(box) + "-" + std::to_string(slot) + extension;
}

// A show as the shell runs it: store, first-run reads, show settings, table and engine, with the
// table's Collect called before every tick.
struct ShowRig {
  explicit ShowRig(std::string mode) : canvas(1024, 768) {
    store.Set(std::string(keys::kDetailMode), mode);
  }
  void Put(int box, int slot, std::vector<std::uint8_t> bytes, const char* extension = ".jpg") {
    store.Set(keys::ImagePath(box, slot), PathOf(box, slot, extension));
    files.Add(PathOf(box, slot, extension), std::move(bytes));
  }
  void Start(int threads) {
    (void)ReadSettingsDialogValues(settings);
    show = ReadShowSettings(settings);
    table = std::make_unique<PictureTable>(
        settings, files, show,
        PictureTable::Options{ShowDecodeTargets(show, canvas.ClientWidth(), canvas.ClientHeight()), threads});
    engine = std::make_unique<SlideEngine>(SlideEngine::Parts{show, settings, *table, canvas, random});
  }
  SlideEngine::SlideTick Tick() {
    for (int box : table->Collect()) switched_off.push_back(box);
    return engine->Tick();
  }
  std::vector<std::string> Timeline(int ticks) {
    std::vector<std::string> rows;
    for (int i = 0; i < ticks; ++i) {
      canvas.TakeCalls();
      const SlideEngine::SlideTick t = Tick();
      rows.push_back(testing::Describe(canvas.TakeCalls()) + " | " + std::to_string(t.interval_ms) +
                     " ms | " + std::to_string(t.pause_seconds) + " s");
    }
    return rows;
  }

  testing::MemoryStore store;
  Settings settings{store};
  testing::FakeFileSystem files;
  ShowSettings show;
  FakeCanvas canvas;
  testing::ScriptedRandom random{{0}};
  std::unique_ptr<PictureTable> table;
  std::unique_ptr<SlideEngine> engine;
  std::vector<int> switched_off;
};

std::vector<std::uint8_t> SmallJpeg(int width, int height) {
  return test::MakeJpeg(width, height, test::Gradient(width, height), 80);
}

std::vector<std::uint8_t> Corrupt() { return {0xFF, 0xD8, 0xFF, 0xDB, 0x00, 0x43, 0x00}; }

// Run once under -fsanitize=thread as well: 48 pictures decode on four threads while the engine
// draws them in order.
TEST(SlideEngineOnPictureTable, DrawsEveryPictureInOrderWhileTheyAreStillDecoding) {
  ShowRig rig("1");
  std::array<Size, 48> sizes;
  for (int i = 0; i < 48; ++i) {
    sizes[i] = i % 3 == 0 ? Size{120 + 9 * i, 360 + 4 * i} : Size{480 + 7 * i, 200 + 5 * i};
    rig.Put(i / 12 + 1, i % 12 + 1, SmallJpeg(sizes[i].width, sizes[i].height));
  }
  rig.Start(4);
  std::vector<FakeCanvas::Call> draws;
  for (int i = 0; i < 1 + 48 + 3; ++i) {
    rig.Tick();
    for (const FakeCanvas::Call& call : rig.canvas.TakeCalls())
      if (!call.clear) draws.push_back(call);
  }
  ASSERT_EQ(draws.size(), 48u);
  for (int i = 0; i < 48; ++i) {
    const Picture* picture = rig.table->PictureAt(i / 12 + 1, i % 12 + 1);
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(draws[i].address, picture) << i;
    const Size fitted = FitPicture(sizes[i], 350);
    EXPECT_EQ(draws[i].rect.width(), fitted.width) << i;
    EXPECT_EQ(draws[i].rect.height(), fitted.height) << i;
    EXPECT_EQ(draws[i].rect.left, static_cast<int>(512 - fitted.width * 0.5)) << i;
    EXPECT_LE(picture->width, 350);
    EXPECT_LE(picture->height, 350);
  }
  EXPECT_TRUE(rig.switched_off.empty());
}

TEST(SlideEngineOnPictureTable, CorruptPictureIsPassedOverWithinTheTick) {
  ShowRig rig("1");
  rig.Put(1, 1, SmallJpeg(400, 300));
  rig.Put(1, 2, Corrupt());
  rig.Put(1, 3, SmallJpeg(300, 400));
  rig.Start(2);
  const std::vector<std::string> rows = rig.Timeline(4);
  EXPECT_EQ(rows[1], "clear; draw -1 (337,253,687,515) | 1500 ms | 0 s");
  EXPECT_EQ(rows[2], "clear; draw -1 (381,209,643,559) | 1500 ms | 0 s");  // slot 3, portrait
  EXPECT_EQ(rig.table->Path(1, 2), "");
}

// A box whose files all fail to decode runs exactly as a box switched off, however far the
// decoding has got when the show reaches it.
TEST(SlideEngineOnPictureTable, BoxWhosePicturesAllFailRunsLikeABoxNotInUse) {
  auto fill = [](ShowRig& rig, bool box2_corrupt) {
    for (int b : {1, 3}) {
      for (int s = 1; s <= 12; ++s) rig.Put(b, s, SmallJpeg(160 + s, 120));
    }
    if (box2_corrupt) {
      rig.Put(2, 4, Corrupt());
      rig.Put(2, 8, Corrupt(), ".bmp");
    }
  };
  ShowRig reference("1");
  fill(reference, false);
  reference.store.Set(keys::Pattern1BoxUse(2), "0");
  reference.Start(2);
  const std::vector<std::string> expected = reference.Timeline(1 + 13 + 14);

  for (bool decoded_first : {false, true}) {
    ShowRig rig("1");
    fill(rig, true);
    rig.Start(2);
    if (decoded_first) rig.table->WaitAll();
    EXPECT_EQ(rig.Timeline(1 + 13 + 14), expected) << decoded_first;
    EXPECT_FALSE(rig.show.box_use[1]);
    EXPECT_EQ(rig.switched_off, std::vector<int>{2}) << decoded_first;
  }
}

TEST(SlideEngineOnPictureTable, FileOfATypeNotDecodedIsPassedOver) {
  ShowRig rig("4");
  rig.Put(1, 1, SmallJpeg(400, 300), ".png");
  rig.Put(1, 2, SmallJpeg(400, 300));
  rig.Start(1);
  const std::vector<std::string> rows = rig.Timeline(2);
  EXPECT_EQ(rows[1], "clear; draw -1 (337,253,687,515) | 1500 ms | 0 s");
  EXPECT_EQ(rig.engine->state().slot_counter, 2);
  EXPECT_EQ(rig.table->Path(1, 1), PathOf(1, 1, ".png"));
}

}  // namespace
}  // namespace tessmoor
