#include "platform/hid/VirtualHidBackend.h"

#include <cerrno>
#include <deque>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

namespace quorvex::platform::hid {

struct VirtualHidBackend::MonitorQueue {
  std::mutex mutex;
  std::deque<HidEvent> events;
  int eventFd = -1;
};

namespace {

constexpr const char* kNodePrefix = "virtual/hidraw";

int NodeNumber(const std::string& node) {
  const std::string prefix = kNodePrefix;
  if (node.compare(0, prefix.size(), prefix) != 0 || node.size() == prefix.size() ||
      node.size() > prefix.size() + 6) {
    return -1;
  }
  int n = 0;
  for (std::size_t i = prefix.size(); i < node.size(); ++i) {
    if (node[i] < '0' || node[i] > '9') {
      return -1;
    }
    n = n * 10 + (node[i] - '0');
  }
  return n;
}

class SocketConnection final : public HidConnection {
public:
  explicit SocketConnection(int fd) : fd_(fd) {}
  ~SocketConnection() override { ::close(fd_); }
  int PollFd() const override { return fd_; }
  ssize_t Read(std::uint8_t* buffer, std::size_t length) override {
    return ::recv(fd_, buffer, length, MSG_DONTWAIT);
  }
  ssize_t Write(const std::uint8_t* data, std::size_t length) override {
    return ::send(fd_, data, length, MSG_DONTWAIT | MSG_NOSIGNAL);
  }

private:
  int fd_;
};

class QueueMonitor final : public HidMonitor {
public:
  explicit QueueMonitor(std::shared_ptr<VirtualHidBackend::MonitorQueue> queue)
      : queue_(std::move(queue)) {}
  ~QueueMonitor() override { ::close(queue_->eventFd); }
  int PollFd() const override { return queue_->eventFd; }
  bool Next(HidEvent& event) override {
    std::lock_guard lock(queue_->mutex);
    if (queue_->events.empty()) {
      return false;
    }
    event = queue_->events.front();
    queue_->events.pop_front();
    if (queue_->events.empty()) {
      std::uint64_t drained = 0;
      [[maybe_unused]] const ssize_t n = ::read(queue_->eventFd, &drained, sizeof drained);
    }
    return true;
  }

private:
  std::shared_ptr<VirtualHidBackend::MonitorQueue> queue_;
};

} // namespace

VirtualHidBackend& VirtualHidBackend::Instance() {
  static VirtualHidBackend backend;
  return backend;
}

std::string VirtualHidBackend::Plug(HidInterfaceInfo info, std::shared_ptr<VirtualHidPeer> peer) {
  std::string node;
  {
    std::lock_guard lock(mutex_);
    const int number = nextNumber_++;
    node = kNodePrefix + std::to_string(number);
    info.node = node;
    entries_[number] = Entry{std::move(info), std::move(peer)};
    ++generation_;
  }
  Publish(HidEventKind::Added, node);
  return node;
}

void VirtualHidBackend::Unplug(const std::string& node) {
  bool removed = false;
  {
    std::lock_guard lock(mutex_);
    removed = entries_.erase(NodeNumber(node)) > 0;
    generation_ += removed ? 1 : 0;
  }
  if (removed) {
    Publish(HidEventKind::Removed, node);
  }
}

void VirtualHidBackend::UnplugAll() {
  std::vector<std::string> nodes;
  {
    std::lock_guard lock(mutex_);
    for (const auto& [number, entry] : entries_) {
      nodes.push_back(entry.info.node);
    }
  }
  for (const auto& node : nodes) {
    Unplug(node);
  }
}

bool VirtualHidBackend::Enumerate(std::vector<HidInterfaceInfo>& out) {
  std::lock_guard lock(mutex_);
  out.clear();
  for (const auto& [number, entry] : entries_) {
    out.push_back(entry.info);
  }
  return true;
}

bool VirtualHidBackend::Exists(const std::string& node) {
  std::lock_guard lock(mutex_);
  return entries_.count(NodeNumber(node)) > 0;
}

std::string VirtualHidBackend::NodeListSignature() {
  std::lock_guard lock(mutex_);
  return std::to_string(generation_);
}

bool VirtualHidBackend::Describe(const std::string& node, HidInterfaceInfo& out) {
  std::lock_guard lock(mutex_);
  const auto it = entries_.find(NodeNumber(node));
  if (it == entries_.end()) {
    return false;
  }
  out = it->second.info;
  return true;
}

std::unique_ptr<HidConnection> VirtualHidBackend::Open(const std::string& node, bool, bool) {
  std::shared_ptr<VirtualHidPeer> peer;
  {
    std::lock_guard lock(mutex_);
    const auto it = entries_.find(NodeNumber(node));
    if (it == entries_.end()) {
      errno = ENOENT;
      return nullptr;
    }
    peer = it->second.peer;
  }
  int fds[2];
  if (::socketpair(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0, fds) != 0) {
    return nullptr;
  }
  peer->Accept(fds[1]);
  return std::make_unique<SocketConnection>(fds[0]);
}

std::unique_ptr<HidMonitor> VirtualHidBackend::CreateMonitor() {
  auto queue = std::make_shared<MonitorQueue>();
  queue->eventFd = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
  if (queue->eventFd < 0) {
    return nullptr;
  }
  std::lock_guard lock(mutex_);
  monitors_.push_back(queue);
  return std::make_unique<QueueMonitor>(queue);
}

void VirtualHidBackend::Publish(HidEventKind kind, const std::string& node) {
  std::vector<std::shared_ptr<MonitorQueue>> live;
  {
    std::lock_guard lock(mutex_);
    for (auto it = monitors_.begin(); it != monitors_.end();) {
      if (auto queue = it->lock()) {
        live.push_back(std::move(queue));
        ++it;
      } else {
        it = monitors_.erase(it);
      }
    }
  }
  for (const auto& queue : live) {
    std::lock_guard lock(queue->mutex);
    queue->events.push_back(HidEvent{kind, node});
    const std::uint64_t one = 1;
    [[maybe_unused]] const ssize_t n = ::write(queue->eventFd, &one, sizeof one);
  }
}

} // namespace quorvex::platform::hid
