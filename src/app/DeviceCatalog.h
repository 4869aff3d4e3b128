#pragma once

// The compiled-in knowledge of which HID interfaces the application serves and how
// each device family is shown: the catalogue proper, the device-type table, the
// device-page table and the firmware identity table. All four are constant; the main
// window keeps a runtime copy of the catalogue as its device slot table.

#include "devices/DeviceCatalogEntry.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quorvex::app {

using devices::DeviceCatalogEntry;
using devices::DeviceKind;
using devices::DeviceRole;
using devices::KIND_HEADSET;
using devices::KIND_KEYBOARD;
using devices::KIND_KEYBOARD_RECEIVER;
using devices::KIND_MOUSE;
using devices::KIND_MOUSE_RECEIVER;
using devices::KIND_MOUSEPAD;
using devices::ROLE_PRIMARY;
using devices::ROLE_SECONDARY;

struct DeviceTypeEntry {
  std::string_view typeName;
  std::string_view optionLayout;
  std::string_view tabHeaderControl;
  std::string_view powerContainer;
  int lightConfigIndex;
  std::uint16_t vendorId;
  std::uint16_t productId;
  std::uint16_t kind;
  std::uint16_t subtype;
};

struct DevicePageEntry {
  int ledCount;
  int keyCount;
  int powerIndicator;
  int mouseSetting;
  std::string_view pageLayout;
  std::string_view lightConfigName;
};

struct FirmwareIdentityEntry {
  int first;
  int second;
  int third; // release number once the update list is built; 0 = not offered
  std::string brand;
  std::string project;
  std::string typeCode;
  std::string modelCode;
  std::string version;
};

inline constexpr std::size_t kCatalogRows = 11;
inline constexpr std::size_t kDeviceTypeRows = 4;

// The catalogue rows in their fixed order.
const std::array<DeviceCatalogEntry, kCatalogRows>& DeviceCatalog();
const std::array<DeviceTypeEntry, kDeviceTypeRows>& DeviceTypeTable();
const std::array<DevicePageEntry, kDeviceTypeRows>& DevicePageTable();
std::vector<FirmwareIdentityEntry> FirmwareIdentityTable();

// Reads the hexadecimal number after a marker ("vid_", "pid_", "&mi_", "&col") of a
// device interface path, case-insensitively; 0 when the marker or its digits are missing.
std::uint16_t ParsePathField(std::string_view path, std::string_view marker);

struct PathFields {
  std::uint16_t vendorId;
  std::uint16_t productId;
  std::uint16_t interfaceNo;
  std::uint16_t collectionNo;
};
PathFields ParseInterfacePath(std::string_view path);

// First catalogue row equal in the four fields, or -1.
int FindCatalogRow(std::uint16_t vendorId, std::uint16_t productId, std::uint16_t kind,
                   std::uint16_t role);

// First type row equal in the four key fields, or -1.
int FindDeviceType(std::uint16_t vendorId, std::uint16_t productId, std::uint16_t kind,
                   std::uint16_t subtype);

// The type row of the device in slot `row` of `slots` (the mouse reached through the
// receiver is looked up as a mouse, with its partner's IDs), or -1.
int FindPageTypeForSlot(const std::vector<DeviceCatalogEntry>& slots, std::size_t row);

// Interest test: a catalogue row matches the path's four numbers and a slot with the
// same numbers is free.
bool IsInterestingPath(const std::vector<DeviceCatalogEntry>& slots, const PathFields& fields);

// Claim after the interface was opened: IDs as the driver reports them, the collection's
// usage page and usage. Takes the first matching free slot (connected = 1, path set) and
// returns its row, or -1 (also when another slot holds that path already).
int ClaimSlot(std::vector<DeviceCatalogEntry>& slots, const PathFields& fields,
              std::uint16_t vendorId, std::uint16_t productId, std::uint16_t usagePage,
              std::uint16_t usage, const std::string& path);

// One entry per identity row; entry k gets the release number of selector item k when
// its page has an open channel (releaseOfItem[k] > 0), else 0; the last entry gets the
// application's own version.
std::vector<FirmwareIdentityEntry> BuildUpdateList(const std::vector<int>& releaseOfItem,
                                                   int applicationVersion);

} // namespace quorvex::app
