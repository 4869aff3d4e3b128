#include "documents/StyledFormat.h"

#include "documents/TextHelpers.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <string_view>

#include <json/writer.h>

namespace quorvex::documents {
namespace {

// StyledWriter's constants.
constexpr unsigned kRightMargin = 74;
constexpr std::size_t kIndentSize = 3;

class StyledFormatter {
public:
  // False when the value needs StyledWriter itself (see the header).
  bool Format(const Json::Value& root, std::string& out) {
    out_ = &out;
    WriteValue(root);
    out += '\n';
    return ok_;
  }

private:
  static bool HasComment(const Json::Value& value) {
    return value.hasComment(Json::commentBefore) ||
           value.hasComment(Json::commentAfterOnSameLine) || value.hasComment(Json::commentAfter);
  }

  void WriteIndent() {
    std::string& out = *out_;
    if (!out.empty()) {
      const char last = out.back();
      if (last == ' ') {
        return; // already indented (after " : " or an indentation)
      }
      if (last != '\n') {
        out += '\n';
      }
    }
    out.append(indent_, ' ');
  }

  void AppendHex(std::string& out, unsigned unit) {
    static constexpr char kHex[] = "0123456789abcdef";
    out += "\\u";
    out += kHex[(unit >> 12) & 0xF];
    out += kHex[(unit >> 8) & 0xF];
    out += kHex[(unit >> 4) & 0xF];
    out += kHex[unit & 0xF];
  }

  // StyledWriter's quoting: the escapes \" \\ \b \f \n \r \t, other control
  // characters and everything beyond ASCII as \u escapes (surrogate pairs above the
  // Basic Multilingual Plane).
  void AppendQuoted(std::string_view text) {
    if (!IsValidUtf8(text)) {
      ok_ = false;
      return;
    }
    std::string& out = *out_;
    out += '"';
    for (std::size_t i = 0; i < text.size();) {
      const auto c = static_cast<unsigned char>(text[i]);
      switch (c) {
      case '"':
        out += "\\\"";
        ++i;
        continue;
      case '\\':
        out += "\\\\";
        ++i;
        continue;
      case '\b':
        out += "\\b";
        ++i;
        continue;
      case '\f':
        out += "\\f";
        ++i;
        continue;
      case '\n':
        out += "\\n";
        ++i;
        continue;
      case '\r':
        out += "\\r";
        ++i;
        continue;
      case '\t':
        out += "\\t";
        ++i;
        continue;
      default:
        break;
      }
      if (c < 0x20) {
        AppendHex(out, c);
        ++i;
        continue;
      }
      if (c < 0x80) {
        out += static_cast<char>(c);
        ++i;
        continue;
      }
      // Valid UTF-8 (checked above): decode one code point.
      const int length = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : 2;
      unsigned cp = c & (length == 2 ? 0x1Fu : length == 3 ? 0x0Fu : 0x07u);
      for (int k = 1; k < length; ++k) {
        cp = (cp << 6) | (static_cast<unsigned char>(text[i + static_cast<std::size_t>(k)]) & 0x3F);
      }
      i += static_cast<std::size_t>(length);
      if (cp < 0x10000) {
        AppendHex(out, cp);
      } else {
        cp -= 0x10000;
        AppendHex(out, 0xD800 + ((cp >> 10) & 0x3FF));
        AppendHex(out, 0xDC00 + (cp & 0x3FF));
      }
    }
    out += '"';
  }

  // The text of a plain value (not a non-empty container) into `out`.
  void AppendScalar(const Json::Value& value) {
    std::string& out = *out_;
    char buffer[64];
    switch (value.type()) {
    case Json::nullValue:
      out += "null";
      break;
    case Json::intValue: {
      const auto r = std::to_chars(buffer, buffer + sizeof buffer, value.asLargestInt());
      out.append(buffer, r.ptr);
      break;
    }
    case Json::uintValue: {
      const auto r = std::to_chars(buffer, buffer + sizeof buffer, value.asLargestUInt());
      out.append(buffer, r.ptr);
      break;
    }
    case Json::realValue: {
      const double d = value.asDouble();
      if (!std::isfinite(d)) {
        ok_ = false;
        return;
      }
      const int n = std::snprintf(buffer, sizeof buffer, "%.17g", d);
      std::string_view text(buffer, static_cast<std::size_t>(n));
      const std::size_t start = out.size();
      out.append(text);
      for (std::size_t i = start; i < out.size(); ++i) {
        if (out[i] == ',') {
          out[i] = '.'; // a decimal comma of the process locale
        }
      }
      if (text.find_first_of(".,e") == std::string_view::npos) {
        out += ".0";
      }
      break;
    }
    case Json::stringValue: {
      const char* begin = nullptr;
      const char* end = nullptr;
      if (value.getString(&begin, &end)) {
        AppendQuoted(std::string_view(begin, static_cast<std::size_t>(end - begin)));
      }
      break;
    }
    case Json::booleanValue:
      out += value.asBool() ? "true" : "false";
      break;
    case Json::arrayValue:
      out += "[]";
      break;
    case Json::objectValue:
      out += "{}";
      break;
    }
  }

  void WriteValue(const Json::Value& value) {
    if (!ok_) {
      return;
    }
    if (HasComment(value)) {
      ok_ = false;
      return;
    }
    if (value.isArray() && !value.empty()) {
      WriteArray(value);
    } else if (value.isObject() && !value.empty()) {
      WriteObject(value);
    } else {
      AppendScalar(value);
    }
  }

  void WriteObject(const Json::Value& value) {
    std::string& out = *out_;
    WriteIndent();
    out += '{';
    indent_ += kIndentSize;
    bool first = true;
    for (auto it = value.begin(); it != value.end() && ok_; ++it) {
      if (!first) {
        out += ',';
      }
      first = false;
      const char* nameEnd = nullptr;
      const char* name = it.memberName(&nameEnd);
      const std::string_view nameText(name, static_cast<std::size_t>(nameEnd - name));
      if (nameText.find('\0') != std::string_view::npos) {
        ok_ = false; // StyledWriter cuts such a name; leave that to it
        return;
      }
      WriteIndent();
      AppendQuoted(nameText);
      out += " : ";
      WriteValue(*it);
    }
    indent_ -= kIndentSize;
    WriteIndent();
    out += '}';
  }

  void WriteArray(const Json::Value& value) {
    std::string& out = *out_;
    const Json::ArrayIndex size = value.size();
    bool multiLine = size * 3 >= kRightMargin;
    for (Json::ArrayIndex i = 0; i < size && !multiLine; ++i) {
      const Json::Value& child = value[i];
      multiLine = (child.isArray() || child.isObject()) && !child.empty();
    }
    if (!multiLine) {
      // Plain values only: one line when it fits.
      const std::size_t start = out.size();
      out += "[ ";
      for (Json::ArrayIndex i = 0; i < size && ok_; ++i) {
        if (HasComment(value[i])) {
          ok_ = false;
          return;
        }
        if (i > 0) {
          out += ", ";
        }
        AppendScalar(value[i]);
      }
      out += " ]";
      if (out.size() - start < kRightMargin) {
        return;
      }
      out.resize(start);
    }
    WriteIndent();
    out += '[';
    indent_ += kIndentSize;
    for (Json::ArrayIndex i = 0; i < size && ok_; ++i) {
      if (i > 0) {
        out += ',';
      }
      WriteIndent();
      WriteValue(value[i]);
    }
    indent_ -= kIndentSize;
    WriteIndent();
    out += ']';
  }

  std::string* out_ = nullptr;
  std::size_t indent_ = 0;
  bool ok_ = true;
};

} // namespace

std::string FormatStyledReference(const Json::Value& value) {
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  Json::StyledWriter writer;
  return writer.write(value);
#pragma GCC diagnostic pop
}

std::string FormatStyled(const Json::Value& value) {
  std::string text;
  text.reserve(4096);
  StyledFormatter formatter;
  if (formatter.Format(value, text)) {
    return text;
  }
  return FormatStyledReference(value);
}

} // namespace quorvex::documents
