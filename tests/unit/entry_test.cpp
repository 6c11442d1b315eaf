#include "app/entry.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <utility>

#include "tests/support/fakes.h"

namespace tessmoor {
namespace {

using testing::MemoryStore;

struct LaunchCase {
  std::vector<std::string> args;
  bool settings_dialog;
  SwitchMode mode;
};

class PlanLaunchTest : public ::testing::TestWithParam<LaunchCase> {};

TEST_P(PlanLaunchTest, ReadsSettingsTestAndSwitchLetter) {
  const LaunchPlan plan = PlanLaunch(GetParam().args);
  EXPECT_EQ(plan.settings_dialog, GetParam().settings_dialog);
  EXPECT_EQ(plan.mode, GetParam().mode);
}

INSTANTIATE_TEST_SUITE_P(
    CommandLines, PlanLaunchTest,
    ::testing::Values(
        LaunchCase{{}, false, SwitchMode::kNothing},
        LaunchCase{{""}, false, SwitchMode::kNothing},
        LaunchCase{{"/c"}, true, SwitchMode::kNothing},
        LaunchCase{{"/C"}, true, SwitchMode::kNothing},
        LaunchCase{{"/c:0"}, true, SwitchMode::kNothing},
        LaunchCase{{"/C:0"}, true, SwitchMode::kNothing},
        LaunchCase{{"/c:1234"}, true, SwitchMode::kNothing},
        LaunchCase{{"-c"}, false, SwitchMode::kNothing},
        LaunchCase{{"c"}, false, SwitchMode::kNothing},
        LaunchCase{{"/s"}, false, SwitchMode::kShow},
        LaunchCase{{"/S"}, false, SwitchMode::kShow},
        LaunchCase{{"-s"}, false, SwitchMode::kShow},
        LaunchCase{{"s"}, false, SwitchMode::kShow},
        LaunchCase{{"/p", "1234"}, false, SwitchMode::kPreview},
        LaunchCase{{"/P", "1234"}, false, SwitchMode::kPreview},
        LaunchCase{{"/p"}, false, SwitchMode::kPreview},
        LaunchCase{{"/x"}, false, SwitchMode::kNothing},
        LaunchCase{{"/sx"}, false, SwitchMode::kNothing},
        LaunchCase{{"/xs"}, false, SwitchMode::kShow},
        LaunchCase{{"/cs"}, true, SwitchMode::kShow},
        LaunchCase{{"/ｓ"}, false, SwitchMode::kNothing}));

struct OwnerCase {
  std::string first_argument;
  std::uintptr_t owner;
};

class SettingsOwnerTest : public ::testing::TestWithParam<OwnerCase> {};

TEST_P(SettingsOwnerTest, IsTheDecimalHandleAfterTheColonOrNone) {
  const LaunchPlan plan = PlanLaunch({GetParam().first_argument});
  EXPECT_EQ(plan.settings_owner, GetParam().owner) << GetParam().first_argument;
}

// Handles are unsigned 32-bit values that 64-bit Windows sign-extends.
constexpr std::uintptr_t SignExtended(std::uint32_t handle) {
  return static_cast<std::uintptr_t>(static_cast<std::intptr_t>(static_cast<std::int32_t>(handle)));
}

INSTANTIATE_TEST_SUITE_P(
    CommandLines, SettingsOwnerTest,
    ::testing::Values(OwnerCase{"/c:1234", 1234}, OwnerCase{"/C:1234", 1234}, OwnerCase{"/c:0001234", 1234},
                      OwnerCase{"/c", 0}, OwnerCase{"/c:", 0}, OwnerCase{"/c:0", 0}, OwnerCase{"/c:abc", 0},
                      OwnerCase{"/c:12ab", 0}, OwnerCase{"/c:-5", 0}, OwnerCase{"/c: 12", 0},
                      OwnerCase{"/c:+12", 0}, OwnerCase{"/c1234", 0}, OwnerCase{"c:1234", 0},
                      OwnerCase{"/s:1234", 0}, OwnerCase{"/c:2147483647", 2147483647},
                      OwnerCase{"/c:2147483648", SignExtended(0x80000000u)},
                      OwnerCase{"/c:4294967295", SignExtended(0xFFFFFFFFu)}, OwnerCase{"/c:4294967296", 0},
                      OwnerCase{"/c:99999999999999999999999", 0}));

TEST(FormFor, ChoosesTheFormOfModeAndPattern) {
  EXPECT_EQ(FormFor(SwitchMode::kShow, "1"), MainForm::kShowWindow);
  EXPECT_EQ(FormFor(SwitchMode::kShow, "2"), MainForm::kShowWindow);
  EXPECT_EQ(FormFor(SwitchMode::kPreview, "1"), MainForm::kPattern1Preview);
  EXPECT_EQ(FormFor(SwitchMode::kPreview, "2"), MainForm::kPattern2Preview);
  EXPECT_EQ(FormFor(SwitchMode::kShow, "3"), MainForm::kNone);
  EXPECT_EQ(FormFor(SwitchMode::kPreview, ""), MainForm::kNone);
  EXPECT_EQ(FormFor(SwitchMode::kNothing, "1"), MainForm::kNone);
}

class FakeHost : public EntryHost {
 public:
  KeyValueStore& OpenStore() override {
    if (store_fails) throw std::runtime_error("registry unavailable");
    return store;
  }
  bool TakeSingleInstanceGuard() override {
    if (guard_fails) throw std::runtime_error("mutex failed");
    events.push_back("guard");
    return !other_instance;
  }
  void RunSettingsDialog(std::uintptr_t owner) override {
    events.push_back("settings");
    settings_owner = owner;
  }
  void HideApplicationWindow() override { events.push_back("hide"); }
  void ShowPreviewParent(std::uintptr_t parent) override {
    events.push_back("show-parent " + std::to_string(parent));
  }
  void RunForm(MainForm form, std::uintptr_t parent) override {
    events.push_back("form " + std::to_string(static_cast<int>(form)) + " " + std::to_string(parent));
    if (form_fails) throw std::runtime_error("cannot build the form");
  }
  void ShowError(std::string_view message) override { errors.emplace_back(message); }

  MemoryStore store;
  bool other_instance = false;
  bool store_fails = false;
  bool guard_fails = false;
  bool form_fails = false;
  std::vector<std::string> events;
  std::vector<std::string> errors;
  std::optional<std::uintptr_t> settings_owner;
};

std::string FormEvent(MainForm form, std::uintptr_t parent = 0) {
  return "form " + std::to_string(static_cast<int>(form)) + " " + std::to_string(parent);
}

TEST(RunEntry, NoArgumentShowsNothingAndWritesNothing) {
  FakeHost host;
  EXPECT_EQ(RunEntry({}, host), 0);
  EXPECT_EQ(host.events, std::vector<std::string>{"guard"});
  EXPECT_TRUE(host.store.writes().empty());
}

TEST(RunEntry, SecondInstanceEndsWithOneAfterOnlyThePatternRead) {
  FakeHost host;
  host.other_instance = true;
  EXPECT_EQ(RunEntry({"/s"}, host), 1);
  EXPECT_EQ(host.events, std::vector<std::string>{"guard"});
  EXPECT_EQ(host.store.reads(), 1);
  EXPECT_TRUE(host.store.writes().empty());
}

TEST(RunEntry, ShowOnAnEmptyStoreWritesPatternOneAndRunsTheShowWindow) {
  FakeHost host;
  EXPECT_EQ(RunEntry({"/s"}, host), 0);
  EXPECT_EQ(host.store.Get("ScrActionRegSelectNoFlag"), "1");
  EXPECT_EQ(host.events.back(), FormEvent(MainForm::kShowWindow));
}

TEST(RunEntry, SettingsRunWritesNothingItself) {
  FakeHost host;
  EXPECT_EQ(RunEntry({"/c:1234"}, host), 0);
  EXPECT_EQ(host.events, (std::vector<std::string>{"guard", "settings"}));
  EXPECT_TRUE(host.store.writes().empty());
}

TEST(RunEntry, SettingsDialogGetsTheOwnerOfTheCommandLineOrNone) {
  FakeHost with_owner;
  RunEntry({"/c:1234"}, with_owner);
  EXPECT_EQ(with_owner.settings_owner, std::optional<std::uintptr_t>(1234));
  FakeHost without;
  RunEntry({"/c"}, without);
  EXPECT_EQ(without.settings_owner, std::optional<std::uintptr_t>(0));
  FakeHost show;
  RunEntry({"/s"}, show);
  EXPECT_EQ(show.settings_owner, std::nullopt);
}

TEST(RunEntry, PreviewOfPatternTwoRunsThePattern2PreviewInsideTheParent) {
  FakeHost host;
  host.store.Set("ScrActionRegSelectNoFlag", "2");
  EXPECT_EQ(RunEntry({"/P", "4242"}, host), 0);
  EXPECT_EQ(host.events, (std::vector<std::string>{"guard", "hide", "show-parent 4242",
                                                   FormEvent(MainForm::kPattern2Preview, 4242)}));
}

// Window handles are 32-bit values that 64-bit Windows sign-extends: a handle passed as a negative
// number names the same window as its sign-extended pointer, not a 4-billion-odd one.
TEST(RunEntry, NegativePreviewHandleIsSignExtendedToThePointerWidth) {
  for (const auto& [text, value] : {std::pair<std::string, std::intptr_t>{"-2", -2},
                                    std::pair<std::string, std::intptr_t>{"-2147483648", INT32_MIN},
                                    std::pair<std::string, std::intptr_t>{"2147483647", INT32_MAX}}) {
    FakeHost host;
    host.store.Set("ScrActionRegSelectNoFlag", "1");
    EXPECT_EQ(RunEntry({"/p", text}, host), 0);
    const auto parent = static_cast<std::uintptr_t>(value);
    EXPECT_EQ(host.events, (std::vector<std::string>{"guard", "hide", "show-parent " + std::to_string(parent),
                                                     FormEvent(MainForm::kPattern1Preview, parent)}))
        << text;
  }
}

TEST(RunEntry, PreviewWithoutANumberShowsTheConversionErrorAndCreatesNothing) {
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"/p", "abc"}, std::vector<std::string>{"/p"}}) {
    FakeHost host;
    EXPECT_EQ(RunEntry(args, host), 0);
    ASSERT_EQ(host.errors.size(), 1u);
    EXPECT_EQ(host.errors[0], NotAnIntegerMessage(args.size() > 1 ? args[1] : ""));
    EXPECT_EQ(host.events, (std::vector<std::string>{"guard", "hide"}));
    EXPECT_TRUE(host.store.writes().empty());
  }
}

TEST(RunEntry, OtherPatternCreatesNoForm) {
  FakeHost host;
  host.store.Set("ScrActionRegSelectNoFlag", "3");
  EXPECT_EQ(RunEntry({"/s"}, host), 0);
  EXPECT_EQ(host.events, std::vector<std::string>{"guard"});
  EXPECT_TRUE(host.store.writes().empty());
}

TEST(RunEntry, FailuresBeforeTheGuardAreShownNotThrown) {
  FakeHost store_host;
  store_host.store_fails = true;
  EXPECT_EQ(RunEntry({"/s"}, store_host), 0);
  EXPECT_EQ(store_host.errors, std::vector<std::string>{"registry unavailable"});

  FakeHost guard_host;
  guard_host.guard_fails = true;
  EXPECT_EQ(RunEntry({"/s"}, guard_host), 0);
  EXPECT_EQ(guard_host.errors, std::vector<std::string>{"mutex failed"});
}

TEST(RunEntry, FailureWhileAFormIsBuiltIsShownAndExitsZero) {
  FakeHost host;
  host.form_fails = true;
  EXPECT_EQ(RunEntry({"/s"}, host), 0);
  EXPECT_EQ(host.errors, std::vector<std::string>{"cannot build the form"});
}

}  // namespace
}  // namespace tessmoor
