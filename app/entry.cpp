#include "app/entry.h"

#include "app/settings.h"
#include "app/settings_keys.h"
#include "platform/user_error.h"

namespace tessmoor {

namespace {

// The switch letter: the last character of the first argument, lower-cased. Only ASCII letters
// select anything, so a multi-byte last character is kept whole and matches no mode.
std::string SwitchLetter(const std::vector<std::string>& args) {
  if (args.empty()) return "c";
  const std::string& first = args[0];
  if (first.empty()) return "";
  std::size_t start = first.size() - 1;
  while (start > 0 && (static_cast<unsigned char>(first[start]) & 0xC0) == 0x80) --start;
  std::string letter = first.substr(start);
  if (letter.size() == 1 && letter[0] >= 'A' && letter[0] <= 'Z') letter[0] += 'a' - 'A';
  return letter;
}

// The handle after "/c:" or "/C:": decimal digits only, 1 to 0xFFFFFFFF.
std::uintptr_t SettingsOwner(const std::vector<std::string>& args) {
  if (args.empty()) return 0;
  const std::string& first = args[0];
  if (first.size() < 4 || first[0] != '/' || (first[1] != 'c' && first[1] != 'C') || first[2] != ':') return 0;
  std::uint64_t value = 0;
  for (std::size_t i = 3; i < first.size(); ++i) {
    if (first[i] < '0' || first[i] > '9' || value > 0xFFFFFFFFu) return 0;
    value = value * 10 + static_cast<std::uint64_t>(first[i] - '0');
  }
  if (value > 0xFFFFFFFFu) return 0;
  return static_cast<std::uintptr_t>(static_cast<std::intptr_t>(static_cast<std::int32_t>(value)));
}

}  // namespace

LaunchPlan PlanLaunch(const std::vector<std::string>& args) {
  LaunchPlan plan;
  if (!args.empty() && args[0].size() >= 2) {
    std::string_view two(args[0].data(), 2);
    plan.settings_dialog = two == "/c" || two == "/C";
  }
  const std::string letter = SwitchLetter(args);
  if (letter == "s") plan.mode = SwitchMode::kShow;
  if (letter == "p") plan.mode = SwitchMode::kPreview;
  if (plan.settings_dialog) plan.settings_owner = SettingsOwner(args);
  return plan;
}

MainForm FormFor(SwitchMode mode, std::string_view pattern_text) {
  const ShowPattern pattern = PatternOf(pattern_text);
  if (pattern == ShowPattern::kOther) return MainForm::kNone;
  if (mode == SwitchMode::kShow) return MainForm::kShowWindow;
  if (mode == SwitchMode::kPreview)
    return pattern == ShowPattern::kPattern1 ? MainForm::kPattern1Preview : MainForm::kPattern2Preview;
  return MainForm::kNone;
}

std::string NotAnIntegerMessage(std::string_view text) {
  return "'" + std::string(text) + "' は有効な整数値ではありません。";
}

std::string GuardFailedMessage(std::string_view system_text) {
  return FailureMessage("二重起動を防ぐためのミューテックスを作成", system_text);
}

int RunEntry(const std::vector<std::string>& args, EntryHost& host) {
  std::string pattern;
  try {
    KeyValueStore& store = host.OpenStore();
    pattern = Settings(store).Peek(keys::kPattern);
    const GuardResult guard = host.TakeSingleInstanceGuard();
    if (guard.state == GuardState::kAnotherInstance) return 1;
    if (guard.state == GuardState::kFailed) {
      host.ShowError(GuardFailedMessage(host.SystemErrorText(guard.system_error)));
      return 0;
    }
  } catch (...) {
    host.ShowError(MessageOfCurrentFailure());
    return 0;
  }

  try {
    const LaunchPlan plan = PlanLaunch(args);
    if (plan.settings_dialog) host.RunSettingsDialog(plan.settings_owner);
    if (plan.mode == SwitchMode::kNothing) return 0;

    std::uintptr_t preview_parent = 0;
    if (plan.mode == SwitchMode::kPreview) {
      host.HideApplicationWindow();
      const std::string handle_text = args.size() >= 2 ? args[1] : std::string();
      const std::optional<int> handle = ParseDecimal(handle_text);
      if (!handle) {
        host.ShowError(NotAnIntegerMessage(handle_text));
        return 0;
      }
      // Window handles are 32-bit values sign-extended on 64-bit Windows.
      preview_parent = static_cast<std::uintptr_t>(static_cast<std::intptr_t>(*handle));
      host.ShowPreviewParent(preview_parent);
    }
    if (pattern == kNotSet) {
      pattern = Settings::FirstRun(keys::kPattern);
      Settings(host.OpenStore()).Write(keys::kPattern, pattern);
    }
    const MainForm form = FormFor(plan.mode, pattern);
    if (form != MainForm::kNone) host.RunForm(form, preview_parent);
  } catch (...) {
    host.ShowError(MessageOfCurrentFailure());
  }
  return 0;
}

}  // namespace tessmoor
