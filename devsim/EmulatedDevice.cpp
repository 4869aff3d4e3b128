#include "devsim/EmulatedDevice.h"

#include "link/HidReportDescriptor.h"

#include <algorithm>
#include <cstdlib>

namespace quorvex::devsim {

EmulatedInterface MakeInterface(std::uint16_t vendorId, std::uint16_t productId,
                                std::uint16_t releaseNumber, int interfaceNumber,
                                std::vector<std::uint8_t> descriptor) {
  EmulatedInterface result;
  result.vendorId = vendorId;
  result.productId = productId;
  result.releaseNumber = releaseNumber;
  result.interfaceNumber = interfaceNumber;
  link::HidReportDescriptor parsed;
  if (!link::ParseReportDescriptor(descriptor.data(), descriptor.size(), parsed)) {
    std::abort(); // an emulator's own descriptor is a programming error
  }
  result.reportDescriptor = std::move(descriptor);
  result.usesReportIds = parsed.usesReportIds;
  for (const auto& collection : parsed.collections) {
    result.longestInput =
        std::max<std::size_t>(result.longestInput, collection.InputReportLength());
    for (const std::uint8_t id : collection.reportIds) {
      if (collection.OutputReportLength() > 0) {
        result.outputLength[id] = collection.OutputReportLength();
      }
    }
  }
  return result;
}

EmulatedDevice::EmulatedDevice(std::vector<EmulatedInterface> interfaces)
    : interfaces_(std::move(interfaces)) {}

void EmulatedDevice::Attach(DeviceOutlet* outlet) {
  std::lock_guard lock(mutex_);
  outlet_ = outlet;
}

void EmulatedDevice::Detach() {
  std::lock_guard lock(mutex_);
  outlet_ = nullptr;
}

void EmulatedDevice::Receive(std::size_t index, const std::uint8_t* data, std::size_t length) {
  std::lock_guard lock(mutex_);
  if (index >= interfaces_.size() || data == nullptr || length == 0) {
    return;
  }
  Report report(data, data + length);
  log_.push_back(LoggedFrame{index, report});
  HandleOutput(index, report);
}

void EmulatedDevice::SendInput(std::size_t index, Report report) {
  std::lock_guard lock(mutex_);
  if (outlet_ != nullptr && index < interfaces_.size()) {
    outlet_->Deliver(index, std::move(report), 0);
  }
}

void EmulatedDevice::SetFaults(const FaultPlan& faults) {
  std::lock_guard lock(mutex_);
  faults_ = faults;
  framesReceived_ = 0;
}

std::vector<LoggedFrame> EmulatedDevice::Log() const {
  std::lock_guard lock(mutex_);
  return log_;
}

std::vector<Report> EmulatedDevice::Frames(std::size_t index, std::uint8_t reportId) const {
  std::lock_guard lock(mutex_);
  std::vector<Report> frames;
  for (const auto& entry : log_) {
    if (entry.interfaceIndex == index && !entry.bytes.empty() && entry.bytes[0] == reportId) {
      frames.push_back(entry.bytes);
    }
  }
  return frames;
}

void EmulatedDevice::ClearLog() {
  std::lock_guard lock(mutex_);
  log_.clear();
}

void EmulatedDevice::Answer(std::size_t index, Report report) {
  if (outlet_ != nullptr) {
    outlet_->Deliver(index, std::move(report), faults_.answerDelayMs);
  }
}

void EmulatedDevice::PullPlug() {
  if (outlet_ != nullptr) {
    outlet_->RequestUnplug();
  }
}

} // namespace quorvex::devsim
