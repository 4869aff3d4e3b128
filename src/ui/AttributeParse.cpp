#include "ui/AttributeParse.h"

#include <cctype>
#include <charconv>
#include <cstdio>

namespace quorvex::ui {
namespace {

std::string_view Trim(std::string_view s) {
  while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front())) != 0) {
    s.remove_prefix(1);
  }
  while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back())) != 0) {
    s.remove_suffix(1);
  }
  return s;
}

bool SplitInts(std::string_view text, int* out, int count, int lo, int hi) {
  for (int i = 0; i < count; ++i) {
    const auto comma = text.find(',');
    const std::string_view part = i + 1 < count ? text.substr(0, comma) : text;
    if (i + 1 < count && comma == std::string_view::npos) {
      return false;
    }
    const auto v = ParseIntInRange(part, lo, hi);
    if (!v) {
      return false;
    }
    out[i] = *v;
    if (i + 1 < count) {
      text.remove_prefix(comma + 1);
    }
  }
  return true;
}

} // namespace

std::optional<long long> ParseInteger(std::string_view text) {
  text = Trim(text);
  if (!text.empty() && text.front() == '+') {
    text.remove_prefix(1);
  }
  long long value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size() || text.empty()) {
    return std::nullopt;
  }
  return value;
}

std::optional<int> ParseIntInRange(std::string_view text, int minValue, int maxValue) {
  const auto v = ParseInteger(text);
  if (!v || *v < minValue || *v > maxValue) {
    return std::nullopt;
  }
  return static_cast<int>(*v);
}

std::optional<bool> ParseBool(std::string_view text) {
  text = Trim(text);
  if (text == "true" || text == "1") {
    return true;
  }
  if (text == "false" || text == "0") {
    return false;
  }
  return std::nullopt;
}

std::optional<UiRect> ParseRect(std::string_view text) {
  int v[4];
  if (!SplitInts(text, v, 4, -kMaxSkinCoordinate, kMaxSkinCoordinate)) {
    return std::nullopt;
  }
  return UiRect{v[0], v[1], v[2], v[3]};
}

std::optional<UiSize> ParseSize(std::string_view text) {
  int v[2];
  if (!SplitInts(text, v, 2, 0, kMaxSkinCoordinate)) {
    return std::nullopt;
  }
  return UiSize{v[0], v[1]};
}

std::optional<Argb> ParseColor(std::string_view text) {
  text = Trim(text);
  if (!text.empty() && text.front() == '#') {
    text.remove_prefix(1);
  } else if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    text.remove_prefix(2);
  }
  if (text.size() != 6 && text.size() != 8) {
    return std::nullopt;
  }
  std::uint32_t value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, 16);
  if (ec != std::errc() || end != text.data() + text.size()) {
    return std::nullopt;
  }
  if (text.size() == 6) {
    value |= 0xFF000000u;
  }
  return value;
}

std::string FormatColor(Argb color) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "#%08X", static_cast<unsigned>(color));
  return buf;
}

std::string FormatRect(const UiRect& r) {
  return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) +
         "," + std::to_string(r.bottom);
}

std::optional<std::vector<std::pair<std::string, std::string>>>
ParseAttributeList(std::string_view text) {
  std::vector<std::pair<std::string, std::string>> out;
  std::size_t i = 0;
  auto skipBlanks = [&] {
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i])) != 0) {
      ++i;
    }
  };
  for (;;) {
    skipBlanks();
    if (i >= text.size()) {
      return out;
    }
    const std::size_t nameStart = i;
    while (i < text.size() && text[i] != '=' &&
           std::isspace(static_cast<unsigned char>(text[i])) == 0) {
      ++i;
    }
    const std::string_view name = text.substr(nameStart, i - nameStart);
    skipBlanks();
    if (name.empty() || i >= text.size() || text[i] != '=') {
      return std::nullopt;
    }
    ++i;
    skipBlanks();
    if (i >= text.size() || (text[i] != '"' && text[i] != '\'')) {
      return std::nullopt;
    }
    const char quote = text[i++];
    const std::size_t close = text.find(quote, i);
    if (close == std::string_view::npos) {
      return std::nullopt;
    }
    out.emplace_back(std::string(name), std::string(text.substr(i, close - i)));
    i = close + 1;
  }
}

} // namespace quorvex::ui
