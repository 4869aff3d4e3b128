#pragma once

// Parsers for skin attribute values. Every parser refuses what it cannot read in full
// (nullopt) instead of guessing, so a skin typo becomes a clear build error.

#include "ui/UiTypes.h"

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace quorvex::ui {

// Skin sizes and positions larger than this (in skin units) are refused as absurd.
inline constexpr int kMaxSkinCoordinate = 32767;

// Decimal integer, optional sign, surrounding blanks allowed.
std::optional<long long> ParseInteger(std::string_view text);
// An integer inside [minValue, maxValue].
std::optional<int> ParseIntInRange(std::string_view text, int minValue, int maxValue);
// "true"/"false" (also "1"/"0").
std::optional<bool> ParseBool(std::string_view text);
// "l,t,r,b" with each value inside +-kMaxSkinCoordinate.
std::optional<UiRect> ParseRect(std::string_view text);
// "cx,cy" with both inside [0, kMaxSkinCoordinate].
std::optional<UiSize> ParseSize(std::string_view text);
// "#AARRGGBB", "#RRGGBB" (opaque), "0xAARRGGBB" or "AARRGGBB".
std::optional<Argb> ParseColor(std::string_view text);
std::string FormatColor(Argb color);
std::string FormatRect(const UiRect& r);

// An attribute list as styles and defaults write it: name="value" name2='value2' ...
// nullopt when the text is not such a list.
std::optional<std::vector<std::pair<std::string, std::string>>>
ParseAttributeList(std::string_view text);

} // namespace quorvex::ui
