#include "devsim/UmockdevDeviceServer.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <umockdev.h>
#include <unistd.h>
#include <vector>

namespace quorvex::devsim {

struct UmockdevDeviceServer::Testbed {
  UMockdevTestbed* bed = nullptr;
  ~Testbed() {
    if (bed != nullptr) {
      g_object_unref(bed);
    }
  }
};

namespace {

std::string Take(gchar* text) {
  std::string result = text != nullptr ? text : "";
  g_free(text);
  return result;
}

std::string Hex(unsigned value, int digits) {
  char text[16];
  std::snprintf(text, sizeof text, "%0*x", digits, value);
  return text;
}

std::string HexUpper(unsigned value, int digits) {
  char text[16];
  std::snprintf(text, sizeof text, "%0*X", digits, value);
  return text;
}

} // namespace

UmockdevDeviceServer::UmockdevDeviceServer() : testbed_(std::make_unique<Testbed>()) {
  testbed_->bed = umockdev_testbed_new();
}

UmockdevDeviceServer::~UmockdevDeviceServer() {
  UnplugAll();
  Stop();
}

bool UmockdevDeviceServer::Available() {
  const char* preload = std::getenv("LD_PRELOAD");
  return preload != nullptr && std::strstr(preload, "libumockdev-preload") != nullptr;
}

std::vector<std::string> UmockdevDeviceServer::PlugInterfaces(int deviceId,
                                                              EmulatedDevice& device) {
  std::vector<std::string> nodes;
  std::vector<std::string> created;
  UMockdevTestbed* bed = testbed_->bed;
  const auto& interfaces = device.interfaces();
  const int usbNumber = ++nextNumber_;
  const std::string usbName = "1-" + std::to_string(usbNumber);
  const EmulatedInterface& first = interfaces.front();
  const std::string usbPath = Take(umockdev_testbed_add_device(
      bed, "usb", usbName.c_str(), nullptr, "idVendor", Hex(first.UsbVendorId(), 4).c_str(),
      "idProduct", Hex(first.UsbProductId(), 4).c_str(), "bcdDevice",
      Hex(first.releaseNumber, 4).c_str(), nullptr, "DEVTYPE", "usb_device", nullptr));
  created.push_back(usbPath);
  for (std::size_t i = 0; i < interfaces.size(); ++i) {
    const EmulatedInterface& e = interfaces[i];
    const std::string intfName = usbName + ":1." + std::to_string(e.interfaceNumber);
    const std::string intfPath = Take(umockdev_testbed_add_device(
        bed, "usb", intfName.c_str(), usbPath.c_str(), "bInterfaceNumber",
        Hex(static_cast<unsigned>(e.interfaceNumber), 2).c_str(), nullptr, "DEVTYPE",
        "usb_interface", nullptr));
    const int number = ++nextNumber_;
    const std::string hidName = "0003:" + HexUpper(e.vendorId, 4) + ":" + HexUpper(e.productId, 4) +
                                "." + HexUpper(static_cast<unsigned>(number), 4);
    const std::string hidId = "0003:" + HexUpper(e.vendorId, 8) + ":" + HexUpper(e.productId, 8);
    const std::string phys = "usb-0000:00:14.0-" + std::to_string(usbNumber) + "/input" +
                             std::to_string(e.interfaceNumber);
    const std::string hidPath = Take(umockdev_testbed_add_device(
        bed, "hid", hidName.c_str(), intfPath.c_str(), nullptr, "HID_ID", hidId.c_str(), "HID_PHYS",
        phys.c_str(), "HID_NAME", "emulated device", nullptr));
    std::vector<guint8> descriptor(e.reportDescriptor.begin(), e.reportDescriptor.end());
    umockdev_testbed_set_attribute_binary(bed, hidPath.c_str(), "report_descriptor",
                                          descriptor.data(), descriptor.size());
    const std::string rawName = "hidraw" + std::to_string(number);
    const std::string node = "/dev/" + rawName;
    // A device node comes only from a record: its "N:" line makes the node a pty.
    const std::string rawPath = hidPath + "/hidraw/" + rawName;
    const std::string record = "P: " + rawPath.substr(4) + "\nN: " + rawName +
                               "\nE: DEVNAME=" + node + "\nE: SUBSYSTEM=hidraw\n\n";
    if (!umockdev_testbed_add_from_string(bed, record.c_str(), nullptr)) {
      return {};
    }
    created.push_back(intfPath);
    created.push_back(hidPath);
    created.push_back(rawPath);
    const int master = umockdev_testbed_get_dev_fd(bed, node.c_str());
    if (master < 0) {
      return {};
    }
    // Reports are binary: no echo, no line editing, no character translation. The
    // slave's settings are the ones that count. The server keeps a slave end open
    // itself, so the master never reads as hung up while the application has none.
    const int slave = ::ioctl(master, TIOCGPTPEER, O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (slave < 0) {
      return {};
    }
    termios mode{};
    if (tcgetattr(slave, &mode) == 0) {
      cfmakeraw(&mode);
      tcsetattr(slave, TCSANOW, &mode);
    }
    slaves_[deviceId].push_back(slave);
    AddConnection(deviceId, i, master, Framing::Stream, false);
    nodes.push_back(node);
  }
  syspaths_[deviceId] = created;
  return nodes;
}

void UmockdevDeviceServer::UnplugInterfaces(int deviceId, const std::vector<std::string>&) {
  const auto it = syspaths_.find(deviceId);
  if (it == syspaths_.end()) {
    return;
  }
  // Children first, each announced before it goes.
  for (auto path = it->second.rbegin(); path != it->second.rend(); ++path) {
    if (!path->empty()) {
      umockdev_testbed_uevent(testbed_->bed, path->c_str(), "remove");
      umockdev_testbed_remove_device(testbed_->bed, path->c_str());
    }
  }
  syspaths_.erase(it);
  for (const int fd : slaves_[deviceId]) {
    ::close(fd);
  }
  slaves_.erase(deviceId);
}

} // namespace quorvex::devsim
