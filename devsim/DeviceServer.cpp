#include "devsim/DeviceServer.h"

#include <algorithm>
#include <cerrno>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

namespace quorvex::devsim {

using Clock = std::chrono::steady_clock;

struct DeviceServer::Connection {
  int deviceId = 0;
  std::size_t index = 0;
  int fd = -1;
  Framing framing = Framing::Packet;
  bool owned = true;
  std::atomic<bool> closed{false};
  std::shared_ptr<EmulatedDevice> device;
  Report stream; // bytes of a report not yet complete (stream framing)
};

struct DeviceServer::Pending {
  Clock::time_point due;
  int deviceId = 0;
  std::size_t index = 0;
  Report report;
};

class DeviceServer::Outlet final : public DeviceOutlet {
public:
  Outlet(DeviceServer& server, int deviceId) : server_(server), deviceId_(deviceId) {}
  void Deliver(std::size_t index, Report report, int delayMs) override {
    {
      std::lock_guard lock(server_.mutex_);
      server_.pending_.push_back(Pending{Clock::now() + std::chrono::milliseconds(delayMs),
                                         deviceId_, index, std::move(report)});
    }
    server_.Wake();
  }
  void RequestUnplug() override {
    {
      std::lock_guard lock(server_.mutex_);
      server_.unplugRequests_.push_back(deviceId_);
    }
    server_.Wake();
  }

private:
  DeviceServer& server_;
  int deviceId_;
};

struct DeviceServer::Plugged {
  int id = 0;
  std::shared_ptr<EmulatedDevice> device;
  std::unique_ptr<Outlet> outlet;
  std::vector<std::string> nodes;
};

DeviceServer::DeviceServer() : wakeFd_(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {
  thread_ = std::thread([this] { Loop(); });
}

DeviceServer::~DeviceServer() {
  Stop();
  for (auto& connection : connections_) {
    if (connection->owned) {
      ::close(connection->fd);
    }
  }
  ::close(wakeFd_);
}

void DeviceServer::Stop() {
  if (thread_.joinable()) {
    stop_.store(true);
    Wake();
    thread_.join();
  }
}

void DeviceServer::Wake() {
  const std::uint64_t one = 1;
  [[maybe_unused]] const ssize_t n = ::write(wakeFd_, &one, sizeof one);
}

std::vector<std::string> DeviceServer::Plug(std::shared_ptr<EmulatedDevice> device) {
  std::lock_guard plugLock(plugMutex_);
  auto plugged = std::make_shared<Plugged>();
  {
    std::lock_guard lock(mutex_);
    plugged->id = nextId_++;
  }
  plugged->device = device;
  plugged->outlet = std::make_unique<Outlet>(*this, plugged->id);
  device->Attach(plugged->outlet.get());
  {
    std::lock_guard lock(mutex_);
    plugged_.push_back(plugged);
  }
  plugged->nodes = PlugInterfaces(plugged->id, *device);
  if (plugged->nodes.empty()) {
    UnplugId(plugged->id);
    return {};
  }
  std::lock_guard lock(mutex_);
  return plugged->nodes;
}

void DeviceServer::Unplug(const EmulatedDevice& device) {
  int id = 0;
  {
    std::lock_guard lock(mutex_);
    for (const auto& p : plugged_) {
      if (p->device.get() == &device) {
        id = p->id;
      }
    }
  }
  if (id != 0) {
    UnplugId(id);
  }
}

void DeviceServer::UnplugAll() {
  std::vector<int> ids;
  {
    std::lock_guard lock(mutex_);
    for (const auto& p : plugged_) {
      ids.push_back(p->id);
    }
  }
  for (const int id : ids) {
    UnplugId(id);
  }
}

void DeviceServer::UnplugId(int deviceId) {
  std::lock_guard plugLock(plugMutex_);
  std::shared_ptr<Plugged> plugged;
  {
    std::lock_guard lock(mutex_);
    const auto it = std::find_if(plugged_.begin(), plugged_.end(),
                                 [deviceId](const auto& p) { return p->id == deviceId; });
    if (it == plugged_.end()) {
      return;
    }
    plugged = *it;
    plugged_.erase(it);
    // Connections end here: an owned socket closes, so the application's next write
    // fails and its reads see the hang-up.
    for (auto& connection : connections_) {
      if (connection->deviceId == deviceId && !connection->closed) {
        connection->closed = true;
        if (connection->owned) {
          ::shutdown(connection->fd, SHUT_RDWR);
        }
      }
    }
    std::erase_if(pending_, [deviceId](const Pending& p) { return p.deviceId == deviceId; });
  }
  UnplugInterfaces(deviceId, plugged->nodes);
  plugged->device->Detach();
  Wake();
}

void DeviceServer::AddConnection(int deviceId, std::size_t index, int fd, Framing framing,
                                 bool owned) {
  auto connection = std::make_shared<Connection>();
  connection->deviceId = deviceId;
  connection->index = index;
  connection->fd = fd;
  connection->framing = framing;
  connection->owned = owned;
  {
    std::lock_guard lock(mutex_);
    for (const auto& p : plugged_) {
      if (p->id == deviceId) {
        connection->device = p->device;
      }
    }
    if (connection->device == nullptr) {
      if (owned) {
        ::close(fd);
      }
      return;
    }
    connections_.push_back(connection);
  }
  Wake();
}

void DeviceServer::Send(Connection& connection, const Report& report) {
  const EmulatedInterface& info = connection.device->interfaces()[connection.index];
  Report wire = report;
  if (!info.usesReportIds && !wire.empty()) {
    wire.erase(wire.begin()); // hidraw hands over reports without an ID byte as they are
  }
  if (connection.framing == Framing::Stream) {
    const std::size_t size = info.usesReportIds ? info.longestInput : info.longestInput - 1;
    wire.resize(std::max(size, wire.size()), 0);
    std::size_t done = 0;
    while (done < wire.size()) {
      const ssize_t n = ::write(connection.fd, wire.data() + done, wire.size() - done);
      if (n <= 0) {
        if (n < 0 && (errno == EAGAIN || errno == EINTR)) {
          pollfd p{connection.fd, POLLOUT, 0};
          ::poll(&p, 1, 100);
          continue;
        }
        return;
      }
      done += static_cast<std::size_t>(n);
    }
    return;
  }
  [[maybe_unused]] const ssize_t n =
      ::send(connection.fd, wire.data(), wire.size(), MSG_DONTWAIT | MSG_NOSIGNAL);
}

void DeviceServer::Serve(Connection& connection) {
  std::uint8_t buffer[8192];
  const ssize_t n = connection.framing == Framing::Packet
                        ? ::recv(connection.fd, buffer, sizeof buffer, MSG_DONTWAIT)
                        : ::read(connection.fd, buffer, sizeof buffer);
  if (n < 0 && (errno == EAGAIN || errno == EINTR)) {
    return;
  }
  if (n <= 0) {
    std::lock_guard lock(mutex_);
    connection.closed = true;
    return;
  }
  EmulatedDevice& device = *connection.device;
  if (connection.framing == Framing::Packet) {
    device.Receive(connection.index, buffer, static_cast<std::size_t>(n));
    return;
  }
  const EmulatedInterface& info = device.interfaces()[connection.index];
  connection.stream.insert(connection.stream.end(), buffer, buffer + n);
  while (!connection.stream.empty()) {
    const std::uint8_t id = info.usesReportIds ? connection.stream[0] : 0;
    const auto it = info.outputLength.find(id);
    if (it == info.outputLength.end()) {
      connection.stream.erase(connection.stream.begin()); // not a report start
      continue;
    }
    if (connection.stream.size() < it->second) {
      break;
    }
    device.Receive(connection.index, connection.stream.data(), it->second);
    connection.stream.erase(connection.stream.begin(),
                            connection.stream.begin() + static_cast<std::ptrdiff_t>(it->second));
  }
}

void DeviceServer::Loop() {
  while (!stop_.load()) {
    std::vector<std::shared_ptr<Connection>> live;
    int timeoutMs = -1;
    {
      std::lock_guard lock(mutex_);
      std::erase_if(connections_, [](const auto& c) {
        if (c->closed && c->owned) {
          ::close(c->fd);
        }
        return c->closed.load();
      });
      live = connections_;
      const auto now = Clock::now();
      for (const auto& p : pending_) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(p.due - now);
        const int ms = static_cast<int>(std::max<long long>(0, left.count()) + 1);
        timeoutMs = timeoutMs < 0 ? ms : std::min(timeoutMs, ms);
      }
    }
    std::vector<pollfd> fds;
    fds.push_back({wakeFd_, POLLIN, 0});
    for (const auto& c : live) {
      fds.push_back({c->fd, POLLIN, 0});
    }
    ::poll(fds.data(), fds.size(), timeoutMs);
    if (fds[0].revents != 0) {
      std::uint64_t drained = 0;
      [[maybe_unused]] const ssize_t n = ::read(wakeFd_, &drained, sizeof drained);
    }
    for (std::size_t i = 0; i < live.size(); ++i) {
      if (fds[i + 1].revents != 0 && !live[i]->closed) {
        Serve(*live[i]);
      }
    }
    // Due answers, in the order they were queued.
    std::vector<Pending> due;
    std::vector<int> unplugs;
    {
      std::lock_guard lock(mutex_);
      const auto now = Clock::now();
      for (auto it = pending_.begin(); it != pending_.end();) {
        if (it->due <= now) {
          due.push_back(std::move(*it));
          it = pending_.erase(it);
        } else {
          ++it;
        }
      }
      unplugs.swap(unplugRequests_);
      live = connections_;
    }
    for (const auto& p : due) {
      for (const auto& c : live) {
        if (c->deviceId == p.deviceId && c->index == p.index && !c->closed) {
          Send(*c, p.report);
        }
      }
    }
    for (const int id : unplugs) {
      UnplugId(id);
    }
  }
}

} // namespace quorvex::devsim
