// CHidDevice::unpack on received reports: the input is a descriptor and a report. The
// descriptor is served by the in-process backend so that `open` builds the data items
// exactly as it does for a device; then the report is unpacked into them.

#include "link/CHidDevice.h"
#include "link/HidPath.h"
#include "platform/hid/VirtualHidBackend.h"

#include <cstdint>
#include <unistd.h>

using namespace quorvex;
using namespace quorvex::link;

namespace {

class ClosingPeer final : public platform::hid::VirtualHidPeer {
public:
  void Accept(int fd) override { ::close(fd); }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // Byte 0: descriptor length; byte 1: which collection; then descriptor, then report.
  if (size < 2) {
    return 0;
  }
  const std::size_t descriptorLength = data[0];
  const int collection = data[1];
  if (size < 2 + descriptorLength) {
    return 0;
  }
  auto& backend = platform::hid::VirtualHidBackend::Instance();
  platform::hid::SelectHidBackend(&backend);
  platform::hid::HidInterfaceInfo info;
  info.vendorId = 0x320F;
  info.productId = 0x5055;
  info.interfaceNumber = 1;
  info.reportDescriptor.assign(data + 2, data + 2 + descriptorLength);
  const std::string node = backend.Plug(info, std::make_shared<ClosingPeer>());

  CHidDevice device;
  if (device.open(MakeHidPath(0x320F, 0x5055, 1, collection, node), true, false, true, false)) {
    const std::uint8_t* report = data + 2 + descriptorLength;
    const std::size_t reportLength = size - 2 - descriptorLength;
    auto& items = device.report(HidReportType::Input).items;
    device.unpack(report, reportLength, items.data(), items.size());
  }
  device.close();
  backend.Unplug(node);
  return 0;
}
