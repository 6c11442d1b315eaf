#include "platform/user_error.h"

#include <new>

namespace tessmoor {

std::string MessageOfCurrentFailure() {
  try {
    throw;
  } catch (const UserError& e) {
    return e.what();
  } catch (const std::bad_alloc&) {
    return kOutOfMemoryMessage;
  } catch (...) {
    return kUnexpectedFailureMessage;
  }
}

std::string FailureMessage(std::string_view what, std::string_view system_text) {
  std::string message(what);
  message += "できません。";
  if (!system_text.empty()) {
    message += "\n";
    message += system_text;
  }
  return message;
}

}  // namespace tessmoor
