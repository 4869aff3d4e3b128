#include "platform/ProcessTime.h"

#include <ctime>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <unistd.h>

namespace quorvex::platform {

double MsSinceProcessStart() {
  std::ifstream stat("/proc/self/stat");
  std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
  const auto close = text.rfind(')');
  if (close == std::string::npos) {
    return -1;
  }
  std::istringstream fields(text.substr(close + 2));
  std::string field;
  // Field 3 (state) is first here; starttime is field 22.
  for (int i = 3; i < 22 && fields >> field; ++i) {
  }
  unsigned long long startTicks = 0;
  if (!(fields >> startTicks)) {
    return -1;
  }
  timespec now{};
  ::clock_gettime(CLOCK_BOOTTIME, &now);
  const double ticks = static_cast<double>(::sysconf(_SC_CLK_TCK));
  return (now.tv_sec + now.tv_nsec / 1e9 - startTicks / ticks) * 1000.0;
}

} // namespace quorvex::platform
