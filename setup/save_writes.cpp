#include "setup/save_writes.h"

namespace tessmoor {

void SaveWrites::Keep(WriteResult result) {
  if (!result) error_ = result.error;
}

void SaveWrites::Write(std::string_view key, std::string_view value) {
  if (!failed()) Keep(settings_.Write(key, value));
}

void SaveWrites::Write(std::string_view key, int value) {
  if (!failed()) Keep(settings_.Write(key, value));
}

void SaveWrites::WriteSwitch(std::string_view key, bool on) {
  if (!failed()) Keep(settings_.WriteSwitch(key, on));
}

std::string SaveFailureText(std::uint32_t error, std::string_view system_text) {
  // The system ends its messages with a line break, sometimes with blanks before it.
  while (!system_text.empty() &&
         (system_text.back() == '\r' || system_text.back() == '\n' || system_text.back() == ' '))
    system_text.remove_suffix(1);
  std::string text = "設定を保存できませんでした。\n\n";
  text += system_text.empty() ? std::string_view("設定をレジストリに書き込めませんでした。") : system_text;
  text += "\n（エラー番号 " + std::to_string(error) + "）";
  return text;
}

}  // namespace tessmoor
