#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "app/single_instance.h"
#include "platform/store.h"

namespace tessmoor {

// The one named mutex that keeps a second instance from starting, in every mode.
inline constexpr std::string_view kSingleInstanceMutexName = "OrgScrTGDoubleOpenChkhMutex";

enum class SwitchMode { kNothing, kShow, kPreview };

// What a command line asks for. The settings test looks at the first two characters of the
// first argument ("/c" or "/C"); the switch letter is the last character of the lower-cased first
// argument, `c` without any argument. Both are looked at, in that order, so "/c:1234" opens the
// settings dialog and then selects nothing (its letter is 4).
struct LaunchPlan {
  bool settings_dialog = false;
  SwitchMode mode = SwitchMode::kNothing;
  // The window that asked for the settings: the handle in "/c:<handle>", written in decimal as
  // an unsigned 32-bit value and sign-extended as 64-bit Windows does; 0 for none or for text
  // that is not such a number.
  std::uintptr_t settings_owner = 0;
};
LaunchPlan PlanLaunch(const std::vector<std::string>& args);

enum class MainForm {
  kNone,
  kShowWindow,         // TNo1Form full screen, either pattern
  kPattern1Preview,    // TNo1Form inside the host's preview window
  kPattern2Preview,    // TNo2Form inside the host's preview window
};
// The form a show or preview run creates for a pattern value; kNone for a pattern other than
// "1" or "2".
MainForm FormFor(SwitchMode mode, std::string_view pattern);

// The platform services the entry drives. Every Run function creates its form, runs the message
// loop until the form closes and destroys it, also when it throws.
class EntryHost {
 public:
  virtual ~EntryHost() = default;
  virtual KeyValueStore& OpenStore() = 0;
  // Whether this instance may run (AfterOpeningTheMutex, AfterCreatingTheMutex). The guard, once
  // taken, is held until the host is destroyed.
  virtual GuardResult TakeSingleInstanceGuard() = 0;
  // The system's description of one of its error codes, in Japanese; empty when it has none.
  virtual std::string SystemErrorText(std::uint32_t code) = 0;
  // `owner`: LaunchPlan::settings_owner, which may name no window (any more).
  virtual void RunSettingsDialog(std::uintptr_t owner) = 0;
  virtual void HideApplicationWindow() = 0;
  virtual void ShowPreviewParent(std::uintptr_t parent) = 0;
  virtual void RunForm(MainForm form, std::uintptr_t preview_parent) = 0;
  virtual void ShowError(std::string_view message) = 0;
};

// The whole entry: store, pattern, guard, settings test, dispatch. Returns the exit code:
// 1 when another instance runs, 0 otherwise. Every failure is shown through ShowError, in
// Japanese (MessageOfCurrentFailure); another instance shows nothing.
int RunEntry(const std::vector<std::string>& args, EntryHost& host);

// The message when the guard cannot be taken, with the system's description of why.
std::string GuardFailedMessage(std::string_view system_text);

// The conversion message for a window handle argument that is not a decimal number.
std::string NotAnIntegerMessage(std::string_view text);

}  // namespace tessmoor
