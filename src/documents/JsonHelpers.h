#pragma once

// Reading and writing the program's JSON documents, and safe access to values read
// from them.
//
// Every document on disk is untrusted: a user may edit it, another program may write
// it, a disk may corrupt it. Reading never throws and never crashes: a file over the
// read limit, text that is not UTF-8, nesting deeper than kJsonStackLimit or a syntax
// error all read as a null value, which the callers treat as a missing file.
//
// jsoncpp's own conversions (asInt, asString, ...) throw on a value of the wrong
// type, and its operator[] asserts on a value that is neither an object nor an array.
// Code of this layer therefore reads values only through the helpers below, which
// check the type first and give 0 / false / "" / nullptr for anything else.
//
// Writing formats with jsoncpp's styled writer (object members in ascending key order,
// three-space indentation), adds one line end and replaces the file atomically: a
// crash or a failed write leaves the previous file in place.
//
// Thread safety: all functions are reentrant; documents themselves are not shared.

#include <cstdint>
#include <string>
#include <string_view>

#include <json/value.h>

namespace quorvex::documents {

// Nesting depth accepted by the reader (jsoncpp's own default, set explicitly).
inline constexpr int kJsonStackLimit = 1000;

// The whole file as bytes; empty when it cannot be read (missing, not a regular file,
// over the platform read limit). Writes the line "readjsonFile 错误吗：：%d" with the
// errno of the read (0 on success) to the debug output on every call.
std::string readjsonFile(const std::string& path);

// Parses a document from text: comments allowed, a UTF-8 byte order mark skipped,
// LF and CR LF line ends alike. Null on any failure, including text that is not valid
// UTF-8 (also inside \u escapes) and nesting deeper than kJsonStackLimit.
Json::Value ParseJsonText(std::string_view text);

// readjsonFile + ParseJsonText. Null on any failure (the path goes to the debug output
// when the file cannot be read).
Json::Value ReadJsonDocument(const std::string& path);

// How a document read went, for callers that must tell "missing" from "damaged".
enum class JsonReadStatus {
  kOk,         // parsed
  kMissing,    // no such file
  kUnreadable, // exists but cannot be read (permissions, too large, not a file)
  kInvalid,    // read, but not a JSON document (syntax, encoding, nesting)
};

struct JsonReadResult {
  Json::Value value; // null unless status is kOk
  JsonReadStatus status = JsonReadStatus::kMissing;
};

JsonReadResult ReadJsonDocumentStatus(const std::string& path);

// The exact text WriteJsonDocument writes: styled writer output plus one line end.
std::string FormatJsonDocument(const Json::Value& value);

// Writes the document atomically. Always returns 0 (callers of the original contract
// do not look at it); a failure leaves the old file and goes to the debug output.
int WriteJsonDocument(const std::string& path, const Json::Value& value);

// The same, telling the caller whether the file was written.
bool WriteJsonDocumentChecked(const std::string& path, const Json::Value& value);

// ---- Safe access to values read from documents ----

// The member `key` of an object, or nullptr when `value` is not an object or has no
// such member.
const Json::Value* JsonMember(const Json::Value& value, std::string_view key);

// Element `index` of an array, or nullptr when `value` is not an array, the index is
// negative or not below its size.
const Json::Value* JsonElement(const Json::Value& value, std::int64_t index);

// Integer conversion of a value read from a document:
// - integers (also beyond 32 bits) give their low 32 bits;
// - doubles are truncated toward zero when they fit in 64 bits (low 32 bits kept),
//   else 0;
// - booleans give 0 or 1; null, texts, arrays and objects give 0.
std::int32_t JsonToInt(const Json::Value* value);
// Boolean conversion: booleans as they are, numbers true when non-zero, everything
// else false.
bool JsonToBool(const Json::Value* value);
// Text conversion: a text as it is, everything else "".
std::string JsonToText(const Json::Value* value);

// Shorthands: the member `key` of `value` converted.
inline std::int32_t JsonIntMember(const Json::Value& value, std::string_view key) {
  return JsonToInt(JsonMember(value, key));
}
inline std::uint8_t JsonByteMember(const Json::Value& value, std::string_view key) {
  return static_cast<std::uint8_t>(JsonToInt(JsonMember(value, key)) & 0xFF);
}
inline std::uint16_t JsonU16Member(const Json::Value& value, std::string_view key) {
  return static_cast<std::uint16_t>(JsonToInt(JsonMember(value, key)) & 0xFFFF);
}
inline std::uint8_t JsonBoolMember(const Json::Value& value, std::string_view key) {
  return JsonToBool(JsonMember(value, key)) ? 1 : 0;
}

// For writers: turns `value` into an object when it is anything else (a section of the
// wrong type is replaced, never indexed) and returns its member `key`, created null
// when missing.
Json::Value& JsonObjectMember(Json::Value& value, const char* key);

// For writers: turns `value` into an array when it is anything else and returns
// element `index`, growing the array with null elements as needed. Callers bound `index`
// (see the limits of the document classes) so that a number from a file or a caller
// cannot make the array enormous.
Json::Value& JsonArrayElement(Json::Value& value, Json::ArrayIndex index);

} // namespace quorvex::documents
