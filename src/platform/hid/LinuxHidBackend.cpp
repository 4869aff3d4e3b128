// The Linux HID backend: libudev lists hidraw nodes and reports hot-plug; the facts
// come from the parent HID device's uevent properties and sysfs attributes and from
// the USB device above it; reports travel through the hidraw node itself.

#include "platform/hid/HidBackend.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <libudev.h>
#include <unistd.h>
#include <vector>

namespace quorvex::platform::hid {
namespace {

// Reads a whole sysfs attribute file of at most `limit` bytes.
bool ReadSysfsFile(const std::string& path, std::vector<std::uint8_t>& out, std::size_t limit) {
  out.clear();
  FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) {
    return false;
  }
  std::uint8_t chunk[1024];
  std::size_t n = 0;
  while ((n = std::fread(chunk, 1, sizeof chunk, file)) > 0) {
    out.insert(out.end(), chunk, chunk + n);
    if (out.size() > limit) {
      std::fclose(file);
      out.clear();
      return false;
    }
  }
  std::fclose(file);
  return true;
}

// HID_ID is "bus:vendor:product", each field hexadecimal ("0003:0000320F:00005055").
bool ParseHidId(const char* text, std::uint16_t& vendor, std::uint16_t& product) {
  unsigned bus = 0;
  unsigned long v = 0;
  unsigned long p = 0;
  if (text == nullptr || std::sscanf(text, "%x:%lx:%lx", &bus, &v, &p) != 3) {
    return false;
  }
  vendor = static_cast<std::uint16_t>(v);
  product = static_cast<std::uint16_t>(p);
  return true;
}

// A sysfs ID attribute: four hexadecimal digits ("320f"), a trailing newline allowed.
bool ParseHex16(const char* text, std::uint16_t& value) {
  if (text == nullptr) {
    return false;
  }
  unsigned long parsed = 0;
  std::size_t digits = 0;
  for (; text[digits] != '\0' && digits < 5; ++digits) {
    const char c = text[digits];
    int digit = -1;
    if (c >= '0' && c <= '9') {
      digit = c - '0';
    } else if (c >= 'a' && c <= 'f') {
      digit = c - 'a' + 10;
    } else if (c >= 'A' && c <= 'F') {
      digit = c - 'A' + 10;
    } else {
      break;
    }
    parsed = (parsed << 4) | static_cast<unsigned long>(digit);
  }
  const char rest = text[digits];
  if (digits == 0 || digits > 4 || (rest != '\0' && rest != '\n')) {
    return false;
  }
  value = static_cast<std::uint16_t>(parsed);
  return true;
}

// HID_PHYS of a USB HID device ends in "/inputN", N the interface number.
int InterfaceFromPhys(const char* phys) {
  if (phys == nullptr) {
    return -1;
  }
  const char* input = std::strstr(phys, "input");
  if (input == nullptr) {
    return -1;
  }
  char* end = nullptr;
  const long n = std::strtol(input + 5, &end, 10);
  if (end == input + 5 || n < 0 || n > 255) {
    return -1;
  }
  return static_cast<int>(n);
}

bool FillInfo(udev_device* hidraw, HidInterfaceInfo& info) {
  const char* node = udev_device_get_devnode(hidraw);
  udev_device* hid = udev_device_get_parent_with_subsystem_devtype(hidraw, "hid", nullptr);
  if (node == nullptr || hid == nullptr) {
    return false;
  }
  info.node = node;
  if (!ParseHidId(udev_device_get_property_value(hid, "HID_ID"), info.vendorId, info.productId)) {
    return false;
  }
  info.interfaceNumber = InterfaceFromPhys(udev_device_get_property_value(hid, "HID_PHYS"));
  if (udev_device* intf =
          udev_device_get_parent_with_subsystem_devtype(hid, "usb", "usb_interface")) {
    if (info.interfaceNumber < 0) {
      if (const char* number = udev_device_get_sysattr_value(intf, "bInterfaceNumber")) {
        info.interfaceNumber = static_cast<int>(std::strtol(number, nullptr, 16));
      }
    }
  }
  if (udev_device* usb = udev_device_get_parent_with_subsystem_devtype(hid, "usb", "usb_device")) {
    if (const char* bcd = udev_device_get_sysattr_value(usb, "bcdDevice")) {
      info.releaseNumber = static_cast<std::uint16_t>(std::strtoul(bcd, nullptr, 16));
    }
    // The device descriptor's IDs; they need not match what the HID layer reports.
    std::uint16_t usbVendor = 0;
    std::uint16_t usbProduct = 0;
    if (ParseHex16(udev_device_get_sysattr_value(usb, "idVendor"), usbVendor) &&
        ParseHex16(udev_device_get_sysattr_value(usb, "idProduct"), usbProduct)) {
      info.hasUsbDevice = true;
      info.usbVendorId = usbVendor;
      info.usbProductId = usbProduct;
    }
  }
  const char* hidPath = udev_device_get_syspath(hid);
  return hidPath != nullptr &&
         ReadSysfsFile(std::string(hidPath) + "/report_descriptor", info.reportDescriptor, 4096);
}

class HidrawConnection final : public HidConnection {
public:
  explicit HidrawConnection(int fd) : fd_(fd) {}
  ~HidrawConnection() override { ::close(fd_); }
  int PollFd() const override { return fd_; }
  ssize_t Read(std::uint8_t* buffer, std::size_t length) override {
    return ::read(fd_, buffer, length);
  }
  ssize_t Write(const std::uint8_t* data, std::size_t length) override {
    return ::write(fd_, data, length);
  }

private:
  int fd_;
};

class UdevMonitor final : public HidMonitor {
public:
  UdevMonitor(udev* context, udev_monitor* monitor) : udev_(context), monitor_(monitor) {}
  ~UdevMonitor() override {
    udev_monitor_unref(monitor_);
    udev_unref(udev_);
  }
  int PollFd() const override { return udev_monitor_get_fd(monitor_); }
  bool Next(HidEvent& event) override {
    while (udev_device* device = udev_monitor_receive_device(monitor_)) {
      const char* action = udev_device_get_action(device);
      const char* node = udev_device_get_devnode(device);
      bool known = false;
      if (action != nullptr && node != nullptr) {
        if (std::strcmp(action, "add") == 0) {
          event = HidEvent{HidEventKind::Added, node};
          known = true;
        } else if (std::strcmp(action, "remove") == 0) {
          event = HidEvent{HidEventKind::Removed, node};
          known = true;
        }
      }
      udev_device_unref(device);
      if (known) {
        return true;
      }
    }
    return false;
  }

private:
  udev* udev_;
  udev_monitor* monitor_;
};

class LinuxHidBackend final : public HidBackend {
public:
  bool Enumerate(std::vector<HidInterfaceInfo>& out) override {
    out.clear();
    udev* context = udev_new();
    if (context == nullptr) {
      return false;
    }
    udev_enumerate* enumerate = udev_enumerate_new(context);
    bool ok = enumerate != nullptr &&
              udev_enumerate_add_match_subsystem(enumerate, "hidraw") >= 0 &&
              udev_enumerate_scan_devices(enumerate) >= 0;
    if (ok) {
      udev_list_entry* entry = nullptr;
      udev_list_entry_foreach(entry, udev_enumerate_get_list_entry(enumerate)) {
        udev_device* device =
            udev_device_new_from_syspath(context, udev_list_entry_get_name(entry));
        if (device == nullptr) {
          continue; // vanished between listing and reading: not present any more
        }
        HidInterfaceInfo info;
        if (FillInfo(device, info)) {
          out.push_back(std::move(info));
        }
        udev_device_unref(device);
      }
    }
    if (enumerate != nullptr) {
      udev_enumerate_unref(enumerate);
    }
    udev_unref(context);
    return ok;
  }

  bool Describe(const std::string& node, HidInterfaceInfo& out) override {
    const std::string prefix = "/dev/";
    if (node.compare(0, prefix.size(), prefix) != 0 ||
        node.find('/', prefix.size()) != std::string::npos) {
      return false;
    }
    udev* context = udev_new();
    if (context == nullptr) {
      return false;
    }
    bool ok = false;
    if (udev_device* device = udev_device_new_from_subsystem_sysname(
            context, "hidraw", node.c_str() + prefix.size())) {
      ok = FillInfo(device, out) && out.node == node;
      udev_device_unref(device);
    }
    udev_unref(context);
    return ok;
  }

  std::unique_ptr<HidConnection> Open(const std::string& node, bool read, bool write) override {
    int flags = O_RDONLY;
    if (write) {
      flags = read ? O_RDWR : O_WRONLY;
    }
    const int fd = ::open(node.c_str(), flags | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
      return nullptr;
    }
    return std::make_unique<HidrawConnection>(fd);
  }

  std::unique_ptr<HidMonitor> CreateMonitor() override {
    udev* context = udev_new();
    if (context == nullptr) {
      return nullptr;
    }
    udev_monitor* monitor = udev_monitor_new_from_netlink(context, "udev");
    if (monitor == nullptr ||
        udev_monitor_filter_add_match_subsystem_devtype(monitor, "hidraw", nullptr) < 0 ||
        udev_monitor_enable_receiving(monitor) < 0) {
      if (monitor != nullptr) {
        udev_monitor_unref(monitor);
      }
      udev_unref(context);
      return nullptr;
    }
    return std::make_unique<UdevMonitor>(context, monitor);
  }

  // The device node and its entry in the hidraw class: the kernel removes both when
  // the device goes.
  bool Exists(const std::string& node) override {
    const auto slash = node.rfind('/');
    if (node.empty() || slash == std::string::npos || slash + 1 == node.size()) {
      return false;
    }
    const std::string entry = "/sys/class/hidraw/" + node.substr(slash + 1);
    return ::access(entry.c_str(), F_OK) == 0 && ::access(node.c_str(), F_OK) == 0;
  }

  // The names in the hidraw class folder, sorted: reading a directory costs far less
  // than a udev enumeration.
  std::string NodeListSignature() override {
    DIR* folder = ::opendir("/sys/class/hidraw");
    if (folder == nullptr) {
      return {};
    }
    std::vector<std::string> names;
    while (const dirent* entry = ::readdir(folder)) {
      if (entry->d_name[0] != '.') {
        names.emplace_back(entry->d_name);
      }
    }
    ::closedir(folder);
    std::sort(names.begin(), names.end());
    std::string signature = "nodes:";
    for (const std::string& name : names) {
      signature += name + ";";
    }
    return signature;
  }
};

} // namespace

HidBackend& LinuxHidBackendInstance() {
  static LinuxHidBackend backend;
  return backend;
}

} // namespace quorvex::platform::hid
