#pragma once

// A clock that moves only when a test says so.
//
// Work that is due at a given time (timers) registers a ClockAlarm. Advance(d) walks
// time forward deadline by deadline: at each alarm deadline on the way it sets Now() to
// exactly that deadline and lets the alarm run, so work due at 100 ms runs before work
// due at 250 ms, and each sees Now() equal to its own deadline. Work an alarm arms
// during Advance is honoured in the same call when it falls inside the range.
//
// Threads: Now() from any thread. Advance, AddAlarm and RemoveAlarm on the thread that
// runs the alarms' work (the UI thread in toolkit tests).

#include "platform/clock/Clock.h"

#include <atomic>
#include <vector>

namespace quorvex::platform {

class ClockAlarm {
public:
  virtual ~ClockAlarm() = default;
  // The earliest time this alarm wants to run, if any.
  virtual std::optional<Clock::TimePoint> NextDeadline() const = 0;
  // Called with Now() == the deadline reached.
  virtual void OnDeadline(Clock::TimePoint now) = 0;
};

class VirtualClock final : public Clock {
public:
  explicit VirtualClock(TimePoint start = TimePoint(Duration(1'000'000)));

  TimePoint Now() const override;
  std::optional<std::chrono::steady_clock::time_point> ToSteady(TimePoint t) const override;

  // Moves time forward by `d` (negative values are ignored), stopping at every alarm
  // deadline inside (now, now + d].
  void Advance(Duration d);

  void AddAlarm(ClockAlarm* alarm);
  void RemoveAlarm(ClockAlarm* alarm);

private:
  std::atomic<Duration::rep> now_;
  std::vector<ClockAlarm*> alarms_;
};

} // namespace quorvex::platform
