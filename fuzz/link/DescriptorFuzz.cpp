// Report descriptors from devices are outside data: any byte string must parse or be
// refused without reading out of bounds, and what parses must be self-consistent.

#include "link/HidReportDescriptor.h"

#include <cstdint>
#include <cstdlib>

using namespace quorvex::link;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  HidReportDescriptor parsed;
  if (!ParseReportDescriptor(data, size, parsed)) {
    return 0;
  }
  for (const auto& collection : parsed.collections) {
    for (const auto& cap : collection.capabilities) {
      // Every field lies inside its report as the lengths describe it.
      const std::uint64_t end = cap.bitOffset + static_cast<std::uint64_t>(cap.bitSize) * cap.count;
      const std::uint16_t length = collection.reportLength[static_cast<int>(cap.type)];
      if (length == 0 || end > static_cast<std::uint64_t>(length - 1) * 8 ||
          cap.usageMin > cap.usageMax) {
        std::abort();
      }
    }
  }
  return 0;
}
