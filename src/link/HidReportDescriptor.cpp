#include "link/HidReportDescriptor.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <memory>

namespace quorvex::link {
namespace {

constexpr std::size_t kMaxPushDepth = 16;
constexpr std::size_t kMaxCollectionDepth = 32;
constexpr std::size_t kMaxLocalUsages = 1024;
constexpr std::size_t kMaxTopLevelCollections = 255;

struct GlobalState {
  std::uint16_t usagePage = 0;
  std::int32_t logicalMin = 0;
  std::int32_t logicalMax = 0;
  std::int32_t physicalMin = 0;
  std::int32_t physicalMax = 0;
  std::uint32_t reportSize = 0;
  std::uint32_t reportCount = 0;
  std::uint8_t reportId = 0;
};

struct LocalUsage {
  std::uint32_t min = 0; // low 16 bits: usage; high 16 bits: page when `extended`
  std::uint32_t max = 0;
  bool extended = false;
  bool isRange = false;
};

struct LocalState {
  std::vector<LocalUsage> usages;
  bool haveMin = false;
  bool haveMinExtended = false;
  std::uint32_t pendingMin = 0;

  void Clear() {
    usages.clear();
    haveMin = false;
    haveMinExtended = false;
    pendingMin = 0;
  }
};

// Report bit counts of one top-level collection: [type][report id].
using ReportBits = std::array<std::array<std::uint64_t, 256>, kHidReportTypeCount>;

std::uint32_t Unsigned(const std::uint8_t* p, unsigned size) {
  std::uint32_t v = 0;
  for (unsigned i = 0; i < size; ++i) {
    v |= static_cast<std::uint32_t>(p[i]) << (8 * i);
  }
  return v;
}

std::int32_t Signed(const std::uint8_t* p, unsigned size) {
  const std::uint32_t v = Unsigned(p, size);
  switch (size) {
  case 1:
    return static_cast<std::int8_t>(v);
  case 2:
    return static_cast<std::int16_t>(v);
  case 4:
    return static_cast<std::int32_t>(v);
  default:
    return 0;
  }
}

class Parser {
public:
  bool Run(const std::uint8_t* data, std::size_t size, HidReportDescriptor& out);
  std::string error;

private:
  bool Fail(const char* why) {
    error = why;
    return false;
  }
  bool MainItem(unsigned tag, std::uint32_t value);
  bool DataItem(HidReportType type, std::uint32_t flags);
  std::uint16_t PageOf(std::uint32_t usage, bool extended) const {
    return extended ? static_cast<std::uint16_t>(usage >> 16) : global_.usagePage;
  }

  GlobalState global_;
  std::vector<GlobalState> stack_;
  LocalState local_;
  std::size_t depth_ = 0;
  bool sawZeroIdData_ = false;
  std::size_t capCount_ = 0;
  HidReportDescriptor result_;
  std::vector<std::unique_ptr<ReportBits>> bits_;
  std::array<int, 256> idOwner_{};
};

bool Parser::Run(const std::uint8_t* data, std::size_t size, HidReportDescriptor& out) {
  idOwner_.fill(-1);
  if (data == nullptr || size == 0) {
    return Fail("empty descriptor");
  }
  if (size > kHidMaxDescriptorBytes) {
    return Fail("descriptor too long");
  }
  std::size_t pos = 0;
  while (pos < size) {
    const std::uint8_t prefix = data[pos];
    if (prefix == 0xFE) { // long item: skipped, but its length must fit
      if (pos + 3 > size) {
        return Fail("truncated long item");
      }
      const std::size_t length = data[pos + 1];
      if (pos + 3 + length > size) {
        return Fail("truncated long item");
      }
      pos += 3 + length;
      continue;
    }
    const unsigned sizeCode = prefix & 0x03u;
    const unsigned itemSize = sizeCode == 3 ? 4 : sizeCode;
    const unsigned type = (prefix >> 2) & 0x03u;
    const unsigned tag = prefix >> 4;
    if (pos + 1 + itemSize > size) {
      return Fail("truncated item");
    }
    const std::uint8_t* payload = data + pos + 1;
    const std::uint32_t value = Unsigned(payload, itemSize);
    pos += 1 + itemSize;

    switch (type) {
    case 0:
      if (!MainItem(tag, value)) {
        return false;
      }
      local_.Clear();
      break;
    case 1:
      switch (tag) {
      case 0x0:
        global_.usagePage = static_cast<std::uint16_t>(value);
        break;
      case 0x1:
        global_.logicalMin = Signed(payload, itemSize);
        break;
      case 0x2:
        global_.logicalMax = Signed(payload, itemSize);
        break;
      case 0x3:
        global_.physicalMin = Signed(payload, itemSize);
        break;
      case 0x4:
        global_.physicalMax = Signed(payload, itemSize);
        break;
      case 0x7:
        if (value > kHidMaxReportSizeBits) {
          return Fail("report size above 256 bits");
        }
        global_.reportSize = value;
        break;
      case 0x8:
        if (value == 0 || value > 255) {
          return Fail("report ID outside 1..255");
        }
        global_.reportId = static_cast<std::uint8_t>(value);
        result_.usesReportIds = true;
        break;
      case 0x9:
        if (value > kHidMaxReportBytes * 8) {
          return Fail("report count too large");
        }
        global_.reportCount = value;
        break;
      case 0xA:
        if (stack_.size() >= kMaxPushDepth) {
          return Fail("push nested too deep");
        }
        stack_.push_back(global_);
        break;
      case 0xB:
        if (stack_.empty()) {
          return Fail("pop without push");
        }
        global_ = stack_.back();
        stack_.pop_back();
        break;
      default: // unit, unit exponent and reserved tags carry nothing we use
        break;
      }
      break;
    case 2: {
      const bool extended = itemSize == 4;
      switch (tag) {
      case 0x0:
        if (local_.usages.size() >= kMaxLocalUsages) {
          return Fail("too many usages");
        }
        local_.usages.push_back({value, value, extended, false});
        break;
      case 0x1:
        local_.haveMin = true;
        local_.haveMinExtended = extended;
        local_.pendingMin = value;
        break;
      case 0x2: {
        if (!local_.haveMin) {
          return Fail("usage maximum without minimum");
        }
        if (local_.usages.size() >= kMaxLocalUsages) {
          return Fail("too many usages");
        }
        LocalUsage range{local_.pendingMin, value, local_.haveMinExtended || extended, true};
        if (range.extended && !local_.haveMinExtended) {
          range.min |= value & 0xFFFF0000u;
        }
        if (range.extended && !extended) {
          range.max |= range.min & 0xFFFF0000u;
        }
        if ((range.min & 0xFFFFu) > (range.max & 0xFFFFu) ||
            (range.extended && (range.min >> 16) != (range.max >> 16))) {
          return Fail("usage range inverted or across pages");
        }
        local_.usages.push_back(range);
        local_.haveMin = false;
        break;
      }
      default: // designators, strings, delimiters: not used
        break;
      }
      break;
    }
    default:
      return Fail("reserved item type");
    }
  }
  if (depth_ != 0) {
    return Fail("collection not closed");
  }
  if (result_.usesReportIds && sawZeroIdData_) {
    return Fail("data item without report ID in a descriptor with report IDs");
  }
  if (result_.collections.empty()) {
    return Fail("no top-level collection");
  }
  for (std::size_t c = 0; c < result_.collections.size(); ++c) {
    auto& collection = result_.collections[c];
    for (int t = 0; t < kHidReportTypeCount; ++t) {
      std::uint64_t longest = 0;
      bool any = false;
      for (int id = 0; id < 256; ++id) {
        const std::uint64_t bits = (*bits_[c])[t][id];
        if (bits > 0) {
          any = true;
          longest = std::max(longest, bits);
        }
      }
      collection.reportLength[t] = any ? static_cast<std::uint16_t>((longest + 7) / 8 + 1) : 0;
    }
  }
  out = std::move(result_);
  return true;
}

bool Parser::MainItem(unsigned tag, std::uint32_t value) {
  switch (tag) {
  case 0x8:
    return DataItem(HidReportType::Input, value);
  case 0x9:
    return DataItem(HidReportType::Output, value);
  case 0xB:
    return DataItem(HidReportType::Feature, value);
  case 0xA: // collection
    if (depth_ >= kMaxCollectionDepth) {
      return Fail("collections nested too deep");
    }
    if (depth_ == 0) {
      if (result_.collections.size() >= kMaxTopLevelCollections) {
        return Fail("too many top-level collections");
      }
      HidTopLevelCollection collection;
      if (!local_.usages.empty()) {
        const LocalUsage& u = local_.usages.front();
        collection.usagePage = PageOf(u.min, u.extended);
        collection.usage = static_cast<std::uint16_t>(u.min);
      } else {
        collection.usagePage = global_.usagePage;
      }
      result_.collections.push_back(std::move(collection));
      bits_.push_back(std::make_unique<ReportBits>());
      for (auto& perType : *bits_.back()) {
        perType.fill(0);
      }
    }
    ++depth_;
    return true;
  case 0xC:
    if (depth_ == 0) {
      return Fail("end collection without collection");
    }
    --depth_;
    return true;
  default:
    return Fail("unknown main item");
  }
}

bool Parser::DataItem(HidReportType type, std::uint32_t flags) {
  if (depth_ == 0) {
    return true; // outside every top-level collection: belongs to no interface path
  }
  const std::uint32_t size = global_.reportSize;
  const std::uint32_t count = global_.reportCount;
  if (count == 0) {
    return true;
  }
  if (size == 0) {
    return Fail("zero-bit field");
  }
  const std::uint8_t id = global_.reportId;
  if (id == 0) {
    sawZeroIdData_ = true;
  }
  const int owner = static_cast<int>(result_.collections.size()) - 1;
  if (idOwner_[id] == -1) {
    idOwner_[id] = owner;
  } else if (idOwner_[id] != owner) {
    return Fail("report ID shared by two top-level collections");
  }
  auto& collection = result_.collections.back();
  std::uint64_t& reportBits = (*bits_.back())[static_cast<int>(type)][id];
  const std::uint64_t offset = reportBits;
  reportBits += static_cast<std::uint64_t>(size) * count;
  if (reportBits > static_cast<std::uint64_t>(kHidMaxReportBytes) * 8) {
    return Fail("report too long");
  }
  if (std::find(collection.reportIds.begin(), collection.reportIds.end(), id) ==
      collection.reportIds.end()) {
    collection.reportIds.push_back(id);
  }

  const bool constant = (flags & 0x01u) != 0;
  const bool variable = (flags & 0x02u) != 0;
  if (constant && local_.usages.empty()) {
    return true; // padding
  }

  HidCapability base;
  base.type = type;
  base.reportId = id;
  base.isArray = !variable;
  base.isButton = !variable || size == 1;
  base.isAbsolute = (flags & 0x04u) == 0;
  base.bitSize = size;
  base.logicalMin = global_.logicalMin;
  base.logicalMax = global_.logicalMax;
  base.physicalMin = global_.physicalMin;
  base.physicalMax = global_.physicalMax;
  base.bitOffset = static_cast<std::uint32_t>(offset);

  std::vector<LocalUsage> usages = local_.usages;
  if (usages.empty()) {
    usages.push_back({0, 0, false, false});
  }
  std::vector<HidCapability> made;
  if (!variable) {
    // An array: every usage entry is one capability over the same fields.
    std::uint32_t index = 0;
    for (const LocalUsage& u : usages) {
      HidCapability cap = base;
      cap.usagePage = PageOf(u.min, u.extended);
      cap.usageMin = static_cast<std::uint16_t>(u.min);
      cap.usageMax = static_cast<std::uint16_t>(u.max);
      cap.isRange = u.isRange;
      cap.count = count;
      cap.arrayIndexBase = index;
      index += static_cast<std::uint32_t>(cap.usageMax - cap.usageMin) + 1;
      made.push_back(cap);
    }
  } else {
    // Variable fields take the usages in order; a range takes one field per usage; the
    // last usage covers any fields left over; usages beyond the fields are dropped.
    std::uint32_t used = 0;
    for (const LocalUsage& u : usages) {
      if (used >= count) {
        break;
      }
      HidCapability cap = base;
      cap.usagePage = PageOf(u.min, u.extended);
      cap.usageMin = static_cast<std::uint16_t>(u.min);
      cap.isRange = u.isRange;
      const std::uint32_t span = (u.max & 0xFFFFu) - (u.min & 0xFFFFu) + 1;
      const std::uint32_t take = std::min(span, count - used);
      cap.usageMax = static_cast<std::uint16_t>(cap.usageMin + take - 1);
      cap.count = take;
      cap.bitOffset = static_cast<std::uint32_t>(offset + static_cast<std::uint64_t>(used) * size);
      used += take;
      made.push_back(cap);
    }
    if (used < count) {
      made.back().count += count - used;
    }
  }
  capCount_ += made.size();
  if (capCount_ > kHidMaxCapabilities) {
    return Fail("too many capabilities");
  }
  collection.capabilities.insert(collection.capabilities.end(), made.begin(), made.end());
  return true;
}

const HidCapability* FindValueCap(const HidTopLevelCollection& collection, HidReportType type,
                                  std::uint16_t usagePage, std::uint16_t usage, std::uint8_t id,
                                  bool& idMismatch) {
  idMismatch = false;
  for (const HidCapability& cap : collection.capabilities) {
    if (cap.type != type || cap.isButton || cap.usagePage != usagePage || usage < cap.usageMin ||
        usage > cap.usageMax) {
      continue;
    }
    if (cap.reportId != id) {
      idMismatch = true;
      continue;
    }
    return &cap;
  }
  return nullptr;
}

} // namespace

std::size_t HidTopLevelCollection::ButtonCapCount(HidReportType type) const {
  return static_cast<std::size_t>(
      std::count_if(capabilities.begin(), capabilities.end(),
                    [type](const HidCapability& c) { return c.type == type && c.isButton; }));
}

std::size_t HidTopLevelCollection::ValueCapCount(HidReportType type) const {
  return static_cast<std::size_t>(
      std::count_if(capabilities.begin(), capabilities.end(),
                    [type](const HidCapability& c) { return c.type == type && !c.isButton; }));
}

bool HidTopLevelCollection::HasReportId(std::uint8_t id) const {
  return std::find(reportIds.begin(), reportIds.end(), id) != reportIds.end();
}

std::uint32_t HidTopLevelCollection::MaxUsageListLength(HidReportType type,
                                                        std::uint16_t page) const {
  std::uint32_t total = 0;
  for (const HidCapability& cap : capabilities) {
    if (cap.type == type && cap.isButton && cap.usagePage == page) {
      total += cap.count;
    }
  }
  return total;
}

bool ParseReportDescriptor(const std::uint8_t* data, std::size_t size, HidReportDescriptor& out,
                           std::string* error) {
  out = HidReportDescriptor{};
  Parser parser;
  if (!parser.Run(data, size, out)) {
    out = HidReportDescriptor{};
    if (error != nullptr) {
      *error = parser.error;
    }
    return false;
  }
  return true;
}

bool ExtractBits(const std::uint8_t* data, std::size_t length, std::uint64_t bitOffset,
                 std::uint32_t bitSize, std::uint32_t& value) {
  value = 0;
  if (data == nullptr || bitSize == 0 || bitSize > 32) {
    return false;
  }
  const std::uint64_t end = bitOffset + bitSize;
  if (end > static_cast<std::uint64_t>(length) * 8) {
    return false;
  }
  std::uint64_t result = 0;
  for (std::uint32_t i = 0; i < bitSize; ++i) {
    const std::uint64_t bit = bitOffset + i;
    if ((data[bit / 8] >> (bit % 8)) & 1u) {
      result |= std::uint64_t{1} << i;
    }
  }
  value = static_cast<std::uint32_t>(result);
  return true;
}

HidStatus GetButtonUsages(const HidTopLevelCollection& collection, HidReportType type,
                          std::uint16_t usagePage, const std::uint8_t* report, std::size_t length,
                          std::vector<std::uint16_t>& usages, std::size_t maxUsages) {
  if (report == nullptr || length == 0) {
    return HidStatus::ReportTooShort;
  }
  const std::uint8_t id = report[0];
  const std::uint8_t* fields = report + 1;
  const std::size_t fieldBytes = length - 1;
  bool found = false;
  bool idMismatch = false;
  for (const HidCapability& cap : collection.capabilities) {
    if (cap.type != type || !cap.isButton || cap.usagePage != usagePage) {
      continue;
    }
    if (cap.reportId != id) {
      idMismatch = true;
      continue;
    }
    found = true;
    for (std::uint32_t i = 0; i < cap.count; ++i) {
      std::uint32_t raw = 0;
      const std::uint64_t at = cap.bitOffset + static_cast<std::uint64_t>(i) * cap.bitSize;
      if (cap.bitSize > 32 || !ExtractBits(fields, fieldBytes, at, cap.bitSize, raw)) {
        return HidStatus::ReportTooShort;
      }
      std::uint32_t usage = 0;
      if (cap.isArray) {
        // Sign-extend by the logical range, then select the entry of this capability.
        std::int64_t v = raw;
        if (cap.logicalMin < 0 && cap.bitSize < 32 && (raw >> (cap.bitSize - 1)) != 0) {
          v = static_cast<std::int64_t>(raw) - (std::int64_t{1} << cap.bitSize);
        }
        if (v < cap.logicalMin || v > cap.logicalMax) {
          continue; // null state: no usage
        }
        const std::int64_t entry =
            v - cap.logicalMin - static_cast<std::int64_t>(cap.arrayIndexBase);
        const std::int64_t span = static_cast<std::int64_t>(cap.usageMax - cap.usageMin) + 1;
        if (entry < 0 || entry >= span) {
          continue;
        }
        usage = cap.usageMin + static_cast<std::uint32_t>(entry);
      } else {
        if (raw == 0) {
          continue;
        }
        usage =
            cap.isRange ? std::min<std::uint32_t>(cap.usageMin + i, cap.usageMax) : cap.usageMin;
      }
      if (usages.size() >= maxUsages) {
        return HidStatus::BufferTooSmall;
      }
      usages.push_back(static_cast<std::uint16_t>(usage));
    }
  }
  if (!found) {
    return idMismatch ? HidStatus::IncompatibleId : HidStatus::UsageNotFound;
  }
  return HidStatus::Success;
}

HidStatus GetUsageValue(const HidTopLevelCollection& collection, HidReportType type,
                        std::uint16_t usagePage, std::uint16_t usage, const std::uint8_t* report,
                        std::size_t length, std::uint32_t& value) {
  value = 0;
  if (report == nullptr || length == 0) {
    return HidStatus::ReportTooShort;
  }
  bool idMismatch = false;
  const HidCapability* cap =
      FindValueCap(collection, type, usagePage, usage, report[0], idMismatch);
  if (cap == nullptr) {
    return idMismatch ? HidStatus::IncompatibleId : HidStatus::UsageNotFound;
  }
  if (cap->bitSize > 32) {
    return HidStatus::ValueOutOfRange;
  }
  const std::uint32_t field = cap->isRange ? static_cast<std::uint32_t>(usage - cap->usageMin) : 0;
  const std::uint64_t at = cap->bitOffset + static_cast<std::uint64_t>(field) * cap->bitSize;
  if (!ExtractBits(report + 1, length - 1, at, cap->bitSize, value)) {
    return HidStatus::ReportTooShort;
  }
  return HidStatus::Success;
}

HidStatus GetScaledUsageValue(const HidTopLevelCollection& collection, HidReportType type,
                              std::uint16_t usagePage, std::uint16_t usage,
                              const std::uint8_t* report, std::size_t length, std::int32_t& value) {
  value = 0;
  std::uint32_t raw = 0;
  const HidStatus status = GetUsageValue(collection, type, usagePage, usage, report, length, raw);
  if (status != HidStatus::Success) {
    return status;
  }
  bool idMismatch = false;
  const HidCapability* cap =
      FindValueCap(collection, type, usagePage, usage, report[0], idMismatch);
  if (cap == nullptr || cap->logicalMin >= cap->logicalMax) {
    return HidStatus::ValueOutOfRange;
  }
  std::int64_t v = raw;
  if (cap->logicalMin < 0 && cap->bitSize < 32 && (raw >> (cap->bitSize - 1)) != 0) {
    v = static_cast<std::int64_t>(raw) - (std::int64_t{1} << cap->bitSize);
  } else if (cap->logicalMin < 0 && cap->bitSize == 32) {
    v = static_cast<std::int32_t>(raw);
  }
  if (v < cap->logicalMin || v > cap->logicalMax) {
    return HidStatus::ValueOutOfRange;
  }
  std::int64_t pmin = cap->physicalMin;
  std::int64_t pmax = cap->physicalMax;
  if (pmin == 0 && pmax == 0) {
    pmin = cap->logicalMin;
    pmax = cap->logicalMax;
  }
  // Both factors can approach 2^32, so the product is taken in floating point.
  const long double ratio =
      static_cast<long double>(v - cap->logicalMin) /
      static_cast<long double>(static_cast<std::int64_t>(cap->logicalMax) - cap->logicalMin);
  const long double scaled = ratio * static_cast<long double>(pmax - pmin) + pmin;
  if (scaled < INT32_MIN || scaled > INT32_MAX) {
    return HidStatus::ValueOutOfRange;
  }
  value = static_cast<std::int32_t>(static_cast<std::int64_t>(scaled));
  return HidStatus::Success;
}

} // namespace quorvex::link
