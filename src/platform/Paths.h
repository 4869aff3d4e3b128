#pragma once

// Where the program keeps and finds its files, following the XDG base directory rules.
//
// All functions read the environment on each call (tests point XDG_* at temporary
// folders); none of them creates anything except EnsureFolder.

#include <string>
#include <string_view>

namespace quorvex::platform {

// The name of the per-user folder under the XDG data and config folders.
inline constexpr std::string_view kInstanceName = "TORVA QX-418W Device";

// $XDG_DATA_HOME (or ~/.local/share) + "/TORVA QX-418W Device". No trailing slash.
std::string UserDataRoot();

// $XDG_CONFIG_HOME (or ~/.config) + "/TORVA QX-418W Device".
std::string UserConfigRoot();

// $XDG_RUNTIME_DIR, or a private folder under /tmp when the session has none.
std::string RuntimeDir();

// The shipped data folder ("DefaultData", "skin", "Font" live in it): $QUORVEX_DATA_DIR
// when set, else the installed share/quorvex when it exists, else the source tree's data/.
std::string ShippedDataDir();

// Creates `path` and every missing level above it (mode 0700 for new levels, as XDG
// asks of per-user folders). True when the folder exists afterwards.
bool EnsureFolder(const std::string& path);

// True when `name` may be used as one file-name component taken from outside data:
// not empty, no '/' or '\\', not "." or "..", no NUL, no control characters, at most
// 200 bytes. Names read from documents (identifiers, "Guid" values) must pass this
// before they become part of a path.
bool IsSafeFileName(std::string_view name);

} // namespace quorvex::platform
