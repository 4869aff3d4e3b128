#pragma once

// Serves emulated devices under umockdev: each interface becomes a USB device, a USB
// interface, a HID device (HID_ID, HID_PHYS, report_descriptor) and a hidraw node in a
// umockdev testbed, so the real libudev + hidraw code path runs. The node is a
// pseudo-terminal whose master end this server reads and writes; reports are cut from
// the byte stream by the lengths their report IDs have in the descriptor, and input
// reports are padded to the interface's longest input report so that one read takes
// exactly one report. Plugging and unplugging send add and remove uevents.
//
// The test program must run under umockdev-wrapper and create the server before it
// makes its first libudev call.

#include "devsim/DeviceServer.h"

#include <map>

namespace quorvex::devsim {

class UmockdevDeviceServer final : public DeviceServer {
public:
  UmockdevDeviceServer();
  ~UmockdevDeviceServer() override;

  // False when the program does not run under umockdev-wrapper.
  static bool Available();

protected:
  std::vector<std::string> PlugInterfaces(int deviceId, EmulatedDevice& device) override;
  void UnplugInterfaces(int deviceId, const std::vector<std::string>& nodes) override;

private:
  struct Testbed;
  std::unique_ptr<Testbed> testbed_;
  std::map<int, std::vector<std::string>> syspaths_; // per device, removal order
  std::map<int, std::vector<int>> slaves_;           // per device, the server's own pty ends
  int nextNumber_ = 0;
};

} // namespace quorvex::devsim
