#include "setup/extended_dialog_model.h"

#include <gtest/gtest.h>

#include <set>

#include "app/settings_keys.h"
#include "setup/extended_dialog_layout.h"
#include "tests/support/fake_dialog_views.h"
#include "tests/support/fakes.h"

namespace tessmoor {
namespace {

using testing::FakeExtendedDialogView;
using testing::MemoryStore;
using Writes = std::vector<std::pair<std::string, std::string>>;

class ExtendedDialogTest : public ::testing::Test {
 protected:
  ExtendedDialogModel Open() { return ExtendedDialogModel(settings_, view_); }

  MemoryStore store_;
  Settings settings_{store_};
  FakeExtendedDialogView view_;
};

TEST_F(ExtendedDialogTest, AnEmptyStoreGetsTheFirstRunValuesAndTheWindowShowsThemBeforeItAppears) {
  const ExtendedDialogModel dialog = Open();
  EXPECT_EQ(store_.writes(), (Writes{{"ScrActionRegSelectEveryMonitorFlag", "0"},
                                     {"ImageRegFolderSubFlag", "1"},
                                     {"ImageRegFolderOrderFlag", "2"}}));
  EXPECT_EQ(view_.log,
            (std::vector<std::string>{"Monitors black", "Subfolders on", "Order shuffled", "TopMost"}));
  EXPECT_EQ(dialog.choices(), (ExtendedSettings{false, true, false}));
}

TEST_F(ExtendedDialogTest, OpensOnTheStoredChoicesWithoutWriting) {
  store_.Set("ScrActionRegSelectEveryMonitorFlag", "1");
  store_.Set("ImageRegFolderSubFlag", "0");
  store_.Set("ImageRegFolderOrderFlag", "1");
  Open();
  EXPECT_TRUE(store_.writes().empty());
  EXPECT_TRUE(view_.every_monitor);
  EXPECT_FALSE(view_.subfolders);
  EXPECT_TRUE(view_.name_order);
}

TEST_F(ExtendedDialogTest, DamagedTextsShowTheFirstRunChoicesAndStayUntilASave) {
  store_.Set("ScrActionRegSelectEveryMonitorFlag", "yes");
  store_.Set("ImageRegFolderSubFlag", "2");
  store_.Set("ImageRegFolderOrderFlag", "name");
  ExtendedDialogModel dialog = Open();
  EXPECT_FALSE(view_.every_monitor);
  EXPECT_TRUE(view_.subfolders);
  EXPECT_FALSE(view_.name_order);
  dialog.CancelButtonClick();
  EXPECT_EQ(store_.Get("ImageRegFolderOrderFlag"), "name");
  dialog.SaveButtonClick();
  EXPECT_EQ(store_.Get("ScrActionRegSelectEveryMonitorFlag"), "0");
  EXPECT_EQ(store_.Get("ImageRegFolderSubFlag"), "1");
  EXPECT_EQ(store_.Get("ImageRegFolderOrderFlag"), "2");
}

TEST_F(ExtendedDialogTest, SaveWritesTheChoicesInOrderAndCloses) {
  ExtendedDialogModel dialog = Open();
  dialog.SelectEveryMonitor(true);
  dialog.SetSubfolders(false);
  dialog.SelectNameOrder(true);
  EXPECT_EQ(store_.writes().size(), 3u) << "a choice reached the store before the save";
  store_.ClearWrites();
  dialog.SaveButtonClick();
  EXPECT_EQ(store_.writes(), (Writes{{"ScrActionRegSelectEveryMonitorFlag", "1"},
                                     {"ImageRegFolderSubFlag", "0"},
                                     {"ImageRegFolderOrderFlag", "1"}}));
  EXPECT_EQ(view_.closes, 1);
}

TEST_F(ExtendedDialogTest, CancelClosesAndWritesNothing) {
  ExtendedDialogModel dialog = Open();
  store_.ClearWrites();
  dialog.SelectEveryMonitor(true);
  dialog.SelectNameOrder(true);
  dialog.CancelButtonClick();
  EXPECT_TRUE(store_.writes().empty());
  EXPECT_EQ(view_.closes, 1);
  EXPECT_EQ(store_.Get("ScrActionRegSelectEveryMonitorFlag"), "0");
}

TEST_F(ExtendedDialogTest, ARefusedWriteStopsTheSaveAndKeepsTheDialogOpenWithTheChoices) {
  ExtendedDialogModel dialog = Open();
  dialog.SelectEveryMonitor(true);
  dialog.SetSubfolders(false);
  store_.ClearWrites();
  store_.fail_attempt = store_.write_attempts() + 2;
  dialog.SaveButtonClick();
  EXPECT_EQ(store_.writes(), (Writes{{"ScrActionRegSelectEveryMonitorFlag", "1"}}));
  EXPECT_EQ(store_.write_attempts(), 5);
  EXPECT_EQ(view_.save_failures, (std::vector<std::uint32_t>{5}));
  EXPECT_EQ(view_.closes, 0);
  EXPECT_EQ(dialog.choices(), (ExtendedSettings{true, false, false}));
}

TEST(ExtendedDialogLayout, EveryControlHasItsRoleOnceAndTheRadioButtonsTwoGroupsOfTwo) {
  const auto& rows = ExtendedDialogControls();
  std::set<ExtendedRole> roles;
  std::set<std::string_view> names;
  for (const auto& row : rows) {
    EXPECT_TRUE(roles.insert(row.role).second) << row.name;
    EXPECT_TRUE(names.insert(row.name).second) << row.name;
    // Parents come before their children.
    if (!row.parent.empty()) {
      EXPECT_TRUE(names.count(row.parent)) << row.name;
    }
    if (row.kind == ControlKind::kRadioButton) {
      const bool monitors = row.role == ExtendedRole::kMonitorsBlackRadio || row.role == ExtendedRole::kMonitorsSlideShowRadio;
      EXPECT_EQ(row.radio_group, monitors ? 1 : 2) << row.name;
      EXPECT_EQ(row.parent, monitors ? "OtherMonitorsGroupBox" : "FolderGroupBox") << row.name;
    }
  }
  EXPECT_EQ(rows.size(), 10u);
  EXPECT_EQ(ExtendedDialogForm().caption, "拡張設定");
  EXPECT_TRUE(ExtendedDialogForm().top_most);
}

}  // namespace
}  // namespace tessmoor
