#pragma once

// DemoControl: plugs and unplugs the demo's emulated devices while it runs.
//
// The running demo listens on a local socket in the runtime folder; another start of
// `quorvex-demo` with a request sends it there, prints the answer and ends. One line per
// request, one line per answer ("ok ...", or "error ..."):
//
//   list                 the emulated devices and whether each is plugged in
//   plug NAME            plugs a device in (keyboard, headset, receiver-keyboard, mouse,
//   unplug NAME            receiver-mouse, mousepad)
//   state                the window as a user sees it: "ok window=shown|hidden light=1
//                        items=keyboard,mouse selected=keyboard"
//   hide | present       hides the window to the tray / brings it to the front

#include <QObject>
#include <QString>
#include <map>
#include <memory>
#include <string>
#include <vector>

class QLocalServer;

namespace quorvex::devsim {
class DeviceServer;
class EmulatedDevice;
} // namespace quorvex::devsim

namespace quorvex::app {
class CMainWnd;
}

namespace quorvex::frontend {

class DemoControl final : public QObject {
public:
  // The emulated devices by name, in the order the demo plugs them at start.
  struct Device {
    std::string name;
    std::shared_ptr<devsim::EmulatedDevice> device;
    bool plugged = false;
  };

  explicit DemoControl(devsim::DeviceServer& server);
  ~DemoControl() override;
  DemoControl(const DemoControl&) = delete;
  DemoControl& operator=(const DemoControl&) = delete;

  // Plugs every device in order.
  void PlugAll();
  // Runs one request line; returns the answer line.
  std::string Execute(const std::string& line);
  // Starts listening on SocketPath(). False when the socket cannot be made.
  bool Listen();
  const std::vector<Device>& Devices() const { return devices_; }
  // The window the state, hide and present requests act on.
  void SetMainWindow(app::CMainWnd* window) { window_ = window; }

  static QString SocketPath();
  // The client side: sends `line` to a running demo and prints the answer.
  // 0 ok, 1 the demo refused the request, 2 no demo is running.
  static int SendRequest(const std::string& line);

private:
  std::string State() const;

  devsim::DeviceServer& server_;
  std::vector<Device> devices_;
  QLocalServer* socket_ = nullptr;
  app::CMainWnd* window_ = nullptr;
};

} // namespace quorvex::frontend
