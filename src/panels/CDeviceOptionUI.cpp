#include "panels/CDeviceOptionUI.h"

#include "devices/CQuorvexUSBDevice.h"
#include "ui/Label.h"
#include "ui/MessageLoop.h"
#include "ui/Option.h"
#include "ui/PaintManager.h"

namespace quorvex::panels {

std::string_view DeviceIconPrefix(int type, int subType) {
  switch (type) {
  case devices::kTypeKeyboard:
    return "kb";
  case devices::kTypeMouse:
    return "ms";
  case devices::kTypeMousePad:
    return subType == 0 ? "hard_mp" : subType == 1 ? "soft_mp" : "";
  case devices::kTypeHeadset:
  case devices::kTypeHeadset6533:
    return "hd";
  case devices::kTypeHub:
    return "hub";
  default:
    return "unknow";
  }
}

std::string DeviceIconPath(std::string_view prefix, std::string_view state) {
  return "image/device/icon/" + std::string(prefix) + "_device_" + std::string(state) + ".svg";
}

CDeviceOptionUI::CDeviceOptionUI()
    : normalImage_(DeviceIconPath("unknow", "normal")),
      selectedImage_(DeviceIconPath("unknow", "selected")),
      syncNormalImage_(DeviceIconPath("unknow", "synchro_normal")),
      syncSelectedImage_(DeviceIconPath("unknow", "synchro_selected")),
      self_(std::make_shared<std::atomic<CDeviceOptionUI*>>(this)) {}

CDeviceOptionUI::~CDeviceOptionUI() {
  self_->store(nullptr);
  if (devices::CQuorvexUSBDevice* page = GetPage(); page != nullptr) {
    if (page->GetSelectorItem() == this) {
      page->SetSelectorItem(nullptr);
    }
  }
}

std::string_view CDeviceOptionUI::GetClass() const {
  return "DeviceOption";
}

ui::COptionUI* CDeviceOptionUI::SelectOption() {
  if (select_ == nullptr) {
    select_ = dynamic_cast<ui::COptionUI*>(
        ui::CPaintManagerUI::FindSubControlByName(this, "device_select"));
  }
  return select_;
}

ui::COptionUI* CDeviceOptionUI::SyncOption() {
  if (sync_ == nullptr) {
    sync_ = dynamic_cast<ui::COptionUI*>(
        ui::CPaintManagerUI::FindSubControlByName(this, "synchro_device_select"));
  }
  return sync_;
}

ui::CLabelUI* CDeviceOptionUI::NameLabel() {
  if (name_ == nullptr) {
    name_ = dynamic_cast<ui::CLabelUI*>(
        ui::CPaintManagerUI::FindSubControlByName(this, "device_select_name"));
  }
  return name_;
}

void CDeviceOptionUI::SetDeviceKind(int type, int subType) {
  type_ = type;
  subType_ = subType;
  const std::string_view prefix = DeviceIconPrefix(type, subType);
  if (prefix.empty()) {
    return;
  }
  normalImage_ = DeviceIconPath(prefix, "normal");
  selectedImage_ = DeviceIconPath(prefix, "selected");
  syncNormalImage_ = DeviceIconPath(prefix, "synchro_normal");
  syncSelectedImage_ = DeviceIconPath(prefix, "synchro_selected");
  if (ui::COptionUI* option = SelectOption()) {
    option->SetNormalImage(normalImage_);
    option->SetSelectedImage(selectedImage_);
    option->SetDisabledImage(normalImage_);
    option->SetToolTip(std::string(prefix) + "_device_name_text");
  }
}

void CDeviceOptionUI::ApplyImagePair() {
  ui::COptionUI* option = SelectOption();
  if (option == nullptr) {
    return;
  }
  const bool synced = IsSyncChecked();
  option->SetNormalImage(synced ? syncNormalImage_ : normalImage_);
  option->SetSelectedImage(synced ? syncSelectedImage_ : selectedImage_);
}

void CDeviceOptionUI::ShowSyncBox(bool show) {
  ui::COptionUI* box = SyncOption();
  if (box == nullptr) {
    return;
  }
  box->SetVisible(show);
  ApplyImagePair();
}

void CDeviceOptionUI::SetSyncChecked(bool on) {
  ui::COptionUI* box = SyncOption();
  if (box == nullptr) {
    return;
  }
  box->Selected(on, true);
  ApplyImagePair();
}

bool CDeviceOptionUI::IsSyncChecked() const {
  auto* self = const_cast<CDeviceOptionUI*>(this);
  ui::COptionUI* box = self->SyncOption();
  return box != nullptr && box->IsSelected();
}

void CDeviceOptionUI::SetItemSelected(bool on) {
  if (ui::COptionUI* option = SelectOption()) {
    option->Selected(on, true);
  }
}

bool CDeviceOptionUI::IsItemSelected() const {
  ui::COptionUI* option = const_cast<CDeviceOptionUI*>(this)->SelectOption();
  return option != nullptr && option->IsSelected();
}

void CDeviceOptionUI::BindTab(std::string layoutName, int index) {
  if (ui::COptionUI* option = SelectOption()) {
    option->BindTabLayout(std::move(layoutName), index);
  }
}

std::string CDeviceOptionUI::GetBindTabName() const {
  ui::COptionUI* option = const_cast<CDeviceOptionUI*>(this)->SelectOption();
  return option != nullptr ? option->GetBindTabLayoutName() : std::string();
}

int CDeviceOptionUI::GetBindTabIndex() const {
  ui::COptionUI* option = const_cast<CDeviceOptionUI*>(this)->SelectOption();
  return option != nullptr ? option->GetBindTabLayoutIndex() : -1;
}

void CDeviceOptionUI::SetPowerTab(std::string name, int index) {
  powerTabName_ = std::move(name);
  if (index >= 0) {
    powerTabIndex_ = index;
  }
}

void CDeviceOptionUI::SetItemGroup(std::string name) {
  if (ui::COptionUI* option = SelectOption()) {
    option->SetGroup(std::move(name));
  }
}

void CDeviceOptionUI::SetItemLabel(std::string text) {
  if (ui::CLabelUI* label = NameLabel()) {
    label->SetText(std::move(text));
  }
}

void CDeviceOptionUI::AttachPage(devices::CQuorvexUSBDevice* page) {
  if (devices::CQuorvexUSBDevice* old = GetPage(); old != nullptr && old != page) {
    if (old->GetSelectorItem() == this) {
      old->SetSelectorItem(nullptr);
    }
  }
  page_ = page;
  pageAlive_ = page != nullptr ? page->GetAliveToken() : std::weak_ptr<const bool>();
  if (page != nullptr) {
    page->SetSelectorItem(this);
  }
}

bool CDeviceOptionUI::Activate() {
  ui::CPaintManagerUI::DispatchScope scope(GetManager());
  if (!CHorizontalLayoutUI::Activate()) {
    return false;
  }
  Notify(ui::notify::kSelectChanged);
  return true;
}

// --- life cycle ---

void CDeviceOptionUI::Arm(std::uint32_t timer, std::uint32_t ms) {
  if (GetManager() != nullptr) {
    GetManager()->SetTimer(this, timer, ms);
  }
}

void CDeviceOptionUI::StartFirstConnection() {
  Arm(kTimerFirstConnection, 500);
}

void CDeviceOptionUI::ArmLinkWatch(std::uint32_t ms) {
  if (GetPage() != nullptr && page_->IsChannelOpen()) {
    Arm(kTimerLinkWatch, ms);
  }
}

void CDeviceOptionUI::RequestTimerFromWorker(std::uint32_t timer, std::uint32_t ms) {
  ui::CPaintManagerUI* manager = GetManager();
  if (manager == nullptr) {
    return;
  }
  manager->GetLoop().PostTask([self = self_, timer, ms] {
    if (CDeviceOptionUI* item = self->load()) {
      item->Arm(timer, ms);
    }
  });
}

void CDeviceOptionUI::DoEvent(ui::TEventUI& event) {
  if (event.type == ui::UiEvent::kTimer) {
    ui::CPaintManagerUI::DispatchScope scope(GetManager());
    OnTimer(static_cast<std::uint32_t>(event.wParam));
    return;
  }
  CHorizontalLayoutUI::DoEvent(event);
}

void CDeviceOptionUI::OnTimer(std::uint32_t timer) {
  // Every life-cycle timer fires once; the handlers re-arm what keeps running.
  if (GetManager() != nullptr) {
    GetManager()->KillTimer(this, timer);
  }
  if (GetPage() == nullptr) {
    return;
  }
  switch (timer) {
  case kTimerFirstConnection:
    OnFirstConnection();
    break;
  case kTimerFrame:
    OnFrame();
    break;
  case kTimerSyncRequest:
    page_->OnDeviceSyncRequest();
    break;
  case kTimer1003:
    page_->OnTimer1003();
    break;
  case kTimer1004:
    page_->OnTimer1004();
    break;
  case kTimerStatusPoll:
    page_->PollStatus();
    if (page_->GetPowerReporting() != 0) {
      Arm(kTimerStatusPoll, 5000);
    }
    break;
  case kTimerLinkWatch:
    OnLinkWatch();
    break;
  default:
    break;
  }
}

void CDeviceOptionUI::OnFirstConnection() {
  const auto index = static_cast<ui::WParam>(page_->GetCatalogIndex());
  if (page_->IsWireless() && page_->IsChannelOpen()) {
    if (page_->IsDeviceOnline() == 0) {
      failures_ = (failures_ + 1) % kFailureWrap;
      if (IsVisible()) {
        SetVisible(false);
        page_->SendToMainWindow(devices::kMsgLinkState, index, 0);
      }
      Arm(kTimerFirstConnection, 3000);
      return;
    }
    page_->SendToMainWindow(devices::kMsgLinkState, index, 1);
  }
  page_->OnDeviceReady();
  failures_ = 0;
  Arm(kTimerFrame, 5);
  if (page_->GetPowerReporting() != 0 && page_->IsChannelOpen()) {
    Arm(kTimerStatusPoll, 50);
  }
  if (page_->IsWireless()) {
    ArmLinkWatch(2000);
  }
}

void CDeviceOptionUI::OnFrame() {
  page_->PushLedFrame();
  const bool changed = page_->LedFrameChanged();
  if (changed && IsItemSelected() && page_->IsWindowActive()) {
    if (ui::CControlUI* picture = page_->GetPictureContainer()) {
      picture->Invalidate();
    }
  }
  if (page_->IsChannelOpen()) {
    // Frames follow the lighting every 5 ms while it changes; while it stands still
    // the timer only looks for the next change, so an idle application sleeps.
    Arm(kTimerFrame,
        page_->IsWireless() ? kWirelessFrameMs : (changed ? kCableFrameMs : kIdleFrameMs));
  }
}

void CDeviceOptionUI::OnLinkWatch() {
  // A device that has gone (channel closed) has no link to watch; the watch ends here.
  if (!page_->IsChannelOpen()) {
    return;
  }
  const auto index = static_cast<ui::WParam>(page_->GetCatalogIndex());
  const int online = page_->IsDeviceOnline();
  if (online == 1 && !IsVisible()) {
    page_->SendToMainWindow(devices::kMsgLinkState, index, 1);
    if (page_->GetPowerReporting() != 0) {
      page_->PollStatus();
    }
  } else if (online == 0 && IsVisible()) {
    page_->SendToMainWindow(devices::kMsgLinkState, index, 0);
  }
  ArmLinkWatch(3000);
}

} // namespace quorvex::panels
