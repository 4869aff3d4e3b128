// The main window's device side: pages per family, arrival and removal of interfaces,
// the direct/receiver transport switch, and the device selector.

#include "app/MainWnd.h"

#include "devices/CQuorvexUSBDevice.h"
#include "devices/DeviceInfo.h"
#include "link/Commands.h"
#include "panels/CDeviceOptionUI.h"
#include "panels/CMpDevicePowerUI.h"
#include "platform/DebugOutput.h"
#include "ui/DialogBuilder.h"
#include "ui/MessageLoop.h"
#include "ui/TabLayout.h"

#include <mutex>

namespace quorvex::app {
namespace {

constexpr std::string_view kPowerIndicatorSkin = "XML/CustomControlXML/MpDevicePower.xml";
// While a page waits for its receiver's device after a switch: tries and pause.
constexpr int kLinkQueryTries = 26;
constexpr std::uint32_t kLinkQueryPauseMs = 50;

bool IsReceiverKind(std::uint16_t kind) {
  return kind == KIND_KEYBOARD_RECEIVER || kind == KIND_MOUSE_RECEIVER;
}
bool IsDirectKind(std::uint16_t kind) {
  return kind == KIND_KEYBOARD || kind == KIND_MOUSE;
}
// The family of a slot, or nullopt for an index out of range or a kind no page serves.
std::optional<Family> FamilyOfSlot(const std::vector<DeviceCatalogEntry>& slots, std::size_t slot) {
  return slot < slots.size() ? FamilyOfKind(slots[slot].kind) : std::nullopt;
}

bool HasTwoWays(Family family) {
  return family == Family::kKeyboard || family == Family::kMouse;
}

// The fields that identify which catalogue row a page serves.
bool SameRow(const DeviceCatalogEntry& a, const DeviceCatalogEntry& b) {
  return a.vendorId == b.vendorId && a.productId == b.productId && a.interfaceNo == b.interfaceNo &&
         a.collectionNo == b.collectionNo && a.kind == b.kind && a.role == b.role &&
         a.usagePage == b.usagePage && a.usage == b.usage;
}

} // namespace

const std::vector<devices::CQuorvexUSBDevice*>& CMainWnd::Pages(Family family) const {
  return pages_[static_cast<std::size_t>(family)];
}

std::vector<devices::CQuorvexUSBDevice*> CMainWnd::AllPages() const {
  std::vector<devices::CQuorvexUSBDevice*> all;
  for (const auto& list : pages_) {
    all.insert(all.end(), list.begin(), list.end());
  }
  return all;
}

void CMainWnd::SetLightControlForPages(int on) {
  for (devices::CQuorvexUSBDevice* page : AllPages()) {
    page->SetHostLighting(on != 0);
  }
}

void CMainWnd::SetWindowActiveForPages(bool on) {
  for (devices::CQuorvexUSBDevice* page : AllPages()) {
    page->SetWindowActive(on);
  }
}

void CMainWnd::SetBusyState(bool busy, bool includeSelector) {
  busy_ = busy;
  if (includeSelector) {
    if (ui::CControlUI* selector = FindControl("device_select_layout")) {
      selector->SetEnabled(!busy);
    }
  }
}

// --- pages ---

devices::CQuorvexUSBDevice* CMainWnd::CreatePage(Family family, int catalogRow) {
  if (catalogRow < 0 || static_cast<std::size_t>(catalogRow) >= kCatalogRows) {
    return nullptr;
  }
  const std::vector<DeviceCatalogEntry> slots = SlotTable();
  const int typeRow = FindPageTypeForSlot(slots, static_cast<std::size_t>(catalogRow));
  if (typeRow < 0) {
    return nullptr;
  }
  const DeviceTypeEntry& type = DeviceTypeTable()[static_cast<std::size_t>(typeRow)];
  const DevicePageEntry& pageRow = DevicePageTable()[static_cast<std::size_t>(typeRow)];
  ui::CPaintManagerUI* pm = GetPaintManager();
  auto* powerSwitch = FindControlAs<ui::CTabLayoutUI>(type.powerContainer);
  auto* pageSwitch = FindControlAs<ui::CTabLayoutUI>("device_switch");
  auto* selector = FindControlAs<ui::CContainerUI>("device_select_layout");
  if (pm == nullptr || powerSwitch == nullptr || pageSwitch == nullptr || selector == nullptr) {
    return nullptr;
  }

  ui::CDialogBuilder builder;
  auto powerControl = builder.Create(std::string(kPowerIndicatorSkin), this, pm);
  auto itemControl = builder.Create(std::string(type.optionLayout), this, pm);
  auto pageControl = builder.Create(std::string(pageRow.pageLayout), this, pm);
  auto* power = dynamic_cast<panels::CMpDevicePowerUI*>(powerControl.get());
  auto* item = dynamic_cast<panels::CDeviceOptionUI*>(itemControl.get());
  auto* page = dynamic_cast<devices::CQuorvexUSBDevice*>(pageControl.get());
  if (power == nullptr || item == nullptr || page == nullptr) {
    platform::DebugPrintf("page of type %d could not be built", typeRow);
    return nullptr;
  }

  const DeviceCatalogEntry& entry = DeviceCatalog()[static_cast<std::size_t>(catalogRow)];
  const int deviceType = devices::DeviceTypeForKind(entry.kind);
  powerSwitch->Add(std::move(powerControl));
  power->SetPowerKind(deviceType, type.subtype);
  powerIndicators_.push_back(power);
  const int powerTab = powerSwitch->GetCount() - 1;

  const std::string model(ModelNameOf(family));
  page->SetPageLayout(std::string(pageRow.pageLayout));
  page->SetMainWindow(GetHWND());
  page->SetKeyCount(pageRow.keyCount);
  page->SetLedCount(pageRow.ledCount);
  if (family != Family::kHeadset) {
    page->SetCatalogIndex(typeRow);
  }
  page->SetPowerReporting(pageRow.powerIndicator);
  if (family == Family::kMouse) {
    page->SetLogoLed(pageRow.mouseSetting);
  }
  page->SetProfileBaseName(model);
  page->SetModelFolder(model);
  page->SetPowerIndicator(power);
  page->SetCatalogEntry(entry, type.subtype);
  page->SetLightListIndex(type.lightConfigIndex);
  page->SetConfigBaseName(std::string(pageRow.lightConfigName));
  page->SetHostLighting(lightControl_ != 0);
  page->SetWindowActive(windowActive_);

  pageSwitch->Add(std::move(pageControl));
  page->BindPage();
  const int pageTab = pageSwitch->GetCount() - 1;
  pages_[static_cast<std::size_t>(family)].push_back(page);

  selector->Add(std::move(itemControl));
  item->SetItemSelected(false);
  item->SetItemGroup(std::string(type.tabHeaderControl));
  item->BindTab("device_switch", pageTab);
  item->SetPowerTab(std::string(type.powerContainer), powerTab);
  item->SetDeviceKind(deviceType, type.subtype);
  item->SetVisible(false);
  item->SetItemLabel(std::string(type.typeName));
  item->AttachPage(page);
  items_.push_back(item);
  return page;
}

devices::CQuorvexUSBDevice* CMainWnd::PageOfEntry(const DeviceCatalogEntry& entry) const {
  for (const panels::CDeviceOptionUI* item : items_) {
    devices::CQuorvexUSBDevice* page = item->GetPage();
    if (page != nullptr && SameRow(page->GetCatalogEntry(), entry)) {
      return page;
    }
  }
  return nullptr;
}

bool CMainWnd::PartnerPresent(const std::vector<DeviceCatalogEntry>& slots,
                              std::size_t slot) const {
  const DeviceCatalogEntry& a = slots[slot];
  if (a.hasPartner == 0 || a.partnerIndex >= slots.size()) {
    return false;
  }
  const DeviceCatalogEntry& partner = slots[a.partnerIndex];
  return partner.partnerIndex == slot && !partner.IsFree();
}

bool CMainWnd::PageExists(const std::vector<DeviceCatalogEntry>& slots, std::size_t slot) const {
  const DeviceCatalogEntry& a = slots[slot];
  const DeviceCatalogEntry* reference = &a;
  if (a.role == ROLE_SECONDARY) {
    for (const DeviceCatalogEntry& s : slots) {
      if (s.productId == a.productId && s.vendorId == a.vendorId && s.kind == a.kind &&
          s.role == ROLE_PRIMARY) {
        reference = &s;
        break;
      }
    }
  } else if (IsReceiverKind(a.kind) && a.hasPartner != 0 && a.partnerIndex < slots.size() &&
             slots[a.partnerIndex].partnerIndex == slot) {
    reference = &slots[a.partnerIndex];
  }
  return PageOfEntry(*reference) != nullptr;
}

devices::CQuorvexUSBDevice* CMainWnd::PageOfSecondary(const std::vector<DeviceCatalogEntry>& slots,
                                                      std::size_t slot) const {
  const DeviceCatalogEntry& a = slots[slot];
  const std::optional<Family> family = FamilyOfKind(a.kind);
  // The receiver's collection belongs to the page of the device behind it.
  const DeviceCatalogEntry* device = &a;
  if (a.kind == KIND_MOUSE_RECEIVER && a.hasPartner != 0 && a.partnerIndex < slots.size()) {
    device = &slots[a.partnerIndex];
  }
  for (devices::CQuorvexUSBDevice* page : Pages(*family)) {
    const DeviceCatalogEntry& served = page->GetCatalogEntry();
    if (served.vendorId == device->vendorId && served.productId == device->productId &&
        served.kind == device->kind) {
      return page;
    }
  }
  return nullptr;
}

panels::CDeviceOptionUI* CMainWnd::ItemOfPage(const devices::CQuorvexUSBDevice* page) const {
  for (panels::CDeviceOptionUI* item : items_) {
    if (item->GetPage() == page) {
      return item;
    }
  }
  return nullptr;
}

devices::CQuorvexUSBDevice* CMainWnd::CurrentPage() const {
  panels::CDeviceOptionUI* item = SelectedItem();
  return item != nullptr ? item->GetPage() : nullptr;
}

panels::CDeviceOptionUI* CMainWnd::SelectedItem() const {
  for (panels::CDeviceOptionUI* item : items_) {
    if (item->IsItemShown() && item->IsItemSelected()) {
      return item;
    }
  }
  return nullptr;
}

int CMainWnd::ShownCount() const {
  int shown = 0;
  for (const panels::CDeviceOptionUI* item : items_) {
    shown += item->IsItemShown() ? 1 : 0;
  }
  return shown;
}

// --- arrival and removal ---

void CMainWnd::OnDeviceArrived(std::size_t slot) {
  const std::vector<DeviceCatalogEntry> slots = SlotTable();
  const std::optional<Family> family = FamilyOfSlot(slots, slot);
  if (!family || slots[slot].IsFree()) {
    return;
  }
  const DeviceCatalogEntry& a = slots[slot];
  if (a.role == ROLE_SECONDARY) {
    if (devices::CQuorvexUSBDevice* page = PageOfSecondary(slots, slot)) {
      page->AttachSecondaryCollection(a.path, a.kind);
    }
  } else {
    if (!PageExists(slots, slot)) {
      CreatePage(*family, FindCatalogRow(a.vendorId, a.productId, a.kind, ROLE_PRIMARY));
    }
    FamilyArrival(slots, slot);
  }
  PresentWindow();
}

void CMainWnd::FamilyArrival(const std::vector<DeviceCatalogEntry>& slots, std::size_t slot) {
  const DeviceCatalogEntry& a = slots[slot];
  const Family family = *FamilyOfKind(a.kind);
  const bool partnered = PartnerPresent(slots, slot);
  if (HasTwoWays(family) && partnered) {
    if (IsDirectKind(a.kind)) {
      SwitchTransport(slots, slot);
    }
    return;
  }
  const bool viaPartner = IsReceiverKind(a.kind) && a.hasPartner != 0;
  const DeviceCatalogEntry& served = viaPartner ? slots[a.partnerIndex] : a;
  devices::CQuorvexUSBDevice* page = PageOfEntry(served);
  if (page == nullptr || page->IsChannelOpen()) {
    return;
  }
  const bool receiver = IsReceiverKind(a.kind);
  {
    std::lock_guard lock(page->GetChannel().commandLock());
    if (!page->GetChannel().openTransport(a.path,
                                          receiver ? link::MODE_RECEIVER : link::MODE_DIRECT)) {
      platform::DebugPrintf("slot %zu: %s could not be opened", slot, a.path.c_str());
      return;
    }
    DeviceCatalogEntry copy = served;
    copy.connected = 1;
    copy.path = a.path;
    page->SetCatalogEntry(copy, page->GetDeviceSubType());
    page->SetWireless(receiver);
  }
  panels::CDeviceOptionUI* item = ItemOfPage(page);
  if (item == nullptr) {
    return;
  }
  if (!receiver) {
    ShowItem(item, true, ShownCount() == 0);
  }
  item->StartFirstConnection();
}

void CMainWnd::SwitchTransport(const std::vector<DeviceCatalogEntry>& slots, std::size_t slot) {
  const DeviceCatalogEntry& a = slots[slot];
  const DeviceCatalogEntry& partner = slots[a.partnerIndex];
  // The page serves the direct row; the receiver row is its partner.
  const DeviceCatalogEntry& direct = IsDirectKind(a.kind) ? a : partner;
  const DeviceCatalogEntry& viaReceiver = IsDirectKind(a.kind) ? partner : a;
  devices::CQuorvexUSBDevice* page = PageOfEntry(direct);
  if (page == nullptr) {
    return;
  }
  link::CDeviceChannel& channel = page->GetChannel();
  bool toReceiver = false;
  bool opened = false;
  {
    std::lock_guard lock(channel.commandLock());
    channel.setOpen(false);
    toReceiver = !channel.receiverMode();
    link::CHidDevice& transport = toReceiver ? channel.transportB() : channel.transportA();
    transport.close();
    const std::string& path = toReceiver ? viaReceiver.path : direct.path;
    opened = !path.empty() && transport.open(path, true, true, true, false);
    if (opened) {
      channel.setOpen(true);
      channel.setMode(toReceiver ? link::MODE_RECEIVER : link::MODE_DIRECT);
      page->SetWireless(toReceiver);
    }
  }
  if (!opened) {
    platform::DebugPrintf("transport switch of slot %zu failed", slot);
    return;
  }
  panels::CDeviceOptionUI* item = ItemOfPage(page);
  if (toReceiver) {
    if (page->GetPowerReporting() != 0) {
      AwaitReceiverLink(page, kLinkQueryTries);
    }
    if (item != nullptr) {
      item->ArmLinkWatch(2000);
    }
  } else {
    if (item != nullptr) {
      item->StartFirstConnection();
      SendMessage(kMsgItemOnline, static_cast<ui::WParam>(page->GetCatalogIndex()), 1);
    }
    if (page->GetPowerReporting() != 0) {
      page->PollStatus();
    }
  }
}

// The receiver needs a moment to find its device again: ask up to kLinkQueryTries
// times, kLinkQueryPauseMs apart, without holding up the window meanwhile.
void CMainWnd::AwaitReceiverLink(devices::CQuorvexUSBDevice* page, int triesLeft) {
  std::weak_ptr<const bool> alive = page->GetAliveToken();
  if (alive.expired() || !page->IsChannelOpen()) {
    return;
  }
  if (link::CMD_LINK_QUERY(page->GetChannel())) {
    page->PollStatus();
    return;
  }
  platform::DebugOutput("获取2.4G模式失败");
  if (triesLeft <= 1) {
    return;
  }
  linkChecks_.push_back({page, std::move(alive), triesLeft - 1});
  SetTimer(kTimerLinkCheck, kLinkQueryPauseMs);
}

void CMainWnd::RunLinkChecks() {
  KillTimer(kTimerLinkCheck);
  std::vector<LinkCheck> due;
  due.swap(linkChecks_);
  for (const LinkCheck& check : due) {
    if (!check.alive.expired()) {
      AwaitReceiverLink(check.page, check.triesLeft);
    }
  }
}

void CMainWnd::OnDeviceRemoved(std::size_t slot) {
  const std::vector<DeviceCatalogEntry> slots = SlotTable();
  // The slot is already free in the table; its catalogue fields are what matter.
  const std::optional<Family> family = FamilyOfSlot(slots, slot);
  if (!family) {
    return;
  }
  const DeviceCatalogEntry& a = slots[slot];
  if (a.role == ROLE_SECONDARY) {
    if (devices::CQuorvexUSBDevice* page = PageOfSecondary(slots, slot)) {
      page->DetachSecondaryCollection();
    }
    return;
  }
  if (HasTwoWays(*family) && PartnerPresent(slots, slot)) {
    if (IsDirectKind(a.kind)) {
      // The device is still reachable through its receiver.
      std::vector<DeviceCatalogEntry> withPath = slots;
      SwitchTransport(withPath, slot);
    }
    return;
  }
  const bool viaPartner = IsReceiverKind(a.kind) && a.hasPartner != 0;
  devices::CQuorvexUSBDevice* page = PageOfEntry(viaPartner ? slots[a.partnerIndex] : a);
  if (page == nullptr) {
    return;
  }
  {
    std::lock_guard lock(page->GetChannel().commandLock());
    page->GetChannel().closeTransports();
  }
  if (panels::CDeviceOptionUI* item = ItemOfPage(page)) {
    RemoveItemFromView(item);
  }
}

void CMainWnd::OnItemOnline(ui::WParam index, ui::LParam online) {
  panels::CDeviceOptionUI* item = nullptr;
  for (panels::CDeviceOptionUI* candidate : items_) {
    devices::CQuorvexUSBDevice* page = candidate->GetPage();
    if (page != nullptr && static_cast<ui::WParam>(page->GetCatalogIndex()) == index) {
      item = candidate;
      break;
    }
  }
  if (item == nullptr) {
    return;
  }
  if (online == 0) {
    RemoveItemFromView(item);
    platform::DebugOutput("2.4gcesvdfherhue 1");
  } else if (!item->IsItemShown() && item->GetPage()->IsChannelOpen()) {
    // Only a device that is still connected comes back into view.
    ShowItem(item, true, ShownCount() == 0);
  }
}

// --- the selector ---

void CMainWnd::RemoveItemFromView(panels::CDeviceOptionUI* item) {
  panels::CDeviceOptionUI* picked = nullptr;
  const bool wasCurrent = item->IsItemShown() && item->IsItemSelected();
  if (wasCurrent) {
    CloseSecondaryWindows();
    if (busy_) {
      SetBusyState(false, true);
    }
    for (panels::CDeviceOptionUI* other : items_) {
      if (other != item && other->IsItemShown()) {
        picked = other;
        break;
      }
    }
  }
  item->SetItemSelected(false);
  ShowItem(item, false, false);
  if (picked != nullptr) {
    ShowItem(picked, true, true);
  }
}

void CMainWnd::ShowItem(panels::CDeviceOptionUI* item, bool show, bool select) {
  auto* pageSwitch = FindControlAs<ui::CTabLayoutUI>("device_switch");
  auto* powerSwitch = FindControlAs<ui::CTabLayoutUI>("device_power_switch");
  if (item != nullptr) {
    platform::DebugPrintf("selector: %s item of type %d%s", show ? "show" : "hide",
                          item->GetDeviceType(), select ? ", selected" : "");
    item->SetVisible(show);
    if (select) {
      if (pageSwitch != nullptr && item->GetBindTabIndex() >= 0) {
        pageSwitch->SelectItem(item->GetBindTabIndex());
      }
      if (powerSwitch != nullptr) {
        powerSwitch->SelectItem(item->GetPowerTabIndex() >= 0 ? item->GetPowerTabIndex() : 0);
      }
      for (panels::CDeviceOptionUI* other : items_) {
        if (other != item) {
          other->SetItemSelected(false);
        }
      }
      item->SetItemSelected(true);
    }
  }
  const int shown = ShownCount();
  if (ui::CControlUI* none = FindControl("No_device_Link")) {
    none->SetVisible(shown == 0);
  }
  if (shown == 0) {
    if (powerSwitch != nullptr) {
      powerSwitch->SelectItem(0);
    }
    if (pageSwitch != nullptr) {
      pageSwitch->SelectItem(0);
    }
  }
  for (devices::CQuorvexUSBDevice* page : AllPages()) {
    page->SetMultiDevice(shown > 1);
  }
  int synced = 0;
  for (const panels::CDeviceOptionUI* other : items_) {
    synced += other->IsItemShown() && other->IsSyncChecked() ? 1 : 0;
  }
  for (panels::CDeviceOptionUI* other : items_) {
    other->ShowSyncBox(shown > 1);
    if (synced < 2) {
      other->SetSyncChecked(false);
    }
  }
}

void CMainWnd::StepSelector(int direction) {
  panels::CDeviceOptionUI* current = SelectedItem();
  const auto at = std::find(items_.begin(), items_.end(), current);
  if (current == nullptr || at == items_.end()) {
    return;
  }
  if (direction < 0) {
    for (auto it = std::make_reverse_iterator(at); it != items_.rend(); ++it) {
      if ((*it)->IsItemShown()) {
        ShowItem(*it, true, true);
        return;
      }
    }
  } else {
    for (auto it = at + 1; it != items_.end(); ++it) {
      if ((*it)->IsItemShown()) {
        ShowItem(*it, true, true);
        return;
      }
    }
  }
}

} // namespace quorvex::app
