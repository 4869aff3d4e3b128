#pragma once

// CDeviceKeyButtonUI ("DeviceKeyButton"): one key or LED of a device picture.
//
// The button keeps what the front end needs to draw it: the LED's colour, alpha and
// lit flag (the "lightimage" is drawn tinted with them), the changed mark (the
// "keysetimage" is drawn over it) and the band-selected flag that CSelectPanelUI
// writes. A double click while enabled raises "dbclick".

#include "devices/PageWidgets.h"
#include "ui/Button.h"

#include <cstdint>

namespace quorvex::panels {

class CDeviceKeyButtonUI : public ui::CButtonUI, public devices::IDeviceLightButton {
public:
  std::string_view GetClass() const override;

  // `colour` packs red in bits 0-7, blue in 8-15, green in 16-23.
  void SetLight(std::uint32_t colour, std::uint8_t alpha, bool lit) override;
  std::uint32_t GetLightColour() const { return lightColour_; }
  std::uint8_t GetLightAlpha() const { return lightAlpha_; }
  bool IsLit() const { return lit_; }
  // The tint for the "lightimage" as 0xAARRGGBB (alpha = the LED's brightness); 0
  // when the button is not lit.
  ui::Argb GetLightTint() const;

  void SetChangedMark(bool on);
  bool IsChangedMark() const { return changed_; }
  void SetBandSelected(bool on);
  bool IsBandSelected() const { return bandSelected_; }

  const std::string& GetLightImage() const;
  const std::string& GetKeySetImage() const;
  const std::string& GetKeyUnsetImage() const;

  bool SetAttribute(std::string_view name, std::string_view value) override;
  void DoEvent(ui::TEventUI& event) override;

private:
  const std::string& Kept(std::string_view name) const;

  std::uint32_t lightColour_ = 255;
  std::uint8_t lightAlpha_ = 200;
  bool lit_ = false;
  bool changed_ = false;
  bool bandSelected_ = false;
};

} // namespace quorvex::panels
