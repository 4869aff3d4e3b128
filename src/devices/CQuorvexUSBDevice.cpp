#include "devices/CQuorvexUSBDevice.h"

#include "link/Commands.h"
#include "platform/DebugOutput.h"
#include "platform/Paths.h"
#include "platform/clock/RealClock.h"
#include "ui/MessageLoop.h"
#include "ui/PaintManager.h"
#include "ui/TabLayout.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstring>
#include <optional>

namespace quorvex::devices {
namespace {

// Splits "prefix_123" at the last '_' into the prefix (with the '_') and the number.
// Nothing for a text without '_' or whose tail is not a plain decimal number.
std::optional<std::pair<std::string_view, int>> SplitIndexed(std::string_view text) {
  const auto cut = text.rfind('_');
  if (cut == std::string_view::npos) {
    return std::nullopt;
  }
  const std::string_view digits = text.substr(cut + 1);
  int number = 0;
  const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), number);
  if (digits.empty() || ec != std::errc() || end != digits.data() + digits.size() || number < 0) {
    return std::nullopt;
  }
  return std::make_pair(text.substr(0, cut + 1), number);
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) ==
                  std::tolower(static_cast<unsigned char>(y));
         });
}

int ClampCount(int count) {
  return std::clamp(count, 0, kMaxListEntries);
}

} // namespace

CQuorvexUSBDevice::CQuorvexUSBDevice() = default;

CQuorvexUSBDevice::~CQuorvexUSBDevice() {
  if (notifierManager_ != nullptr) {
    notifierManager_->RemoveNotifier(this);
  }
}

std::string_view CQuorvexUSBDevice::GetClass() const {
  return "QuorvexUSBDevice";
}

void CQuorvexUSBDevice::SetKeyCount(int count) {
  count = ClampCount(count);
  if (count == keyCount_) {
    return;
  }
  keyCount_ = count;
  keyButtons_.assign(static_cast<std::size_t>(count), nullptr);
}

void CQuorvexUSBDevice::SetLedCount(int count) {
  count = ClampCount(count);
  ledCount_ = count;
  lightButtons_.assign(static_cast<std::size_t>(count), nullptr);
  {
    std::lock_guard lock(ledLock_);
    leds_.assign(static_cast<std::size_t>(count), LedColour{});
  }
  std::lock_guard lock(effectLock_);
  effects_.assign(static_cast<std::size_t>(count), documents::LedEffect{});
}

void CQuorvexUSBDevice::SetPowerReporting(int flag) {
  powerReporting_ = flag;
  if (powerIndicator_ != nullptr) {
    powerIndicator_->ShowPowerLayout(flag != 0);
  }
}

void CQuorvexUSBDevice::SetPowerIndicator(IDevicePowerIndicator* indicator) {
  powerIndicator_ = indicator;
  if (indicator != nullptr) {
    indicator->ShowPowerLayout(powerReporting_ != 0);
  }
}

void CQuorvexUSBDevice::SetCatalogEntry(const DeviceCatalogEntry& record, int subType) {
  record_ = record;
  SetDeviceType(DeviceTypeForKind(record.kind), subType);
}

void CQuorvexUSBDevice::SetDeviceType(int type, int subType) {
  deviceType_ = type;
  deviceSubType_ = subType;
}

void CQuorvexUSBDevice::SetHostLighting(bool on) {
  hostLighting_ = on;
  if (on && deviceType_ == kTypeKeyboard) {
    link::CMD_LIGHT_CONTROL(channel_);
  }
}

// --- binding ---

void CQuorvexUSBDevice::BindPage() {
  if (pageLayout_.empty()) {
    keyCount_ = 0;
    keyButtons_.clear();
    SetLedCount(0);
    return;
  }
  if (picture_ == nullptr) {
    for (int i = 0; i < GetCount(); ++i) {
      if (GetItemAt(i)->GetClass() == "SelectPanel") {
        picture_ = GetItemAt(i);
        break;
      }
    }
  }
  BindPictureButtons(picture_);
}

void CQuorvexUSBDevice::BindPictureButtons(ui::CControlUI* container) {
  if (container == nullptr) {
    return;
  }
  for (int i = 0; i < container->GetCount(); ++i) {
    ui::CControlUI* child = container->GetItemAt(i);
    if (child->GetClass() != "DeviceKeyButton") {
      continue;
    }
    if (const auto name = SplitIndexed(child->GetName())) {
      if (EqualsNoCase(name->first, "key_") && name->second < keyCount_) {
        keyButtons_[static_cast<std::size_t>(name->second)] = child;
      }
    }
    if (const auto data = SplitIndexed(child->GetUserData())) {
      if (EqualsNoCase(data->first, "light_") && data->second < ledCount_) {
        lightButtons_[static_cast<std::size_t>(data->second)] = child;
        PaintWhite(child);
      }
    }
  }
}

void CQuorvexUSBDevice::PaintWhite(ui::CControlUI* button) {
  if (auto* light = dynamic_cast<IDeviceLightButton*>(button)) {
    light->SetLight(PackPictureColour(255, 255, 255), 255, true);
  }
}

ui::CControlUI* CQuorvexUSBDevice::GetKeyButton(int index) const {
  return index >= 0 && index < static_cast<int>(keyButtons_.size())
             ? keyButtons_[static_cast<std::size_t>(index)]
             : nullptr;
}

ui::CControlUI* CQuorvexUSBDevice::GetLightButton(int index) const {
  return index >= 0 && index < static_cast<int>(lightButtons_.size())
             ? lightButtons_[static_cast<std::size_t>(index)]
             : nullptr;
}

// --- LED colours ---

void CQuorvexUSBDevice::SetLedColour(int index, std::uint32_t rgba, std::uint32_t flags) {
  std::lock_guard lock(ledLock_);
  if (index < 0 || index >= static_cast<int>(leds_.size())) {
    return;
  }
  LedColour& led = leds_[static_cast<std::size_t>(index)];
  led.red = static_cast<std::uint8_t>(rgba & 0xFF);
  led.green = static_cast<std::uint8_t>((rgba >> 8) & 0xFF);
  led.blue = static_cast<std::uint8_t>((rgba >> 16) & 0xFF);
  led.alpha = static_cast<std::uint8_t>((rgba >> 24) & 0xFF);
  led.isBright = static_cast<std::uint8_t>(flags & 0xFF);
}

std::pair<std::uint32_t, std::uint32_t> CQuorvexUSBDevice::GetLedColour(int index) const {
  std::lock_guard lock(ledLock_);
  if (index < 0 || index >= static_cast<int>(leds_.size())) {
    return {0, 0};
  }
  const LedColour& led = leds_[static_cast<std::size_t>(index)];
  const std::uint32_t rgba =
      static_cast<std::uint32_t>(led.red) | (static_cast<std::uint32_t>(led.green) << 8) |
      (static_cast<std::uint32_t>(led.blue) << 16) | (static_cast<std::uint32_t>(led.alpha) << 24);
  return {rgba, led.isBright};
}

std::vector<LedColour> CQuorvexUSBDevice::SnapshotLeds() const {
  std::lock_guard lock(ledLock_);
  return leds_;
}

std::vector<documents::LedEffect> CQuorvexUSBDevice::SnapshotEffects() const {
  std::lock_guard lock(effectLock_);
  return effects_;
}

int CQuorvexUSBDevice::StepOff() {
  std::lock_guard lock(ledLock_);
  std::fill(leds_.begin(), leds_.end(), LedColour{});
  return ledCount_;
}

const platform::Clock* CQuorvexUSBDevice::PageClock() const {
  if (ui::CPaintManagerUI* manager = GetManager()) {
    return &manager->GetLoop().GetClock();
  }
  return &platform::RealClock::Instance();
}

void CQuorvexUSBDevice::PushLedFrame() {
  frameChanged_ = false;
  if (!hostLighting_) {
    return;
  }
  stream_.fill(0);
  std::size_t ledsInList = 0;
  {
    std::lock_guard lock(ledLock_);
    ledsInList = leds_.size();
    for (std::size_t i = 0; i < ledsInList; ++i) {
      const LedColour& led = leds_[i];
      if (i < lightButtons_.size()) {
        ui::CControlUI* button = lightButtons_[i];
        if (button != nullptr && button->IsVisible()) {
          if (auto* light = dynamic_cast<IDeviceLightButton*>(button)) {
            light->SetLight(PackPictureColour(led.red, led.green, led.blue), led.alpha, true);
          }
        }
      }
      // Index 170 is the grids' "no LED" mark, and a larger index would not fit the
      // 512-byte stream: neither is written.
      if (i >= static_cast<std::size_t>(kNoLedIndex)) {
        continue;
      }
      stream_[3 * i] = static_cast<std::uint8_t>((led.red * led.alpha) >> 8);
      stream_[3 * i + 1] = static_cast<std::uint8_t>((led.green * led.alpha) >> 8);
      stream_[3 * i + 2] = static_cast<std::uint8_t>((led.blue * led.alpha) >> 8);
    }
  }
  frameChanged_ = !framePushed_ || stream_ != lastFrame_;
  lastFrame_ = stream_;
  framePushed_ = true;
  if (wireless_) {
    return;
  }
  // A frame the device already shows goes out again only now and then, to keep the
  // device in host lighting; a new frame goes out at once.
  const platform::Clock::TimePoint now = PageClock()->Now();
  if (!frameChanged_ && streamSent_ && now - lastStreamAt_ < kStreamRefresh) {
    return;
  }
  if (SendLedStream(stream_.data(), std::min(3 * ledsInList, kLedStreamBytes))) {
    streamSent_ = true;
    lastStreamAt_ = now;
  }
}

bool CQuorvexUSBDevice::SendLedStream(const std::uint8_t* data, std::size_t bytes) {
  // A failing device is not flooded: after a failed send the stream pauses for
  // kStreamBackOff. The UI thread is never put to sleep for it.
  const platform::Clock* clock = PageClock();
  if (streamBackingOff_ && clock->Now() < streamRetryAt_) {
    return false;
  }
  streamBackingOff_ = false;
  if (link::CMD_STREAM_LEDS(channel_, data, bytes) != link::kResultSuccess) {
    streamBackingOff_ = true;
    streamRetryAt_ = clock->Now() + kStreamBackOff;
    return false;
  }
  return true;
}

// --- reactive buffers ---

std::uint8_t CQuorvexUSBDevice::KeyLevel(int led) const {
  return led >= 0 && led < kNoLedIndex ? keyLevels_[static_cast<std::size_t>(led)] : 0;
}

void CQuorvexUSBDevice::SetKeyLevel(int led, std::uint8_t level) {
  if (led >= 0 && led < kNoLedIndex) {
    keyLevels_[static_cast<std::size_t>(led)] = level;
  }
}

void CQuorvexUSBDevice::DecayKeyLevel(int led, int mode) {
  if (led < 0 || led >= kNoLedIndex) {
    return;
  }
  std::uint8_t& level = keyLevels_[static_cast<std::size_t>(led)];
  int drop = 0;
  if (mode == 29) {
    if ((level & 0x90) != 0) {
      drop = 45;
    } else if ((level & 0x60) != 0) {
      drop = 35;
    } else if (level >= 1 && level <= 15) {
      drop = 1;
    }
  } else {
    if ((level & 0x80) != 0) {
      drop = 40;
    } else if ((level & 0x40) != 0) {
      drop = 30;
    } else if ((level & 0x20) != 0) {
      drop = mode == 0 ? 15 : 10;
    } else if (level >= 17 && level <= 31) {
      drop = 8;
    } else if (level >= 1 && level <= 16) {
      drop = 1;
    }
  }
  level = static_cast<std::uint8_t>(std::max(0, level - drop));
}

void CQuorvexUSBDevice::RotateBand(int direction) {
  if (direction == 0) {
    std::rotate(band_.begin(), band_.begin() + 1, band_.end());
  } else {
    std::rotate(band_.rbegin(), band_.rbegin() + 1, band_.rend());
  }
}

void CQuorvexUSBDevice::ClearReactiveBuffers() {
  keyLevels_.fill(0);
  band_.fill(0);
}

std::uint8_t CQuorvexUSBDevice::StepTriangle(bool up, std::uint8_t n, std::uint8_t v,
                                             std::uint8_t s) {
  if (up) {
    const int sum = v + s;
    return sum < n ? static_cast<std::uint8_t>(sum) : 0;
  }
  const auto diff = static_cast<std::uint8_t>(v - s);
  return diff < n ? diff : static_cast<std::uint8_t>(n - s);
}

// --- function switch, light state ---

void CQuorvexUSBDevice::SetFunctionSwitch(int type) {
  functionSwitch_ = type;
  if (functionTabs_ == nullptr) {
    functionTabs_ = dynamic_cast<ui::CTabLayoutUI*>(FindInPage("device_function_switch"));
  }
  if (keyFunctionTabs_ == nullptr) {
    keyFunctionTabs_ = dynamic_cast<ui::CTabLayoutUI*>(FindInPage("device_key_function_switch"));
  }
  if (functionTabs_ == nullptr || keyFunctionTabs_ == nullptr) {
    return;
  }
  if (type == 4 && deviceType_ != kTypeKeyboard && deviceType_ != kTypeMouse) {
    type = 7;
  }
  switch (type) {
  case 2:
  case 6:
    functionTabs_->SelectItem(0);
    keyFunctionTabs_->SelectItem(1);
    break;
  case 3:
  case 8:
    functionTabs_->SelectItem(1);
    break;
  case 4:
    functionTabs_->SelectItem(3);
    break;
  case 7:
    functionTabs_->SelectItem(0);
    keyFunctionTabs_->SelectItem(2);
    break;
  case 5:
    functionTabs_->SelectItem(2);
    break;
  default:
    functionTabs_->SelectItem(0);
    keyFunctionTabs_->SelectItem(0);
    break;
  }
}

void CQuorvexUSBDevice::SetLightInfo(std::uint32_t w0, std::uint32_t w1, std::uint32_t w2,
                                     std::uint32_t w3) {
  const std::uint32_t words[4] = {w0, w1, w2, w3};
  std::uint8_t bytes[sizeof(documents::LightInfo)];
  for (std::size_t i = 0; i < sizeof bytes; ++i) {
    bytes[i] = static_cast<std::uint8_t>((words[i / 4] >> (8 * (i % 4))) & 0xFF);
  }
  std::memcpy(&lightInfo_, bytes, sizeof bytes);
}

std::array<std::uint32_t, 4> CQuorvexUSBDevice::GetLightInfo() const {
  std::uint8_t bytes[16] = {};
  std::memcpy(bytes, &lightInfo_, sizeof(documents::LightInfo));
  std::array<std::uint32_t, 4> words{};
  for (std::size_t i = 0; i < sizeof bytes; ++i) {
    words[i / 4] |= static_cast<std::uint32_t>(bytes[i]) << (8 * (i % 4));
  }
  return words;
}

ILightingPanel* CQuorvexUSBDevice::LightingPanel() {
  if (lightingPanel_ == nullptr) {
    lightingPanel_ = FindInPage("LightControlItem");
  }
  return dynamic_cast<ILightingPanel*>(lightingPanel_);
}

void CQuorvexUSBDevice::SetLightColours(int a, int b, int c) {
  lightColours_ = {a, b, c};
  if (ILightingPanel* panel = LightingPanel()) {
    panel->SetLightColours(a, b, c & 0xFF);
  }
}

std::array<int, 3> CQuorvexUSBDevice::GetLightColours(int flag) {
  if (ILightingPanel* panel = LightingPanel()) {
    panel->GetLightColours(flag, lightColours_[0], lightColours_[1], lightColours_[2]);
  }
  return lightColours_;
}

// --- notifications ---

bool CQuorvexUSBDevice::Contains(const ui::CControlUI* control) const {
  for (const ui::CControlUI* c = control; c != nullptr; c = c->GetParent()) {
    if (c == this) {
      return true;
    }
  }
  return false;
}

void CQuorvexUSBDevice::Notify(ui::TNotifyUI& msg) {
  if (!Contains(msg.sender)) {
    return;
  }
  platform::DebugOutput("测试成功\n");
  OnPageNotify(msg);
}

void CQuorvexUSBDevice::RegisterNotifier() {
  ui::CPaintManagerUI* manager = GetManager();
  if (manager == nullptr || manager == notifierManager_) {
    return;
  }
  if (notifierManager_ != nullptr) {
    notifierManager_->RemoveNotifier(this);
  }
  manager->AddNotifier(this);
  notifierManager_ = manager;
}

ui::CControlUI* CQuorvexUSBDevice::FindInPage(std::string_view name) const {
  return ui::CPaintManagerUI::FindSubControlByName(const_cast<CQuorvexUSBDevice*>(this), name);
}

bool CQuorvexUSBDevice::SendToMainWindow(std::uint32_t msg, ui::WParam wParam, ui::LParam lParam) {
  ui::CPaintManagerUI* manager = GetManager();
  if (manager == nullptr || mainWindow_ == ui::kNoWindow) {
    return false;
  }
  return manager->GetLoop().SendMessage(mainWindow_, msg, wParam, lParam).delivered;
}

// --- file locations ---

std::string CQuorvexUSBDevice::GetDefaultDataFolder() const {
  return platform::ShippedDataDir() + "/DefaultData/";
}

std::string CQuorvexUSBDevice::GetDefaultProfilePath() const {
  if (!platform::IsSafeFileName(modelFolder_)) {
    return {};
  }
  return GetDefaultDataFolder() + modelFolder_ + ".Json";
}

std::string CQuorvexUSBDevice::GetUserDataFolder() const {
  if (!platform::IsSafeFileName(modelFolder_)) {
    platform::DebugPrintf("model folder name refused: %s", modelFolder_.c_str());
    return {};
  }
  const std::string folder = platform::UserDataRoot() + "/" + modelFolder_;
  if (!platform::EnsureFolder(folder)) {
    return {};
  }
  return folder + "/";
}

} // namespace quorvex::devices
