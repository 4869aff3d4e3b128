#pragma once

// The in-process HID backend. Emulated devices (devsim/) plug interfaces in at run
// time; opening a node hands the device one end of a SOCK_SEQPACKET socket pair, so
// every report keeps its boundaries and the link's poll()-based waits work unchanged.
// This layer knows nothing of the emulators: they implement VirtualHidPeer.

#include "platform/hid/HidBackend.h"

#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace quorvex::platform::hid {

class VirtualHidPeer {
public:
  virtual ~VirtualHidPeer() = default;
  // The application opened the node: `fd` is the device's end of the new connection,
  // owned by the peer from now on (it closes it to hang up).
  virtual void Accept(int fd) = 0;
};

class VirtualHidBackend final : public HidBackend {
public:
  static VirtualHidBackend& Instance();

  // Plugs an interface in and returns its node name ("virtual/hidrawN"); `info.node`
  // is ignored. `info.hasUsbDevice` and the USB IDs stand for the USB device the
  // interface belongs to, as the Linux backend reads them from sysfs. Monitors see an
  // Added event.
  std::string Plug(HidInterfaceInfo info, std::shared_ptr<VirtualHidPeer> peer);
  // Removes an interface; further opens fail. Monitors see a Removed event. Open
  // connections are the peer's to hang up.
  void Unplug(const std::string& node);
  // Removes every interface (for tests that start from an empty system).
  void UnplugAll();

  bool Enumerate(std::vector<HidInterfaceInfo>& out) override;
  bool Describe(const std::string& node, HidInterfaceInfo& out) override;
  std::unique_ptr<HidConnection> Open(const std::string& node, bool read, bool write) override;
  std::unique_ptr<HidMonitor> CreateMonitor() override;
  bool Exists(const std::string& node) override;
  std::string NodeListSignature() override;

  struct MonitorQueue;

private:
  VirtualHidBackend() = default;
  void Publish(HidEventKind kind, const std::string& node);

  struct Entry {
    HidInterfaceInfo info;
    std::shared_ptr<VirtualHidPeer> peer;
  };
  std::mutex mutex_;
  std::map<int, Entry> entries_; // by node number, so enumeration follows plug order
  int nextNumber_ = 0;
  std::uint64_t generation_ = 0; // counts plugs and unplugs
  std::vector<std::weak_ptr<MonitorQueue>> monitors_;
};

} // namespace quorvex::platform::hid
