#include "platform/Paths.h"

#include <cerrno>
#include <cstdlib>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#ifndef QUORVEX_INSTALL_DATA_DIR
#define QUORVEX_INSTALL_DATA_DIR "/usr/local/share/quorvex"
#endif
#ifndef QUORVEX_SOURCE_DATA_DIR
#define QUORVEX_SOURCE_DATA_DIR "data"
#endif

namespace quorvex::platform {
namespace {

std::string Env(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? std::string(value) : std::string();
}

std::string HomeDir() {
  std::string home = Env("HOME");
  if (!home.empty()) {
    return home;
  }
  if (const passwd* pw = ::getpwuid(::getuid()); pw != nullptr && pw->pw_dir != nullptr) {
    return pw->pw_dir;
  }
  return "/tmp";
}

// XDG says relative values are invalid and must be ignored.
std::string XdgBase(const char* variable, const char* fallbackUnderHome) {
  std::string base = Env(variable);
  if (base.empty() || base.front() != '/') {
    base = HomeDir() + fallbackUnderHome;
  }
  while (base.size() > 1 && base.back() == '/') {
    base.pop_back();
  }
  return base;
}

bool IsFolder(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

} // namespace

std::string UserDataRoot() {
  return XdgBase("XDG_DATA_HOME", "/.local/share") + "/" + std::string(kInstanceName);
}

std::string UserConfigRoot() {
  return XdgBase("XDG_CONFIG_HOME", "/.config") + "/" + std::string(kInstanceName);
}

std::string RuntimeDir() {
  std::string dir = Env("XDG_RUNTIME_DIR");
  if (!dir.empty() && dir.front() == '/' && IsFolder(dir)) {
    return dir;
  }
  dir = "/tmp/quorvex-" + std::to_string(::getuid());
  EnsureFolder(dir);
  return dir;
}

std::string ShippedDataDir() {
  std::string dir = Env("QUORVEX_DATA_DIR");
  if (!dir.empty()) {
    return dir;
  }
  if (IsFolder(QUORVEX_INSTALL_DATA_DIR "/DefaultData")) {
    return QUORVEX_INSTALL_DATA_DIR;
  }
  return QUORVEX_SOURCE_DATA_DIR;
}

bool EnsureFolder(const std::string& path) {
  if (path.empty()) {
    return false;
  }
  std::string partial;
  partial.reserve(path.size());
  size_t start = 0;
  while (start <= path.size()) {
    size_t slash = path.find('/', start);
    if (slash == std::string::npos) {
      slash = path.size();
    }
    partial = path.substr(0, slash);
    if (!partial.empty() && !IsFolder(partial)) {
      if (::mkdir(partial.c_str(), 0700) != 0 && errno != EEXIST) {
        return false;
      }
    }
    start = slash + 1;
  }
  return IsFolder(path);
}

bool IsSafeFileName(std::string_view name) {
  if (name.empty() || name.size() > 200 || name == "." || name == "..") {
    return false;
  }
  if (name.find("..") != std::string_view::npos) {
    return false;
  }
  for (const char c : name) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '/' || c == '\\' || byte < 0x20 || byte == 0x7F) {
      return false;
    }
  }
  return true;
}

} // namespace quorvex::platform
