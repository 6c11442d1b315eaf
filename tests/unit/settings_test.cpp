#include "app/settings.h"

#include <gtest/gtest.h>

#include <set>

#include "app/settings_keys.h"
#include "tests/support/fakes.h"

namespace tessmoor {
namespace {

using testing::MemoryStore;

TEST(KeyTable, HoldsNinetyDistinctKeysInGroupsWithTheExtendedSettingsLast) {
  const auto& all = keys::AllKeys();
  ASSERT_EQ(all.size(), 90u);
  std::set<std::string> names;
  for (const auto& k : all) names.insert(k.name);
  EXPECT_EQ(names.size(), 90u);
  EXPECT_EQ(all.front().name, "ScrActionRegSelectNoFlag");
  EXPECT_EQ(all[1].name, "ImageRegNo1BoxNo1ImagePass");
  EXPECT_EQ(all[48].name, "ImageRegNo4BoxNo12ImagePass");
  EXPECT_EQ(all[86].name, "ScreenDetailSetUpPointRegYFlag");
  EXPECT_EQ(all[87].name, "ScrActionRegSelectEveryMonitorFlag");
  EXPECT_EQ(all[88].name, "ImageRegFolderSubFlag");
  EXPECT_EQ(all.back().name, "ImageRegFolderOrderFlag");
}

struct FirstRunCase {
  std::string key;
  std::string value;
  keys::KeyType type;
};

class KeyFirstRun : public ::testing::TestWithParam<FirstRunCase> {};

TEST_P(KeyFirstRun, HasItsFirstRunValueAndType) {
  const keys::KeyDef* entry = keys::Find(GetParam().key);
  ASSERT_NE(entry, nullptr) << GetParam().key;
  EXPECT_EQ(entry->first_run, GetParam().value);
  EXPECT_EQ(entry->type, GetParam().type);
}

INSTANTIATE_TEST_SUITE_P(
    Table, KeyFirstRun,
    ::testing::Values(
        FirstRunCase{"ScrActionRegSelectNoFlag", "1", keys::KeyType::kChoice},
        FirstRunCase{"ImageRegNo2BoxNo11ImagePass", "", keys::KeyType::kPath},
        FirstRunCase{"ScrActionRegSelectNo1FlagDetail", "1", keys::KeyType::kChoice},
        FirstRunCase{"ScrActionRegSelectNo1FlagTimer", "1500", keys::KeyType::kNumber},
        FirstRunCase{"ScrActionRegSelectNo1FlagScale", "50", keys::KeyType::kNumber},
        FirstRunCase{"ImageRegForm1No3BoxScrSetUpFormTabControlCheckBoxReg", "1", keys::KeyType::kChoice},
        FirstRunCase{"ScrNo2ActionRegSelectNo1FlagDetail", "1", keys::KeyType::kChoice},
        FirstRunCase{"ScrNo2ActionRegSelectNo4FlagDetail", "4", keys::KeyType::kChoice},
        FirstRunCase{"ScrActionRegSelectTimerNo2FormNo2Flag", "50", keys::KeyType::kNumber},
        FirstRunCase{"ScrActionRegSelectScaleNo2FormNo3Flag", "50", keys::KeyType::kNumber},
        FirstRunCase{"ImageRegForm2No4BoxScrSetUpFormTabControlCheckBoxReg", "1", keys::KeyType::kChoice},
        FirstRunCase{"MusicPlayStop", "1", keys::KeyType::kChoice},
        FirstRunCase{"MusicNo5", "", keys::KeyType::kPath},
        FirstRunCase{"MusicPlayStopNo1", "1", keys::KeyType::kChoice},
        FirstRunCase{"ScreenSetUpPointRegXFlag", "100", keys::KeyType::kNumber},
        FirstRunCase{"ScreenDetailSetUpPointRegYFlag", "100", keys::KeyType::kNumber},
        FirstRunCase{"ScrActionRegSelectEveryMonitorFlag", "0", keys::KeyType::kChoice},
        FirstRunCase{"ImageRegFolderSubFlag", "1", keys::KeyType::kChoice},
        FirstRunCase{"ImageRegFolderOrderFlag", "2", keys::KeyType::kChoice}));

TEST(KeyTable, UnknownNameIsNotFound) { EXPECT_EQ(keys::Find("ImageRegNo5BoxNo1ImagePass"), nullptr); }

TEST(ParseDecimal, AcceptsOnlyDecimalIntegers) {
  EXPECT_EQ(ParseDecimal("0"), 0);
  EXPECT_EQ(ParseDecimal("1500"), 1500);
  EXPECT_EQ(ParseDecimal("-12"), -12);
  EXPECT_EQ(ParseDecimal("+7"), 7);
  EXPECT_EQ(ParseDecimal("2147483647"), 2147483647);
  EXPECT_EQ(ParseDecimal("-2147483648"), -2147483647 - 1);
  for (const char* bad : {"", "non", " 5", "5 ", "1.5", "0x10", "$10", "-", "+", "2147483648",
                          "-2147483649", "99999999999999999999", "１２"})
    EXPECT_EQ(ParseDecimal(bad), std::nullopt) << bad;
}

TEST(Settings, ReadOfAnAbsentKeyWritesAndReturnsItsFirstRunValue) {
  MemoryStore store;
  Settings settings(store);
  EXPECT_EQ(settings.Read("ScrActionRegSelectNo1FlagTimer"), "1500");
  EXPECT_EQ(store.Get("ScrActionRegSelectNo1FlagTimer"), "1500");
  EXPECT_EQ(store.writes().size(), 1u);
}

TEST(Settings, StoredNonIsTreatedAsAbsent) {
  MemoryStore store;
  store.Set("ScrActionRegSelectNoFlag", "non");
  Settings settings(store);
  EXPECT_EQ(settings.Read("ScrActionRegSelectNoFlag"), "1");
  EXPECT_EQ(store.Get("ScrActionRegSelectNoFlag"), "1");
}

TEST(Settings, ReadOfASetKeyWritesNothing) {
  MemoryStore store;
  store.Set("ScrActionRegSelectNoFlag", "2");
  store.Set("ImageRegNo1BoxNo1ImagePass", "");
  Settings settings(store);
  EXPECT_EQ(settings.Read("ScrActionRegSelectNoFlag"), "2");
  EXPECT_EQ(settings.Read("ImageRegNo1BoxNo1ImagePass"), "");
  EXPECT_TRUE(store.writes().empty());
}

TEST(Settings, ReaderMayGiveItsOwnFirstRunValue) {
  MemoryStore store;
  Settings settings(store);
  EXPECT_EQ(settings.Read("ScrActionRegSelectNoFlag", "2"), "2");
  EXPECT_EQ(store.Get("ScrActionRegSelectNoFlag"), "2");
}

TEST(Settings, DamagedNumberFallsBackToFirstRunValueAndStaysStored) {
  MemoryStore store;
  store.Set("ScrActionRegSelectNo1FlagScale", "fifty");
  store.Set("ScreenSetUpPointRegXFlag", "12.5");
  Settings settings(store);
  EXPECT_EQ(settings.ReadNumber("ScrActionRegSelectNo1FlagScale"), 50);
  EXPECT_EQ(settings.ReadNumber("ScreenSetUpPointRegXFlag"), 100);
  EXPECT_EQ(store.Get("ScrActionRegSelectNo1FlagScale"), "fifty");
  EXPECT_TRUE(store.writes().empty());
}

TEST(Settings, PeekNeverWrites) {
  MemoryStore store;
  Settings settings(store);
  EXPECT_EQ(settings.Peek("ScrActionRegSelectNoFlag"), "non");
  EXPECT_TRUE(store.writes().empty());
}

TEST(KeyTable, KeptFolderPlacesLiveBesideTheSettingsAndAreWrittenByNoRead) {
  const auto& state = keys::StateKeys();
  ASSERT_EQ(state.size(), 48u);
  EXPECT_EQ(state.front().name, "ImageRegNo1BoxNo1FolderPlace");
  EXPECT_EQ(state.back().name, "ImageRegNo4BoxNo12FolderPlace");
  EXPECT_EQ(keys::FolderPlace(2, 7), "ImageRegNo2BoxNo7FolderPlace");
  const keys::KeyDef* place = keys::Find(keys::FolderPlace(3, 12));
  ASSERT_NE(place, nullptr);
  EXPECT_EQ(place->type, keys::KeyType::kState);
  EXPECT_EQ(place->first_run, "");
  for (const keys::KeyDef& k : keys::AllKeys()) EXPECT_NE(k.type, keys::KeyType::kState) << k.name;
  MemoryStore store;
  Settings settings(store);
  EXPECT_EQ(settings.Peek(keys::FolderPlace(1, 1)), kNotSet);
  EXPECT_TRUE(store.writes().empty());
}

}  // namespace
}  // namespace tessmoor
