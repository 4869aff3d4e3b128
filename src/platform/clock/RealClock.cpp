#include "platform/clock/RealClock.h"

namespace quorvex::platform {

Clock::TimePoint RealClock::Now() const {
  return std::chrono::time_point_cast<Duration>(std::chrono::steady_clock::now());
}

std::optional<std::chrono::steady_clock::time_point> RealClock::ToSteady(TimePoint t) const {
  return std::chrono::steady_clock::time_point(t.time_since_epoch());
}

RealClock& RealClock::Instance() {
  static RealClock clock;
  return clock;
}

} // namespace quorvex::platform
