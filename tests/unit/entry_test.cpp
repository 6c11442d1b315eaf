#include "app/entry.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <new>
#include <optional>
#include <stdexcept>
#include <utility>

#include "platform/user_error.h"
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
    if (store_fails) throw UserError("registry unavailable");
    if (store_throws) store_throws();
    return store;
  }
  GuardResult TakeSingleInstanceGuard() override {
    if (guard_fails) throw UserError("mutex failed");
    events.push_back("guard");
    if (guard_error) return {GuardState::kFailed, *guard_error};
    return {other_instance ? GuardState::kAnotherInstance : GuardState::kTaken, 0};
  }
  std::string SystemErrorText(std::uint32_t code) override { return "システムの説明 " + std::to_string(code); }
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
    if (form_fails) throw UserError("cannot build the form");
    if (form_throws) form_throws();
  }
  void ShowError(std::string_view message) override { errors.emplace_back(message); }

  MemoryStore store;
  bool other_instance = false;
  bool store_fails = false;
  bool guard_fails = false;
  bool form_fails = false;
  std::optional<std::uint32_t> guard_error;
  std::function<void()> form_throws;
  std::function<void()> store_throws;
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

struct GuardCase {
  const char* what;
  bool opened;
  std::uint32_t open_error;
  bool created;
  std::uint32_t create_error;
  GuardResult result;
};

class SingleInstanceGuardTest : public ::testing::TestWithParam<GuardCase> {};

TEST_P(SingleInstanceGuardTest, TellsTakenAnotherInstanceAndFailureApart) {
  const GuardCase& c = GetParam();
  std::optional<GuardResult> result = AfterOpeningTheMutex(c.opened, c.open_error);
  if (!result) result = AfterCreatingTheMutex(c.created, c.create_error);
  EXPECT_EQ(result->state, c.result.state) << c.what;
  EXPECT_EQ(result->system_error, c.result.system_error) << c.what;
}

constexpr std::uint32_t kNotFound = 2, kInvalidHandle = 6, kNoResources = 1450;
constexpr GuardResult kTaken{GuardState::kTaken, 0};
constexpr GuardResult kOther{GuardState::kAnotherInstance, 0};

INSTANTIATE_TEST_SUITE_P(
    SystemAnswers, SingleInstanceGuardTest,
    ::testing::Values(
        GuardCase{"no mutex yet: made", false, kNotFound, true, 0, kTaken},
        GuardCase{"opened: another instance holds it", true, 0, false, 0, kOther},
        GuardCase{"opening refused: an instance with higher rights holds it", false, kSystemErrorAccessDenied, false,
                  0, kOther},
        GuardCase{"made, but it existed: started at the same moment", false, kNotFound, true,
                  kSystemErrorAlreadyExists, kOther},
        GuardCase{"creation refused with access denied", false, kNotFound, false, kSystemErrorAccessDenied, kOther},
        GuardCase{"creation refused: another kind of object has the name", false, kInvalidHandle, false,
                  kInvalidHandle, {GuardState::kFailed, kInvalidHandle}},
        GuardCase{"creation refused for want of resources", false, kNotFound, false, kNoResources,
                  {GuardState::kFailed, kNoResources}}));

// Japanese, as all of the user interface: no word of a library's English.
bool HasNoLatinLetters(const std::string& text) {
  return std::none_of(text.begin(), text.end(),
                      [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); });
}

TEST(RunEntry, AnotherInstanceMetAsTheGuardsAnswerEndsWithOneAndShowsNothing) {
  FakeHost host;
  host.other_instance = true;
  EXPECT_EQ(RunEntry({"/c"}, host), 1);
  EXPECT_TRUE(host.errors.empty());
  EXPECT_EQ(host.events, std::vector<std::string>{"guard"});
}

TEST(RunEntry, AGuardThatCannotBeTakenIsShownInJapaneseWithTheSystemsReasonAndNothingRuns) {
  FakeHost host;
  host.guard_error = kNoResources;
  EXPECT_EQ(RunEntry({"/s"}, host), 0);
  ASSERT_EQ(host.errors.size(), 1u);
  const std::string reason = "システムの説明 1450";
  EXPECT_EQ(host.errors[0], GuardFailedMessage(reason));
  EXPECT_EQ(host.errors[0].rfind("\n" + reason), host.errors[0].size() - reason.size() - 1)
      << "not on a line of its own";
  EXPECT_EQ(host.events, std::vector<std::string>{"guard"});
  EXPECT_TRUE(host.store.writes().empty());
  EXPECT_TRUE(HasNoLatinLetters(GuardFailedMessage("")));
}

TEST(RunEntry, FailuresWithoutAMessageForTheUserAreShownInJapaneseByTheirKind) {
  struct Case {
    const char* what;
    std::function<void()> fail;
    std::string shown;
  };
  const Case cases[] = {
      {"a library's English text", [] { throw std::runtime_error("vector::_M_realloc_insert"); },
       kUnexpectedFailureMessage},
      {"out of memory", [] { throw std::bad_alloc(); }, kOutOfMemoryMessage},
      {"no std::exception at all", [] { throw 42; }, kUnexpectedFailureMessage},
  };
  for (const Case& c : cases) {
    FakeHost host;
    host.form_throws = c.fail;
    EXPECT_EQ(RunEntry({"/s"}, host), 0) << c.what;
    EXPECT_EQ(host.errors, std::vector<std::string>{c.shown}) << c.what;
    EXPECT_TRUE(HasNoLatinLetters(c.shown)) << c.what;
  }
  FakeHost before_guard;
  before_guard.store_throws = [] { throw std::logic_error("basic_string::substr"); };
  EXPECT_EQ(RunEntry({"/s"}, before_guard), 0);
  EXPECT_EQ(before_guard.errors, std::vector<std::string>{kUnexpectedFailureMessage});
  EXPECT_TRUE(before_guard.events.empty());
}

TEST(RunEntry, TheConversionMessageIsJapaneseAroundTheTextItQuotes) {
  EXPECT_TRUE(HasNoLatinLetters(NotAnIntegerMessage("")));
}

}  // namespace
}  // namespace tessmoor
