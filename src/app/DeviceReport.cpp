#include "app/DeviceReport.h"

#include "app/DeviceCatalog.h"

namespace quorvex::app {
namespace {

void PutU32(std::array<std::uint8_t, kDeviceReportBytes>& block, std::size_t at,
            std::uint32_t value) {
  for (std::size_t i = 0; i < 4; ++i) {
    block[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
  }
}

constexpr std::array<std::uint8_t, 4> kIdentification = {2, 3, 0, 2};

} // namespace

std::array<std::uint8_t, kDeviceReportBytes> BuildDeviceReport() {
  std::array<std::uint8_t, kDeviceReportBytes> block{};
  for (std::size_t i = 0; i < kIdentification.size(); ++i) {
    PutU32(block, 4 * i, kIdentification[i]);
  }
  const auto& types = DeviceTypeTable();
  PutU32(block, 16, static_cast<std::uint32_t>(types.size()));
  for (std::size_t r = 0; r < types.size(); ++r) {
    PutU32(block, 20 + 12 * r, types[r].vendorId);
    PutU32(block, 24 + 12 * r, types[r].productId);
    PutU32(block, 28 + 12 * r, types[r].kind);
  }
  return block;
}

} // namespace quorvex::app
