#include "tests/support/scripted_files.h"

#include <algorithm>
#include <thread>

namespace tessmoor::testing {

namespace {
bool Starts(std::string_view path, const std::string& prefix) { return path.substr(0, prefix.size()) == prefix; }
}  // namespace

ScriptedFiles::~ScriptedFiles() {
  ReleaseAll();
  WaitIdle(std::chrono::seconds(5));
}

void ScriptedFiles::Enter(std::string_view path, Calls call) {
  std::unique_lock lock(mutex_);
  ++in_progress_;
  std::chrono::milliseconds delay{0};
  for (const auto& [prefix, d] : delays_)
    if (Starts(path, prefix)) delay = std::max(delay, d);
  changed_.wait(lock, [&] {
    return std::none_of(holds_.begin(), holds_.end(), [&](const auto& hold) {
      return Starts(path, hold.first) && (hold.second == Calls::kAll || hold.second == call);
    });
  });
  if (delay.count() > 0) {
    lock.unlock();
    std::this_thread::sleep_for(delay);
  }
}

void ScriptedFiles::Done() {
  {
    std::lock_guard lock(mutex_);
    --in_progress_;
  }
  changed_.notify_all();
}

bool ScriptedFiles::FileExists(std::string_view path) {
  std::lock_guard lock(mutex_);
  return files_.FileExists(path);
}

std::optional<std::vector<std::uint8_t>> ScriptedFiles::ReadFile(std::string_view path, std::size_t max_bytes) {
  std::function<void(const std::string&)> hook;
  {
    std::lock_guard lock(mutex_);
    hook = before_read_;
  }
  if (hook) hook(std::string(path));
  Enter(path, Calls::kAll);
  std::optional<std::vector<std::uint8_t>> bytes;
  {
    std::lock_guard lock(mutex_);
    read_paths_.emplace_back(path);
    bytes = files_.ReadFile(path, max_bytes);
  }
  Done();
  return bytes;
}

std::optional<std::string> ScriptedFiles::FullPath(std::string_view path) {
  std::lock_guard lock(mutex_);
  return files_.FullPath(path);
}

bool ScriptedFiles::FolderExists(std::string_view path) {
  std::lock_guard lock(mutex_);
  return files_.FolderExists(path);
}

std::optional<std::vector<FolderEntry>> ScriptedFiles::ListFolder(std::string_view path) {
  Enter(path, Calls::kListings);
  std::optional<std::vector<FolderEntry>> entries;
  {
    std::lock_guard lock(mutex_);
    ++listings_;
    entries = files_.ListFolder(path);
  }
  Done();
  return entries;
}

std::vector<Drive> ScriptedFiles::ListDrives() {
  std::lock_guard lock(mutex_);
  return files_.ListDrives();
}

bool ScriptedFiles::NameBefore(std::string_view a, std::string_view b) {
  std::lock_guard lock(mutex_);
  return files_.NameBefore(a, b);
}

void ScriptedFiles::Change(const std::function<void(FakeFileSystem&)>& change) {
  std::lock_guard lock(mutex_);
  change(files_);
}

void ScriptedFiles::Delay(const std::string& prefix, std::chrono::milliseconds delay) {
  std::lock_guard lock(mutex_);
  delays_[prefix] = delay;
}

void ScriptedFiles::Hold(const std::string& prefix, Calls calls) {
  std::lock_guard lock(mutex_);
  holds_.emplace_back(prefix, calls);
}

void ScriptedFiles::ReleaseAll() {
  {
    std::lock_guard lock(mutex_);
    holds_.clear();
    delays_.clear();
  }
  changed_.notify_all();
}

void ScriptedFiles::BeforeRead(std::function<void(const std::string&)> hook) {
  std::lock_guard lock(mutex_);
  before_read_ = std::move(hook);
}

int ScriptedFiles::listings() const {
  std::lock_guard lock(mutex_);
  return listings_;
}

int ScriptedFiles::reads() const {
  std::lock_guard lock(mutex_);
  return static_cast<int>(read_paths_.size());
}

std::vector<std::string> ScriptedFiles::read_paths() const {
  std::lock_guard lock(mutex_);
  return read_paths_;
}

int ScriptedFiles::calls_in_progress() const {
  std::lock_guard lock(mutex_);
  return in_progress_;
}

bool ScriptedFiles::WaitIdle(std::chrono::milliseconds limit) const {
  std::unique_lock lock(mutex_);
  return changed_.wait_for(lock, limit, [&] { return in_progress_ == 0; });
}

}  // namespace tessmoor::testing
