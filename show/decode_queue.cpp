#include "show/decode_queue.h"

#include <algorithm>
#include <exception>
#include <utility>


namespace tessmoor {

DecodeQueue::DecodeQueue(FileSystem& files, const PictureDecoder& decoder, std::vector<Job> jobs, int threads,
                         Threads hooks)
    : files_(files), decoder_(decoder), hooks_(std::move(hooks)), jobs_(std::move(jobs)), results_(jobs_.size()) {
  if (threads <= 0) threads = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
  threads = std::min(threads, size());
  for (int i = 0; i < threads; ++i) {
    try {
      workers_.emplace_back(&DecodeQueue::Work, this);
    } catch (const std::exception&) {
      break;  // fewer threads, or none: the waiting calls decode themselves then
    }
  }
}

DecodeQueue::~DecodeQueue() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  for (std::thread& t : workers_) t.join();
}

void DecodeQueue::Work() {
  const std::shared_ptr<void> scope = hooks_.scope ? hooks_.scope() : nullptr;
  for (;;) {
    int job = -1;
    {
      std::lock_guard lock(mutex_);
      while (next_ < jobs_.size() && results_[next_].state != State::kQueued) ++next_;
      if (stopping_ || next_ == jobs_.size()) return;
      job = static_cast<int>(next_++);
      results_[job].state = State::kRunning;
    }
    Run(job);
  }
}

void DecodeQueue::Run(int job) {
  Picture picture;
  bool ok = false;
  try {
    const Job& j = jobs_[job];
    if (std::optional<std::vector<std::uint8_t>> bytes = files_.ReadFile(j.path, kMaxFileBytes)) {
      const DecodeTurns::Turn turn(hooks_.turns, j.rank);
      if (turn.held()) {
        DecodeResult result = decoder_.Decode(*bytes, j.extension, j.target);
        bytes.reset();  // only the decoded picture is kept
        ok = result.status == DecodeStatus::kOk && !result.picture.empty();
        if (ok) picture = std::move(result.picture);
      }
    }
  } catch (...) {
    // Out of memory or anything else the decoders let through: this one slot is lost, the show
    // goes on. A thread must not let an exception escape.
    ok = false;
    picture = Picture{};
  }
  {
    std::lock_guard lock(mutex_);
    results_[job].picture = std::move(picture);
    results_[job].state = ok ? State::kDecoded : State::kFailed;
  }
  finished_.notify_all();
}

void DecodeQueue::RunHereIfQueued(int job, std::unique_lock<std::mutex>& lock) {
  if (!workers_.empty() || results_[job].state != State::kQueued) return;
  results_[job].state = State::kRunning;
  lock.unlock();
  Run(job);
  lock.lock();
}

const Picture* DecodeQueue::Wait(int job) {
  if (job < 0 || job >= size()) return nullptr;
  std::unique_lock lock(mutex_);
  RunHereIfQueued(job, lock);
  finished_.wait(lock, [&] { return Done(job); });
  return results_[job].state == State::kDecoded ? &results_[job].picture : nullptr;
}

int DecodeQueue::WaitForAnyDecoded(std::span<const int> jobs) {
  std::unique_lock lock(mutex_);
  for (;;) {
    bool all_failed = true;
    for (int job : jobs) {
      if (job < 0 || job >= size()) continue;
      if (results_[job].state == State::kDecoded) return job;
      if (results_[job].state != State::kFailed) all_failed = false;
    }
    if (all_failed) return -1;
    if (workers_.empty()) {
      const auto queued = std::find_if(jobs.begin(), jobs.end(), [&](int job) {
        return job >= 0 && job < size() && results_[job].state == State::kQueued;
      });
      if (queued != jobs.end()) {
        RunHereIfQueued(*queued, lock);
        continue;
      }
    }
    finished_.wait(lock);
  }
}

void DecodeQueue::WaitAll() {
  for (int job = 0; job < size(); ++job) Wait(job);
}

std::vector<int> DecodeQueue::Failed() const {
  std::lock_guard lock(mutex_);
  std::vector<int> failed;
  for (int job = 0; job < size(); ++job)
    if (results_[job].state == State::kFailed) failed.push_back(job);
  return failed;
}

std::size_t DecodeQueue::PictureBytes() const {
  std::lock_guard lock(mutex_);
  std::size_t bytes = 0;
  for (const Result& r : results_)
    if (r.state == State::kDecoded) bytes += r.picture.pixels.capacity();
  return bytes;
}

}  // namespace tessmoor
