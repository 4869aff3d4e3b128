#include "devsim/CommandDevice.h"

#include <algorithm>
#include <cstring>

namespace quorvex::devsim {
namespace {

constexpr std::size_t kFrame = 64;
constexpr std::size_t kData = 56;
constexpr std::uint8_t kOk = 0x00;
constexpr std::uint8_t kError = 0xFF;

template <typename Area>
std::uint8_t ReadArea(const Area& area, std::uint16_t offset, std::uint8_t length,
                      std::uint8_t* out) {
  if (static_cast<std::size_t>(offset) + length > area.size()) {
    return kError;
  }
  std::copy_n(area.begin() + offset, length, out);
  return kOk;
}

std::uint8_t WriteArea(std::vector<std::uint8_t>& area, std::uint16_t offset, std::uint8_t length,
                       const std::uint8_t* data) {
  if (static_cast<std::size_t>(offset) + length > area.size()) {
    return kError;
  }
  std::copy_n(data, length, area.begin() + offset);
  return kOk;
}

} // namespace

CommandDevice::CommandDevice(std::vector<EmulatedInterface> interfaces,
                             std::size_t commandInterface, DeviceMemory memory)
    : EmulatedDevice(std::move(interfaces)), commandInterface_(commandInterface),
      memory_(std::move(memory)) {
  memory_.macros.assign(static_cast<std::size_t>(memory_.info[18]) * 128, 0);
}

DeviceMemory CommandDevice::Memory() const {
  std::lock_guard lock(mutex_);
  return memory_;
}

void CommandDevice::SetMemory(DeviceMemory memory) {
  std::lock_guard lock(mutex_);
  memory_ = std::move(memory);
}

void CommandDevice::SetReceiver(bool receiver) {
  std::lock_guard lock(mutex_);
  receiver_ = receiver;
}

void CommandDevice::SetLinked(bool linked) {
  std::lock_guard lock(mutex_);
  linked_ = linked;
}

void CommandDevice::HandleOther(std::size_t, const Report&) {}

void CommandDevice::HandleOutput(std::size_t index, const Report& report) {
  if (index != commandInterface_ || report.size() < kFrame || report[0] != 4) {
    HandleOther(index, report);
    return;
  }
  ++framesReceived_;
  if (faults_.unplugAtFrame > 0 &&
      framesReceived_ == static_cast<std::size_t>(faults_.unplugAtFrame)) {
    PullPlug();
    return;
  }
  if (faults_.noAnswer) {
    return;
  }
  Report answer(kFrame, 0);
  std::copy_n(report.begin(), 7, answer.begin());
  answer[1] = 0;
  answer[2] = 0;
  const std::uint8_t command = report[3];
  const std::uint8_t length = report[4];
  const auto offset = static_cast<std::uint16_t>(report[5] | (report[6] << 8));
  if (receiver_ && !linked_ && command != 0xAA) {
    answer[3] = 0xAA;
  } else {
    answer[7] = Execute(command, length, offset, report.data() + 8, answer.data() + 8);
  }
  if (faults_.answerCommand >= 0) {
    answer[3] = static_cast<std::uint8_t>(faults_.answerCommand);
  }
  if (faults_.receiverNoDevice) {
    answer[3] = 0xAA;
  }
  if (faults_.status >= 0) {
    answer[7] = static_cast<std::uint8_t>(faults_.status);
  }
  Answer(index, std::move(answer));
}

std::uint8_t CommandDevice::Execute(std::uint8_t command, std::uint8_t length, std::uint16_t offset,
                                    const std::uint8_t* data, std::uint8_t* answerData) {
  const bool framed = length <= kData;
  switch (command) {
  case 0x01:
    ++memory_.begins;
    return kOk;
  case 0x02:
    ++memory_.ends;
    return kOk;
  case 0x03:
    return framed ? ReadArea(memory_.info, offset, length, answerData) : kError;
  case 0x05:
    return framed ? ReadArea(memory_.settings, offset, length, answerData) : kError;
  case 0x06:
    return framed ? WriteArea(memory_.settings, offset, length, data) : kError;
  case 0x07:
    return framed ? ReadArea(memory_.keymap, offset, length, answerData) : kError;
  case 0x09:
    return framed ? WriteArea(memory_.keymap, offset, length, data) : kError;
  case 0x0B:
    return framed ? WriteArea(memory_.keyMask, offset, length, data) : kError;
  case 0x12:
    return framed ? WriteArea(memory_.leds, offset, length, data) : kError;
  case 0x15:
    return framed ? WriteArea(memory_.macros, offset, length, data) : kError;
  case 0x17:
    return framed ? WriteArea(memory_.recoil, offset, length, data) : kError;
  case 0x1A:
    return framed ? ReadArea(memory_.status, offset, length, answerData) : kError;
  case 0x1B:
    return framed ? ReadArea(memory_.keyExtra, offset, length, answerData) : kError;
  case 0x1C:
    ++memory_.lightControls;
    return kOk;
  case 0xAA:
    answerData[0] = linked_ ? 0xFF : 0x00;
    return kOk;
  default:
    return kError;
  }
}

} // namespace quorvex::devsim
