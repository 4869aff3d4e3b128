// quorvex: configures the supported keyboards, mice, mouse pads and headsets.

#include "frontend/qt/app/Application.h"

#include <cstring>
#include <string>
#include <unistd.h>

int main(int argc, char** argv) {
  quorvex::frontend::ApplicationOptions options;
  options.instanceName = "quorvex-" + std::to_string(::getuid());
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--exit-after-first-frame") == 0) {
      options.exitAfterFirstFrame = true;
    }
  }
  return quorvex::frontend::RunApplication(argc, argv, options);
}
