// A save that the store refuses part-way: every dialog writes nothing after the refused write,
// tells the user with the system's error number, stays open with the user's choices and records
// no position; a press once the store takes writes again saves the whole.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>

#include "app/settings_keys.h"
#include "setup/music_dialog_model.h"
#include "setup/save_writes.h"
#include "tests/support/fake_dialog_views.h"
#include "tests/support/fake_media_player.h"
#include "tests/support/fakes.h"

namespace tessmoor {
namespace {

using testing::FakeFileSystem;
using testing::MemoryStore;
using Writes = std::vector<std::pair<std::string, std::string>>;

// One dialog opened on a store, saved, and asked what its window was told.
class Dialog {
 public:
  virtual ~Dialog() = default;
  virtual void Save() = 0;
  virtual int closes() const = 0;
  virtual std::vector<std::uint32_t> failures() const = 0;
};

class SettingsDialogUnderTest : public Dialog {
 public:
  explicit SettingsDialogUnderTest(Settings& settings) : model_(settings, files_, &view_) {
    model_.set_pattern2_selected(true);
    model_.set_music_play_selected(true);
  }
  void Save() override { model_.NoImageRegFileSaveButtonClick(); }
  int closes() const override { return view_.closes; }
  std::vector<std::uint32_t> failures() const override { return view_.save_failures; }

 private:
  FakeFileSystem files_;
  testing::FakeSettingsDialogView view_;
  SettingsDialogModel model_;
};

// A detail dialog with some choices made.
template <class Model, class Texts, class View, void (Model::*kSave)()>
class DetailUnderTest : public Dialog {
 public:
  explicit DetailUnderTest(Settings& settings) : model_(settings, texts_, view_) {
    if constexpr (std::is_same_v<Model, Pattern1DetailModel>) {
      model_.SelectMode(3);
      model_.SetBoxChecked(2, false);
    } else {
      model_.SelectMode(2, 5);
      model_.SetBoxChecked(4, false);
    }
  }
  void Save() override { (model_.*kSave)(); }
  int closes() const override { return view_.closes; }
  std::vector<std::uint32_t> failures() const override { return view_.save_failures; }

 private:
  Texts texts_;
  View view_;
  Model model_;
};

using Pattern1UnderTest = DetailUnderTest<Pattern1DetailModel, Pattern1DetailTexts, testing::FakePattern1DetailView,
                                          &Pattern1DetailModel::No1ImageRegFileSaveButtonClick>;
using Pattern2UnderTest = DetailUnderTest<Pattern2DetailModel, Pattern2DetailTexts, testing::FakePattern2DetailView,
                                          &Pattern2DetailModel::No2ImageRegFileSaveButtonClick>;

class MusicUnderTest : public Dialog, MusicDialogView {
 public:
  explicit MusicUnderTest(Settings& settings) : model_(settings, files_, player_, nullptr, this) {
    model_.MusicNameCheckBoxClick(4, true);
  }
  void Save() override { model_.MusicRegFileSaveButtonClick(); }
  int closes() const override { return hides_; }
  std::vector<std::uint32_t> failures() const override { return failures_; }

 private:
  void ShowCaption(int, std::string_view) override {}
  void ShowTicked(int, bool) override {}
  void ShowButtons(const MusicButtonStates&) override {}
  std::string ChooseMusicFile() override { return {}; }
  void HideWindow() override { ++hides_; }
  void ShowSaveFailure(std::uint32_t error) override { failures_.push_back(error); }

  FakeFileSystem files_;
  testing::FakeMediaPlayer player_;
  int hides_ = 0;
  std::vector<std::uint32_t> failures_;
  MusicDialogModel model_;
};

struct Case {
  const char* dialog;
  std::unique_ptr<Dialog> (*open)(Settings&);
  // The writes of a whole save, the closing position writes included.
  int save_writes;
  int position_writes;
};

template <class D>
std::unique_ptr<Dialog> OpenDialog(Settings& settings) {
  return std::make_unique<D>(settings);
}

void PrintTo(const Case& c, std::ostream* os) { *os << c.dialog; }

class RefusedSave : public ::testing::TestWithParam<Case> {
 protected:
  // The writes of a save the store takes whole, on a store opened the same way.
  static Writes WholeSave() {
    MemoryStore store;
    Settings settings(store);
    auto dialog = GetParam().open(settings);
    store.ClearWrites();
    dialog->Save();
    return store.writes();
  }
};

TEST_P(RefusedSave, WritesNothingAfterTheRefusedWriteAndStaysOpenUntilASaveGoesIn) {
  const Writes whole = WholeSave();
  const int choices = GetParam().save_writes - GetParam().position_writes;
  ASSERT_EQ(static_cast<int>(whole.size()), GetParam().save_writes);
  for (int refused : {1, 2, choices / 2, choices}) {
    SCOPED_TRACE("refused write " + std::to_string(refused));
    MemoryStore store;
    Settings settings(store);
    auto dialog = GetParam().open(settings);
    store.ClearWrites();
    const int before = store.write_attempts();
    store.fail_attempt = before + refused;
    store.fail_error = 1010;
    dialog->Save();
    EXPECT_EQ(store.writes(), Writes(whole.begin(), whole.begin() + (refused - 1)));
    EXPECT_EQ(store.write_attempts(), before + refused) << "writes were tried after the refused one";
    EXPECT_EQ(dialog->failures(), (std::vector<std::uint32_t>{1010}));
    EXPECT_EQ(dialog->closes(), 0);

    // Once the store takes writes again, the same choices go in whole and the dialog closes.
    store.ClearWrites();
    dialog->Save();
    EXPECT_EQ(store.writes(), whole);
    EXPECT_EQ(dialog->failures().size(), 1u);
    EXPECT_EQ(dialog->closes(), 1);
  }
}

// Pattern, 48 slots, music switch, then the position; the detail dialogs' choices, then theirs.
INSTANTIATE_TEST_SUITE_P(
    Dialogs, RefusedSave,
    ::testing::Values(Case{"settings", &OpenDialog<SettingsDialogUnderTest>, 1 + 48 + 1 + 2, 2},
                      Case{"pattern1", &OpenDialog<Pattern1UnderTest>, 1 + 2 + 4 + 2, 2},
                      Case{"pattern2", &OpenDialog<Pattern2UnderTest>, 4 + 4 + 4 + 4 + 2, 2},
                      Case{"music", &OpenDialog<MusicUnderTest>, 5 + 5, 0}),
    [](const ::testing::TestParamInfo<Case>& info) { return std::string(info.param.dialog); });

TEST(SaveWrites, KeepsTheFirstRefusalAndTriesNothingAfterIt) {
  MemoryStore store;
  Settings settings(store);
  SaveWrites save(settings);
  save.Write(keys::kPattern, "2");
  EXPECT_FALSE(save.failed());
  EXPECT_EQ(save.error(), 0u);
  store.fail_attempt = 2;
  store.fail_error = 14;
  save.Write(keys::kSlideScale, 70);
  save.WriteSwitch(keys::kMusicSwitch, true);
  save.Write(keys::kDetailMode, "3");
  EXPECT_TRUE(save.failed());
  EXPECT_EQ(save.error(), 14u);
  EXPECT_EQ(store.write_attempts(), 2);
  EXPECT_EQ(store.writes(), (Writes{{"ScrActionRegSelectNoFlag", "2"}}));
}

TEST(SaveFailureText, SaysTheSaveFailedInJapaneseWithTheSystemsWordsAndTheNumber) {
  EXPECT_EQ(SaveFailureText(5, "アクセスが拒否されました。\r\n"),
            "設定を保存できませんでした。\n\nアクセスが拒否されました。\n（エラー番号 5）");
  // Without the system's words, a sentence of ours.
  EXPECT_EQ(SaveFailureText(1010, ""),
            "設定を保存できませんでした。\n\n設定をレジストリに書き込めませんでした。\n（エラー番号 1010）");
  EXPECT_EQ(SaveFailureText(14, " \r\n"),
            "設定を保存できませんでした。\n\n設定をレジストリに書き込めませんでした。\n（エラー番号 14）");
}

}  // namespace
}  // namespace tessmoor
