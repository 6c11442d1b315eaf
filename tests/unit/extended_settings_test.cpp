#include "app/extended_settings.h"

#include <gtest/gtest.h>

#include "app/settings_keys.h"
#include "tests/support/fakes.h"

namespace tessmoor {
namespace {

using testing::MemoryStore;
using Writes = std::vector<std::pair<std::string, std::string>>;

TEST(StartUpValues, AShowOnAnEmptyStoreWritesTheSettingsDialogsKeysThenTheExtendedOnesInOrder) {
  MemoryStore dialog_only;
  Settings dialog_settings(dialog_only);
  (void)ReadSettingsDialogValues(dialog_settings);
  Writes expected = dialog_only.writes();
  ASSERT_EQ(expected.size(), 52u);  // position, pattern, 48 pictures, music switch
  expected.emplace_back("ScrActionRegSelectEveryMonitorFlag", "0");
  expected.emplace_back("ImageRegFolderSubFlag", "1");
  expected.emplace_back("ImageRegFolderOrderFlag", "2");

  MemoryStore store;
  Settings settings(store);
  const StartUpValues values = ReadStartUpValues(settings);
  EXPECT_EQ(store.writes(), expected);
  EXPECT_EQ(values.extended, (ExtendedSettings{false, true, false}));
  EXPECT_EQ(values.settings_dialog.pattern, "1");

  store.ClearWrites();
  (void)ReadStartUpValues(settings);
  EXPECT_TRUE(store.writes().empty()) << "a second start wrote again";
}

struct Stored {
  const char* every_monitor;
  const char* subfolders;
  const char* order;
  ExtendedSettings read;
};

class ExtendedRead : public ::testing::TestWithParam<Stored> {};

TEST_P(ExtendedRead, TakesTheStoredChoiceAndTheFirstRunOneForADamagedText) {
  MemoryStore store;
  store.Set(std::string(keys::kEveryMonitor), GetParam().every_monitor);
  store.Set(std::string(keys::kFolderSubfolders), GetParam().subfolders);
  store.Set(std::string(keys::kFolderOrder), GetParam().order);
  Settings settings(store);
  EXPECT_EQ(ReadExtendedSettings(settings), GetParam().read);
  EXPECT_TRUE(store.writes().empty()) << "a damaged text was overwritten";
}

INSTANTIATE_TEST_SUITE_P(Texts, ExtendedRead,
                         ::testing::Values(Stored{"1", "0", "1", {true, false, true}},
                                           Stored{"0", "1", "2", {false, true, false}},
                                           Stored{"2", "yes", "0", {false, true, false}},
                                           Stored{"", "", "", {false, true, false}},
                                           Stored{" 1", "0 ", "01", {false, true, false}}));

TEST(ExtendedRead, ValuesOfAnotherKindReadAsFirstRunAndStayAsTheyAre) {
  MemoryStore store;
  for (std::string_view k : {keys::kEveryMonitor, keys::kFolderSubfolders, keys::kFolderOrder})
    store.SetNotText(std::string(k));
  Settings settings(store);
  EXPECT_EQ(ReadExtendedSettings(settings), (ExtendedSettings{false, true, false}));
  EXPECT_TRUE(store.writes().empty());
  EXPECT_TRUE(store.Has(std::string(keys::kFolderOrder)));
}

}  // namespace
}  // namespace tessmoor
