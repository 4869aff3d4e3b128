#include "platform/Paths.h"
#include "support/TestSupport.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace quorvex::platform;
using quorvex::test::TempDir;

namespace {

class ScopedEnv {
public:
  ScopedEnv(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) {
      old_ = old;
      had_ = true;
    }
    if (value != nullptr) {
      ::setenv(name, value, 1);
    } else {
      ::unsetenv(name);
    }
  }
  ~ScopedEnv() {
    if (had_) {
      ::setenv(name_, old_.c_str(), 1);
    } else {
      ::unsetenv(name_);
    }
  }

private:
  const char* name_;
  std::string old_;
  bool had_ = false;
};

} // namespace

TEST(Paths, XdgFoldersFollowTheEnvironmentAndIgnoreRelativeValues) {
  ScopedEnv home("HOME", "/home/tester");
  {
    ScopedEnv data("XDG_DATA_HOME", "/x/data/");
    ScopedEnv config("XDG_CONFIG_HOME", "/x/config");
    EXPECT_EQ(UserDataRoot(), "/x/data/TORVA QX-418W Device");
    EXPECT_EQ(UserConfigRoot(), "/x/config/TORVA QX-418W Device");
  }
  ScopedEnv data("XDG_DATA_HOME", "relative/data");
  ScopedEnv config("XDG_CONFIG_HOME", nullptr);
  EXPECT_EQ(UserDataRoot(), "/home/tester/.local/share/TORVA QX-418W Device");
  EXPECT_EQ(UserConfigRoot(), "/home/tester/.config/TORVA QX-418W Device");
}

TEST(Paths, EnsureFolderCreatesEveryLevelPrivately) {
  TempDir dir;
  const std::string deep = dir.path() + "/a/b c/QX418W_Keyboard";
  ASSERT_TRUE(EnsureFolder(deep));
  ASSERT_TRUE(EnsureFolder(deep)); // already there
  struct stat st {};
  ASSERT_EQ(::stat(deep.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0700u);
  quorvex::test::WriteTextFile(dir.File("file"), "x");
  EXPECT_FALSE(EnsureFolder(dir.File("file") + "/below"));
}

TEST(Paths, SafeFileNames) {
  struct Case {
    std::string_view name;
    bool safe;
  };
  const Case cases[] = {
      {"2026_12_11_03_04_05_006", true},
      {"Ripple Wave", true},
      {"彩虹", true},
      {"", false},
      {".", false},
      {"..", false},
      {"../../etc/passwd", false},
      {"/etc/passwd", false},
      {"a/b", false},
      {"a\\b", false},
      {"bad\nname", false},
      {std::string_view("nul\0x", 5), false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(IsSafeFileName(c.name), c.safe) << c.name;
  }
  EXPECT_FALSE(IsSafeFileName(std::string(201, 'a')));
}
