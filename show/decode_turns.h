#pragma once
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <set>
#include <utility>

namespace tessmoor {

// Made at the start of each background thread of the show and dropped when the thread ends: what
// the platform needs on a thread that decodes (a COM apartment on Windows). Empty: nothing.
using ThreadScope = std::function<std::shared_ptr<void>()>;

// Turns to decode: at most `turns` decodes run at once, and a free turn goes to the waiting decode
// of the lowest rank (the earliest in the order the show needs its pictures), whoever waits: the
// decode threads of the file slots and the threads of the folder slots alike. So the picture the
// show needs first is decoded first, and however many folder slots a show holds, they never
// decode more pictures at once than there are cores.
//
// Threads: every function may be called from any thread.
class DecodeTurns {
 public:
  explicit DecodeTurns(int turns);

  // Waits for a turn. False, without a turn, once Stop has been called.
  [[nodiscard]] bool Enter(int rank);
  void Leave();
  // Ends every wait, now and later: the show is ending.
  void Stop();

  // A turn held for a scope; held() is false when the turns were stopped.
  class Turn {
   public:
    Turn(DecodeTurns* turns, int rank) : turns_(turns), held_(turns == nullptr || turns->Enter(rank)) {}
    ~Turn() {
      if (turns_ && held_) turns_->Leave();
    }
    Turn(const Turn&) = delete;
    Turn& operator=(const Turn&) = delete;
    bool held() const { return held_; }

   private:
    DecodeTurns* turns_;
    bool held_;
  };

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  int free_;
  bool stopped_ = false;
  std::uint64_t next_ticket_ = 0;
  std::set<std::pair<int, std::uint64_t>> waiting_;  // (rank, ticket): first come first within a rank
};

}  // namespace tessmoor
