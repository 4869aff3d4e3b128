#include "panels/CMpDevicePowerUI.h"

#include "devices/DeviceInfo.h"
#include "ui/Label.h"
#include "ui/PaintManager.h"
#include "ui/Progress.h"

#include <algorithm>
#include <cstring>

namespace quorvex::panels {

std::string PowerImage(std::string_view name) {
  return "file='image/device/power/" + std::string(name) + ".svg'";
}

std::string_view CMpDevicePowerUI::GetClass() const {
  return "MpDevicePower";
}

void CMpDevicePowerUI::SetPowerKind(int type, int subType) {
  type_ = type;
  subType_ = subType;
}

bool CMpDevicePowerUI::FindChildren() {
  auto find = [this](std::string_view name) {
    return ui::CPaintManagerUI::FindSubControlByName(this, name);
  };
  if (layout_ == nullptr) {
    layout_ = find("device_power_Layout");
  }
  if (value_ == nullptr) {
    value_ = dynamic_cast<ui::CLabelUI*>(find("device_power_value"));
  }
  if (wirelessLogo_ == nullptr) {
    wirelessLogo_ = find("device_wuxian_logo");
  }
  if (status_ == nullptr) {
    status_ = find("device_power_status");
  }
  if (progress_ == nullptr) {
    progress_ = dynamic_cast<ui::CProgressUI*>(find("device_Power_progress"));
  }
  if (phone_ == nullptr) {
    phone_ = find("device_phone_type");
  }
  return layout_ != nullptr && value_ != nullptr && wirelessLogo_ != nullptr &&
         status_ != nullptr && progress_ != nullptr && phone_ != nullptr;
}

void CMpDevicePowerUI::ShowPowerLayout(bool show) {
  if (layout_ == nullptr) {
    layout_ = ui::CPaintManagerUI::FindSubControlByName(this, "device_power_Layout");
  }
  if (layout_ != nullptr) {
    layout_->SetVisible(show);
  }
}

void CMpDevicePowerUI::ShowPowerStatus(const std::uint8_t* bytes, std::size_t length) {
  std::uint8_t block[64] = {};
  if (bytes != nullptr) {
    std::memcpy(block, bytes, std::min<std::size_t>(length, sizeof block));
  }
  if (!FindChildren()) {
    return;
  }
  level_ = block[kStatusCharge];
  progress_->SetValue(100 - level_);
  value_->SetText(std::to_string(level_) + "%");
  const bool wireless = block[kStatusConnection] != 0;
  if (type_ == devices::kTypeMouse) {
    wirelessLogo_->SetVisible(wireless);
  }
  switch (block[kStatusPowerState]) {
  case 0:
    progress_->SetVisible(true);
    status_->SetBkImage(PowerImage("powered"));
    break;
  case 1:
    progress_->SetVisible(!wireless);
    status_->SetBkImage(PowerImage(wireless ? "wuxian_powering" : "powering"));
    break;
  case 2:
    progress_->SetVisible(true);
    status_->SetBkImage(PowerImage("power"));
    break;
  default:
    break;
  }
  if (type_ == devices::kTypeMousePad) {
    std::string_view phone = "Phone_type_no_device";
    switch (block[kStatusPhoneType]) {
    case 1:
      phone = "Phone_type_iphone";
      break;
    case 2:
      phone = "Phone_type_samsung";
      break;
    case 3:
      phone = "Phone_type_other";
      break;
    default:
      break;
    }
    phone_->SetToolTip(std::string(phone));
    phone_->SetBkImage(PowerImage(phone));
  }
}

bool CMpDevicePowerUI::Activate() {
  ui::CPaintManagerUI::DispatchScope scope(GetManager());
  if (!CHorizontalLayoutUI::Activate()) {
    return false;
  }
  Notify(ui::notify::kSelectChanged);
  return true;
}

} // namespace quorvex::panels
