#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "app/settings.h"

namespace tessmoor {

// The writes of one dialog's save, made in order until the store refuses one (a key the user may
// not change, a full registry). From then on nothing more is written; the dialog tells the user
// and stays open with the choices, which another press saves once the store takes writes again.
class SaveWrites {
 public:
  explicit SaveWrites(Settings& settings) : settings_(settings) {}

  void Write(std::string_view key, std::string_view value);
  void Write(std::string_view key, int value);
  void WriteSwitch(std::string_view key, bool on);

  bool failed() const { return error_ != 0; }
  // The system's error number of the refused write; 0 while every write went in.
  std::uint32_t error() const { return error_; }

 private:
  void Keep(WriteResult result);

  Settings& settings_;
  std::uint32_t error_ = 0;
};

inline constexpr std::string_view kSaveFailureTitle = "Tessmoor";

// What the user reads when a save was refused: that the settings were not saved, the system's own
// words for `error` (`system_text`, as the system gives it, or empty when it has none: then a
// sentence of ours), and the error number.
std::string SaveFailureText(std::uint32_t error, std::string_view system_text);

}  // namespace tessmoor
