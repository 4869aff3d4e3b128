#pragma once

// DemoControl: plugs and unplugs the demo's emulated devices while it runs.
//
// The running demo listens on a local socket in the runtime folder; another start of
// `quorvex-demo` with a command (plug NAME, unplug NAME, list) sends it there, prints
// the answer and ends. One line per request, one line per answer ("ok ...", or
// "error ...").

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

  static QString SocketPath();
  // The client side: sends `line` to a running demo and prints the answer.
  // 0 ok, 1 the demo refused the request, 2 no demo is running.
  static int SendRequest(const std::string& line);

private:
  devsim::DeviceServer& server_;
  std::vector<Device> devices_;
  QLocalServer* socket_ = nullptr;
};

} // namespace quorvex::frontend
