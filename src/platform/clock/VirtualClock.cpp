#include "platform/clock/VirtualClock.h"

#include <algorithm>

namespace quorvex::platform {

VirtualClock::VirtualClock(TimePoint start) : now_(start.time_since_epoch().count()) {}

Clock::TimePoint VirtualClock::Now() const {
  return TimePoint(Duration(now_.load(std::memory_order_acquire)));
}

std::optional<std::chrono::steady_clock::time_point> VirtualClock::ToSteady(TimePoint) const {
  return std::nullopt;
}

void VirtualClock::Advance(Duration d) {
  if (d.count() < 0) {
    return;
  }
  const TimePoint target = Now() + d;
  // Each pass runs the earliest alarm due inside the range. An alarm that keeps
  // reporting a deadline at or before Now() after running would spin; the guard stops
  // that after a generous number of passes at the same instant.
  int passesAtSameInstant = 0;
  TimePoint lastInstant = Now();
  for (;;) {
    ClockAlarm* next = nullptr;
    TimePoint nextDue = target;
    for (ClockAlarm* alarm : std::vector<ClockAlarm*>(alarms_)) {
      if (std::find(alarms_.begin(), alarms_.end(), alarm) == alarms_.end()) {
        continue;
      }
      const auto due = alarm->NextDeadline();
      if (due && *due <= nextDue && (next == nullptr || *due < nextDue)) {
        next = alarm;
        nextDue = *due;
      }
    }
    if (next == nullptr) {
      break;
    }
    const TimePoint at = std::max(nextDue, Now());
    if (at == lastInstant) {
      if (++passesAtSameInstant > 100000) {
        break;
      }
    } else {
      lastInstant = at;
      passesAtSameInstant = 0;
    }
    now_.store(at.time_since_epoch().count(), std::memory_order_release);
    next->OnDeadline(at);
  }
  if (Now() < target) {
    now_.store(target.time_since_epoch().count(), std::memory_order_release);
  }
}

void VirtualClock::AddAlarm(ClockAlarm* alarm) {
  if (alarm != nullptr && std::find(alarms_.begin(), alarms_.end(), alarm) == alarms_.end()) {
    alarms_.push_back(alarm);
  }
}

void VirtualClock::RemoveAlarm(ClockAlarm* alarm) {
  alarms_.erase(std::remove(alarms_.begin(), alarms_.end(), alarm), alarms_.end());
}

} // namespace quorvex::platform
