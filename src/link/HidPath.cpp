#include "link/HidPath.h"

#include <cctype>
#include <cstdio>

namespace quorvex::link {

std::string MakeHidPath(std::uint16_t vendorId, std::uint16_t productId, int interfaceNumber,
                        int collectionNumber, std::string_view node) {
  char head[64];
  int n = std::snprintf(head, sizeof head, "hid#vid_%04x&pid_%04x", vendorId, productId);
  if (interfaceNumber >= 0) {
    n += std::snprintf(head + n, sizeof head - static_cast<std::size_t>(n), "&mi_%02x",
                       interfaceNumber & 0xFF);
  }
  if (collectionNumber > 0) {
    std::snprintf(head + n, sizeof head - static_cast<std::size_t>(n), "&col%02x",
                  collectionNumber & 0xFF);
  }
  std::string path(head);
  path += '#';
  path += node;
  return path;
}

std::uint16_t ParseHidPathField(std::string_view path, std::string_view marker) {
  if (marker.empty() || path.size() < marker.size()) {
    return 0;
  }
  for (std::size_t at = 0; at + marker.size() <= path.size(); ++at) {
    bool match = true;
    for (std::size_t i = 0; i < marker.size() && match; ++i) {
      match = std::tolower(static_cast<unsigned char>(path[at + i])) ==
              std::tolower(static_cast<unsigned char>(marker[i]));
    }
    if (!match) {
      continue;
    }
    std::uint32_t value = 0;
    for (std::size_t i = at + marker.size(); i < path.size(); ++i) {
      const int c = std::tolower(static_cast<unsigned char>(path[i]));
      int digit = -1;
      if (c >= '0' && c <= '9') {
        digit = c - '0';
      } else if (c >= 'a' && c <= 'f') {
        digit = c - 'a' + 10;
      } else {
        break;
      }
      value = ((value << 4) | static_cast<std::uint32_t>(digit)) & 0xFFFFu;
    }
    return static_cast<std::uint16_t>(value);
  }
  return 0;
}

std::string_view HidPathNode(std::string_view path) {
  const std::size_t hash = path.rfind('#');
  return hash == std::string_view::npos ? path : path.substr(hash + 1);
}

} // namespace quorvex::link
