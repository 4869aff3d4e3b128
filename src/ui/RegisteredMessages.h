#pragma once

// Window messages known by name: a name registered anywhere in the process maps to one
// number (0xC000 and above, never reused), so a program that only knows the name, such
// as a cooperating process talking over the session bus, reaches the same handler.
//
// Any thread.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quorvex::ui {

inline constexpr std::uint32_t kFirstRegisteredMessage = 0xC000;

// The number of `name` (registered now when new). Names are compared exactly; an empty
// name gets 0.
std::uint32_t RegisterWindowMessage(std::string_view name);
// The number of a name registered before, without registering it.
std::optional<std::uint32_t> FindRegisteredMessage(std::string_view name);
// The name behind a registered number.
std::optional<std::string> RegisteredMessageName(std::uint32_t msg);

} // namespace quorvex::ui
