#include "documents/JsonHelpers.h"

#include "documents/StyledFormat.h"
#include "documents/TextHelpers.h"
#include "platform/AtomicFile.h"
#include "platform/DebugOutput.h"

#include <cerrno>
#include <cmath>
#include <cstring>
#include <exception>
#include <memory>

#include <json/reader.h>

namespace quorvex::documents {
namespace {

struct RawRead {
  std::string bytes;
  int error = 0;
};

RawRead ReadRaw(const std::string& path) {
  auto read = platform::ReadWholeFile(path);
  platform::DebugPrintf("readjsonFile 错误吗：：%d\n", read.error);
  return RawRead{read.ok() ? std::move(read.bytes) : std::string(), read.error};
}

// jsoncpp turns \u escapes into UTF-8 without checking that a low surrogate has its
// high half, so a parsed document may hold text that is not UTF-8 even when the file
// is. Member names count as well, and must not hold NUL: the styled writer cuts a
// name at its first NUL, so such a document would not survive being saved (two names
// could even become one).
bool AllTextIsSafe(const Json::Value& value) {
  switch (value.type()) {
  case Json::stringValue: {
    const char* begin = nullptr;
    const char* end = nullptr;
    return !value.getString(&begin, &end) ||
           IsValidUtf8(std::string_view(begin, static_cast<std::size_t>(end - begin)));
  }
  case Json::arrayValue:
    for (const auto& element : value) {
      if (!AllTextIsSafe(element)) {
        return false;
      }
    }
    return true;
  case Json::objectValue:
    for (auto it = value.begin(); it != value.end(); ++it) {
      const std::string name = it.name();
      if (name.find('\0') != std::string::npos || !IsValidUtf8(name) || !AllTextIsSafe(*it)) {
        return false;
      }
    }
    return true;
  default:
    return true;
  }
}

const Json::CharReaderBuilder& ReaderSettings() {
  static const Json::CharReaderBuilder builder = [] {
    Json::CharReaderBuilder b;
    b["allowComments"] = true;
    b["stackLimit"] = kJsonStackLimit;
    b["skipBom"] = true;
    return b;
  }();
  return builder;
}

std::int32_t Low32(std::uint64_t v) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(v & 0xFFFFFFFFu));
}

} // namespace

std::string readjsonFile(const std::string& path) {
  return ReadRaw(path).bytes;
}

Json::Value ParseJsonText(std::string_view text) {
  if (text.empty() || !IsValidUtf8(text)) {
    return Json::Value();
  }
  Json::Value root;
  try {
    const std::unique_ptr<Json::CharReader> reader(ReaderSettings().newCharReader());
    std::string errors;
    if (!reader->parse(text.data(), text.data() + text.size(), &root, &errors)) {
      return Json::Value();
    }
  } catch (const std::exception&) {
    // jsoncpp reports a document nested beyond the stack limit by throwing.
    return Json::Value();
  }
  const bool mayHideBadText =
      text.find("\\u") != std::string_view::npos || text.find('\0') != std::string_view::npos;
  if (mayHideBadText && !AllTextIsSafe(root)) {
    return Json::Value();
  }
  return root;
}

JsonReadResult ReadJsonDocumentStatus(const std::string& path) {
  JsonReadResult result;
  RawRead raw = ReadRaw(path);
  if (raw.error != 0 || raw.bytes.empty()) {
    platform::DebugPrintf("%s\n", path.c_str());
    result.status = raw.error == ENOENT || raw.error == ENOTDIR ? JsonReadStatus::kMissing
                    : raw.error == 0                            ? JsonReadStatus::kInvalid
                                                                : JsonReadStatus::kUnreadable;
    return result;
  }
  result.value = ParseJsonText(raw.bytes);
  result.status = result.value.isNull() ? JsonReadStatus::kInvalid : JsonReadStatus::kOk;
  return result;
}

Json::Value ReadJsonDocument(const std::string& path) {
  return ReadJsonDocumentStatus(path).value;
}

std::string FormatJsonDocument(const Json::Value& value) {
  std::string text = FormatStyled(value);
  text += '\n';
  return text;
}

bool WriteJsonDocumentChecked(const std::string& path, const Json::Value& value) {
  const int error = platform::WriteFileAtomic(path, FormatJsonDocument(value));
  if (error != 0) {
    platform::DebugPrintf("WriteJsonDocument %s: %s\n", path.c_str(), std::strerror(error));
    return false;
  }
  return true;
}

int WriteJsonDocument(const std::string& path, const Json::Value& value) {
  WriteJsonDocumentChecked(path, value);
  return 0;
}

const Json::Value* JsonMember(const Json::Value& value, std::string_view key) {
  if (!value.isObject()) {
    return nullptr;
  }
  return value.find(key.data(), key.data() + key.size());
}

const Json::Value* JsonElement(const Json::Value& value, std::int64_t index) {
  if (!value.isArray() || index < 0 || index >= static_cast<std::int64_t>(value.size())) {
    return nullptr;
  }
  return &value[static_cast<Json::ArrayIndex>(index)];
}

std::int32_t JsonToInt(const Json::Value* value) {
  if (value == nullptr) {
    return 0;
  }
  switch (value->type()) {
  case Json::intValue:
    return Low32(static_cast<std::uint64_t>(value->asLargestInt()));
  case Json::uintValue:
    return Low32(value->asLargestUInt());
  case Json::realValue: {
    const double d = value->asDouble();
    // 2^63: the doubles below it in magnitude fit in a 64-bit integer.
    if (!std::isfinite(d) || d >= 9223372036854775808.0 || d < -9223372036854775808.0) {
      return 0;
    }
    return Low32(static_cast<std::uint64_t>(static_cast<std::int64_t>(d)));
  }
  case Json::booleanValue:
    return value->asBool() ? 1 : 0;
  default:
    return 0;
  }
}

bool JsonToBool(const Json::Value* value) {
  if (value == nullptr) {
    return false;
  }
  switch (value->type()) {
  case Json::booleanValue:
    return value->asBool();
  case Json::intValue:
    return value->asLargestInt() != 0;
  case Json::uintValue:
    return value->asLargestUInt() != 0;
  case Json::realValue:
    return value->asDouble() != 0.0;
  default:
    return false;
  }
}

std::string JsonToText(const Json::Value* value) {
  if (value == nullptr || !value->isString()) {
    return std::string();
  }
  return value->asString();
}

Json::Value& JsonObjectMember(Json::Value& value, const char* key) {
  if (!value.isObject()) {
    value = Json::Value(Json::objectValue);
  }
  return value[key];
}

Json::Value& JsonArrayElement(Json::Value& value, Json::ArrayIndex index) {
  if (!value.isArray()) {
    value = Json::Value(Json::arrayValue);
  }
  // jsoncpp keeps arrays as maps: value[index] alone would leave the elements below
  // `index` absent rather than null, and iteration and comparison would then disagree
  // with what the file holds after the next save. Fill them in.
  while (value.size() <= index) {
    value.append(Json::Value());
  }
  return value[index];
}

} // namespace quorvex::documents
