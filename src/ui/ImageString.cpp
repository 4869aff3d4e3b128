#include "ui/ImageString.h"

#include "ui/AttributeParse.h"

namespace quorvex::ui {

std::optional<ImageDescription> ParseImageString(std::string_view text) {
  ImageDescription image;
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
    image.file = std::string(text);
    return image;
  }
  const auto pairs = ParseAttributeList(text);
  if (!pairs) {
    return std::nullopt;
  }
  for (const auto& [key, value] : *pairs) {
    if (key == "file" || key == "res") {
      image.file = value;
    } else if (key == "source" || key == "dest" || key == "corner") {
      const auto r = ParseRect(value);
      if (!r) {
        return std::nullopt;
      }
      if (key == "source") {
        image.source = *r;
      } else if (key == "dest") {
        image.dest = *r;
      } else {
        image.corner = *r;
      }
    } else if (key == "mask") {
      const auto c = ParseColor(value);
      if (!c) {
        return std::nullopt;
      }
      image.mask = *c;
    } else if (key == "fade") {
      const auto v = ParseIntInRange(value, 0, 255);
      if (!v) {
        return std::nullopt;
      }
      image.fade = *v;
    } else if (key == "xtiled" || key == "ytiled") {
      const auto b = ParseBool(value);
      if (!b) {
        return std::nullopt;
      }
      (key == "xtiled" ? image.xtiled : image.ytiled) = *b;
    } else {
      return std::nullopt;
    }
  }
  if (image.file.empty()) {
    return std::nullopt;
  }
  return image;
}

} // namespace quorvex::ui
