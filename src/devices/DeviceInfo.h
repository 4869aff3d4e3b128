#pragma once

// The device information block (command 0x03, 34 bytes) and the page-side copy of a
// catalogue row.

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

// The catalogue row a page serves, as the main window hands it over (same fields as
// the catalogue's DeviceCatalogEntry, which lives in a higher layer).
struct CatalogRecord {
  std::uint16_t vendorId = 0;
  std::uint16_t productId = 0;
  std::uint16_t interfaceNo = 0;
  std::uint16_t collectionNo = 0;
  std::uint16_t kind = 0;
  std::uint16_t role = 0;
  std::uint16_t connected = 0;
  std::uint16_t usagePage = 0;
  std::uint16_t usage = 0;
  std::uint16_t hasPartner = 0;
  std::uint16_t partnerIndex = 0;
  std::string path;
};

// The device type of a catalogue kind: receivers serve the family behind them
// (kind 6 a mouse, kind 9 a keyboard); unknown kinds give 0.
constexpr int DeviceTypeForKind(std::uint16_t kind) {
  switch (kind) {
  case 1:
  case 9:
    return kTypeKeyboard;
  case 2:
  case 6:
    return kTypeMouse;
  case 3:
    return kTypeMousePad;
  case 7:
    return kTypeHeadset6533;
  default:
    return 0;
  }
}

} // namespace quorvex::devices
