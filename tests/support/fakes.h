#pragma once
#include <cstdint>
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

// An in-memory settings store that remembers every write in order, and refuses the writes a test
// asks it to, as a locked or full registry would.
class MemoryStore : public KeyValueStore {
 public:
  StoredValue Read(std::string_view key) override;
  WriteResult WriteString(std::string_view key, std::string_view value) override;

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
  // Every write attempt, refused ones included.
  int write_attempts() const { return attempts_; }

  // Refuses every write with `fail_error`.
  bool fail_writes = false;
  // Refuses only the write attempt of this number as write_attempts() counts them (the first is
  // 1), so that a writer going on after it would be seen.
  int fail_attempt = 0;
  std::uint32_t fail_error = 5;

 private:
  std::map<std::string, std::string> values_;
  std::set<std::string> not_text_;
  std::vector<std::pair<std::string, std::string>> writes_;
  int reads_ = 0;
  int attempts_ = 0;
};

// Files that exist, with their contents, and folders; everything else is missing. Paths are
// full paths with backslashes, compared as they are spelt except that folder listings and
// FolderExists ignore case, as the system does. Read-only once set up, so any thread may use it.
class FakeFileSystem : public FileSystem {
 public:
  bool FileExists(std::string_view path) override;
  std::optional<std::vector<std::uint8_t>> ReadFile(std::string_view path,
                                                     std::size_t max_bytes) override;
  // Absolute paths as they are with "/" made "\\" and "." and ".." resolved; "X:" alone is the current folder when
  // it is on drive X and that drive's root otherwise; other paths are taken from the current
  // folder. Nothing for an empty path.
  std::optional<std::string> FullPath(std::string_view path) override;
  bool FolderExists(std::string_view path) override;
  std::optional<std::vector<FolderEntry>> ListFolder(std::string_view path) override;
  std::vector<Drive> ListDrives() override { return drives_; }
  // Case-insensitive by LowerCase, then by the bytes.
  bool NameBefore(std::string_view a, std::string_view b) override;

  void Add(const std::string& path, std::vector<std::uint8_t> bytes = {}) {
    files_[path] = std::move(bytes);
  }
  void Remove(const std::string& path) { files_.erase(path); }
  // A folder and every folder above it (a drive root such as "C:\" included).
  void AddFolder(const std::string& path);
  void RemoveFolder(const std::string& path) { folders_.erase(Key(path)); }
  // Marks a file or folder as hidden (or system).
  void Hide(const std::string& path) { hidden_.insert(Key(path)); }
  // A folder that exists but whose listing fails, as for access denied.
  void MakeUnlistable(const std::string& path) { unlistable_.insert(Key(path)); }
  void AddDrive(const std::string& root, const std::string& label = "") { drives_.push_back({root, label}); }
  void SetCurrentFolder(const std::string& path) { current_ = path; }
  int listings() const { return listings_; }

 private:
  // The lower-cased path without a trailing backslash, except at a drive root.
  static std::string Key(std::string_view path);
  std::map<std::string, std::vector<std::uint8_t>> files_;
  std::map<std::string, std::string> folders_;  // key: the path as it was added
  std::set<std::string> hidden_;
  std::set<std::string> unlistable_;
  std::vector<Drive> drives_;
  std::string current_ = "C:\\";
  int listings_ = 0;
};

// Passes every call on to another file system; a test derives from it to watch or change some.
class ForwardingFileSystem : public FileSystem {
 public:
  explicit ForwardingFileSystem(FileSystem& next) : next_(next) {}
  bool FileExists(std::string_view path) override { return next_.FileExists(path); }
  std::optional<std::vector<std::uint8_t>> ReadFile(std::string_view path, std::size_t max_bytes) override {
    return next_.ReadFile(path, max_bytes);
  }
  std::optional<std::string> FullPath(std::string_view path) override { return next_.FullPath(path); }
  bool FolderExists(std::string_view path) override { return next_.FolderExists(path); }
  std::optional<std::vector<FolderEntry>> ListFolder(std::string_view path) override {
    return next_.ListFolder(path);
  }
  std::vector<Drive> ListDrives() override { return next_.ListDrives(); }
  bool NameBefore(std::string_view a, std::string_view b) override { return next_.NameBefore(a, b); }

 private:
  FileSystem& next_;
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
