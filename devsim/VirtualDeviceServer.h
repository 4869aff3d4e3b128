#pragma once

// Serves emulated devices through the in-process virtual HID backend: each interface
// becomes a virtual hidraw node, each open a socket pair whose far end this server
// reads and writes.

#include "devsim/DeviceServer.h"

namespace quorvex::devsim {

class VirtualDeviceServer final : public DeviceServer {
public:
  VirtualDeviceServer() = default;
  ~VirtualDeviceServer() override;

protected:
  std::vector<std::string> PlugInterfaces(int deviceId, EmulatedDevice& device) override;
  void UnplugInterfaces(int deviceId, const std::vector<std::string>& nodes) override;
};

} // namespace quorvex::devsim
