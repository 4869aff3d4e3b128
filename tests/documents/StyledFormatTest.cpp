#include "documents/StyledFormat.h"
#include "documents/JsonHelpers.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>
#include <limits>

using namespace quorvex::documents;

namespace {

// An array of `n` integers of `width` digits each.
std::string ArrayOf(int n, int width) {
  std::string s = "[";
  for (int i = 0; i < n; ++i) {
    s += (i ? "," : "") + std::string(static_cast<std::size_t>(width), '7');
  }
  return s + "]";
}

} // namespace

TEST(StyledFormat, MatchesStyledWriterByteForByte) {
  const std::string documents[] = {
      "null",
      "0",
      "-12",
      "18446744073709551615",
      "-9223372036854775808",
      "true",
      "\"\"",
      "1.5",
      "-0.0",
      "1e300",
      "0.1",
      "123456789012345678901234567890",
      "[]",
      "{}",
      R"({"b": 1, "a": [1, 2, {"c": []}], "e": {}, "d": [[], {}], "B": null})",
      R"(["\"\\\/\b\f\n\r\t\u0001\u001f\u007f", "\u00e9\u6d4b\ud83c\udfa7", "plain"])",
      R"({"\u00e9": 1, "Z": 2, "a b": 3})",
      // arrays around the one-line limit (74 columns)
      ArrayOf(23, 1),
      ArrayOf(24, 1),
      ArrayOf(25, 1),
      ArrayOf(15, 3),
      ArrayOf(7, 8),
      ArrayOf(7, 9),
      ArrayOf(6, 10),
      "[[1, 2], [3]]",
      R"([{"a": 1}, 2])",
      "[" + ArrayOf(3, 3) + "]",
      R"({"k": [null, null, 3, 4.25, "x", true]})",
  };
  for (const auto& text : documents) {
    SCOPED_TRACE(text);
    const Json::Value value = ParseJsonText(text);
    ASSERT_FALSE(value.isNull() && text != "null");
    EXPECT_EQ(FormatStyled(value), FormatStyledReference(value));
  }
  for (const char* model : {"QX418W_Keyboard", "QX418W_Mouse", "QX418W_Headset"}) {
    const Json::Value value =
        ReadJsonDocument(quorvex::test::DataDir() + "/DefaultData/" + model + ".Json");
    EXPECT_EQ(FormatStyled(value), FormatStyledReference(value)) << model;
  }
}

TEST(StyledFormat, LeavesUnusualValuesToStyledWriter) {
  Json::Value commented = ParseJsonText("// top\n{\"a\": 1 // after\n}");
  Json::Value badText(Json::objectValue);
  badText["a"] = std::string("\xFF\xC3");
  Json::Value nulName(Json::objectValue);
  nulName[std::string("a\0b", 3)] = 1;
  Json::Value infinite(Json::arrayValue);
  infinite.append(std::numeric_limits<double>::infinity());
  Json::Value sparse(Json::arrayValue);
  sparse[3] = 1; // elements 0-2 absent: written as null
  for (const Json::Value* v : {&commented, &badText, &nulName, &infinite, &sparse}) {
    EXPECT_EQ(FormatStyled(*v), FormatStyledReference(*v));
  }
}
