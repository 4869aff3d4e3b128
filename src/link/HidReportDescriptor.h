#pragma once

// Our own HID report-descriptor parser. It turns a descriptor into top-level
// collections with their report byte lengths and their capabilities, split the way the
// Windows HID parser splits them (one capability per usage or usage range of a main
// item), and extracts buttons and values from received reports.
//
// Every input is untrusted: a malformed descriptor is refused as a whole, and no
// extraction reads past the report it is given.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace quorvex::link {

enum class HidReportType : std::uint8_t { Input = 0, Output = 1, Feature = 2 };
inline constexpr int kHidReportTypeCount = 3;

// Upper bounds that keep a hostile descriptor from costing memory or time.
inline constexpr std::size_t kHidMaxDescriptorBytes = 4096;
inline constexpr std::uint32_t kHidMaxReportBytes = 4096; // without the report-ID byte
inline constexpr std::uint32_t kHidMaxReportSizeBits = 256;
inline constexpr std::size_t kHidMaxCapabilities = 1024;

// One capability: one usage (or one usage range) of one main item.
struct HidCapability {
  HidReportType type = HidReportType::Input;
  std::uint8_t reportId = 0;
  bool isButton = false; // one-bit fields or an array item
  bool isArray = false;
  bool isRange = false;
  bool isAbsolute = true;
  std::uint16_t usagePage = 0;
  std::uint16_t usageMin = 0; // equal to usageMax when not a range
  std::uint16_t usageMax = 0;
  // The fields this capability covers, relative to the first bit after the report-ID
  // byte.
  std::uint32_t bitOffset = 0;
  std::uint32_t bitSize = 0;
  std::uint32_t count = 0;
  std::int32_t logicalMin = 0;
  std::int32_t logicalMax = 0;
  std::int32_t physicalMin = 0;
  std::int32_t physicalMax = 0;
  // For array items: the usage this capability's first usage has in the item's whole
  // usage list (an array value v selects list entry v - logicalMin).
  std::uint32_t arrayIndexBase = 0;
};

struct HidTopLevelCollection {
  std::uint16_t usagePage = 0;
  std::uint16_t usage = 0;
  // Windows convention: the longest report of that type in the collection, counting
  // the report-ID byte (present or not); 0 when the collection has none.
  std::uint16_t reportLength[kHidReportTypeCount] = {0, 0, 0};
  std::vector<HidCapability> capabilities; // descriptor order
  std::vector<std::uint8_t> reportIds;     // report IDs used in the collection

  std::uint16_t InputReportLength() const { return reportLength[0]; }
  std::uint16_t OutputReportLength() const { return reportLength[1]; }
  std::uint16_t FeatureReportLength() const { return reportLength[2]; }
  std::size_t ButtonCapCount(HidReportType type) const;
  std::size_t ValueCapCount(HidReportType type) const;
  bool HasReportId(std::uint8_t id) const;
  // HidP_MaxUsageListLength: the most usages of that page a report of that type can hold.
  std::uint32_t MaxUsageListLength(HidReportType type, std::uint16_t page) const;
};

struct HidReportDescriptor {
  bool usesReportIds = false;
  std::vector<HidTopLevelCollection> collections;
};

// Parses `size` bytes. Returns false (and a reason in `error` when given) for any
// malformed descriptor; `out` is then empty.
bool ParseReportDescriptor(const std::uint8_t* data, std::size_t size, HidReportDescriptor& out,
                           std::string* error = nullptr);

// The extraction functions take a report as Windows hands it over: byte 0 is the report
// ID (0 when the descriptor declares none) and the fields start at byte 1.
//
// Status codes of the extraction functions, named after the HID parser's.
enum class HidStatus {
  Success,
  UsageNotFound,   // no capability of that usage in a report with this ID
  IncompatibleId,  // the report's ID is not this capability's
  BufferTooSmall,  // the usage list cannot hold every usage set in the report
  ReportTooShort,  // the report is shorter than the field positions it would need
  ValueOutOfRange, // the value cannot be returned (wider than 32 bits, or no scaling)
};

// HidP_GetUsages: the usages of one button capability's page that are set in `report`
// (report ID byte first). Appends at most `maxUsages`.
HidStatus GetButtonUsages(const HidTopLevelCollection& collection, HidReportType type,
                          std::uint16_t usagePage, const std::uint8_t* report, std::size_t length,
                          std::vector<std::uint16_t>& usages, std::size_t maxUsages);

// HidP_GetUsageValue: the raw (unsigned) value of a usage; for a value array, its
// first element.
HidStatus GetUsageValue(const HidTopLevelCollection& collection, HidReportType type,
                        std::uint16_t usagePage, std::uint16_t usage, const std::uint8_t* report,
                        std::size_t length, std::uint32_t& value);

// HidP_GetScaledUsageValue: the value sign-extended by the logical range, mapped onto
// the physical range when one is declared.
HidStatus GetScaledUsageValue(const HidTopLevelCollection& collection, HidReportType type,
                              std::uint16_t usagePage, std::uint16_t usage,
                              const std::uint8_t* report, std::size_t length, std::int32_t& value);

// Reads `bitSize` (1..32) bits at `bitOffset` of `data`, little-endian as HID packs them.
// Returns false when the field does not lie within `length` bytes.
bool ExtractBits(const std::uint8_t* data, std::size_t length, std::uint64_t bitOffset,
                 std::uint32_t bitSize, std::uint32_t& value);

} // namespace quorvex::link
