#include "app/DeviceDetector.h"

#include "link/CHidDevice.h"
#include "platform/hid/HidBackend.h"

#include <algorithm>

#include <poll.h>
#include <pthread.h>
#include <sys/eventfd.h>
#include <unistd.h>

namespace quorvex::app {

namespace {
constexpr int kPassIntervalMs = 100;
constexpr int kSettleMs = 15;

bool AnyFree(const std::vector<DeviceCatalogEntry>& slots) {
  for (const auto& slot : slots) {
    if (slot.IsFree())
      return true;
  }
  return false;
}
} // namespace

CDeviceDetector::CDeviceDetector(ui::CMessageLoop& loop, ui::WindowHandle window,
                                 std::uint32_t instanceMessage)
    : loop_(loop), window_(window), instanceMessage_(instanceMessage),
      slots_(DeviceCatalog().begin(), DeviceCatalog().end()), working_(slots_) {
  cancelFd_ = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
}

CDeviceDetector::~CDeviceDetector() {
  Stop();
  if (cancelFd_ >= 0)
    ::close(cancelFd_);
}

void CDeviceDetector::Start() {
  if (thread_.joinable())
    return;
  stop_.store(false);
  {
    std::lock_guard lock(finishedMutex_);
    finished_ = false;
  }
  thread_ = std::thread([this] {
    Run();
    std::lock_guard lock(finishedMutex_);
    finished_ = true;
    finishedCv_.notify_all();
  });
}

void CDeviceDetector::RequestStop() {
  stop_.store(true);
  if (cancelFd_ >= 0) {
    std::uint64_t one = 1;
    [[maybe_unused]] auto n = ::write(cancelFd_, &one, sizeof one);
  }
}

bool CDeviceDetector::WaitStopped(std::chrono::milliseconds limit) {
  if (!thread_.joinable())
    return true;
  {
    std::unique_lock lock(finishedMutex_);
    if (!finishedCv_.wait_for(lock, limit, [this] { return finished_; }))
      return false;
  }
  thread_.join();
  return true;
}

void CDeviceDetector::Stop() {
  RequestStop();
  if (thread_.joinable())
    thread_.join();
}

std::vector<DeviceCatalogEntry> CDeviceDetector::Slots() const {
  std::lock_guard lock(mutex_);
  return slots_;
}

void CDeviceDetector::Run() {
  ::pthread_setname_np(::pthread_self(), "qx-detect");
  auto monitor = platform::hid::CurrentHidBackend().CreateMonitor();
  bool firstPass = true;
  bool hotPlug = true;
  while (!stop_.load()) {
    Pass(firstPass, hotPlug);
    hotPlug = false;
    if (stop_.load())
      break;
    pollfd fds[2] = {{cancelFd_, POLLIN, 0}, {monitor ? monitor->PollFd() : -1, POLLIN, 0}};
    int timeoutMs = kPassIntervalMs;
    // After a hot-plug event, let the burst of one device's nodes settle (no further
    // event for kSettleMs) so all its collections are probed in the same pass.
    while (::poll(fds, 2, timeoutMs) > 0 && !stop_.load() && (fds[1].revents & POLLIN)) {
      platform::hid::HidEvent event;
      while (monitor->Next(event)) {
      }
      hotPlug = true;
      timeoutMs = kSettleMs;
    }
  }
}

// One pass: probe new interfaces while a slot is free, then check the taken slots.
// The 100 ms passes between hot-plug events are a safety net for a missed event: they
// list the interfaces again only when the set of nodes changed or a probe asked for
// another try, so an idle application does not walk the device tree ten times a
// second.
void CDeviceDetector::Pass(bool& firstPass, bool hotPlug) {
  const std::string signature = platform::hid::CurrentHidBackend().NodeListSignature();
  const bool look =
      firstPass || hotPlug || retryProbe_ || signature.empty() || signature != lastSignature_;
  if (AnyFree(working_) && look) {
    lastSignature_ = signature;
    retryProbe_ = false;
    link::CHidDevice probe;
    if (!probe.enumerate()) {
      // Listing failed: try again next pass rather than giving up on detection.
      retryProbe_ = true;
      return;
    }
    // Arrivals are announced in slot (catalogue) order after the list was walked, so a
    // device's command collection (the lower row) always reaches the window first,
    // whatever order the system lists its collections in.
    std::vector<int> claimed;
    while (const char* raw = probe.nextPath()) {
      if (stop_.load())
        return;
      std::string path(raw);
      PathFields fields = ParseInterfacePath(path);
      if (!IsInterestingPath(working_, fields) ||
          std::any_of(working_.begin(), working_.end(),
                      [&](const DeviceCatalogEntry& s) { return s.path == path; }))
        continue;
      link::CHidDevice device;
      if (!device.open(path, true, false, true, false)) {
        // Not accessible yet (its permissions may still be on their way): next pass.
        retryProbe_ = true;
        continue;
      }
      const int row =
          ClaimSlot(working_, fields, device.attributes().vendorId, device.attributes().productId,
                    device.caps().usagePage, device.caps().usage, path);
      device.close();
      if (row >= 0)
        claimed.push_back(row);
    }
    probe.clearList();
    std::sort(claimed.begin(), claimed.end());
    // A slot becomes visible to the window with its own arrival, so the window judges
    // each arrival by the devices announced before it (a partner claimed in the same
    // pass but not yet announced is not "present").
    for (int row : claimed) {
      if (stop_.load())
        return;
      {
        std::lock_guard lock(mutex_);
        slots_[static_cast<std::size_t>(row)] = working_[static_cast<std::size_t>(row)];
      }
      loop_.SendMessage(window_, kMsgDeviceArrived, static_cast<ui::WParam>(row), 0);
    }
    if (firstPass) {
      firstPass = false;
      loop_.PostMessage(window_, instanceMessage_, 0, 0);
    }
  }
  for (std::size_t i = 0; i < working_.size(); ++i) {
    if (stop_.load())
      return;
    if (working_[i].IsFree())
      continue;
    if (link::CHidDevice::isPresent(working_[i].path)) {
      continue;
    }
    working_[i].connected = 0;
    working_[i].path.clear();
    {
      std::lock_guard lock(mutex_);
      slots_[i].connected = 0;
      slots_[i].path.clear();
    }
    loop_.SendMessage(window_, kMsgDeviceRemoved, static_cast<ui::WParam>(i), 0);
  }
}

} // namespace quorvex::app
