#include "frontend/qt/QtSetup.h"

#include <cstdlib>

namespace quorvex::frontend {

void PrepareQtEnvironment(bool headless) {
  ::setenv("QT_ENABLE_HIGHDPI_SCALING", "0", 0);
  if (headless) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
  }
}

} // namespace quorvex::frontend
