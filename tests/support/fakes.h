#pragma once
#include <map>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "platform/file_system.h"
#include "platform/random.h"
#include "platform/store.h"

namespace tessmoor::testing {

// An in-memory settings store that remembers every write in order.
class MemoryStore : public KeyValueStore {
 public:
  StoredValue Read(std::string_view key) override;
  bool WriteString(std::string_view key, std::string_view value) override;

  void Set(const std::string& key, const std::string& value) {
    not_text_.erase(key);
    values_[key] = value;
  }
  // A value of another kind than text, such as a number set by an administrator's script.
  void SetNotText(const std::string& key) {
    values_.erase(key);
    not_text_.insert(key);
  }
  // The text stored under `key`; nothing when it is absent or not text.
  std::optional<std::string> Get(const std::string& key) const;
  bool Has(const std::string& key) const { return values_.count(key) != 0 || not_text_.count(key) != 0; }
  const std::map<std::string, std::string>& values() const { return values_; }
  // Keys in the order they were written, one entry per write.
  const std::vector<std::pair<std::string, std::string>>& writes() const { return writes_; }
  std::vector<std::string> WrittenKeys() const;
  void ClearWrites() { writes_.clear(); }
  int reads() const { return reads_; }
  bool fail_writes = false;

 private:
  std::map<std::string, std::string> values_;
  std::set<std::string> not_text_;
  std::vector<std::pair<std::string, std::string>> writes_;
  int reads_ = 0;
};

// Files that exist, with their contents; everything else is missing.
class FakeFileSystem : public FileSystem {
 public:
  bool FileExists(std::string_view path) override;
  std::optional<std::vector<std::uint8_t>> ReadFile(std::string_view path,
                                                     std::size_t max_bytes) override;

  void Add(const std::string& path, std::vector<std::uint8_t> bytes = {}) {
    files_[path] = std::move(bytes);
  }
  void Remove(const std::string& path) { files_.erase(path); }

 private:
  std::map<std::string, std::vector<std::uint8_t>> files_;
};

// Plays back a fixed list of numbers, then repeats it.
class ScriptedRandom : public RandomSource {
 public:
  explicit ScriptedRandom(std::vector<std::int32_t> values) : values_(std::move(values)) {}
  std::int32_t Next31() override {
    if (values_.empty()) return 0;
    std::int32_t v = values_[next_ % values_.size()];
    ++next_;
    return v;
  }
  int draws() const { return static_cast<int>(next_); }

 private:
  std::vector<std::int32_t> values_;
  std::size_t next_ = 0;
};

}  // namespace tessmoor::testing
