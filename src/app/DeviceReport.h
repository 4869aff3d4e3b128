#pragma once

// The device report a diagnostics tool asks for: 1024 bytes of 32-bit little-endian
// fields, the rest zero.
//
//   0..15        four identification numbers (2, 3, 0, 2)
//   16           number of device-type rows (4)
//   20 + 12 * r  vendor ID, product ID and kind of device-type row r, in table order

#include "app/AppMessages.h"

#include <array>
#include <cstdint>

namespace quorvex::app {

std::array<std::uint8_t, kDeviceReportBytes> BuildDeviceReport();

} // namespace quorvex::app
