#pragma once

// Small helpers shared by the test programs.

#include <string>
#include <string_view>

namespace quorvex::test {

// A fresh folder under $TMPDIR, removed with everything in it on destruction.
class TempDir {
public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::string& path() const { return path_; }
  std::string File(std::string_view name) const { return path_ + "/" + std::string(name); }

private:
  std::string path_;
};

// The source tree's root (QUORVEX_SOURCE_DIR when set, else the configured one).
std::string SourceDir();
// The source tree's data/ folder.
std::string DataDir();
// ../shared beside the source tree (QUORVEX_SHARED_DIR when set).
std::string SharedDir();

std::string ReadTextFile(const std::string& path);
void WriteTextFile(const std::string& path, std::string_view text);

} // namespace quorvex::test
