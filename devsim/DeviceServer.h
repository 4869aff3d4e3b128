#pragma once

// Serves emulated devices: one thread moves reports between the application's
// connections and the devices, delivers answers when they are due, and carries out
// unplug requests. Subclasses decide how an interface appears to the application
// (VirtualDeviceServer: the in-process backend; UmockdevDeviceServer: a umockdev
// testbed with real sysfs entries and device nodes).

#include "devsim/EmulatedDevice.h"

#include <atomic>
#include <chrono>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace quorvex::devsim {

class DeviceServer {
public:
  DeviceServer();
  virtual ~DeviceServer();
  DeviceServer(const DeviceServer&) = delete;
  DeviceServer& operator=(const DeviceServer&) = delete;

  // Plugs every interface of `device` in; returns the device nodes in interface order
  // (empty on failure).
  std::vector<std::string> Plug(std::shared_ptr<EmulatedDevice> device);
  // Unplugs the device: its nodes vanish and open connections stop being served.
  void Unplug(const EmulatedDevice& device);
  void UnplugAll();

protected:
  // How a connection carries reports: with their boundaries (socket) or as a byte
  // stream (pty), where reports are cut by their report-ID lengths.
  enum class Framing { Packet, Stream };

  virtual std::vector<std::string> PlugInterfaces(int deviceId, EmulatedDevice& device) = 0;
  virtual void UnplugInterfaces(int deviceId, const std::vector<std::string>& nodes) = 0;
  // Stops the serving thread; subclasses call it first in their destructor.
  void Stop();
  // Serves a new connection of a device interface; the server owns `fd` when
  // `owned` and closes it when the connection ends.
  void AddConnection(int deviceId, std::size_t index, int fd, Framing framing, bool owned);

private:
  struct Connection;
  struct Plugged;
  struct Pending;
  class Outlet;

  void Loop();
  void Wake();
  void Serve(Connection& connection);
  void Send(Connection& connection, const Report& report);
  void UnplugId(int deviceId);

  // Serialises whole plug and unplug operations, so that an unplug still removing its
  // nodes (for example one the device asked for itself) cannot remove the nodes of a
  // device plugged in after it under a reused name. Taken before mutex_; recursive
  // because a failed plug unplugs what it did.
  std::recursive_mutex plugMutex_;
  mutable std::mutex mutex_;
  std::vector<std::shared_ptr<Connection>> connections_;
  std::vector<std::shared_ptr<Plugged>> plugged_;
  std::vector<Pending> pending_;
  std::vector<int> unplugRequests_;
  int nextId_ = 1;
  int wakeFd_ = -1;
  std::atomic<bool> stop_{false};
  std::thread thread_;
};

} // namespace quorvex::devsim
