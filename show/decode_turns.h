#pragma once
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <utility>

namespace tessmoor {

// Made at the start of each background thread of the show and dropped when the thread ends: what
// the platform needs on a thread that decodes (a COM apartment on Windows). Empty: nothing.
using ThreadScope = std::function<std::shared_ptr<void>()>;

// Turns to decode: at most `turns` decodes run at once, and a free turn goes to the waiting decode
// of the lowest rank (the earliest in the order the show needs its pictures), whoever waits: the
// decode threads of the file slots and the threads of the folder slots alike. So the picture the
// show needs first is decoded first, and however many slots a show holds, they never decode more
// pictures at once than there are cores. A folder slot holds its turn while it reads the file too,
// so that many folder slots never read all their files at once.
//
// A turn held longer than `hold_limit` stops counting: a read from a share that has stopped
// answering, or a decode of a huge picture, cannot hold the others up for longer than that.
//
// Threads: every function may be called from any thread.
class DecodeTurns {
 public:
  explicit DecodeTurns(int turns, std::chrono::milliseconds hold_limit = std::chrono::milliseconds(300));

  // Waits for a turn: its ticket, for Leave. Nothing, without a turn, once Stop has been called.
  [[nodiscard]] std::optional<std::uint64_t> Enter(int rank);
  void Leave(std::uint64_t ticket);
  // Ends every wait, now and later: the show is ending.
  void Stop();

  // A turn held for a scope; held() is false when the turns were stopped. No turns: always held.
  class Turn {
   public:
    Turn(DecodeTurns* turns, int rank) : turns_(turns), ticket_(turns ? turns->Enter(rank) : std::nullopt) {}
    ~Turn() {
      if (turns_ && ticket_) turns_->Leave(*ticket_);
    }
    Turn(const Turn&) = delete;
    Turn& operator=(const Turn&) = delete;
    bool held() const { return turns_ == nullptr || ticket_.has_value(); }

   private:
    DecodeTurns* turns_;
    std::optional<std::uint64_t> ticket_;
  };

 private:
  using Time = std::chrono::steady_clock::time_point;
  // Turns held within the hold limit at `now`, and the moment the next of them stops counting.
  int Counted(Time now, Time& next_change) const;

  const int turns_;
  const std::chrono::milliseconds hold_limit_;
  std::mutex mutex_;
  std::condition_variable changed_;
  bool stopped_ = false;
  std::uint64_t next_ticket_ = 0;
  std::set<std::pair<int, std::uint64_t>> waiting_;  // (rank, ticket): first come first within a rank
  std::map<std::uint64_t, Time> held_;               // ticket: since when
};

}  // namespace tessmoor
