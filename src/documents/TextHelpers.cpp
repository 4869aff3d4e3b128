#include "documents/TextHelpers.h"

#include <chrono>
#include <climits>
#include <cstdio>
#include <ctime>

namespace quorvex::documents {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

// Decodes one UTF-8 sequence at text[pos]; advances pos. Returns kReplacement for a
// malformed sequence (consuming one byte) and sets `valid` to false.
char32_t DecodeUtf8(std::string_view text, std::size_t& pos, bool& valid) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(pos);
  if (lead < 0x80) {
    ++pos;
    return lead;
  }
  int length = 0;
  char32_t cp = 0;
  char32_t min = 0;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
    cp = lead & 0x1F;
    min = 0x80;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    cp = lead & 0x0F;
    min = 0x800;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    cp = lead & 0x07;
    min = 0x10000;
  } else {
    valid = false;
    ++pos;
    return kReplacement;
  }
  if (pos + static_cast<std::size_t>(length) > text.size()) {
    valid = false;
    ++pos;
    return kReplacement;
  }
  for (int i = 1; i < length; ++i) {
    const unsigned char c = byte(pos + static_cast<std::size_t>(i));
    if ((c & 0xC0) != 0x80) {
      valid = false;
      ++pos;
      return kReplacement;
    }
    cp = (cp << 6) | (c & 0x3F);
  }
  if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
    valid = false;
    ++pos;
    return kReplacement;
  }
  pos += static_cast<std::size_t>(length);
  return cp;
}

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

bool IsUnicodeSpace(char32_t cp) {
  switch (cp) {
  case 0x09:
  case 0x0A:
  case 0x0B:
  case 0x0C:
  case 0x0D:
  case 0x20:
  case 0x85:
  case 0xA0:
  case 0x1680:
  case 0x2028:
  case 0x2029:
  case 0x202F:
  case 0x205F:
  case 0x3000:
    return true;
  default:
    return cp >= 0x2000 && cp <= 0x200A;
  }
}

std::string_view UpToNul(std::string_view text) {
  const auto nul = text.find('\0');
  return nul == std::string_view::npos ? text : text.substr(0, nul);
}

} // namespace

std::string FormatTimestampId(int year, int month, int day, int hour, int minute, int second,
                              int millisecond) {
  char buffer[96];
  std::snprintf(buffer, sizeof buffer, "%d_%02d_%02d_%02d_%02d_%02d_%03d", year, month, day, hour,
                minute, second, millisecond);
  return buffer;
}

std::string MakeTimestampId() {
  const auto now = std::chrono::system_clock::now();
  const auto sinceEpoch = now.time_since_epoch();
  const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
  const auto millisecond = static_cast<int>(
      std::chrono::duration_cast<std::chrono::milliseconds>(sinceEpoch).count() % 1000);
  std::tm local{};
  ::localtime_r(&seconds, &local);
  return FormatTimestampId(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                           local.tm_min, local.tm_sec, millisecond < 0 ? 0 : millisecond);
}

std::u16string Utf8ToWide(std::string_view text) {
  text = UpToNul(text);
  std::u16string out;
  out.reserve(text.size());
  std::size_t pos = 0;
  bool valid = true;
  while (pos < text.size()) {
    const char32_t cp = DecodeUtf8(text, pos, valid);
    if (cp >= 0x10000) {
      const char32_t v = cp - 0x10000;
      out.push_back(static_cast<char16_t>(0xD800 + (v >> 10)));
      out.push_back(static_cast<char16_t>(0xDC00 + (v & 0x3FF)));
    } else {
      out.push_back(static_cast<char16_t>(cp));
    }
  }
  return out;
}

std::string WideToUtf8(std::u16string_view text) {
  const auto nul = text.find(u'\0');
  if (nul != std::u16string_view::npos) {
    text = text.substr(0, nul);
  }
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t unit = text[i];
    char32_t cp = unit;
    if (unit >= 0xD800 && unit <= 0xDBFF) {
      if (i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
        cp = 0x10000 + ((static_cast<char32_t>(unit) - 0xD800) << 10) + (text[i + 1] - 0xDC00);
        ++i;
      } else {
        cp = kReplacement;
      }
    } else if (unit >= 0xDC00 && unit <= 0xDFFF) {
      cp = kReplacement;
    }
    AppendUtf8(out, cp);
  }
  return out;
}

std::string WideToAnsi(std::u16string_view text) {
  return WideToUtf8(text);
}

std::string WideToOem(std::u16string_view text) {
  return WideToUtf8(text);
}

bool IsValidUtf8(std::string_view text) {
  std::size_t pos = 0;
  bool valid = true;
  while (pos < text.size() && valid) {
    // ASCII runs are the common case in documents.
    if (static_cast<unsigned char>(text[pos]) < 0x80) {
      ++pos;
      continue;
    }
    DecodeUtf8(text, pos, valid);
  }
  return valid;
}

char* RemoveChar(char* text, char c) {
  if (text == nullptr) {
    return text;
  }
  char* out = text;
  for (const char* in = text; *in != '\0'; ++in) {
    if (*in != c) {
      *out++ = *in;
    }
  }
  *out = '\0';
  return text;
}

void RemoveChar(std::string& text, char c) {
  std::erase(text, c);
}

std::string ToHex8(std::uint32_t value) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string out(8, '0');
  for (int i = 7; i >= 0; --i) {
    out[static_cast<std::size_t>(i)] = kDigits[value & 0xF];
    value >>= 4;
  }
  return out;
}

IndexSuffix SplitIndexSuffix(std::string_view text) {
  IndexSuffix result;
  const auto underscore = text.rfind('_');
  if (underscore == std::string_view::npos) {
    return result;
  }
  result.ok = true;
  result.prefix = std::string(text.substr(0, underscore + 1));
  std::string_view rest = text.substr(underscore + 1);
  std::size_t i = 0;
  while (i < rest.size() && (rest[i] == ' ' || (rest[i] >= '\t' && rest[i] <= '\r'))) {
    ++i;
  }
  bool negative = false;
  if (i < rest.size() && (rest[i] == '+' || rest[i] == '-')) {
    negative = rest[i] == '-';
    ++i;
  }
  long long value = 0;
  for (; i < rest.size() && rest[i] >= '0' && rest[i] <= '9'; ++i) {
    value = value * 10 + (rest[i] - '0');
    if (value > static_cast<long long>(INT_MAX) + 1) {
      value = static_cast<long long>(INT_MAX) + 1;
    }
  }
  if (negative) {
    value = -value;
  }
  if (value > INT_MAX) {
    value = INT_MAX;
  }
  result.number = static_cast<int>(value);
  return result;
}

bool IsBlankName(std::string_view text) {
  std::size_t pos = 0;
  bool valid = true;
  while (pos < text.size()) {
    if (!IsUnicodeSpace(DecodeUtf8(text, pos, valid))) {
      return false;
    }
  }
  return true;
}

std::string FileNameOfPath(std::string_view path) {
  const auto slash = path.rfind('/');
  std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
  const auto dot = name.rfind('.');
  if (dot != std::string_view::npos && dot > 0) {
    name = name.substr(0, dot);
  }
  return std::string(name);
}

std::string FolderOfPath(std::string_view path) {
  const auto slash = path.rfind('/');
  if (slash == std::string_view::npos) {
    return ".";
  }
  if (slash == 0) {
    return "/";
  }
  return std::string(path.substr(0, slash));
}

bool IsSafeFileName(std::string_view name) {
  return !name.empty() && name.find('/') == std::string_view::npos &&
         name.find('\\') == std::string_view::npos && name.find("..") == std::string_view::npos &&
         name.find('\0') == std::string_view::npos;
}

} // namespace quorvex::documents
