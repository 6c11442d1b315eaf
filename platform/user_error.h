#pragma once
#include <stdexcept>
#include <string>

// Failures and the messages the user sees for them. The user interface speaks Japanese, and so do
// its error messages: a failure meant for the user's eyes is a UserError with a Japanese message;
// any other exception's text (a library's English what()) is never shown, its kind is.
namespace tessmoor {

class UserError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

inline constexpr const char* kOutOfMemoryMessage = "メモリが足りないため、続けられません。";
inline constexpr const char* kUnexpectedFailureMessage = "予期しないエラーが起きたため、続けられません。";

// The message for the exception being handled; call it only inside a catch block. A UserError
// gives its own message, running out of memory kOutOfMemoryMessage, anything else
// kUnexpectedFailureMessage.
std::string MessageOfCurrentFailure();

// "`what` できません。" followed, on a line of its own, by the system's description of the
// failure when there is one: the shape of every start-up failure message.
std::string FailureMessage(std::string_view what, std::string_view system_text);

}  // namespace tessmoor
