#include "platform/clock/VirtualClock.h"
#include "platform/clock/RealClock.h"

#include <gtest/gtest.h>
#include <vector>

namespace {

using quorvex::platform::Clock;
using quorvex::platform::ClockAlarm;
using quorvex::platform::VirtualClock;
using std::chrono::milliseconds;

// Deadlines at fixed offsets; records the clock reading each time it runs.
class ListAlarm : public ClockAlarm {
public:
  ListAlarm(VirtualClock& clock, std::vector<long> offsets) : clock_(clock) {
    for (long o : offsets) {
      due_.push_back(clock.Now() + milliseconds(o));
    }
  }
  std::optional<Clock::TimePoint> NextDeadline() const override {
    if (due_.empty()) {
      return std::nullopt;
    }
    return due_.front();
  }
  void OnDeadline(Clock::TimePoint now) override {
    seen.push_back(now);
    EXPECT_EQ(now, clock_.Now());
    due_.erase(due_.begin());
  }
  std::vector<Clock::TimePoint> seen;

private:
  VirtualClock& clock_;
  std::vector<Clock::TimePoint> due_;
};

TEST(VirtualClock, AdvanceStopsAtEachDeadlineInOrderAndOnlyInsideTheRange) {
  VirtualClock clock;
  const auto start = clock.Now();
  ListAlarm a(clock, {100, 300, 301});
  ListAlarm b(clock, {250});
  clock.AddAlarm(&a);
  clock.AddAlarm(&b);

  clock.Advance(milliseconds(300));
  ASSERT_EQ(a.seen.size(), 2u);
  EXPECT_EQ(a.seen[0], start + milliseconds(100));
  EXPECT_EQ(a.seen[1], start + milliseconds(300));
  ASSERT_EQ(b.seen.size(), 1u);
  EXPECT_EQ(b.seen[0], start + milliseconds(250));
  EXPECT_EQ(clock.Now(), start + milliseconds(300));

  clock.RemoveAlarm(&a);
  clock.Advance(milliseconds(10));
  EXPECT_EQ(a.seen.size(), 2u);
  EXPECT_EQ(clock.Now(), start + milliseconds(310));
}

TEST(VirtualClock, NeverMovesBackAndDoesNotMapToRealTime) {
  VirtualClock clock;
  const auto start = clock.Now();
  clock.Advance(milliseconds(-5));
  EXPECT_EQ(clock.Now(), start);
  EXPECT_FALSE(clock.ToSteady(start).has_value());
}

TEST(RealClock, FollowsSteadyClock) {
  auto& clock = quorvex::platform::RealClock::Instance();
  const auto a = clock.Now();
  const auto steady = clock.ToSteady(a);
  ASSERT_TRUE(steady.has_value());
  EXPECT_LE(std::chrono::abs(*steady - std::chrono::steady_clock::now()), std::chrono::seconds(1));
  EXPECT_LE(a, clock.Now());
}

} // namespace
