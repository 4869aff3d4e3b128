// quorvex-demo: the application with emulated devices instead of hardware.
//
//   quorvex-demo                    starts it with every emulated device plugged in
//   quorvex-demo list               lists the devices of the running demo
//   quorvex-demo plug|unplug NAME   plugs a device in or out while it runs
//   quorvex-demo state|hide|present what the window shows; hides or presents it
//
// The demo keeps its files apart from the real application's: its data and settings
// live under "quorvex-demo" in the XDG data and config folders.

#include "devsim/VirtualDeviceServer.h"
#include "frontend/qt/app/Application.h"
#include "frontend/qt/app/DemoControl.h"
#include "platform/hid/HidBackend.h"
#include "platform/hid/VirtualHidBackend.h"

#include <QCoreApplication>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <unistd.h>

namespace {

std::string XdgBase(const char* variable, const char* fallback) {
  const char* value = std::getenv(variable);
  if (value != nullptr && value[0] == '/') {
    return value;
  }
  const char* home = std::getenv("HOME");
  return std::string(home != nullptr ? home : "/tmp") + fallback;
}

} // namespace

int main(int argc, char** argv) {
  using namespace quorvex;
  bool exitAfterFirstFrame = false;
  std::string request;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--exit-after-first-frame") == 0) {
      exitAfterFirstFrame = true;
    } else if (argv[i][0] != '-') {
      request += (request.empty() ? "" : " ") + std::string(argv[i]);
    }
  }
  if (!request.empty()) {
    QCoreApplication client(argc, argv);
    return frontend::DemoControl::SendRequest(request);
  }

  ::setenv("XDG_DATA_HOME", (XdgBase("XDG_DATA_HOME", "/.local/share") + "/quorvex-demo").c_str(),
           1);
  ::setenv("XDG_CONFIG_HOME", (XdgBase("XDG_CONFIG_HOME", "/.config") + "/quorvex-demo").c_str(),
           1);
  platform::hid::SelectHidBackend(&platform::hid::VirtualHidBackend::Instance());
  devsim::VirtualDeviceServer server;
  std::unique_ptr<frontend::DemoControl> control;

  frontend::ApplicationOptions options;
  options.instanceName = "quorvex-demo-" + std::to_string(::getuid());
  options.exitAfterFirstFrame = exitAfterFirstFrame;
  options.beforeMainWindow = [&](ui::CMessageLoop&) {
    control = std::make_unique<frontend::DemoControl>(server);
    control->PlugAll();
    control->Listen();
  };
  options.onMainWindow = [&](app::CMainWnd& window) { control->SetMainWindow(&window); };
  const int code = frontend::RunApplication(argc, argv, options);
  if (control != nullptr) {
    control->SetMainWindow(nullptr);
  }
  control.reset();
  server.UnplugAll();
  return code;
}
