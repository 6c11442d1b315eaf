#include "show/decode_turns.h"

#include <algorithm>

namespace tessmoor {

DecodeTurns::DecodeTurns(int turns) : free_(std::max(turns, 1)) {}

bool DecodeTurns::Enter(int rank) {
  std::unique_lock lock(mutex_);
  const std::pair<int, std::uint64_t> mine{rank, next_ticket_++};
  waiting_.insert(mine);
  changed_.wait(lock, [&] { return stopped_ || (free_ > 0 && *waiting_.begin() == mine); });
  waiting_.erase(mine);
  if (stopped_) {
    changed_.notify_all();
    return false;
  }
  --free_;
  // The next in line may find a turn still free.
  changed_.notify_all();
  return true;
}

void DecodeTurns::Leave() {
  {
    std::lock_guard lock(mutex_);
    ++free_;
  }
  changed_.notify_all();
}

void DecodeTurns::Stop() {
  {
    std::lock_guard lock(mutex_);
    stopped_ = true;
  }
  changed_.notify_all();
}

}  // namespace tessmoor
