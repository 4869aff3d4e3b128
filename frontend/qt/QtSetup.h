#pragma once

// Process set-up for the Qt front end, before the QApplication exists.

namespace quorvex::frontend {

// The toolkit scales windows by their own DPI value; Qt must not scale them again,
// so Qt's own high-DPI scaling is turned off (unless the environment says otherwise).
// With `headless`, the offscreen platform is chosen when none is set.
void PrepareQtEnvironment(bool headless = false);

} // namespace quorvex::frontend
