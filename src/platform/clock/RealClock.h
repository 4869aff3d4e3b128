#pragma once

#include "platform/clock/Clock.h"

namespace quorvex::platform {

// std::chrono::steady_clock, in whole milliseconds.
class RealClock final : public Clock {
public:
  TimePoint Now() const override;
  std::optional<std::chrono::steady_clock::time_point> ToSteady(TimePoint t) const override;

  // One shared instance for code that has no reason to own a clock.
  static RealClock& Instance();
};

} // namespace quorvex::platform
