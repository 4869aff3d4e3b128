#pragma once

// The device information block (command 0x03, 34 bytes) and the device type codes.

#include "devices/DeviceCatalogEntry.h"

#include <array>
#include <cstdint>
#include <string>

namespace quorvex::devices {

// Device type codes used by pages, panels and selector items.
enum DeviceType : int {
  kTypeKeyboard = 1,
  kTypeMouse = 2,
  kTypeMousePad = 3, // sub-type 0 hard pad, 1 soft pad
  kTypeHeadset = 4,
  kTypeHub = 5,
  kTypeHeadset6533 = 7,
};

struct DeviceInfo {
  std::array<std::uint8_t, 34> bytes{};

  int MatrixPositions() const { return bytes[5]; }
  int SensorId() const { return bytes[9] | (bytes[10] << 8); }
  int ResolutionStep() const { return bytes[11]; }
  int ResolutionSteps() const { return bytes[12]; }
  int LowestResolution() const { return bytes[14] | (bytes[15] << 8); }
  // In units of 128 bytes.
  int MacroMemoryUnits() const { return bytes[18]; }
};
static_assert(sizeof(DeviceInfo) == 34);

// The device type of a catalogue kind: receivers serve the family behind them
// (kind 6 a mouse, kind 9 a keyboard); unknown kinds give 0.
constexpr int DeviceTypeForKind(std::uint16_t kind) {
  switch (kind) {
  case KIND_KEYBOARD:
  case KIND_KEYBOARD_RECEIVER:
    return kTypeKeyboard;
  case KIND_MOUSE:
  case KIND_MOUSE_RECEIVER:
    return kTypeMouse;
  case KIND_MOUSEPAD:
    return kTypeMousePad;
  case KIND_HEADSET:
    return kTypeHeadset6533;
  default:
    return 0;
  }
}

} // namespace quorvex::devices
