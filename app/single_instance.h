#pragma once
#include <cstdint>
#include <optional>

// The single-instance guard, decided from what the system answers. The host opens the named mutex
// and, when that finds none, creates it; these functions say what each answer means. System
// error codes are the system's own numbers.
namespace tessmoor {

enum class GuardState {
  kTaken,            // this instance holds the guard
  kAnotherInstance,  // another instance runs: end at once with exit code 1
  kFailed,           // the guard cannot be taken for another reason: `system_error` says why
};

struct GuardResult {
  GuardState state = GuardState::kTaken;
  std::uint32_t system_error = 0;
  friend bool operator==(const GuardResult&, const GuardResult&) = default;
};

inline constexpr std::uint32_t kSystemErrorAccessDenied = 5;
inline constexpr std::uint32_t kSystemErrorAlreadyExists = 183;

// After opening the existing mutex: an instance that opened it, or that may not open it (it was
// made by an instance running with higher rights, whose mutex an ordinary one cannot touch), has
// met another instance. Any other failure (commonly: no such mutex) leaves the decision to the
// creation, so nothing is returned.
std::optional<GuardResult> AfterOpeningTheMutex(bool opened, std::uint32_t error);

// After creating it: made, it is taken unless it already existed (two instances started at the
// same moment both missed each other's mutex when they opened); refused with access denied, it
// belongs to another instance as above; any other refusal is a failure with that error.
GuardResult AfterCreatingTheMutex(bool created, std::uint32_t error);

}  // namespace tessmoor
