#include "app/DeviceCatalog.h"

#include <cctype>

namespace quorvex::app {
namespace {

constexpr std::string_view kOptionLayout = "XML/CustomControlXML/DeviceOption.xml";
constexpr std::string_view kTabHeader = "tab_header_device";
constexpr std::string_view kPowerContainer = "device_power_switch";

DeviceCatalogEntry Row(std::uint16_t vid, std::uint16_t pid, std::uint16_t mi, std::uint16_t col,
                       std::uint16_t kind, std::uint16_t role, std::uint16_t page,
                       std::uint16_t usage, std::uint16_t partner, std::uint16_t partnerIndex) {
  DeviceCatalogEntry e;
  e.vendorId = vid;
  e.productId = pid;
  e.interfaceNo = mi;
  e.collectionNo = col;
  e.kind = kind;
  e.role = role;
  e.usagePage = page;
  e.usage = usage;
  e.hasPartner = partner;
  e.partnerIndex = partnerIndex;
  return e;
}

bool SameFour(const DeviceCatalogEntry& e, const PathFields& f) {
  return e.vendorId == f.vendorId && e.productId == f.productId &&
         e.collectionNo == f.collectionNo && e.interfaceNo == f.interfaceNo;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') {
    return c - '0';
  }
  c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (c >= 'a' && c <= 'f') {
    return c - 'a' + 10;
  }
  return -1;
}

} // namespace

const std::array<DeviceCatalogEntry, kCatalogRows>& DeviceCatalog() {
  static const std::array<DeviceCatalogEntry, kCatalogRows> rows = {
      Row(0x320F, 0x5055, 1, 4, KIND_KEYBOARD, ROLE_PRIMARY, 0xFF1C, 0x92, 1, 2),
      Row(0x320F, 0x5055, 1, 3, KIND_KEYBOARD, ROLE_SECONDARY, 0x000C, 0x01, 1, 3),
      Row(0, 0, 1, 4, KIND_KEYBOARD_RECEIVER, ROLE_PRIMARY, 0xFF1C, 0x92, 1, 0),
      Row(0, 0, 1, 3, KIND_KEYBOARD_RECEIVER, ROLE_SECONDARY, 0x000C, 0x01, 1, 1),
      Row(0, 0, 1, 4, KIND_MOUSE, ROLE_PRIMARY, 0xFF1C, 0x92, 1, 6),
      Row(0, 0, 1, 3, KIND_MOUSE, ROLE_SECONDARY, 0x000C, 0x01, 1, 7),
      Row(0, 0, 1, 4, KIND_MOUSE_RECEIVER, ROLE_PRIMARY, 0xFF1C, 0x92, 1, 4),
      Row(0, 0, 1, 3, KIND_MOUSE_RECEIVER, ROLE_SECONDARY, 0x000C, 0x01, 1, 5),
      Row(0, 0, 1, 4, KIND_MOUSEPAD, ROLE_PRIMARY, 0xFF1C, 0x92, 0, 0),
      Row(0, 0, 1, 3, KIND_MOUSEPAD, ROLE_SECONDARY, 0x000C, 0x01, 0, 0),
      Row(0x0C76, 0x1630, 3, 0, KIND_HEADSET, ROLE_PRIMARY, 0x000C, 0x01, 0, 0),
  };
  return rows;
}

const std::array<DeviceTypeEntry, kDeviceTypeRows>& DeviceTypeTable() {
  static constexpr std::array<DeviceTypeEntry, kDeviceTypeRows> rows = {{
      {"mouse", kOptionLayout, kTabHeader, kPowerContainer, 1, 0, 0, KIND_MOUSE, 0},
      {"keyboard", kOptionLayout, kTabHeader, kPowerContainer, 0, 0x320F, 0x5055, KIND_KEYBOARD, 0},
      {"MousePad", kOptionLayout, kTabHeader, kPowerContainer, 2, 0, 0, KIND_MOUSEPAD, 0},
      {"HD", kOptionLayout, kTabHeader, kPowerContainer, 3, 0x0C76, 0x1630, KIND_HEADSET, 0},
  }};
  return rows;
}

const std::array<DevicePageEntry, kDeviceTypeRows>& DevicePageTable() {
  static constexpr std::array<DevicePageEntry, kDeviceTypeRows> rows = {{
      {15, 11, 1, -1, "XML/DeviceXml/mousedevice.xml", "vimor_light"},
      {170, 170, 0, -1, "XML/DeviceXml/keyboarddevice.xml", "vimor_light"},
      {15, 0, 0, -1, "XML/DeviceXml/mousepaddevice.xml", "vimor_light"},
      {13, 0, 0, -1, "XML/DeviceXml/hs6533device.xml", "vimor_light"},
  }};
  return rows;
}

std::vector<FirmwareIdentityEntry> FirmwareIdentityTable() {
  return {
      {1, 1, 0, "VIMOR", "PJ20M41B", "MS", "MS", ""},
      {1, 1, 0, "VIMOR", "PJ20M41B", "KB", "KB", ""},
      {2, 1, 0, "VIMOR", "PJ20M41B_1", "R42", "R42", ""},
      {0, 1, 0, "VIMOR", "ALL", "KB", "AP", "V1.0.0.1"},
  };
}

std::uint16_t ParsePathField(std::string_view path, std::string_view marker) {
  if (marker.empty() || path.size() < marker.size()) {
    return 0;
  }
  for (std::size_t at = 0; at + marker.size() <= path.size(); ++at) {
    bool equal = true;
    for (std::size_t i = 0; i < marker.size() && equal; ++i) {
      equal = std::tolower(static_cast<unsigned char>(path[at + i])) ==
              std::tolower(static_cast<unsigned char>(marker[i]));
    }
    if (!equal) {
      continue;
    }
    // Like a "%x" scan: at most the digits that follow; the value keeps its low 16 bits.
    std::uint32_t value = 0;
    for (std::size_t i = at + marker.size(); i < path.size(); ++i) {
      const int digit = HexDigit(path[i]);
      if (digit < 0) {
        break;
      }
      value = (value << 4) | static_cast<std::uint32_t>(digit);
    }
    return static_cast<std::uint16_t>(value & 0xFFFF);
  }
  return 0;
}

PathFields ParseInterfacePath(std::string_view path) {
  return {ParsePathField(path, "vid_"), ParsePathField(path, "pid_"), ParsePathField(path, "&mi_"),
          ParsePathField(path, "&col")};
}

int FindCatalogRow(std::uint16_t vendorId, std::uint16_t productId, std::uint16_t kind,
                   std::uint16_t role) {
  const auto& rows = DeviceCatalog();
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const auto& r = rows[i];
    if (r.vendorId == vendorId && r.productId == productId && r.kind == kind && r.role == role) {
      return static_cast<int>(i);
    }
  }
  return -1;
}

int FindDeviceType(std::uint16_t vendorId, std::uint16_t productId, std::uint16_t kind,
                   std::uint16_t subtype) {
  const auto& rows = DeviceTypeTable();
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const auto& r = rows[i];
    if (r.vendorId == vendorId && r.productId == productId && r.kind == kind &&
        r.subtype == subtype) {
      return static_cast<int>(i);
    }
  }
  return -1;
}

int FindPageTypeForSlot(const std::vector<DeviceCatalogEntry>& slots, std::size_t row) {
  if (row >= slots.size()) {
    return -1;
  }
  const auto& slot = slots[row];
  std::uint16_t kind = slot.kind;
  std::uint16_t vid = slot.vendorId;
  std::uint16_t pid = slot.productId;
  if (kind == KIND_MOUSE_RECEIVER) {
    kind = KIND_MOUSE;
    if (slot.hasPartner == 1 && slot.partnerIndex < slots.size()) {
      vid = slots[slot.partnerIndex].vendorId;
      pid = slots[slot.partnerIndex].productId;
    }
  }
  return FindDeviceType(vid, pid, kind, 0);
}

bool IsInterestingPath(const std::vector<DeviceCatalogEntry>& slots, const PathFields& fields) {
  bool known = false;
  for (const auto& row : DeviceCatalog()) {
    known = known || SameFour(row, fields);
  }
  if (!known) {
    return false;
  }
  for (const auto& slot : slots) {
    if (SameFour(slot, fields) && slot.IsFree()) {
      return true;
    }
  }
  return false;
}

int ClaimSlot(std::vector<DeviceCatalogEntry>& slots, const PathFields& fields,
              std::uint16_t vendorId, std::uint16_t productId, std::uint16_t usagePage,
              std::uint16_t usage, const std::string& path) {
  const PathFields reported{vendorId, productId, fields.interfaceNo, fields.collectionNo};
  auto matches = [&](const DeviceCatalogEntry& e) {
    return SameFour(e, reported) && e.usagePage == usagePage && e.usage == usage;
  };
  bool known = false;
  for (const auto& row : DeviceCatalog()) {
    known = known || matches(row);
  }
  if (!known) {
    return -1;
  }
  // An interface another slot holds already stays with it: rows that share their
  // numbers (the ID-0 families) would otherwise each take the same interface.
  for (const auto& slot : slots) {
    if (!slot.IsFree() && slot.path == path) {
      return -1;
    }
  }
  for (std::size_t i = 0; i < slots.size(); ++i) {
    if (matches(slots[i]) && slots[i].IsFree()) {
      slots[i].connected = 1;
      slots[i].path = path;
      return static_cast<int>(i);
    }
  }
  return -1;
}

std::vector<FirmwareIdentityEntry> BuildUpdateList(const std::vector<int>& releaseOfItem,
                                                   int applicationVersion) {
  auto list = FirmwareIdentityTable();
  for (std::size_t k = 0; k < releaseOfItem.size() && k < list.size(); ++k) {
    list[k].third = releaseOfItem[k] > 0 ? releaseOfItem[k] : 0;
  }
  list.back().third = applicationVersion;
  return list;
}

} // namespace quorvex::app
