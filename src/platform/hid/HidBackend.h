#pragma once

// The HID backend: the narrow interface between the device link and the system's HID
// devices. Two implementations exist: the Linux one (libudev enumeration of hidraw
// nodes, sysfs facts, hidraw device nodes) and the virtual one (in-process devices
// registered at run time, used by tests and the demo launcher).
//
// The backend is chosen once at start-up: SelectHidBackend, or the environment variable
// QUORVEX_HID_BACKEND ("virtual" or "linux"; default "linux").

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <sys/types.h>
#include <vector>

namespace quorvex::platform::hid {

// One HID interface (one hidraw node) as the system describes it.
//
// Two pairs of IDs: the HID layer's (what the device's HID driver reports, the
// interface's attributes) and the USB device's (what its descriptor says, which
// interface paths carry). They usually agree, but a device may report other IDs
// through HID than it enumerates with on the bus.
struct HidInterfaceInfo {
  std::string node;                // "/dev/hidraw3", or the virtual backend's node name
  std::uint16_t vendorId = 0;      // from HID_ID
  std::uint16_t productId = 0;     // from HID_ID
  std::uint16_t releaseNumber = 0; // bcdDevice of the USB device; 0 when there is none
  int interfaceNumber = -1;        // USB interface number; -1 when unknown
  std::vector<std::uint8_t> reportDescriptor;
  // The USB device the interface belongs to, when there is one.
  bool hasUsbDevice = false;
  std::uint16_t usbVendorId = 0;  // its idVendor
  std::uint16_t usbProductId = 0; // its idProduct

  // The IDs an interface path carries: the USB device's, else the HID layer's.
  std::uint16_t PathVendorId() const { return hasUsbDevice ? usbVendorId : vendorId; }
  std::uint16_t PathProductId() const { return hasUsbDevice ? usbProductId : productId; }
};

// An open node. Thread safety: Read and Write may run on different threads; the
// object is destroyed by its owner only when neither runs.
class HidConnection {
public:
  virtual ~HidConnection() = default;
  // A descriptor that poll() reports readable when a report waits, writable when a
  // report can be written, and with POLLHUP/POLLERR when the device is gone.
  virtual int PollFd() const = 0;
  // One report, without blocking. Returns its byte count, 0 when the device is gone,
  // -1 with errno (EAGAIN when nothing waits).
  virtual ssize_t Read(std::uint8_t* buffer, std::size_t length) = 0;
  // One report (byte 0 the report ID, 0 when the device uses none), without blocking.
  virtual ssize_t Write(const std::uint8_t* data, std::size_t length) = 0;
};

enum class HidEventKind { Added, Removed };

struct HidEvent {
  HidEventKind kind = HidEventKind::Added;
  std::string node;
};

// Hot-plug notifications. Thread safety: one thread at a time.
class HidMonitor {
public:
  virtual ~HidMonitor() = default;
  // Readable while an event waits.
  virtual int PollFd() const = 0;
  // The next waiting event, without blocking; false when none waits.
  virtual bool Next(HidEvent& event) = 0;
};

class HidBackend {
public:
  virtual ~HidBackend() = default;
  // Every present HID interface. False only when the system cannot be asked.
  virtual bool Enumerate(std::vector<HidInterfaceInfo>& out) = 0;
  // The facts of one node from Enumerate; false when it is not present.
  virtual bool Describe(const std::string& node, HidInterfaceInfo& out) = 0;
  // Opens a node from Enumerate; nullptr (errno set) when it is gone or not accessible.
  virtual std::unique_ptr<HidConnection> Open(const std::string& node, bool read, bool write) = 0;
  virtual std::unique_ptr<HidMonitor> CreateMonitor() = 0;
  // True while the node exists; asks for no access and reads nothing (cheaper than
  // Describe or Open).
  virtual bool Exists(const std::string& node) = 0;
  // A text that changes whenever nodes come or go; empty when the backend cannot tell
  // cheaply (callers then enumerate).
  virtual std::string NodeListSignature() { return {}; }
};

// The process-wide backend. Never null. Thread safe.
HidBackend& CurrentHidBackend();
// Installs a backend (nullptr returns to the environment's choice). Call at start-up,
// before any device is opened; the backend must outlive its use.
void SelectHidBackend(HidBackend* backend);

HidBackend& LinuxHidBackendInstance();

} // namespace quorvex::platform::hid
