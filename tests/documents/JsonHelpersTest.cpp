#include "documents/JsonHelpers.h"
#include "platform/DebugOutput.h"
#include "support/TestSupport.h"

#include <cmath>
#include <filesystem>
#include <gtest/gtest.h>
#include <unistd.h>

using namespace quorvex::documents;
using quorvex::platform::ScopedDebugCapture;
using quorvex::test::ReadTextFile;
using quorvex::test::TempDir;
using quorvex::test::WriteTextFile;

TEST(ParseJsonText, AcceptsCommentsCrLfAndByteOrderMark) {
  const Json::Value v = ParseJsonText(
      "\xEF\xBB\xBF// note\r\n{\r\n  /* block */ \"a\" : 1,\r\n  \"b\" : \"x\"\r\n}\r\n");
  ASSERT_TRUE(v.isObject());
  EXPECT_EQ(v["a"].asInt(), 1);
  EXPECT_EQ(v["b"].asString(), "x");
}

TEST(ParseJsonText, RejectsWhatIsNotADocument) {
  const std::string deep(kJsonStackLimit + 10, '[');
  const std::string tooDeepObject = [] {
    std::string s;
    for (int i = 0; i < kJsonStackLimit + 10; ++i) {
      s += "{\"a\":";
    }
    return s + "1" + std::string(kJsonStackLimit + 10, '}');
  }();
  const std::string cases[] = {
      "",
      "{\"a\": 1",            // cut short
      "{\"a\": 1} trailing",  // allowed by jsoncpp? must not crash either way
      "{\"a\": \"\xFF\"}",    // not UTF-8
      "{\"\xC3\": 1}",        // broken member name
      "{\"a\": \"\\uDC00\"}", // lone low surrogate through an escape
      "{\"a\": \"\\uD800\"}", // lone high surrogate
      deep,                   // nesting beyond the limit
      tooDeepObject,
      std::string("{\"a\"\0: 1}", 9), // NUL inside
      "{\"a\\u0000b\": 1}",           // NUL in a member name: the writer would cut it
      std::string("{\"a\0b\": 1}", 10),
  };
  for (const auto& text : cases) {
    const Json::Value v = ParseJsonText(text);
    if (&text == &cases[2]) {
      continue; // only "no crash" is asked of this one
    }
    EXPECT_TRUE(v.isNull()) << text.substr(0, 40);
  }
  // Nesting just inside the limit still parses.
  const std::string ok =
      std::string(kJsonStackLimit - 1, '[') + std::string(kJsonStackLimit - 1, ']');
  EXPECT_TRUE(ParseJsonText(ok).isArray());
}

TEST(JsonConversions, WrongTypesGiveZeroFalseOrEmpty) {
  const Json::Value doc = ParseJsonText(R"({
    "int": 7, "neg": -3, "big": 4294967301, "huge": 18446744073709551615,
    "real": 3.9, "realneg": -2.5, "realbig": 1e300, "bool": true,
    "text": "12", "obj": {"x": 1}, "arr": [1], "null": null })");
  ASSERT_TRUE(doc.isObject());
  struct Case {
    const char* key;
    std::int32_t asInt;
    bool asBool;
    const char* asText;
  };
  const Case cases[] = {
      {"int", 7, true, ""},      {"neg", -3, true, ""}, {"big", 5, true, ""},
      {"huge", -1, true, ""},    {"real", 3, true, ""}, {"realneg", -2, true, ""},
      {"realbig", 0, true, ""},  {"bool", 1, true, ""}, {"text", 0, false, "12"},
      {"obj", 0, false, ""},     {"arr", 0, false, ""}, {"null", 0, false, ""},
      {"missing", 0, false, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.key);
    const Json::Value* v = JsonMember(doc, c.key);
    EXPECT_EQ(JsonToInt(v), c.asInt);
    EXPECT_EQ(JsonToBool(v), c.asBool);
    EXPECT_EQ(JsonToText(v), c.asText);
  }
  EXPECT_EQ(JsonByteMember(doc, "big"), 5);
  // Lookups into values that are not containers find nothing instead of asserting.
  EXPECT_EQ(JsonMember(doc["int"], "x"), nullptr);
  EXPECT_EQ(JsonElement(doc["obj"], 0), nullptr);
  EXPECT_EQ(JsonElement(doc["arr"], 1), nullptr);
  EXPECT_EQ(JsonElement(doc["arr"], -1), nullptr);
  ASSERT_NE(JsonElement(doc["arr"], 0), nullptr);
}

TEST(JsonWriters, ReplaceSectionsOfTheWrongType) {
  Json::Value entry = ParseJsonText(R"({"s": 5, "a": {"k": 1}})");
  JsonObjectMember(entry, "s") = 1;
  JsonObjectMember(JsonObjectMember(entry, "n"), "x") = 2;
  JsonArrayElement(JsonObjectMember(entry, "a"), 2) = 3;
  EXPECT_EQ(entry["n"]["x"].asInt(), 2);
  // The elements below the written one are real nulls, as a reread file would have.
  EXPECT_EQ(entry["a"], ParseJsonText("[null, null, 3]"));
  Json::Value scalar = 9;
  JsonObjectMember(scalar, "x") = 1;
  EXPECT_TRUE(scalar.isObject());
}

TEST(JsonFiles, ReadLogsEveryCallAndRefusesOversizedFiles) {
  TempDir dir;
  ScopedDebugCapture capture;
  EXPECT_TRUE(ReadJsonDocument(dir.File("missing.Json")).isNull());
  EXPECT_TRUE(capture.Contains("readjsonFile 错误吗：：2"));
  EXPECT_TRUE(capture.Contains(dir.File("missing.Json")));

  WriteTextFile(dir.File("ok.Json"), "{\"a\":1}");
  capture.Clear();
  EXPECT_EQ(readjsonFile(dir.File("ok.Json")), "{\"a\":1}");
  EXPECT_TRUE(capture.Contains("readjsonFile 错误吗：：0"));

  // Just over the 16 MiB limit: a sparse file, so the test stays cheap.
  const std::string big = dir.File("big.Json");
  WriteTextFile(big, "{}");
  ASSERT_EQ(::truncate(big.c_str(), 16 * 1024 * 1024 + 1), 0);
  const JsonReadResult r = ReadJsonDocumentStatus(big);
  EXPECT_TRUE(r.value.isNull());
  EXPECT_EQ(r.status, JsonReadStatus::kUnreadable);
  EXPECT_EQ(ReadJsonDocumentStatus(dir.File("missing.Json")).status, JsonReadStatus::kMissing);
  WriteTextFile(dir.File("bad.Json"), "{");
  EXPECT_EQ(ReadJsonDocumentStatus(dir.File("bad.Json")).status, JsonReadStatus::kInvalid);
}

TEST(JsonFiles, WriteIsStyledSortedAndEndsWithOneExtraLineEnd) {
  TempDir dir;
  Json::Value v(Json::objectValue);
  v["b"] = 1;
  v["a"]["z"] = "t";
  v["a"]["c"] = Json::Value(Json::arrayValue);
  v["a"]["c"].append(1);
  ASSERT_EQ(WriteJsonDocument(dir.File("x.Json"), v), 0);
  const std::string text = ReadTextFile(dir.File("x.Json"));
  EXPECT_EQ(text, "{\n   \"a\" : {\n      \"c\" : [ 1 ],\n      \"z\" : \"t\"\n   },\n"
                  "   \"b\" : 1\n}\n\n");
  EXPECT_EQ(text.find('\r'), std::string::npos);
  EXPECT_EQ(ParseJsonText(text), v);
}

TEST(JsonFiles, FailedWriteKeepsWhatWasThereAndIsReported) {
  TempDir dir;
  // A folder in the target's place: the final rename fails after the data was written
  // to the temporary file.
  const std::string path = dir.File("p.Json");
  std::filesystem::create_directory(path);
  WriteTextFile(path + "/inside", "old");
  ScopedDebugCapture capture;
  EXPECT_FALSE(WriteJsonDocumentChecked(path, Json::Value(5)));
  EXPECT_EQ(WriteJsonDocument(path, Json::Value(5)), 0);
  EXPECT_EQ(ReadTextFile(path + "/inside"), "old");
  EXPECT_TRUE(capture.Contains("WriteJsonDocument"));
  int entries = 0;
  for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir.path())) {
    ++entries;
  }
  EXPECT_EQ(entries, 1); // no temporary file left behind
}

TEST(JsonFiles, FailedWriteIntoMissingFolderIsReported) {
  TempDir dir;
  ScopedDebugCapture capture;
  EXPECT_FALSE(WriteJsonDocumentChecked(dir.File("no/such/p.Json"), Json::Value(1)));
  EXPECT_EQ(WriteJsonDocument(dir.File("no/such/p.Json"), Json::Value(1)), 0);
  EXPECT_TRUE(capture.Contains("WriteJsonDocument"));
}
