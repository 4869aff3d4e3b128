#pragma once

// Monotonic time for timers and time-outs. The program reads time only through this
// interface so that tests can replace it with VirtualClock and step time by hand.

#include <chrono>
#include <optional>

namespace quorvex::platform {

class Clock {
public:
  using Duration = std::chrono::milliseconds;
  // Milliseconds since an arbitrary, fixed origin of this clock.
  using TimePoint = std::chrono::time_point<std::chrono::steady_clock, Duration>;

  virtual ~Clock() = default;

  // Any thread.
  virtual TimePoint Now() const = 0;

  // The steady_clock instant at which this clock will read `t`, for threads that block
  // until a deadline. nullopt when waiting cannot bring the deadline closer (a virtual
  // clock only moves when told to).
  virtual std::optional<std::chrono::steady_clock::time_point> ToSteady(TimePoint t) const = 0;
};

} // namespace quorvex::platform
