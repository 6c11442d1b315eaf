#pragma once
#include <chrono>
#include <condition_variable>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "platform/file_system.h"
#include "tests/support/fakes.h"

namespace tessmoor::testing {

// A FakeFileSystem that background threads may use while the test changes it, slows it down or
// stops it: every call runs on the fake under one lock, after waiting out whatever the test set
// for its path. Delays and holds apply to ListFolder and ReadFile, by path prefix (as spelt).
class ScriptedFiles : public FileSystem {
 public:
  explicit ScriptedFiles(FakeFileSystem& files) : files_(files) {}
  // Lets every held call go and waits (at most a few seconds) until no call is in progress.
  ~ScriptedFiles() override;

  bool FileExists(std::string_view path) override;
  std::optional<std::vector<std::uint8_t>> ReadFile(std::string_view path, std::size_t max_bytes) override;
  std::optional<std::string> FullPath(std::string_view path) override;
  bool FolderExists(std::string_view path) override;
  std::optional<std::vector<FolderEntry>> ListFolder(std::string_view path) override;
  std::vector<Drive> ListDrives() override;
  bool NameBefore(std::string_view a, std::string_view b) override;

  // Changes the fake under the lock.
  void Change(const std::function<void(FakeFileSystem&)>& change);
  // Calls on paths that start with `prefix` wait `delay` first.
  void Delay(const std::string& prefix, std::chrono::milliseconds delay);
  // Calls on paths that start with `prefix` (listings only, when asked) wait until ReleaseAll.
  enum class Calls { kAll, kListings };
  void Hold(const std::string& prefix, Calls calls = Calls::kAll);
  void ReleaseAll();
  // Runs `hook` (outside the lock) before every ReadFile, with its path.
  void BeforeRead(std::function<void(const std::string&)> hook);

  int listings() const;
  int reads() const;
  // The paths read, in order.
  std::vector<std::string> read_paths() const;
  int calls_in_progress() const;
  // Waits until no call is in progress; false when one still is after `limit`.
  bool WaitIdle(std::chrono::milliseconds limit) const;

 private:
  // Waits out the delays and holds for `path`; counts the call in progress until Done.
  void Enter(std::string_view path, Calls call);
  void Done();

  FakeFileSystem& files_;
  mutable std::mutex mutex_;
  mutable std::condition_variable changed_;
  std::map<std::string, std::chrono::milliseconds> delays_;
  std::vector<std::pair<std::string, Calls>> holds_;
  std::function<void(const std::string&)> before_read_;
  std::vector<std::string> read_paths_;
  int listings_ = 0;
  int in_progress_ = 0;
};

}  // namespace tessmoor::testing
