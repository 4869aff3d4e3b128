#include "ui/ColorPalette.h"

#include "ui/PaintManager.h"

#include "ui/AttributeParse.h"

namespace quorvex::ui {

std::string_view CColorPaletteUI::GetClass() const {
  return "ColorPalette";
}

void CColorPaletteUI::SetSelectColor(Argb color) {
  if (color != color_) {
    color_ = color;
    Invalidate();
  }
}

bool CColorPaletteUI::UserPickColor(Argb color) {
  CPaintManagerUI::DispatchScope scope(GetManager());
  if (!IsShown() || !IsEnabledInTree()) {
    return false;
  }
  SetSelectColor(color);
  Notify(notify::kColorChanged, color);
  return true;
}

bool CColorPaletteUI::SetAttribute(std::string_view name, std::string_view value) {
  if (name == "selectcolor") {
    const auto c = ParseColor(value);
    if (!c) {
      return false;
    }
    SetSelectColor(*c);
    return true;
  }
  return CControlUI::SetAttribute(name, value);
}

} // namespace quorvex::ui
