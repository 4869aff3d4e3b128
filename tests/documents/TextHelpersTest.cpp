#include "documents/TextHelpers.h"

#include <climits>
#include <cstring>
#include <gtest/gtest.h>
#include <regex>

using namespace quorvex::documents;

TEST(TextHelpers, SplitIndexSuffix) {
  struct Case {
    const char* text;
    bool ok;
    const char* prefix;
    int number;
  };
  const Case cases[] = {
      {"DPI_edit_12", true, "DPI_edit_", 12},
      {"key_7", true, "key_", 7},
      {"light_0_3", true, "light_0_", 3},
      {"nounderscore", false, "", 0},
      {"key_", true, "key_", 0},
      {"key_ -5x", true, "key_", -5},
      {"key_+8", true, "key_", 8},
      {"key_12abc", true, "key_", 12},
      {"key_99999999999999", true, "key_", INT_MAX},
      {"key_-99999999999999", true, "key_", INT_MIN},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    const IndexSuffix r = SplitIndexSuffix(c.text);
    EXPECT_EQ(r.ok, c.ok);
    EXPECT_EQ(r.prefix, c.prefix);
    EXPECT_EQ(r.number, c.number);
  }
}

TEST(TextHelpers, ToHex8) {
  EXPECT_EQ(ToHex8(0), "00000000");
  EXPECT_EQ(ToHex8(0xDEADBEEF), "DEADBEEF");
  EXPECT_EQ(ToHex8(0x1A), "0000001A");
}

TEST(TextHelpers, FileNameAndFolderOfPath) {
  EXPECT_EQ(FileNameOfPath("/a/b/2024_01_02.Json"), "2024_01_02");
  EXPECT_EQ(FileNameOfPath("name.tar.gz"), "name.tar");
  EXPECT_EQ(FileNameOfPath("/a/b.c/plain"), "plain");
  EXPECT_EQ(FileNameOfPath("/a/.config"), ".config");
  EXPECT_EQ(FileNameOfPath(""), "");
  EXPECT_EQ(FolderOfPath("/a/b/c.Json"), "/a/b");
  EXPECT_EQ(FolderOfPath("c.Json"), ".");
  EXPECT_EQ(FolderOfPath("/c.Json"), "/");
}

TEST(TextHelpers, IsBlankName) {
  EXPECT_TRUE(IsBlankName(""));
  EXPECT_TRUE(IsBlankName(" \t\r\n"));
  EXPECT_TRUE(IsBlankName("\u3000\u00A0 ")); // ideographic and no-break spaces
  EXPECT_FALSE(IsBlankName("  a  "));
  EXPECT_FALSE(IsBlankName("\xE5\xA4\xA7")); // a CJK letter
}

TEST(TextHelpers, IsSafeFileName) {
  for (const char* good : {"2024_01_02_03_04_05_006", "name.with.dots", "日本"}) {
    EXPECT_TRUE(IsSafeFileName(good)) << good;
  }
  for (const char* bad : {"", "..", "../x", "a/b", "/etc/passwd", "a\\b", "x..y"}) {
    EXPECT_FALSE(IsSafeFileName(bad)) << bad;
  }
  EXPECT_FALSE(IsSafeFileName(std::string_view("a\0b", 3)));
}

TEST(TextHelpers, Utf8AndWideRoundTrip) {
  const std::string text = "Gr\xC3\xBC\xC3\x9F \xE6\xB5\x8B\xE8\xAF\x95 \xF0\x9F\x8E\xA7";
  const std::u16string wide = Utf8ToWide(text);
  EXPECT_EQ(wide, u"Grüß 测试 🎧");
  EXPECT_EQ(WideToUtf8(wide), text);
  EXPECT_EQ(WideToAnsi(wide), text);
  EXPECT_EQ(WideToOem(wide), text);
}

TEST(TextHelpers, BrokenTextBecomesReplacementCharacters) {
  struct Case {
    std::string utf8;
    std::u16string wide;
  };
  const Case cases[] = {
      {"a\xFFz", u"a\uFFFDz"},                 // byte that never starts a sequence
      {"a\xC3", u"a\uFFFD"},                   // cut short
      {"\xC0\xAF", u"\uFFFD\uFFFD"},           // overlong "/"
      {"\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"}, // encoded surrogate
      {std::string("ab\0cd", 5), u"ab"},       // stops at NUL
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Utf8ToWide(c.utf8), c.wide);
    EXPECT_FALSE(IsValidUtf8(c.utf8) && c.utf8.find('\0') == std::string::npos);
  }
  const char16_t lone[] = {u'a', 0xD800, u'b', 0xDC00, 0};
  EXPECT_EQ(WideToUtf8(lone), "a\xEF\xBF\xBD"
                              "b\xEF\xBF\xBD");
  EXPECT_TRUE(IsValidUtf8("plain \xE6\xB5\x8B"));
  EXPECT_FALSE(IsValidUtf8("\xF4\x90\x80\x80")); // above U+10FFFF
}

TEST(TextHelpers, RemoveChar) {
  char text[] = "a-b--c-";
  EXPECT_STREQ(RemoveChar(text, '-'), "abc");
  EXPECT_EQ(RemoveChar(nullptr, '-'), nullptr);
  std::string s = "1,2,,3";
  RemoveChar(s, ',');
  EXPECT_EQ(s, "123");
}

TEST(TextHelpers, TimestampIdFormat) {
  EXPECT_EQ(FormatTimestampId(2024, 3, 7, 9, 5, 1, 42), "2024_03_07_09_05_01_042");
  EXPECT_TRUE(
      std::regex_match(MakeTimestampId(), std::regex(R"(\d{4}_\d\d_\d\d_\d\d_\d\d_\d\d_\d\d\d)")));
}
