#include "devsim/VirtualDeviceServer.h"

#include "platform/hid/VirtualHidBackend.h"

#include <functional>

namespace quorvex::devsim {
namespace {

namespace hid = platform::hid;

class Peer final : public hid::VirtualHidPeer {
public:
  using AcceptFn = std::function<void(int)>;
  explicit Peer(AcceptFn accept) : accept_(std::move(accept)) {}
  void Accept(int fd) override { accept_(fd); }

private:
  AcceptFn accept_;
};

} // namespace

VirtualDeviceServer::~VirtualDeviceServer() {
  UnplugAll();
  Stop();
}

std::vector<std::string> VirtualDeviceServer::PlugInterfaces(int deviceId, EmulatedDevice& device) {
  std::vector<std::string> nodes;
  const auto& interfaces = device.interfaces();
  for (std::size_t i = 0; i < interfaces.size(); ++i) {
    const EmulatedInterface& e = interfaces[i];
    hid::HidInterfaceInfo info;
    info.vendorId = e.vendorId;
    info.productId = e.productId;
    info.releaseNumber = e.releaseNumber;
    info.interfaceNumber = e.interfaceNumber;
    info.reportDescriptor = e.reportDescriptor;
    info.hasUsbDevice = true;
    info.usbVendorId = e.UsbVendorId();
    info.usbProductId = e.UsbProductId();
    auto peer = std::make_shared<Peer>(
        [this, deviceId, i](int fd) { AddConnection(deviceId, i, fd, Framing::Packet, true); });
    nodes.push_back(hid::VirtualHidBackend::Instance().Plug(std::move(info), std::move(peer)));
  }
  return nodes;
}

void VirtualDeviceServer::UnplugInterfaces(int, const std::vector<std::string>& nodes) {
  for (const auto& node : nodes) {
    hid::VirtualHidBackend::Instance().Unplug(node);
  }
}

} // namespace quorvex::devsim
