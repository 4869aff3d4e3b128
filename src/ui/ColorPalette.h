#pragma once

// CColorPaletteUI ("ColorPalette"): picks a colour. The program sets and reads the
// selected colour silently; a colour the user picks raises "colorchanged" with the
// colour (0xAARRGGBB) in wParam.

#include "ui/Control.h"

namespace quorvex::ui {

class CColorPaletteUI : public CControlUI {
public:
  std::string_view GetClass() const override;
  bool IsFocusable() const override { return true; }

  Argb GetSelectColor() const { return color_; }
  void SetSelectColor(Argb color);
  // The user picked `color`; false when the palette cannot be operated.
  bool UserPickColor(Argb color);

  bool SetAttribute(std::string_view name, std::string_view value) override;

private:
  Argb color_ = 0xFFFFFFFFu;
};

} // namespace quorvex::ui
