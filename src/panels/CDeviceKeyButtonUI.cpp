#include "panels/CDeviceKeyButtonUI.h"

#include "ui/AttributeParse.h"
#include "ui/PaintManager.h"

namespace quorvex::panels {

std::string_view CDeviceKeyButtonUI::GetClass() const {
  return "DeviceKeyButton";
}

void CDeviceKeyButtonUI::SetLight(std::uint32_t colour, std::uint8_t alpha, bool lit) {
  if (colour == lightColour_ && alpha == lightAlpha_ && lit == lit_) {
    return;
  }
  lightColour_ = colour;
  lightAlpha_ = alpha;
  lit_ = lit;
  Invalidate();
}

ui::Argb CDeviceKeyButtonUI::GetLightTint() const {
  if (!lit_) {
    return 0;
  }
  const std::uint32_t red = lightColour_ & 0xFF;
  const std::uint32_t blue = (lightColour_ >> 8) & 0xFF;
  const std::uint32_t green = (lightColour_ >> 16) & 0xFF;
  return (static_cast<std::uint32_t>(lightAlpha_) << 24) | (red << 16) | (green << 8) | blue;
}

void CDeviceKeyButtonUI::SetChangedMark(bool on) {
  if (on != changed_) {
    changed_ = on;
    Invalidate();
  }
}

void CDeviceKeyButtonUI::SetBandSelected(bool on) {
  if (on != bandSelected_) {
    bandSelected_ = on;
    Invalidate();
  }
}

const std::string& CDeviceKeyButtonUI::Kept(std::string_view name) const {
  static const std::string kEmpty;
  const std::string* v = GetAttribute(name);
  return v != nullptr ? *v : kEmpty;
}

const std::string& CDeviceKeyButtonUI::GetLightImage() const {
  return Kept("lightimage");
}
const std::string& CDeviceKeyButtonUI::GetKeySetImage() const {
  return Kept("keysetimage");
}
const std::string& CDeviceKeyButtonUI::GetKeyUnsetImage() const {
  return Kept("keyunsetimage");
}

bool CDeviceKeyButtonUI::SetAttribute(std::string_view name, std::string_view value) {
  if (name == "gmnametextcolor") {
    // Accepted for skins written for other pictures; it has no effect here.
    return true;
  }
  return CButtonUI::SetAttribute(name, value);
}

void CDeviceKeyButtonUI::DoEvent(ui::TEventUI& event) {
  ui::CPaintManagerUI::DispatchScope scope(GetManager());
  if (event.type == ui::UiEvent::kDoubleClick) {
    if (IsEnabledInTree() && GetPos().Contains(event.point)) {
      Notify(ui::notify::kDbClick);
    }
    return;
  }
  CButtonUI::DoEvent(event);
}

} // namespace quorvex::panels
