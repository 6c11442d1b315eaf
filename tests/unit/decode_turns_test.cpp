// The turns every decode of a show takes: how many at once, who goes first, and what a turn that
// is never given back cannot do.
#include "show/decode_turns.h"

#include <gtest/gtest.h>

#include <mutex>
#include <thread>
#include <vector>

namespace tessmoor {
namespace {

using namespace std::chrono_literals;

// Threads that each wait for a turn at their rank, note it and give it back.
struct Waiters {
  explicit Waiters(DecodeTurns& t) : turns(t) {}
  ~Waiters() { Join(); }
  void Join() {
    for (std::thread& t : threads) t.join();
    threads.clear();
  }
  void Add(int rank) {
    threads.emplace_back([this, rank] {
      const std::optional<std::uint64_t> ticket = turns.Enter(rank);
      std::lock_guard lock(mutex);
      order.push_back(ticket ? rank : -1);
      if (ticket) turns.Leave(*ticket);
    });
  }
  std::vector<int> Order() {
    std::lock_guard lock(mutex);
    return order;
  }
  DecodeTurns& turns;
  std::vector<std::thread> threads;
  std::mutex mutex;
  std::vector<int> order;
};

TEST(DecodeTurns, NoMoreAtOnceThanTurnsAndTheLowestRankFirst) {
  DecodeTurns turns(2, 10s);
  const std::optional<std::uint64_t> a = turns.Enter(5);
  const std::optional<std::uint64_t> b = turns.Enter(6);
  ASSERT_TRUE(a && b);
  {
    Waiters waiters(turns);
    for (int rank : {9, 3, 7}) waiters.Add(rank);
    std::this_thread::sleep_for(100ms);
    EXPECT_TRUE(waiters.Order().empty());  // both turns held
    turns.Leave(*a);
    waiters.Join();
    EXPECT_EQ(waiters.Order(), (std::vector<int>{3, 7, 9}));
  }
  turns.Leave(*b);
}

TEST(DecodeTurns, TurnHeldPastTheLimitStopsHoldingTheOthersUp) {
  DecodeTurns turns(1, 150ms);
  const std::optional<std::uint64_t> stuck = turns.Enter(0);  // never given back in time
  ASSERT_TRUE(stuck.has_value());
  const auto start = std::chrono::steady_clock::now();
  const std::optional<std::uint64_t> next = turns.Enter(1);
  const auto waited = std::chrono::steady_clock::now() - start;
  EXPECT_TRUE(next.has_value());
  EXPECT_GE(waited, 120ms);
  EXPECT_LT(waited, 2s);
  turns.Leave(*next);
  turns.Leave(*stuck);
}

TEST(DecodeTurns, StopEndsEveryWaitWithoutATurn) {
  DecodeTurns turns(1, 10s);
  const std::optional<std::uint64_t> held = turns.Enter(0);
  ASSERT_TRUE(held.has_value());
  {
    Waiters waiters(turns);
    waiters.Add(1);
    std::this_thread::sleep_for(50ms);
    turns.Stop();
  }
  EXPECT_FALSE(turns.Enter(0).has_value());
  const DecodeTurns::Turn turn(&turns, 0);
  EXPECT_FALSE(turn.held());
  EXPECT_TRUE(DecodeTurns::Turn(nullptr, 0).held());
}

}  // namespace
}  // namespace tessmoor
