#pragma once

// How long this process has been running, for start-up figures.

namespace quorvex::platform {

// Milliseconds since this process started (kernel start time against the boot-time
// clock); -1 when /proc cannot tell.
double MsSinceProcessStart();

} // namespace quorvex::platform
