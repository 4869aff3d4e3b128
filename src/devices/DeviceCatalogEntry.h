#pragma once

// One row of the supported-device catalogue: which HID interface it is and how the
// application serves it. The catalogue tables themselves live with the application
// shell; the main window's slot table and every device page hold copies of rows.

#include <cstdint>
#include <string>

namespace quorvex::devices {

enum DeviceKind : std::uint16_t {
  KIND_KEYBOARD = 1,
  KIND_MOUSE = 2,
  KIND_MOUSEPAD = 3,
  KIND_MOUSE_RECEIVER = 6,
  KIND_HEADSET = 7,
  KIND_KEYBOARD_RECEIVER = 9,
};

enum DeviceRole : std::uint16_t {
  ROLE_PRIMARY = 0,      // carries the command channel
  ROLE_SECONDARY = 0xFF, // another collection of the same device, read by the sync worker
};

struct DeviceCatalogEntry {
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

  bool IsFree() const { return connected == 0 && path.empty(); }
};

} // namespace quorvex::devices
