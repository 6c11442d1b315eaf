// Typed reads of the settings: numbers as the store's readers accept them, switches by their
// key's texts, values of another kind than text, and the settings dialog's start-up reads.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "app/entry.h"
#include "app/settings.h"
#include "app/settings_dialog_values.h"
#include "app/settings_keys.h"
#include "show/show_settings.h"
#include "tests/support/fakes.h"

namespace tessmoor {
namespace {

using testing::MemoryStore;
using Pair = std::pair<std::string, std::string>;

struct NumberCase {
  const char* text;
  std::optional<int> value;
};

class ParseNumberTest : public ::testing::TestWithParam<NumberCase> {};

TEST_P(ParseNumberTest, AcceptsBlanksSignsAndDollarHexadecimalOnly) {
  EXPECT_EQ(ParseNumber(GetParam().text), GetParam().value) << '"' << GetParam().text << '"';
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ParseNumberTest,
    ::testing::Values(
        NumberCase{"0", 0}, NumberCase{"1500", 1500}, NumberCase{"-12", -12}, NumberCase{"+7", 7},
        NumberCase{"007", 7}, NumberCase{"  42", 42}, NumberCase{" -5", -5}, NumberCase{"$1F", 31},
        NumberCase{"$1f", 31}, NumberCase{"-$10", -16}, NumberCase{"+$A", 10}, NumberCase{" $ff", 255},
        NumberCase{"$7FFFFFFF", 2147483647}, NumberCase{"-$80000000", -2147483647 - 1},
        NumberCase{"2147483647", 2147483647}, NumberCase{"-2147483648", -2147483647 - 1},
        // Everything else falls back.
        NumberCase{"", std::nullopt}, NumberCase{"   ", std::nullopt}, NumberCase{"42 ", std::nullopt},
        NumberCase{"\t42", std::nullopt}, NumberCase{"4 2", std::nullopt}, NumberCase{"- 5", std::nullopt},
        NumberCase{"$", std::nullopt}, NumberCase{"-$", std::nullopt}, NumberCase{"$G", std::nullopt},
        NumberCase{"$-10", std::nullopt}, NumberCase{"0x10", std::nullopt}, NumberCase{"x10", std::nullopt},
        NumberCase{"1.5", std::nullopt}, NumberCase{"1e3", std::nullopt}, NumberCase{"+-1", std::nullopt},
        NumberCase{"2147483648", std::nullopt}, NumberCase{"-2147483649", std::nullopt},
        NumberCase{"$80000000", std::nullopt}, NumberCase{"$FFFFFFFF", std::nullopt},
        NumberCase{"99999999999999999999", std::nullopt}, NumberCase{"non", std::nullopt},
        NumberCase{"１２", std::nullopt}));

TEST(SettingsNumbers, ReadNumberTakesBlanksAndHexadecimalAndLeavesTheText) {
  MemoryStore store;
  store.Set(std::string(keys::kSlideInterval), "  2000");
  store.Set(std::string(keys::kSlideScale), "$64");
  store.Set(keys::WindowSpeed(1), "9999");
  Settings settings(store);
  EXPECT_EQ(settings.ReadNumber(keys::kSlideInterval), 2000);
  EXPECT_EQ(settings.ReadNumber(keys::kSlideScale), 100);
  // Out of the dialogs' range but a number: used as it stands.
  EXPECT_EQ(settings.ReadNumber(keys::WindowSpeed(1)), 9999);
  EXPECT_TRUE(store.writes().empty());
}

TEST(KeyTable, NumbersCarryTheRangeTheDialogsOffer) {
  EXPECT_EQ(keys::Find(keys::kSlideInterval)->range.min, 500);
  EXPECT_EQ(keys::Find(keys::kSlideInterval)->range.max, 5000);
  EXPECT_EQ(keys::Find(keys::kSlideScale)->range.max, 150);
  for (int n = 1; n <= 4; ++n) {
    EXPECT_EQ(keys::Find(keys::WindowSpeed(n))->range.min, 1);
    EXPECT_EQ(keys::Find(keys::WindowSpeed(n))->range.max, 300);
    EXPECT_EQ(keys::Find(keys::WindowScale(n))->range.max, 100);
  }
  // Every number's first-run value is a number inside its range; only switches have texts.
  for (const keys::KeyDef& k : keys::AllKeys()) {
    EXPECT_EQ(k.switch_texts.has_value(), k.type == keys::KeyType::kChoice &&
                                              (k.name.find("CheckBoxReg") != std::string::npos ||
                                               k.name.rfind("MusicPlayStop", 0) == 0 ||
                                               k.name == keys::kEveryMonitor || k.name == keys::kFolderSubfolders))
        << k.name;
    if (k.type != keys::KeyType::kNumber) continue;
    const std::optional<int> first = ParseNumber(k.first_run);
    ASSERT_TRUE(first.has_value()) << k.name;
    EXPECT_GE(*first, k.range.min) << k.name;
    EXPECT_LE(*first, k.range.max) << k.name;
  }
}

struct SwitchCase {
  std::string key;
  const char* text;
  bool on;
};

class SwitchRead : public ::testing::TestWithParam<SwitchCase> {};

TEST_P(SwitchRead, FollowsItsKeysRule) {
  MemoryStore store;
  store.Set(GetParam().key, GetParam().text);
  Settings settings(store);
  EXPECT_EQ(settings.ReadSwitch(GetParam().key), GetParam().on) << GetParam().key << " '" << GetParam().text << "'";
}

INSTANTIATE_TEST_SUITE_P(
    Keys, SwitchRead,
    ::testing::Values(
        // Pattern 1 takes a box only for "1".
        SwitchCase{keys::Pattern1BoxUse(2), "1", true}, SwitchCase{keys::Pattern1BoxUse(2), "0", false},
        SwitchCase{keys::Pattern1BoxUse(2), "true", false}, SwitchCase{keys::Pattern1BoxUse(2), "", false},
        // A pattern-2 window stops only for "0".
        SwitchCase{keys::Pattern2BoxUse(3), "1", true}, SwitchCase{keys::Pattern2BoxUse(3), "0", false},
        SwitchCase{keys::Pattern2BoxUse(3), "x", true}, SwitchCase{keys::Pattern2BoxUse(3), "", true},
        // Music and its slots play unless "1".
        SwitchCase{"MusicPlayStop", "0", true}, SwitchCase{"MusicPlayStop", "1", false},
        SwitchCase{"MusicPlayStop", "x", true}, SwitchCase{keys::MusicPlayFlag(4), "1", false},
        SwitchCase{keys::MusicPlayFlag(4), "2", true}));

TEST(SettingsSwitches, WriteTheTextsTheirReadersExpect) {
  MemoryStore store;
  Settings settings(store);
  EXPECT_TRUE(settings.WriteSwitch(keys::Pattern1BoxUse(1), true));
  EXPECT_TRUE(settings.WriteSwitch(keys::Pattern2BoxUse(1), false));
  EXPECT_TRUE(settings.WriteSwitch(keys::kMusicSwitch, true));
  EXPECT_TRUE(settings.WriteSwitch(keys::MusicPlayFlag(5), false));
  EXPECT_FALSE(settings.WriteSwitch(keys::kSlideScale, true));  // not a switch
  EXPECT_EQ(store.writes(), (std::vector<Pair>{{keys::Pattern1BoxUse(1), "1"},
                                               {keys::Pattern2BoxUse(1), "0"},
                                               {"MusicPlayStop", "0"},
                                               {keys::MusicPlayFlag(5), "1"}}));
}

TEST(SettingsOtherKind, AValueThatIsNotTextReadsAsItsFirstRunValueAndStays) {
  MemoryStore store;
  store.SetNotText(std::string(keys::kSlideInterval));
  store.SetNotText(std::string(keys::kPattern));
  store.SetNotText(keys::Pattern2BoxUse(2));
  store.SetNotText(keys::ImagePath(1, 1));
  Settings settings(store);
  EXPECT_EQ(settings.ReadNumber(keys::kSlideInterval), 1500);
  EXPECT_EQ(settings.Read(keys::kPattern), "1");
  EXPECT_EQ(settings.Read(keys::kPattern, "2"), "2");
  EXPECT_TRUE(settings.ReadSwitch(keys::Pattern2BoxUse(2)));
  EXPECT_EQ(settings.Read(keys::ImagePath(1, 1)), "");
  EXPECT_EQ(settings.Peek(keys::kSlideInterval), "1500");
  EXPECT_TRUE(store.writes().empty());
  EXPECT_TRUE(store.Has(std::string(keys::kSlideInterval)));
  EXPECT_EQ(store.Get(std::string(keys::kSlideInterval)), std::nullopt);  // still not text
}

TEST(SettingsOtherKind, ShowOnAStoreOfNumbersRunsTheFirstRunShowWritingOnlyTheAbsentKeys) {
  MemoryStore store;
  store.SetNotText(std::string(keys::kPattern));
  store.SetNotText(std::string(keys::kSlideScale));
  store.SetNotText(keys::Pattern1BoxUse(1));
  Settings settings(store);
  const ShowSettings show = ReadShowSettings(settings);
  EXPECT_EQ(show.pattern, ShowPattern::kPattern1);
  EXPECT_EQ(show.scale, 50);
  EXPECT_TRUE(show.box_use[0]);  // its first-run value "1"
  EXPECT_EQ(store.WrittenKeys(),
            (std::vector<std::string>{std::string(keys::kDetailMode), std::string(keys::kSlideInterval),
                                      keys::Pattern1BoxUse(2), keys::Pattern1BoxUse(3), keys::Pattern1BoxUse(4)}));
}

// The settings dialog's start-up reads, as a show makes them for their first-run writes.
// Each key with its first-run value from the table (the values themselves are pinned by the
// key table's own tests).
std::vector<Pair> DialogFirstRunWrites() {
  std::vector<std::string> order = {"ScreenSetUpPointRegXFlag", "ScreenSetUpPointRegYFlag", "ScrActionRegSelectNoFlag"};
  for (int b = 1; b <= 4; ++b)
    for (int s = 1; s <= 12; ++s) order.push_back(keys::ImagePath(b, s));
  order.push_back("MusicPlayStop");
  std::vector<Pair> writes;
  for (const std::string& key : order) writes.emplace_back(key, Settings::FirstRun(key));
  return writes;
}

TEST(SettingsDialogValues, EmptyStoreWritesPositionPatternPicturesBoxMajorAndMusicSwitchInOrder) {
  MemoryStore store;
  Settings settings(store);
  const SettingsDialogValues values = ReadSettingsDialogValues(settings);
  EXPECT_EQ(store.writes(), DialogFirstRunWrites());
  EXPECT_EQ(values.position, (Point{100, 100}));
  EXPECT_EQ(values.pattern, "1");
  EXPECT_FALSE(values.music_play);
  for (const std::string& path : values.pictures) EXPECT_EQ(path, "");
}

TEST(SettingsDialogValues, PartlyFilledStoreWritesOnlyWhatIsMissingAndReadsTheRestAsItStands) {
  MemoryStore store;
  store.Set("ScreenSetUpPointRegXFlag", "abc");
  store.Set("ScrActionRegSelectNoFlag", "3");
  store.Set(keys::ImagePath(2, 7), "C:\\p\\gone.jpg");
  store.Set(keys::ImagePath(4, 12), "");
  store.Set("MusicPlayStop", "0");
  store.SetNotText(keys::ImagePath(1, 1));
  Settings settings(store);
  const SettingsDialogValues values = ReadSettingsDialogValues(settings);
  std::vector<Pair> expected;
  for (const Pair& w : DialogFirstRunWrites()) {
    if (w.first == "ScreenSetUpPointRegXFlag" || w.first == "ScrActionRegSelectNoFlag" ||
        w.first == keys::ImagePath(2, 7) || w.first == keys::ImagePath(4, 12) || w.first == "MusicPlayStop" ||
        w.first == keys::ImagePath(1, 1))
      continue;
    expected.push_back(w);
  }
  EXPECT_EQ(store.writes(), expected);
  EXPECT_EQ(values.position, (Point{100, 100}));  // the damaged X at its first-run value
  EXPECT_EQ(values.pattern, "3");
  EXPECT_EQ(values.picture(2, 7), "C:\\p\\gone.jpg");
  EXPECT_EQ(values.picture(1, 1), "");
  EXPECT_TRUE(values.music_play);
  EXPECT_EQ(store.Get("ScreenSetUpPointRegXFlag"), "abc");
}

// The entry asks the store for the pattern once; a pattern of another kind than text runs the
// first-run pattern without writing it.
class PatternOfAnotherKind : public EntryHost {
 public:
  KeyValueStore& OpenStore() override { return store; }
  GuardResult TakeSingleInstanceGuard() override { return {}; }
  std::string SystemErrorText(std::uint32_t) override { return {}; }
  void RunSettingsDialog(std::uintptr_t) override {}
  void HideApplicationWindow() override {}
  void ShowPreviewParent(std::uintptr_t) override {}
  void RunForm(MainForm f, std::uintptr_t) override { form = f; }
  void ShowError(std::string_view) override {}
  MemoryStore store;
  MainForm form = MainForm::kNone;
};

TEST(SettingsOtherKind, EntryRunsTheFirstRunPatternAndWritesNothing) {
  PatternOfAnotherKind host;
  host.store.SetNotText(std::string(keys::kPattern));
  EXPECT_EQ(RunEntry({"/p", "77"}, host), 0);
  EXPECT_EQ(host.form, MainForm::kPattern1Preview);
  EXPECT_TRUE(host.store.writes().empty());
}

}  // namespace
}  // namespace tessmoor
