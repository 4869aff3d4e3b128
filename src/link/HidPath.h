#pragma once

// Interface paths. Every top-level collection of a HID interface gets its own path,
// written so that the catalogue's path parser reads the right numbers:
//   hid#vid_320f&pid_5055&mi_01&col04#/dev/hidraw3
// "&mi_" is left out when the interface number is unknown, "&colNN" when the interface
// has a single top-level collection. The text after the last '#' is the device node.

#include <cstdint>
#include <string>
#include <string_view>

namespace quorvex::link {

// Paths of this length or longer are refused.
inline constexpr std::size_t kMaxHidPathLength = 260;

std::string MakeHidPath(std::uint16_t vendorId, std::uint16_t productId, int interfaceNumber,
                        int collectionNumber, std::string_view node);

// The hexadecimal number after `marker` (searched without regard to case), truncated to
// 16 bits; 0 when the marker or its digits are missing.
std::uint16_t ParseHidPathField(std::string_view path, std::string_view marker);

// The device node part of a path (the whole text when it has no '#').
std::string_view HidPathNode(std::string_view path);

} // namespace quorvex::link
