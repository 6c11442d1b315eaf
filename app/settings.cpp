#include "app/settings.h"

#include <string>

#include "app/settings_keys.h"

namespace tessmoor {

namespace {

int DigitValue(char c, int base) {
  int v = -1;
  if (c >= '0' && c <= '9') v = c - '0';
  if (c >= 'a' && c <= 'f') v = c - 'a' + 10;
  if (c >= 'A' && c <= 'F') v = c - 'A' + 10;
  return v < base ? v : -1;
}

// `digits` in `base` with the sign applied; nothing for an empty or foreign digit or a value
// outside int.
std::optional<int> Magnitude(std::string_view digits, int base, bool negative) {
  if (digits.empty()) return std::nullopt;
  long long value = 0;
  for (char c : digits) {
    const int d = DigitValue(c, base);
    if (d < 0) return std::nullopt;
    value = value * base + d;
    if (value > 2147483648LL) return std::nullopt;
  }
  if (negative) value = -value;
  if (value > 2147483647LL) return std::nullopt;
  return static_cast<int>(value);
}

// Takes an optional sign off the front of `text`; true for a minus.
bool TakeSign(std::string_view& text) {
  if (text.empty() || (text.front() != '+' && text.front() != '-')) return false;
  const bool negative = text.front() == '-';
  text.remove_prefix(1);
  return negative;
}

}  // namespace

std::optional<int> ParseDecimal(std::string_view text) {
  const bool negative = TakeSign(text);
  return Magnitude(text, 10, negative);
}

std::optional<int> ParseNumber(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  const bool negative = TakeSign(text);
  if (!text.empty() && text.front() == '$') return Magnitude(text.substr(1), 16, negative);
  return Magnitude(text, 10, negative);
}

std::string Settings::FirstRun(std::string_view key) {
  const keys::KeyDef* entry = keys::Find(key);
  return entry ? entry->first_run : std::string();
}

int Settings::FirstRunNumber(std::string_view key) { return ParseNumber(FirstRun(key)).value_or(0); }

std::string Settings::Peek(std::string_view key) {
  StoredValue value = store_.Read(key);
  switch (value.kind) {
    case StoredValue::Kind::kAbsent: return std::string(kNotSet);
    case StoredValue::Kind::kNotText: return FirstRun(key);
    case StoredValue::Kind::kText: break;
  }
  return std::move(value.text);
}

std::string Settings::Read(std::string_view key) { return Read(key, FirstRun(key)); }

std::string Settings::Read(std::string_view key, std::string_view first_run) {
  StoredValue value = store_.Read(key);
  if (value.kind == StoredValue::Kind::kNotText) return std::string(first_run);
  if (value.kind == StoredValue::Kind::kAbsent || value.text == kNotSet) {
    store_.WriteString(key, first_run);
    return std::string(first_run);
  }
  return std::move(value.text);
}

int Settings::ReadNumber(std::string_view key) {
  return ParseNumber(Read(key)).value_or(FirstRunNumber(key));
}

bool Settings::ReadSwitch(std::string_view key) {
  const keys::KeyDef* entry = keys::Find(key);
  const std::string text = Read(key);
  if (!entry || !entry->switch_texts) return false;
  const keys::SwitchTexts& texts = *entry->switch_texts;
  if (text == texts.on) return true;
  if (text == texts.off) return false;
  return texts.other_is_on;
}

WriteResult Settings::Write(std::string_view key, std::string_view value) {
  return store_.WriteString(key, value);
}

WriteResult Settings::Write(std::string_view key, int value) {
  return store_.WriteString(key, std::to_string(value));
}

WriteResult Settings::WriteSwitch(std::string_view key, bool on) {
  const keys::KeyDef* entry = keys::Find(key);
  // The system's ERROR_INVALID_PARAMETER: a programming error, never a user's.
  if (!entry || !entry->switch_texts) return {87};
  return store_.WriteString(key, on ? entry->switch_texts->on : entry->switch_texts->off);
}

}  // namespace tessmoor
