#include "link/CHidDevice.h"

#include "link/HidPath.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

namespace quorvex::link {

namespace hid = platform::hid;

namespace {

constexpr std::size_t kScratchBytes = kHidMaxReportBytes + 1;

// The longest input report of the whole interface (all collections), report-ID byte
// included: one read must take a whole report whichever collection it belongs to.
std::size_t InterfaceInputLength(const HidReportDescriptor& descriptor) {
  std::size_t longest = 0;
  for (const auto& c : descriptor.collections) {
    longest = std::max<std::size_t>(longest, c.InputReportLength());
  }
  return longest;
}

} // namespace

CHidDevice::CHidDevice() : cancelFd_(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {}

CHidDevice::~CHidDevice() {
  close();
  clearList();
  if (cancelFd_ >= 0) {
    ::close(cancelFd_);
  }
}

bool CHidDevice::enumerate() {
  cursor_ = 0;
  paths_.clear();
  std::vector<hid::HidInterfaceInfo> interfaces;
  if (!hid::CurrentHidBackend().Enumerate(interfaces)) {
    return false;
  }
  for (const auto& info : interfaces) {
    HidReportDescriptor descriptor;
    if (!ParseReportDescriptor(info.reportDescriptor.data(), info.reportDescriptor.size(),
                               descriptor)) {
      continue; // an interface whose descriptor we cannot read offers no collection
    }
    const std::size_t count = descriptor.collections.size();
    for (std::size_t i = 0; i < count; ++i) {
      const int collection = count > 1 ? static_cast<int>(i + 1) : 0;
      // The path names the USB device; the HID layer's own IDs are the attributes.
      paths_.push_back(MakeHidPath(info.PathVendorId(), info.PathProductId(), info.interfaceNumber,
                                   collection, info.node));
    }
  }
  return true;
}

const char* CHidDevice::nextPath() {
  if (cursor_ >= paths_.size()) {
    return nullptr;
  }
  const std::string& path = paths_[cursor_++];
  return path.empty() ? nullptr : path.c_str();
}

void CHidDevice::clearList() {
  paths_.clear();
  paths_.shrink_to_fit();
  cursor_ = 0;
}

bool CHidDevice::isPresent(const std::string& path) {
  if (path.empty() || path.size() >= kMaxHidPathLength) {
    return false;
  }
  return hid::CurrentHidBackend().Exists(std::string(HidPathNode(path)));
}

bool CHidDevice::open(const std::string& path, bool read, bool write, bool overlapped,
                      bool exclusive) {
  close();
  optRead_ = read;
  optWrite_ = write;
  optOverlapped_ = overlapped;
  optExclusive_ = exclusive;
  if (path.size() >= kMaxHidPathLength || cancelFd_ < 0) {
    return false;
  }
  path_ = path;
  const std::string node(HidPathNode(path));
  hid::HidBackend& backend = hid::CurrentHidBackend();
  hid::HidInterfaceInfo info;
  if (!backend.Describe(node, info)) {
    return false;
  }
  interfaceNumber_ = ParseHidPathField(path, "&mi_");
  collectionNumber_ = ParseHidPathField(path, "&col");
  if (!ReadCapabilities(info)) {
    FreeCapabilities();
    return false;
  }
  auto connection = backend.Open(node, read, write);
  if (connection == nullptr) {
    FreeCapabilities();
    return false;
  }
  std::lock_guard lock(stateMutex_);
  connection_ = std::move(connection);
  return true;
}

bool CHidDevice::ReadCapabilities(const hid::HidInterfaceInfo& info) {
  HidReportDescriptor descriptor;
  if (!ParseReportDescriptor(info.reportDescriptor.data(), info.reportDescriptor.size(),
                             descriptor)) {
    return false;
  }
  const std::size_t count = descriptor.collections.size();
  const std::size_t wanted =
      collectionNumber_ == 0 ? 1 : static_cast<std::size_t>(collectionNumber_);
  // A path without "&col" names an interface of one collection; with it, one of several.
  if ((collectionNumber_ == 0) != (count == 1) || wanted > count) {
    return false;
  }
  collection_ = descriptor.collections[wanted - 1];
  usesReportIds_ = descriptor.usesReportIds;
  interfaceInputLength_ = InterfaceInputLength(descriptor);

  attributes_ = HidAttributes{info.vendorId, info.productId, info.releaseNumber};
  caps_ = HidCaps{};
  caps_.usage = collection_.usage;
  caps_.usagePage = collection_.usagePage;
  caps_.inputReportByteLength = collection_.InputReportLength();
  caps_.outputReportByteLength = collection_.OutputReportLength();
  caps_.featureReportByteLength = collection_.FeatureReportLength();

  for (int t = 0; t < kHidReportTypeCount; ++t) {
    const auto type = static_cast<HidReportType>(t);
    HidReportSet& set = reports_[t];
    set = HidReportSet{};
    set.buffer.assign(collection_.reportLength[t], 0);
    for (const HidCapability& cap : collection_.capabilities) {
      if (cap.type == type) {
        (cap.isButton ? set.buttonCaps : set.valueCaps).push_back(cap);
      }
    }
    for (const HidCapability& cap : set.buttonCaps) {
      HidDataItem item;
      item.isButton = true;
      item.usagePage = cap.usagePage;
      item.reportId = cap.reportId;
      item.usageMin = cap.usageMin;
      item.usageMax = cap.usageMax;
      item.maxUsageLength = collection_.MaxUsageListLength(type, cap.usagePage);
      item.usages.assign(item.maxUsageLength, 0);
      set.items.push_back(std::move(item));
    }
    for (const HidCapability& cap : set.valueCaps) {
      for (std::uint32_t u = cap.usageMin; u <= cap.usageMax; ++u) {
        HidDataItem item;
        item.usagePage = cap.usagePage;
        item.usage = static_cast<std::uint16_t>(u);
        item.reportId = cap.reportId;
        set.items.push_back(std::move(item));
      }
    }
  }
  caps_.numberInputButtonCaps = static_cast<std::uint16_t>(reports_[0].buttonCaps.size());
  caps_.numberInputValueCaps = static_cast<std::uint16_t>(reports_[0].valueCaps.size());
  caps_.numberOutputButtonCaps = static_cast<std::uint16_t>(reports_[1].buttonCaps.size());
  caps_.numberOutputValueCaps = static_cast<std::uint16_t>(reports_[1].valueCaps.size());
  caps_.numberFeatureButtonCaps = static_cast<std::uint16_t>(reports_[2].buttonCaps.size());
  caps_.numberFeatureValueCaps = static_cast<std::uint16_t>(reports_[2].valueCaps.size());
  return true;
}

void CHidDevice::FreeCapabilities() {
  collection_ = HidTopLevelCollection{};
  caps_ = HidCaps{};
  attributes_ = HidAttributes{};
  for (auto& set : reports_) {
    set = HidReportSet{};
  }
}

void CHidDevice::close() {
  std::unique_ptr<hid::HidConnection> closing;
  {
    std::unique_lock lock(stateMutex_);
    if (connection_ == nullptr) {
      return;
    }
    if (activeTransfers_ > 0) {
      const std::uint64_t one = 1;
      [[maybe_unused]] const ssize_t n = ::write(cancelFd_, &one, sizeof one);
      idle_.wait(lock, [this] { return activeTransfers_ == 0; });
    }
    // The cancel is consumed here, so it cannot cut short a later transfer.
    std::uint64_t drained = 0;
    [[maybe_unused]] const ssize_t n = ::read(cancelFd_, &drained, sizeof drained);
    closing = std::move(connection_);
    FreeCapabilities();
  }
}

bool CHidDevice::isOpen() const {
  std::lock_guard lock(stateMutex_);
  return connection_ != nullptr;
}

bool CHidDevice::read(std::uint8_t* buffer, std::size_t length, std::size_t* transferred,
                      std::uint32_t timeoutMs) {
  return Transfer(true, buffer, nullptr, length, transferred, timeoutMs);
}

bool CHidDevice::write(const std::uint8_t* buffer, std::size_t length, std::size_t* transferred,
                       std::uint32_t timeoutMs) {
  return Transfer(false, nullptr, buffer, length, transferred, timeoutMs);
}

bool CHidDevice::Transfer(bool isRead, std::uint8_t* readBuffer, const std::uint8_t* writeData,
                          std::size_t length, std::size_t* transferred, std::uint32_t timeoutMs) {
  if (transferred != nullptr) {
    *transferred = 0;
  }
  if (length == 0 || (isRead ? readBuffer == nullptr : writeData == nullptr)) {
    return false;
  }
  hid::HidConnection* connection = nullptr;
  {
    std::lock_guard lock(stateMutex_);
    if (connection_ == nullptr) {
      return false;
    }
    connection = connection_.get();
    ++activeTransfers_;
  }
  std::atomic<bool>& inProgress = isRead ? readInProgress_ : writeInProgress_;
  inProgress.store(true);

  using Clock = std::chrono::steady_clock;
  const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
  // Without report IDs hidraw hands over the report without an ID byte; Windows puts a
  // 0 there, so the report is read one byte in.
  const std::size_t skip = usesReportIds_ ? 0 : 1;
  std::size_t readSize = interfaceInputLength_ > 0 ? interfaceInputLength_ : length;
  readSize = std::min(readSize, kScratchBytes) - skip;
  std::uint8_t scratch[kScratchBytes];

  bool ok = false;
  for (;;) {
    short events = POLLIN;
    if (isRead) {
      const ssize_t n = connection->Read(scratch + skip, readSize);
      if (n > 0) {
        scratch[0] = skip ? 0 : scratch[0];
        const std::size_t got = static_cast<std::size_t>(n) + skip;
        if (usesReportIds_ && !collection_.HasReportId(scratch[0])) {
          continue; // another collection's report on the same node
        }
        const std::size_t copied = std::min(got, length);
        std::copy(scratch, scratch + copied, readBuffer);
        if (transferred != nullptr) {
          *transferred = copied;
        }
        ok = true;
        break;
      }
      if (n == 0 || (errno != EAGAIN && errno != EINTR)) {
        break; // the device is gone
      }
    } else {
      const ssize_t n = connection->Write(writeData, length);
      if (n >= 0) {
        if (transferred != nullptr) {
          *transferred = static_cast<std::size_t>(n);
        }
        ok = static_cast<std::size_t>(n) == length;
        break;
      }
      if (errno != EAGAIN && errno != EINTR) {
        break;
      }
      events = POLLOUT;
    }
    int waitMs = -1;
    if (timeoutMs != kInfinite) {
      const auto left =
          std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
      if (left <= 0) {
        break; // time-out: nothing was started, so nothing is left to cancel
      }
      waitMs = static_cast<int>(std::min<long long>(left, 60000));
    }
    pollfd fds[2] = {{connection->PollFd(), events, 0}, {cancelFd_, POLLIN, 0}};
    const int ready = ::poll(fds, 2, waitMs);
    if (ready < 0 && errno != EINTR) {
      break;
    }
    if (fds[1].revents != 0) {
      break; // cancelled by close()
    }
    if ((fds[0].revents & (POLLERR | POLLNVAL)) != 0 ||
        ((fds[0].revents & POLLHUP) != 0 && (fds[0].revents & events) == 0)) {
      break;
    }
  }

  inProgress.store(false);
  {
    std::lock_guard lock(stateMutex_);
    if (--activeTransfers_ == 0) {
      idle_.notify_all();
    }
  }
  return ok;
}

bool CHidDevice::unpack(const std::uint8_t* buffer, std::size_t length, HidDataItem* items,
                        std::size_t count) {
  if (buffer == nullptr || length == 0 || (items == nullptr && count > 0)) {
    return false;
  }
  const std::uint8_t id = buffer[0];
  bool allHandled = true;
  std::vector<std::uint16_t> found;
  for (std::size_t i = 0; i < count; ++i) {
    HidDataItem& item = items[i];
    if (item.reportId != id) {
      continue;
    }
    if (item.isButton) {
      found.clear();
      item.status = GetButtonUsages(collection_, HidReportType::Input, item.usagePage, buffer,
                                    length, found, kHidMaxReportBytes * 8);
      std::fill(item.usages.begin(), item.usages.end(), 0);
      std::size_t kept = 0;
      for (const std::uint16_t usage : found) {
        if (usage >= item.usageMin && usage <= item.usageMax && kept < item.usages.size()) {
          item.usages[kept++] = usage;
        }
      }
      if (item.status != HidStatus::Success) {
        allHandled = false;
      }
    } else {
      item.status = GetUsageValue(collection_, HidReportType::Input, item.usagePage, item.usage,
                                  buffer, length, item.value);
      if (item.status != HidStatus::Success) {
        return false;
      }
      std::int32_t scaled = 0;
      if (GetScaledUsageValue(collection_, HidReportType::Input, item.usagePage, item.usage, buffer,
                              length, scaled) == HidStatus::Success) {
        item.scaledValue = scaled;
      }
    }
    item.isDataSet = true;
  }
  return allHandled;
}

} // namespace quorvex::link
