#include "app/single_instance.h"

namespace tessmoor {

std::optional<GuardResult> AfterOpeningTheMutex(bool opened, std::uint32_t error) {
  if (opened || error == kSystemErrorAccessDenied) return GuardResult{GuardState::kAnotherInstance, 0};
  return std::nullopt;
}

GuardResult AfterCreatingTheMutex(bool created, std::uint32_t error) {
  if (created) {
    if (error == kSystemErrorAlreadyExists) return {GuardState::kAnotherInstance, 0};
    return {GuardState::kTaken, 0};
  }
  if (error == kSystemErrorAccessDenied) return {GuardState::kAnotherInstance, 0};
  return {GuardState::kFailed, error};
}

}  // namespace tessmoor
