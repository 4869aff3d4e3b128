#include "support/TestSupport.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace quorvex::test {

TempDir::TempDir() {
  const char* base = std::getenv("TMPDIR");
  std::string templ =
      std::string(base != nullptr && *base != '\0' ? base : "/tmp") + "/quorvex-test-XXXXXX";
  if (::mkdtemp(templ.data()) == nullptr) {
    throw std::runtime_error("mkdtemp failed");
  }
  path_ = templ;
}

TempDir::~TempDir() {
  std::error_code ec;
  std::filesystem::remove_all(path_, ec);
}

std::string SourceDir() {
  const char* env = std::getenv("QUORVEX_SOURCE_DIR");
  if (env != nullptr && *env != '\0') {
    return env;
  }
  return QUORVEX_SOURCE_DIR_DEFAULT;
}

std::string DataDir() {
  return SourceDir() + "/data";
}

std::string SharedDir() {
  const char* env = std::getenv("QUORVEX_SHARED_DIR");
  if (env != nullptr && *env != '\0') {
    return env;
  }
  return SourceDir() + "/../shared";
}

std::string ReadTextFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

void WriteTextFile(const std::string& path, std::string_view text) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(text.data(), static_cast<std::streamsize>(text.size()));
}

} // namespace quorvex::test
