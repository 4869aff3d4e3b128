#pragma once

// The emulated-device framework. A device is a set of HID interfaces (IDs, release
// number, interface number, report descriptor) with a handler for the output reports
// the application writes and a queue of input reports it sends back. Every output
// report is logged, and faults can be injected. A server (in-process or umockdev) moves
// the reports; the device never touches a descriptor itself.
//
// Thread safety: the server calls Receive on its own thread; tests call the other
// public functions from theirs. All state is behind the device's mutex.

#include <cstddef>
#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <vector>

namespace quorvex::devsim {

using Report = std::vector<std::uint8_t>;

struct EmulatedInterface {
  std::uint16_t vendorId = 0;  // what the HID layer reports
  std::uint16_t productId = 0; // what the HID layer reports
  std::uint16_t releaseNumber = 0;
  int interfaceNumber = 0;
  std::vector<std::uint8_t> reportDescriptor;
  // The USB device's own IDs, which interface paths carry; 0 means the HID layer's.
  std::uint16_t usbVendorId = 0;
  std::uint16_t usbProductId = 0;

  std::uint16_t UsbVendorId() const { return usbVendorId != 0 ? usbVendorId : vendorId; }
  std::uint16_t UsbProductId() const { return usbProductId != 0 ? usbProductId : productId; }

  // Facts derived from the descriptor, for transports without report boundaries.
  bool usesReportIds = false;
  std::size_t longestInput = 0;                     // report-ID byte included
  std::map<std::uint8_t, std::size_t> outputLength; // by report ID, ID byte included
};

// Builds an interface and derives its descriptor facts; the descriptor must parse.
EmulatedInterface MakeInterface(std::uint16_t vendorId, std::uint16_t productId,
                                std::uint16_t releaseNumber, int interfaceNumber,
                                std::vector<std::uint8_t> descriptor);

// Where a device's input reports go; implemented by the servers.
class DeviceOutlet {
public:
  virtual ~DeviceOutlet() = default;
  // Sends `report` (byte 0 the report ID, 0 without IDs) on interface `index` to every
  // open connection, after `delayMs`.
  virtual void Deliver(std::size_t index, Report report, int delayMs) = 0;
  // The device pulls its plug (served on the server thread, after the current report).
  virtual void RequestUnplug() = 0;
};

// Faults of the command protocol; they stay in force until changed.
struct FaultPlan {
  bool noAnswer = false;         // frames are taken but never answered
  int answerCommand = -1;        // >= 0: answers carry this command code in byte 3
  int status = -1;               // >= 0: answers carry this status byte (0xFF, 0xFE)
  bool receiverNoDevice = false; // answers carry 0xAA in byte 3 (receiver: device asleep)
  int answerDelayMs = 0;         // every answer leaves this much later
  int unplugAtFrame = 0;         // > 0: the k-th frame received (from 1) pulls the plug
                                 // and goes unanswered
};

struct LoggedFrame {
  std::size_t interfaceIndex = 0;
  Report bytes;
};

class EmulatedDevice {
public:
  explicit EmulatedDevice(std::vector<EmulatedInterface> interfaces);
  virtual ~EmulatedDevice() = default;
  EmulatedDevice(const EmulatedDevice&) = delete;
  EmulatedDevice& operator=(const EmulatedDevice&) = delete;

  const std::vector<EmulatedInterface>& interfaces() const { return interfaces_; }

  // Servers: attach an outlet before plugging in, detach after unplugging.
  void Attach(DeviceOutlet* outlet);
  void Detach();
  // Servers: one output report written by the application on interface `index`.
  void Receive(std::size_t index, const std::uint8_t* data, std::size_t length);

  // Sends a spontaneous input report.
  void SendInput(std::size_t index, Report report);

  void SetFaults(const FaultPlan& faults);
  std::vector<LoggedFrame> Log() const;
  // Frames logged on interface `index` whose report ID is `reportId`.
  std::vector<Report> Frames(std::size_t index, std::uint8_t reportId) const;
  void ClearLog();

protected:
  // Called with the mutex held.
  virtual void HandleOutput(std::size_t index, const Report& report) = 0;
  // For HandleOutput: queues an answer, applying the answer delay.
  void Answer(std::size_t index, Report report);
  // For HandleOutput: pulls the plug.
  void PullPlug();

  mutable std::mutex mutex_;
  FaultPlan faults_;
  std::size_t framesReceived_ = 0;

private:
  std::vector<EmulatedInterface> interfaces_;
  DeviceOutlet* outlet_ = nullptr;
  std::vector<LoggedFrame> log_;
};

} // namespace quorvex::devsim
