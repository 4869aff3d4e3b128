#pragma once

// The look the front end falls back to when a skin leaves a colour unset. The skins
// under data/skin/ use the same values, so a control without its own colours still
// matches the product.

#include "ui/UiTypes.h"

namespace quorvex::frontend::theme {

inline constexpr ui::Argb kBackground = 0xFF121417; // window, near-black graphite
inline constexpr ui::Argb kPanel = 0xFF1C1F24;      // raised panels
inline constexpr ui::Argb kControl = 0xFF262A31;    // fields and buttons
inline constexpr ui::Argb kControlHot = 0xFF30353D;
inline constexpr ui::Argb kBorder = 0xFF363B44;
inline constexpr ui::Argb kAccent = 0xFF0099FF;     // the accent, light tone
inline constexpr ui::Argb kAccentDeep = 0xFF0078C8; // the accent, deep tone
inline constexpr ui::Argb kText = 0xFFFFFFFF;
inline constexpr ui::Argb kTextSecondary = 0xFFB4BAC4;
inline constexpr ui::Argb kTextDisabled = 0xFF5E6570;

// Fonts a skin's face falls back to, in order, so every shipped language has glyphs.
inline constexpr const char* kFallbackFaces[] = {"Noto Sans CJK SC", "Noto Sans", "DejaVu Sans"};

} // namespace quorvex::frontend::theme
