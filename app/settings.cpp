#include "app/settings.h"

#include <string>

#include "app/settings_keys.h"

namespace tessmoor {

std::optional<int> ParseDecimal(std::string_view text) {
  std::string_view digits = text;
  bool negative = false;
  if (!digits.empty() && (digits.front() == '+' || digits.front() == '-')) {
    negative = digits.front() == '-';
    digits.remove_prefix(1);
  }
  if (digits.empty()) return std::nullopt;
  for (char c : digits)
    if (c < '0' || c > '9') return std::nullopt;
  long long value = 0;
  for (char c : digits) {
    value = value * 10 + (c - '0');
    if (value > 2147483648LL) return std::nullopt;
  }
  if (negative) value = -value;
  if (value > 2147483647LL) return std::nullopt;
  return static_cast<int>(value);
}

int NumberOr(std::string_view text, int fallback) {
  return ParseDecimal(text).value_or(fallback);
}

int NumberOr(std::string_view text, std::string_view fallback) {
  if (auto v = ParseDecimal(text)) return *v;
  return ParseDecimal(fallback).value_or(0);
}

std::string Settings::FirstRun(std::string_view key) {
  const keys::KeySpec* entry = keys::Find(key);
  return entry ? entry->first_run : std::string();
}

std::string Settings::Peek(std::string_view key) { return store_.ReadString(key, kNotSet); }

std::string Settings::Read(std::string_view key) { return Read(key, FirstRun(key)); }

std::string Settings::Read(std::string_view key, std::string_view first_run) {
  std::string value = store_.ReadString(key, kNotSet);
  if (value == kNotSet) {
    store_.WriteString(key, first_run);
    value = std::string(first_run);
  }
  return value;
}

int Settings::ReadNumber(std::string_view key) { return NumberOr(Read(key), FirstRun(key)); }

bool Settings::Write(std::string_view key, std::string_view value) {
  return store_.WriteString(key, value);
}

bool Settings::Write(std::string_view key, int value) {
  return store_.WriteString(key, std::to_string(value));
}

}  // namespace tessmoor
