#pragma once

// The firmware side of the 64-byte command frame, over a memory model: device
// information block, key matrix, extra key bytes, settings memory, macro memory with
// its capacity, recoil memory, LED stream buffer, key mask and status block. Answers
// echo bytes 0 to 6 of the request and carry the status in byte 7 (0 success, 0xFF an
// error such as an access beyond a memory area). In receiver mode the device may be
// asleep: then every command but the link query is answered with 0xAA in byte 3.

#include "devsim/EmulatedDevice.h"

#include <array>

namespace quorvex::devsim {

struct DeviceMemory {
  std::array<std::uint8_t, 34> info{};
  std::vector<std::uint8_t> keymap = std::vector<std::uint8_t>(512, 0);
  std::vector<std::uint8_t> keyExtra = std::vector<std::uint8_t>(170, 0);
  std::vector<std::uint8_t> settings = std::vector<std::uint8_t>(512, 0);
  std::vector<std::uint8_t> macros; // sized by info byte 18 * 128
  std::vector<std::uint8_t> recoil = std::vector<std::uint8_t>(4096, 0);
  std::vector<std::uint8_t> leds = std::vector<std::uint8_t>(512, 0);
  std::vector<std::uint8_t> keyMask = std::vector<std::uint8_t>(512, 0);
  std::vector<std::uint8_t> status = std::vector<std::uint8_t>(56, 0);
  int begins = 0;
  int ends = 0;
  int lightControls = 0;
};

class CommandDevice : public EmulatedDevice {
public:
  CommandDevice(std::vector<EmulatedInterface> interfaces, std::size_t commandInterface,
                DeviceMemory memory);

  DeviceMemory Memory() const;
  void SetMemory(DeviceMemory memory);
  // A receiver answers for a device that may be out of reach.
  void SetReceiver(bool receiver);
  void SetLinked(bool linked);
  std::size_t commandInterface() const { return commandInterface_; }

protected:
  void HandleOutput(std::size_t index, const Report& report) override;
  // Reports of other IDs or interfaces; ignored unless a device overrides it.
  virtual void HandleOther(std::size_t index, const Report& report);

private:
  std::uint8_t Execute(std::uint8_t command, std::uint8_t length, std::uint16_t offset,
                       const std::uint8_t* data, std::uint8_t* answerData);

  std::size_t commandInterface_;
  DeviceMemory memory_;
  bool receiver_ = false;
  bool linked_ = true;
};

} // namespace quorvex::devsim
