#pragma once

// CMpDevicePowerUI ("MpDevicePower"): a page's power indicator. It shows a status
// block read from the device: the charge level as text and progress, the charging
// state image, the wireless logo (mouse) and the phone on a pad's charger (mouse pad).

#include "devices/PageWidgets.h"
#include "ui/BoxLayout.h"

#include <array>
#include <cstdint>
#include <string>

namespace quorvex::ui {
class CLabelUI;
class CProgressUI;
} // namespace quorvex::ui

namespace quorvex::panels {

// Status block bytes.
inline constexpr std::size_t kStatusCharge = 0;
inline constexpr std::size_t kStatusPowerState = 1; // 0, 1 charging, 2
inline constexpr std::size_t kStatusConnection = 3; // 1 wireless, 0 cable
inline constexpr std::size_t kStatusPhoneType = 5;  // 1 iPhone, 2 Samsung, 3 other

class CMpDevicePowerUI : public ui::CHorizontalLayoutUI, public devices::IDevicePowerIndicator {
public:
  std::string_view GetClass() const override;

  void SetPowerKind(int type, int subType);
  int GetPowerType() const { return type_; }
  int GetPowerSubType() const { return subType_; }
  void ShowPowerLayout(bool show) override;
  void ShowPowerStatus(const std::uint8_t* bytes, std::size_t length) override;

  // The charge level last shown (percent as the device reported it), for the front end.
  int GetPowerLevel() const { return level_; }
  bool Activate() override;

private:
  bool FindChildren();

  ui::CControlUI* layout_ = nullptr;
  ui::CLabelUI* value_ = nullptr;
  ui::CControlUI* wirelessLogo_ = nullptr;
  ui::CControlUI* status_ = nullptr;
  ui::CProgressUI* progress_ = nullptr;
  ui::CControlUI* phone_ = nullptr;
  int type_ = 0;
  int subType_ = 0;
  int level_ = 0;
};

// The image description of a power picture ("powered", "wuxian_powering", ...).
std::string PowerImage(std::string_view name);

} // namespace quorvex::panels
