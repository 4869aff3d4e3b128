#pragma once

// CHidDevice: one HID interface path (one top-level collection of a hidraw node), or
// the list of every such path present.
//
// Thread safety: one thread uses an object at a time, except that `close` (and the
// destructor's close) may run on another thread while `read` or `write` waits; the
// waiting call then returns false within a few milliseconds. Waits poll() the device
// descriptor together with a cancel eventfd; every transfer is one whole report moved
// by one non-blocking system call, so a time-out or a cancel never leaves half a
// transfer behind to disturb the next one.

#include "link/HidReportDescriptor.h"
#include "platform/hid/HidBackend.h"

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace quorvex::link {

// A time-out that waits until a report arrives or the transfer is cancelled.
inline constexpr std::uint32_t kInfinite = 0xFFFFFFFFu;

struct HidAttributes {
  std::uint16_t vendorId = 0;
  std::uint16_t productId = 0;
  std::uint16_t versionNumber = 0;
};

// The top-level collection's capabilities (HIDP_CAPS).
struct HidCaps {
  std::uint16_t usage = 0;
  std::uint16_t usagePage = 0;
  std::uint16_t inputReportByteLength = 0;
  std::uint16_t outputReportByteLength = 0;
  std::uint16_t featureReportByteLength = 0;
  std::uint16_t numberInputButtonCaps = 0;
  std::uint16_t numberInputValueCaps = 0;
  std::uint16_t numberOutputButtonCaps = 0;
  std::uint16_t numberOutputValueCaps = 0;
  std::uint16_t numberFeatureButtonCaps = 0;
  std::uint16_t numberFeatureValueCaps = 0;
};

// One piece of a report, filled by `unpack`.
struct HidDataItem {
  bool isButton = false;
  std::uint16_t usagePage = 0;
  HidStatus status = HidStatus::Success;
  std::uint8_t reportId = 0;
  bool isDataSet = false;
  // button items
  std::uint16_t usageMin = 0;
  std::uint16_t usageMax = 0;
  std::uint32_t maxUsageLength = 0;
  std::vector<std::uint16_t> usages; // maxUsageLength entries, 0 after the last one set
  // value items
  std::uint16_t usage = 0;
  std::uint32_t value = 0;
  std::int32_t scaledValue = 0;
};

// Per report type: the report buffer, the capabilities and the data items.
struct HidReportSet {
  std::vector<std::uint8_t> buffer;
  std::vector<HidCapability> buttonCaps;
  std::vector<HidCapability> valueCaps;
  std::vector<HidDataItem> items;
};

class CHidDevice {
public:
  CHidDevice();
  ~CHidDevice();
  CHidDevice(const CHidDevice&) = delete;
  CHidDevice& operator=(const CHidDevice&) = delete;

  // Fills the path list with one path per top-level collection of every present HID
  // interface and resets the cursor. False only when the system cannot be asked (the
  // list is then empty).
  bool enumerate();
  // The path at the cursor (then advances); nullptr at the end of the list.
  const char* nextPath();
  void clearList();

  // Opens a path from `enumerate`. Closes whatever was open first. False when the path
  // is 260 characters or longer, names no present collection, or cannot be opened.
  // `overlapped` and `exclusive` are kept for the callers; hidraw has no sharing modes.
  bool open(const std::string& path, bool read, bool write, bool overlapped, bool exclusive);
  // True while the interface of `path` exists (asks for no access to the device).
  static bool isPresent(const std::string& path);
  // Safe from any thread; a waiting read or write returns false promptly.
  void close();
  bool isOpen() const;

  // One report. `read` keeps only reports of this collection's report IDs, and hands
  // them over as Windows does: byte 0 the report ID (0 when the device uses none).
  // `write` sends byte 0 as the report ID. `timeoutMs` may be kInfinite.
  bool read(std::uint8_t* buffer, std::size_t length, std::size_t* transferred,
            std::uint32_t timeoutMs);
  bool write(const std::uint8_t* buffer, std::size_t length, std::size_t* transferred,
             std::uint32_t timeoutMs);

  // Extracts the fields of a received input report into `items`.
  bool unpack(const std::uint8_t* buffer, std::size_t length, HidDataItem* items,
              std::size_t count);

  const HidAttributes& attributes() const { return attributes_; }
  const HidCaps& caps() const { return caps_; }
  HidReportSet& report(HidReportType type) { return reports_[static_cast<int>(type)]; }
  const HidReportSet& report(HidReportType type) const { return reports_[static_cast<int>(type)]; }
  int interfaceNumber() const { return interfaceNumber_; }
  int collectionNumber() const { return collectionNumber_; }
  const std::string& path() const { return path_; }

private:
  bool Transfer(bool isRead, std::uint8_t* readBuffer, const std::uint8_t* writeData,
                std::size_t length, std::size_t* transferred, std::uint32_t timeoutMs);
  bool ReadCapabilities(const platform::hid::HidInterfaceInfo& info);
  void FreeCapabilities();

  // path list
  std::vector<std::string> paths_;
  std::size_t cursor_ = 0;

  bool optRead_ = false;
  bool optWrite_ = false;
  bool optOverlapped_ = false;
  bool optExclusive_ = false;
  std::string path_;
  int interfaceNumber_ = 0;
  int collectionNumber_ = 0;

  HidAttributes attributes_;
  HidCaps caps_;
  HidTopLevelCollection collection_;
  bool usesReportIds_ = false;
  std::size_t interfaceInputLength_ = 0;
  HidReportSet reports_[kHidReportTypeCount];

  // Open state, shared with a thread that calls close().
  mutable std::mutex stateMutex_;
  std::condition_variable idle_;
  std::unique_ptr<platform::hid::HidConnection> connection_;
  int activeTransfers_ = 0;
  int cancelFd_ = -1;
  std::atomic<bool> readInProgress_{false};
  std::atomic<bool> writeInProgress_{false};
};

} // namespace quorvex::link
