#include "tests/support/fakes.h"

namespace tessmoor::testing {

StoredValue MemoryStore::Read(std::string_view key) {
  ++reads_;
  if (not_text_.count(std::string(key)) != 0) return {StoredValue::Kind::kNotText, {}};
  auto it = values_.find(std::string(key));
  if (it == values_.end()) return {};
  return {StoredValue::Kind::kText, it->second};
}

bool MemoryStore::WriteString(std::string_view key, std::string_view value) {
  if (fail_writes) return false;
  Set(std::string(key), std::string(value));
  writes_.emplace_back(std::string(key), std::string(value));
  return true;
}

std::optional<std::string> MemoryStore::Get(const std::string& key) const {
  auto it = values_.find(key);
  if (it == values_.end()) return std::nullopt;
  return it->second;
}

std::vector<std::string> MemoryStore::WrittenKeys() const {
  std::vector<std::string> keys;
  for (const auto& w : writes_) keys.push_back(w.first);
  return keys;
}

bool FakeFileSystem::FileExists(std::string_view path) {
  return !path.empty() && files_.count(std::string(path)) != 0;
}

std::optional<std::vector<std::uint8_t>> FakeFileSystem::ReadFile(std::string_view path,
                                                                   std::size_t max_bytes) {
  auto it = files_.find(std::string(path));
  if (it == files_.end() || it->second.size() > max_bytes) return std::nullopt;
  return it->second;
}

}  // namespace tessmoor::testing
