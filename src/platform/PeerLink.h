#pragma once

// IPeerLink: the application's side of the messages it exchanges with cooperating
// programs (lighting tools, the WorkTool diagnostics window, game integrations).
//
// Incoming messages arrive by name and are posted to the main window as the number
// ui::RegisterWindowMessage gives that name; this interface carries what goes out.
// The desktop front end provides it over the session bus; headless builds and tests
// install a recorder or none (callers then skip the step).
//
// UI thread only.

#include <cstdint>
#include <span>
#include <string_view>

namespace quorvex::platform {

class IPeerLink {
public:
  virtual ~IPeerLink() = default;
  // Announces `message` with its two parameters to every cooperating program.
  virtual void Broadcast(std::string_view message, std::int64_t wParam, std::int64_t lParam) = 0;
  // Hands a data block of `kind` to the program known as `target` ("WorkTool").
  // False when no such program is reachable.
  virtual bool SendCopyData(std::string_view target, std::uint32_t kind,
                            std::span<const std::uint8_t> data) = 0;
};

} // namespace quorvex::platform
