#include "panels/ImageSize.h"

#include <charconv>
#include <cstdint>
#include <fstream>
#include <regex>
#include <string_view>

namespace quorvex::panels {
namespace {

constexpr int kMaxImageSide = 16384;

std::optional<ui::UiSize> Checked(long long cx, long long cy) {
  if (cx <= 0 || cy <= 0 || cx > kMaxImageSide || cy > kMaxImageSide) {
    return std::nullopt;
  }
  return ui::UiSize{static_cast<int>(cx), static_cast<int>(cy)};
}

std::optional<ui::UiSize> PngSize(const std::string& head) {
  static constexpr std::string_view kSignature = "\x89PNG\r\n\x1a\n";
  if (head.size() < 24 || head.compare(0, kSignature.size(), kSignature) != 0 ||
      head.compare(12, 4, "IHDR") != 0) {
    return std::nullopt;
  }
  auto be32 = [&](std::size_t at) {
    std::uint32_t v = 0;
    for (std::size_t i = 0; i < 4; ++i) {
      v = (v << 8) | static_cast<unsigned char>(head[at + i]);
    }
    return static_cast<long long>(v);
  };
  return Checked(be32(16), be32(20));
}

std::optional<double> Number(const std::string& text) {
  double v = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
  if (ec != std::errc()) {
    return std::nullopt;
  }
  return v;
}

std::optional<ui::UiSize> SvgSize(const std::string& head) {
  std::smatch tag;
  if (!std::regex_search(head, tag, std::regex("<svg[^>]*>"))) {
    return std::nullopt;
  }
  const std::string svg = tag.str();
  std::smatch w;
  std::smatch h;
  static const std::regex kWidth(R"(\swidth\s*=\s*["']([0-9.]+)(px)?["'])");
  static const std::regex kHeight(R"(\sheight\s*=\s*["']([0-9.]+)(px)?["'])");
  if (std::regex_search(svg, w, kWidth) && std::regex_search(svg, h, kHeight)) {
    const auto cx = Number(w[1].str());
    const auto cy = Number(h[1].str());
    if (cx && cy) {
      return Checked(static_cast<long long>(*cx + 0.5), static_cast<long long>(*cy + 0.5));
    }
  }
  std::smatch box;
  static const std::regex kViewBox(
      R"(viewBox\s*=\s*["']\s*[-0-9.]+[\s,]+[-0-9.]+[\s,]+([0-9.]+)[\s,]+([0-9.]+)\s*["'])");
  if (std::regex_search(svg, box, kViewBox)) {
    const auto cx = Number(box[1].str());
    const auto cy = Number(box[2].str());
    if (cx && cy) {
      return Checked(static_cast<long long>(*cx + 0.5), static_cast<long long>(*cy + 0.5));
    }
  }
  return std::nullopt;
}

} // namespace

std::optional<ui::UiSize> ReadImageSize(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    return std::nullopt;
  }
  std::string head(4096, '\0');
  in.read(head.data(), static_cast<std::streamsize>(head.size()));
  head.resize(static_cast<std::size_t>(in.gcount()));
  if (auto png = PngSize(head)) {
    return png;
  }
  return SvgSize(head);
}

} // namespace quorvex::panels
