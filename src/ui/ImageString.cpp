#include "ui/ImageString.h"

#include "ui/AttributeParse.h"

namespace quorvex::ui {

std::optional<ImageSpec> ParseImageString(std::string_view text) {
  ImageSpec spec;
  if (text.find('=') == std::string_view::npos) {
    // A bare file name.
    while (!text.empty() && text.front() == ' ') {
      text.remove_prefix(1);
    }
    while (!text.empty() && text.back() == ' ') {
      text.remove_suffix(1);
    }
    if (text.empty()) {
      return std::nullopt;
    }
    spec.file = std::string(text);
    return spec;
  }
  const auto pairs = ParseAttributeList(text);
  if (!pairs) {
    return std::nullopt;
  }
  for (const auto& [key, value] : *pairs) {
    if (key == "file" || key == "res") {
      spec.file = value;
    } else if (key == "source" || key == "dest" || key == "corner") {
      const auto r = ParseRect(value);
      if (!r) {
        return std::nullopt;
      }
      if (key == "source") {
        spec.source = *r;
      } else if (key == "dest") {
        spec.dest = *r;
      } else {
        spec.corner = *r;
      }
    } else if (key == "mask") {
      const auto c = ParseColor(value);
      if (!c) {
        return std::nullopt;
      }
      spec.mask = *c;
    } else if (key == "fade") {
      const auto v = ParseIntInRange(value, 0, 255);
      if (!v) {
        return std::nullopt;
      }
      spec.fade = *v;
    } else if (key == "xtiled" || key == "ytiled") {
      const auto b = ParseBool(value);
      if (!b) {
        return std::nullopt;
      }
      (key == "xtiled" ? spec.xtiled : spec.ytiled) = *b;
    } else {
      return std::nullopt;
    }
  }
  if (spec.file.empty()) {
    return std::nullopt;
  }
  return spec;
}

} // namespace quorvex::ui
