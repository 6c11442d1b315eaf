#pragma once
#include <condition_variable>
#include <cstddef>
#include <mutex>
#include <span>
#include <string>
#include <thread>
#include <vector>

#include "platform/file_system.h"
#include "platform/image/picture.h"
#include "platform/image/picture_decoder.h"
#include "show/decode_turns.h"

namespace tessmoor {

// Decodes a fixed list of picture files on background threads, taking the jobs in list order so
// that the first ones are ready first.
//
// Threads: the decode threads call only FileSystem::ReadFile (which must therefore allow calls
// from several threads at once, alongside the owner's own calls), the decoder and the turns; they
// never call back into the owner. Each holds its ThreadScope for its life, and decodes only while
// it holds a turn, at the rank of its job; it reads the file before it asks for one. Every public function may be called from any one thread at a time
// while the decoders run (the show calls them from its user-interface thread). A picture, once
// returned, is never changed again and stays valid until the queue is destroyed.
class DecodeQueue {
 public:
  struct Job {
    std::string path;
    std::string extension;  // lower case, dot included
    DecodeTarget target;
    int rank = 0;  // the job's place in the order the show needs its pictures
  };
  struct Threads {
    DecodeTurns* turns = nullptr;  // none: decode whenever a thread is free
    ThreadScope scope;
  };

  // Files larger than this are not read: no picture the decoders accept comes near it.
  static constexpr std::size_t kMaxFileBytes = std::size_t{256} << 20;

  // `threads` <= 0 takes one thread per core. When no thread can be started, the waiting
  // functions decode on the caller's thread instead.
  // `files`, `decoder` and the turns must outlive the queue.
  DecodeQueue(FileSystem& files, const PictureDecoder& decoder, std::vector<Job> jobs, int threads,
              Threads hooks);
  // Lets the running decodes finish, drops the jobs not started and joins the threads.
  ~DecodeQueue();
  DecodeQueue(const DecodeQueue&) = delete;
  DecodeQueue& operator=(const DecodeQueue&) = delete;

  int size() const { return static_cast<int>(jobs_.size()); }
  int thread_count() const { return static_cast<int>(workers_.size()); }

  // Waits for job `job`; nullptr when its file could not be read or decoded.
  const Picture* Wait(int job);
  // Waits until one of `jobs` has decoded or all of them have failed; the first decoded one in
  // list order among those done, or -1 when all failed.
  int WaitForAnyDecoded(std::span<const int> jobs);
  void WaitAll();
  // The jobs that have failed so far, without waiting.
  std::vector<int> Failed() const;
  // Bytes held by the decoded pictures so far.
  std::size_t PictureBytes() const;

 private:
  enum class State { kQueued, kRunning, kDecoded, kFailed };
  struct Result {
    State state = State::kQueued;
    Picture picture;
  };

  void Work();
  // Runs `job` on the calling thread; the caller has marked it running.
  void Run(int job);
  // Without workers: runs `job` here if nobody has. Called with `lock` held; may release it.
  void RunHereIfQueued(int job, std::unique_lock<std::mutex>& lock);
  bool Done(int job) const {
    return results_[job].state == State::kDecoded || results_[job].state == State::kFailed;
  }

  FileSystem& files_;
  const PictureDecoder& decoder_;
  const Threads hooks_;
  const std::vector<Job> jobs_;
  mutable std::mutex mutex_;
  std::condition_variable finished_;
  std::vector<Result> results_;  // guarded by mutex_ until a job is done, read-only afterwards
  std::size_t next_ = 0;
  bool stopping_ = false;
  std::vector<std::thread> workers_;
};

}  // namespace tessmoor
