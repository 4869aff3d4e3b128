#pragma once

// The narrow views a device page has of the widgets and panels that live above it
// (panels/). A page finds those controls in its tree and talks to them only through
// these interfaces, so the page layer never depends on the widget classes.

#include <cstddef>
#include <cstdint>

namespace quorvex::devices {

// A picture button that shows one LED (CDeviceKeyButtonUI).
class IDeviceLightButton {
public:
  // `colour` packs red in bits 0-7, blue in bits 8-15 and green in bits 16-23 (the
  // order the button's tinted drawing expects); `alpha` is the brightness.
  virtual void SetLight(std::uint32_t colour, std::uint8_t alpha, bool lit) = 0;

protected:
  ~IDeviceLightButton() = default;
};

// The page's power indicator (CMpDevicePowerUI).
class IDevicePowerIndicator {
public:
  virtual void ShowPowerLayout(bool show) = 0;
  // Shows a status block read from the device (6 bytes: charge, power state, unused,
  // connection, profile byte, phone type).
  virtual void ShowPowerStatus(const std::uint8_t* bytes, std::size_t length) = 0;

protected:
  ~IDevicePowerIndicator() = default;
};

// The lighting panel ("LightControlItem"): the three light colour values it shows.
class ILightingPanel {
public:
  virtual void SetLightColours(int a, int b, int c) = 0;
  virtual void GetLightColours(int flag, int& a, int& b, int& c) = 0;

protected:
  ~ILightingPanel() = default;
};

// Packs a colour for a picture button.
constexpr std::uint32_t PackPictureColour(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
  return static_cast<std::uint32_t>(red) | (static_cast<std::uint32_t>(blue) << 8) |
         (static_cast<std::uint32_t>(green) << 16);
}

} // namespace quorvex::devices
