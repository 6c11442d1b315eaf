#include "show/folder_feed.h"

#include <condition_variable>
#include <exception>
#include <optional>
#include <mutex>
#include <thread>
#include <utility>

namespace tessmoor {
namespace {

// A folder's pictures after its first decode after every slot's first picture.
constexpr int kLaterRank = 1 << 16;
// How long a feed destroyed on its own gives its thread to end.
constexpr std::chrono::milliseconds kStopWait{200};

enum class Phase { kPreparing, kDecoding, kReady, kNone };

}  // namespace

struct FolderFeed::Core {
  Core(Shared s, FolderPicker::Setup setup, int first_rank, std::uint64_t seed)
      : shared(std::move(s)), rank(first_rank), picker(shared.files, *shared.decoder, std::move(setup), seed) {}

  void SetPhase(Phase p) {
    {
      std::lock_guard lock(mutex);
      if (phase != Phase::kNone) phase = p;
    }
    changed.notify_all();
  }

  const Shared shared;
  const int rank;
  FolderPicker picker;  // the thread's alone
  std::atomic<bool> stop{false};

  std::mutex mutex;
  std::condition_variable changed;
  // Guarded by `mutex`:
  Phase phase = Phase::kPreparing;
  std::optional<FolderPicker::Pick> ahead;
  std::optional<FolderPick> ahead_following;  // the pick after `ahead`, once known
  std::optional<FolderPicker::Pick> taken;  // taken by the show, not yet handed back to the picker
  std::optional<std::string> late_kept;
  bool done = false;
};

FolderFeed::FolderFeed(Shared shared, FolderPicker::Setup setup, int rank, std::uint64_t seed)
    : core_(std::make_shared<Core>(std::move(shared), std::move(setup), rank, seed)) {
  try {
    thread_ = std::thread(&FolderFeed::Run, core_);
  } catch (const std::exception&) {
    core_->phase = Phase::kNone;  // no thread, no pictures: the slot counts as empty
    core_->done = true;
  }
}

FolderFeed::~FolderFeed() {
  RequestStop();
  Finish(std::chrono::steady_clock::now() + kStopWait);
}

void FolderFeed::Run(std::shared_ptr<Core> core) {
  const std::shared_ptr<void> scope = core->shared.scope ? core->shared.scope() : nullptr;
  int rank = core->rank;
  FolderPicker::Hooks hooks;
  hooks.stop = &core->stop;
  hooks.step = [&](FolderPicker::Step step) {
    core->SetPhase(step == FolderPicker::Step::kDecoding ? Phase::kDecoding : Phase::kPreparing);
  };
  hooks.turn = [&] { return std::make_shared<DecodeTurns::Turn>(core->shared.turns.get(), rank); };
  try {
    for (;;) {
      std::optional<FolderPicker::Pick> pick = core->picker.Next(hooks);
      std::unique_lock lock(core->mutex);
      if (core->stop) break;
      if (!pick) {
        core->phase = Phase::kNone;
        break;
      }
      const std::string place = pick->place;
      core->ahead = std::move(pick);
      core->ahead_following.reset();
      core->phase = Phase::kReady;
      core->changed.notify_all();
      lock.unlock();
      rank = core->rank + kLaterRank;
      core->picker.RelistIfDue(&core->stop);
      std::optional<FolderPick> following = core->picker.Following(place);
      lock.lock();
      if (following && core->ahead) {
        core->ahead_following = std::move(following);
      } else if (following && core->taken) {
        core->late_kept = FormatFolderKept({core->taken->place, std::move(following)});
      }
      core->changed.wait(lock, [&] { return core->taken.has_value() || core->stop; });
      if (core->stop) break;
      FolderPicker::Pick shown = std::move(*core->taken);
      core->taken.reset();
      lock.unlock();
      shown.picture.reset();
      core->picker.Shown(shown);
    }
  } catch (...) {
    // Out of memory, say: this slot ends empty, the show goes on.
    std::lock_guard lock(core->mutex);
    core->phase = Phase::kNone;
    core->ahead.reset();
  }
  {
    std::lock_guard lock(core->mutex);
    core->done = true;
  }
  core->changed.notify_all();
}

const Picture* FolderFeed::Peek(std::chrono::milliseconds wait) {
  std::unique_lock lock(core_->mutex);
  const auto deadline = std::chrono::steady_clock::now() + (missed_ ? std::chrono::milliseconds(0) : wait);
  for (;;) {
    switch (core_->phase) {
      case Phase::kReady:
        missed_ = false;
        return core_->ahead->picture.get();
      case Phase::kNone:
        return nullptr;
      case Phase::kDecoding:
        core_->changed.wait(lock);
        break;
      case Phase::kPreparing:
        if (core_->changed.wait_until(lock, deadline) == std::cv_status::timeout &&
            core_->phase == Phase::kPreparing) {
          missed_ = true;
          return nullptr;
        }
        break;
    }
  }
}

std::optional<FolderFeed::Taken> FolderFeed::Take() {
  std::lock_guard lock(core_->mutex);
  if (core_->phase != Phase::kReady || !core_->ahead) return std::nullopt;
  Taken out{core_->ahead->picture, FormatFolderKept({core_->ahead->place, core_->ahead_following})};
  core_->taken = std::move(core_->ahead);
  core_->ahead.reset();
  core_->ahead_following.reset();
  core_->late_kept.reset();
  core_->phase = Phase::kPreparing;
  core_->changed.notify_all();
  return out;
}

std::optional<std::string> FolderFeed::TakeLateKept() {
  std::lock_guard lock(core_->mutex);
  return std::exchange(core_->late_kept, std::nullopt);
}

bool FolderFeed::exhausted() const {
  std::lock_guard lock(core_->mutex);
  return core_->phase == Phase::kNone;
}

void FolderFeed::WaitSettled() {
  std::unique_lock lock(core_->mutex);
  core_->changed.wait(lock, [&] { return core_->phase == Phase::kReady || core_->phase == Phase::kNone; });
}

std::size_t FolderFeed::PictureBytes() const {
  std::lock_guard lock(core_->mutex);
  return core_->ahead ? core_->ahead->picture->pixels.capacity() : 0;
}

void FolderFeed::RequestStop() {
  {
    std::lock_guard lock(core_->mutex);
    core_->stop = true;
  }
  core_->changed.notify_all();
}

void FolderFeed::Finish(std::chrono::steady_clock::time_point deadline) {
  if (!thread_.joinable()) return;
  std::unique_lock lock(core_->mutex);
  const bool done = core_->changed.wait_until(lock, deadline, [&] { return core_->done; });
  lock.unlock();
  // A thread still listing or reading an unreachable folder holds its core and ends on its own.
  if (done) {
    thread_.join();
  } else {
    thread_.detach();
  }
}

}  // namespace tessmoor
