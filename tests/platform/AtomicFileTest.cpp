#include "platform/AtomicFile.h"
#include "support/TestSupport.h"

#include <cerrno>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace quorvex::platform;
using quorvex::test::TempDir;

TEST(AtomicFile, WriteReplacesWholeFileAndLeavesNoTemporaries) {
  TempDir dir;
  const auto path = dir.File("a.Json");
  ASSERT_EQ(WriteFileAtomic(path, "a much longer first version\n"), 0);
  ASSERT_EQ(WriteFileAtomic(path, "short\n"), 0);
  EXPECT_EQ(ReadWholeFile(path).bytes, "short\n");
  int entries = 0;
  for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir.path())) {
    ++entries;
  }
  EXPECT_EQ(entries, 1);
}

TEST(AtomicFile, WriteKeepsPermissionsOfTheOldFile) {
  TempDir dir;
  const auto path = dir.File("p");
  ASSERT_EQ(WriteFileAtomic(path, "x"), 0);
  ASSERT_EQ(::chmod(path.c_str(), 0600), 0);
  ASSERT_EQ(WriteFileAtomic(path, "y"), 0);
  struct stat st {};
  ASSERT_EQ(::stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u);
}

TEST(AtomicFile, FailedWriteReportsAndKeepsNothing) {
  TempDir dir;
  EXPECT_NE(WriteFileAtomic(dir.File("missing/folder/x"), "x"), 0);
  EXPECT_NE(WriteFileAtomic("", "x"), 0);
}

TEST(AtomicFile, ReadRefusesOversizedFoldersAndMissingFiles) {
  TempDir dir;
  const auto path = dir.File("big");
  ASSERT_EQ(WriteFileAtomic(path, std::string(100, 'z')), 0);
  struct Case {
    std::string path;
    std::uint64_t limit;
    int error;
  };
  const Case cases[] = {
      {path, 99, EFBIG},
      {path, 100, 0},
      {dir.path(), kMaxReadFileBytes, EISDIR},
      {dir.File("none"), kMaxReadFileBytes, ENOENT},
  };
  for (const auto& c : cases) {
    const auto result = ReadWholeFile(c.path, c.limit);
    EXPECT_EQ(result.error, c.error) << c.path << " limit " << c.limit;
    if (c.error != 0) {
      EXPECT_TRUE(result.bytes.empty());
    }
  }
}
