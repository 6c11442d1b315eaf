#include "show/decode_turns.h"

#include <algorithm>

namespace tessmoor {

DecodeTurns::DecodeTurns(int turns, std::chrono::milliseconds hold_limit)
    : turns_(std::max(turns, 1)), hold_limit_(hold_limit) {}

int DecodeTurns::Counted(Time now, Time& next_change) const {
  int counted = 0;
  next_change = Time::max();
  for (const auto& [ticket, since] : held_) {
    if (now - since >= hold_limit_) continue;
    ++counted;
    next_change = std::min(next_change, since + hold_limit_);
  }
  return counted;
}

std::optional<std::uint64_t> DecodeTurns::Enter(int rank) {
  std::unique_lock lock(mutex_);
  const std::pair<int, std::uint64_t> mine{rank, next_ticket_++};
  waiting_.insert(mine);
  for (;;) {
    if (stopped_) {
      waiting_.erase(mine);
      changed_.notify_all();
      return std::nullopt;
    }
    const Time now = std::chrono::steady_clock::now();
    Time next_change;
    const int counted = Counted(now, next_change);
    if (*waiting_.begin() == mine && counted < turns_) {
      waiting_.erase(mine);
      held_.emplace(mine.second, now);
      // The next in line may find a turn still free.
      changed_.notify_all();
      return mine.second;
    }
    if (next_change == Time::max()) {
      changed_.wait(lock);
    } else {
      changed_.wait_until(lock, next_change);
    }
  }
}

void DecodeTurns::Leave(std::uint64_t ticket) {
  {
    std::lock_guard lock(mutex_);
    held_.erase(ticket);
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
