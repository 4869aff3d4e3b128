#include "app/MainWnd.h"

#include "app/DeviceReport.h"
#include "devices/CQuorvexUSBDevice.h"
#include "panels/CDeviceOptionUI.h"
#include "platform/DebugOutput.h"
#include "ui/DesktopServices.h"
#include "ui/DialogBuilder.h"
#include "ui/Label.h"
#include "ui/MenuWnd.h"
#include "ui/MessageLoop.h"
#include "ui/Option.h"
#include "ui/RegisteredMessages.h"
#include "ui/ResourceManager.h"
#include "windows/CAboutWnd.h"

#include <algorithm>
#include <cctype>
#include <string_view>

namespace quorvex::app {
namespace {

bool EqualsNoCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) ==
                  std::tolower(static_cast<unsigned char>(y));
         });
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() && EqualsNoCase(text.substr(0, prefix.size()), prefix);
}

// The index after a name prefix ("key_12" -> 12), or -1.
int IndexAfter(std::string_view name, std::string_view prefix) {
  if (!StartsWithNoCase(name, prefix) || name.size() == prefix.size() ||
      name.size() - prefix.size() > 6) {
    return -1;
  }
  int value = 0;
  for (char c : name.substr(prefix.size())) {
    if (c < '0' || c > '9') {
      return -1;
    }
    value = value * 10 + (c - '0');
  }
  return value;
}

// Title-bar buttons of features that other windows provide; hidden until those exist.
constexpr std::array<std::string_view, 5> kPendingTitleButtons = {
    "skinbtn", "gamemodebtn", "cloudbtn", "smarteyesbtn", "setbtn"};

// Panel subtrees the skins place by tag; each is built from its own skin file.
struct SubtreeTag {
  std::string_view tag;
  std::string_view file;
};
constexpr std::array<SubtreeTag, 8> kSubtreeTags = {{
    {"DeviceProfileUI", "XML/CustomControlXML/DeviceProfile.xml"},
    {"LightSetControlUI", "XML/CustomControlXML/LightControl.xml"},
    {"Voice6533SetControlUI", "XML/CustomControlXML/Voice6533Control.xml"},
    {"MagicSetControlUI", "XML/CustomControlXML/MagicControl.xml"},
    {"KeySetControlUI", "XML/CustomControlXML/KeySetControl.xml"},
    {"MacroSetControlUI", "XML/CustomControlXML/MacroControl.xml"},
    {"ShootKeySetControlUI", "XML/CustomControlXML/ShootControl.xml"},
    {"VirtualSetControlUI", "XML/CustomControlXML/VirtualSet.xml"},
}};

constexpr std::array<std::string_view, 4> kPageTags = {
    "QuorvexMousePadDevice", "QuorvexHS6533Device", "QuorvexMouseDevice", "QuorvexKeyboardDevice"};

// Text keys of "control_light_status": what a click on it will do.
constexpr std::string_view kTakeLightText = "控制灯光";
constexpr std::string_view kReleaseLightText = "不控制灯光";

} // namespace

std::optional<Family> FamilyOfKind(std::uint16_t kind) {
  switch (kind) {
  case KIND_KEYBOARD:
  case KIND_KEYBOARD_RECEIVER:
    return Family::kKeyboard;
  case KIND_MOUSE:
  case KIND_MOUSE_RECEIVER:
    return Family::kMouse;
  case KIND_MOUSEPAD:
    return Family::kMousePad;
  case KIND_HEADSET:
    return Family::kHeadset;
  default:
    return std::nullopt;
  }
}

std::string_view ModelNameOf(Family family) {
  switch (family) {
  case Family::kMouse:
    return "QX418W_Mouse";
  case Family::kKeyboard:
    return "QX418W_Keyboard";
  case Family::kMousePad:
    return "QX418W_MousePad";
  case Family::kHeadset:
    return "QX418W_Headset";
  }
  return {};
}

MenuPlacement PlaceTrayMenu(const ui::UiRect& monitor, const ui::UiRect& work, ui::UiPoint cursor) {
  MenuPlacement p{cursor, ui::kMenuAlignLeft | ui::kMenuAlignTop};
  if (work.top > monitor.top) { // bar along the top edge
    p.point.y = monitor.top + (work.top - monitor.top) + 1;
    p.align = ui::kMenuAlignTop | ui::kMenuAlignRight;
  } else if (work.left > monitor.left) { // left edge
    p.point.x = monitor.left + (work.left - monitor.left) + 1;
    p.align = ui::kMenuAlignLeft | ui::kMenuAlignBottom;
  } else if (work.bottom < monitor.bottom) { // bottom edge: open above the bar
    p.point.y = work.bottom - 20;
    p.align = ui::kMenuAlignRight | ui::kMenuAlignBottom;
  } else if (work.right < monitor.right) { // right edge
    p.point.x = work.right - 1;
    p.align = ui::kMenuAlignRight | ui::kMenuAlignBottom;
  }
  return p;
}

int DpiForMonitor(const ui::UiRect& monitor) {
  return monitor.Width() > 1500 && monitor.Height() > 960 ? 144 : 96;
}

CMainWnd::CMainWnd(MainWndOptions options)
    : options_(std::move(options)), settings_(options_.settingsPath) {
  msgSettingsRelay_ = ui::RegisterWindowMessage(kMsgNameSettingsRelay);
  msgLightAnnounce_ = ui::RegisterWindowMessage(kMsgNameLightAnnounce);
  msgLightRequest_ = ui::RegisterWindowMessage(kMsgNameLightRequest);
  msgDeviceReport_ = ui::RegisterWindowMessage(kMsgNameDeviceReport);
  for (std::size_t i = 0; i < kGameMessages.size(); ++i) {
    msgGame_[i] = ui::RegisterWindowMessage(kGameMessages[i]);
  }
}

CMainWnd::~CMainWnd() {
  Shutdown();
  DestroyNow();
}

// --- window set-up ---

void CMainWnd::InitWindow() {
  platform::DebugOutput("InitWindow");
  // Baseline texts, so that a damaged language list still shows words, not keys.
  GetContext().resources->LoadLanguage("lan_en.xml");
  SetIcon(107);
  if (ui::IDesktopServices* desktop = ui::GetDesktopServices()) {
    trayShown_ =
        desktop->ShowTrayIcon(GetHWND(), kMsgTrayIcon, "common/icon/app.svg", kInstanceName);
  }
}

void CMainWnd::OnWindowInit() {
  for (std::string_view name : kPendingTitleButtons) {
    if (ui::CControlUI* button = FindControl(name)) {
      button->SetVisible(false);
    }
  }
  // Other programs learn that this one drives the lights now.
  if (options_.peers != nullptr) {
    options_.peers->Broadcast(kMsgNameLightAnnounce, 1, 1);
  }
  const auto list = LoadLanguageList(options_.defaultDataFolder + "Language.config");
  std::optional<std::int32_t> stored = settings_.ReadLanguage();
  ApplyLanguage(FindLanguageIndex(list, stored ? stored : LanguageIdFromLocale()));
  SetLightControlText();

  detector_ = std::make_unique<CDeviceDetector>(*GetLoop(), GetHWND(), options_.instanceMessage);
  // Keyboard and mouse pages exist from the start; the others come with their device.
  const auto& types = DeviceTypeTable();
  for (int t : {0, 1}) {
    const int row =
        FindCatalogRow(types[t].vendorId, types[t].productId, types[t].kind, ROLE_PRIMARY);
    if (row >= 0) {
      CreatePage(t == 0 ? Family::kMouse : Family::kKeyboard, row);
    }
  }
  ShowItem(nullptr, false, false);
  if (ui::IDesktopServices* desktop = ui::GetDesktopServices()) {
    screenSize_ = desktop->GetScreenSize();
  } else {
    screenSize_ = {GetLoop()->GetWorkArea().Width(), GetLoop()->GetWorkArea().Height()};
  }
  ShowWindow(false);
  if (options_.startDetector) {
    detector_->Start();
  }
  SetTimer(kTimerDpiFit, 100);
}

std::unique_ptr<ui::CControlUI> CMainWnd::CreateControl(std::string_view className) {
  for (std::string_view tag : kPageTags) {
    if (EqualsNoCase(className, tag)) {
      // Every family runs on the common page until its own page class exists.
      return std::make_unique<devices::CQuorvexUSBDevice>();
    }
  }
  for (const SubtreeTag& subtree : kSubtreeTags) {
    if (EqualsNoCase(className, subtree.tag)) {
      ui::CDialogBuilder builder;
      return builder.Create(std::string(subtree.file), this, GetPaintManager());
    }
  }
  return nullptr;
}

// --- notifications ---

void CMainWnd::Notify(ui::TNotifyUI& msg) {
  const std::string_view type = msg.type;
  if (type != ui::notify::kTimer) {
    platform::DebugPrintf("%s %s", msg.type.c_str(),
                          msg.sender != nullptr ? msg.sender->GetName().c_str() : "");
  }
  const std::string_view name =
      msg.sender != nullptr ? std::string_view(msg.sender->GetName()) : std::string_view();
  if (type == ui::notify::kWindowInit) {
    OnWindowInit();
  } else if (type == ui::notify::kWindowSize) {
    FitDpi();
  } else if (type == ui::notify::kClick) {
    OnClick(msg);
  } else if (type == ui::notify::kSelectChanged) {
    OnSelectChanged(msg);
  } else if (type == ui::notify::kItemSelect) {
    if (EqualsNoCase(name, "device_profile_combo")) {
      // Quick successive choices end in one switch.
      SetTimer(kTimerProfileSwitch, 400);
    }
  }
}

void CMainWnd::OnSelectChanged(ui::TNotifyUI& msg) {
  const std::string& name = msg.sender->GetName();
  if (EqualsNoCase(name, "device_select")) {
    // Only the option that became selected picks its device; the others report being
    // cleared.
    auto* option = dynamic_cast<ui::COptionUI*>(msg.sender);
    if (option == nullptr || !option->IsSelected()) {
      return;
    }
    for (ui::CControlUI* c = msg.sender; c != nullptr; c = c->GetParent()) {
      if (auto* item = dynamic_cast<panels::CDeviceOptionUI*>(c)) {
        if (item->IsItemShown() && SelectedItem() != item) {
          ShowItem(item, true, true);
        }
        break;
      }
    }
  }
}

void CMainWnd::OnClick(ui::TNotifyUI& msg) {
  const std::string& name = msg.sender->GetName();
  ui::IDesktopServices* desktop = ui::GetDesktopServices();
  if (EqualsNoCase(name, "closebtn")) {
    HideToTray();
  } else if (EqualsNoCase(name, "nodevice_ok_btn")) {
    ShowWindow(false);
  } else if (EqualsNoCase(name, "control_light_status")) {
    ToggleLightControl();
  } else if (EqualsNoCase(name, "minbtn")) {
    if (desktop != nullptr) {
      desktop->MinimizeWindow(GetHWND());
    }
  } else if (EqualsNoCase(name, "maxbtn")) {
    if (desktop != nullptr) {
      desktop->MaximizeWindow(GetHWND());
    }
  } else if (EqualsNoCase(name, "restorebtn")) {
    if (desktop != nullptr) {
      desktop->RestoreWindow(GetHWND());
    }
  } else if (EqualsNoCase(name, "device_select_prev")) {
    StepSelector(-1);
  } else if (EqualsNoCase(name, "device_select_next")) {
    StepSelector(+1);
  } else if (int key = IndexAfter(name, "key_"); key >= 0) {
    // A key picture of the current page; the key assignment panel takes it from here.
    if (devices::CQuorvexUSBDevice* page = CurrentPage()) {
      page->SelectKey(key);
    }
  }
}

// --- window messages ---

ui::LResult CMainWnd::HandleCustomMessage(std::uint32_t msg, ui::WParam wParam, ui::LParam lParam,
                                          bool& handled) {
  handled = true;
  if (msg == kMsgDeviceArrived) {
    OnDeviceArrived(static_cast<std::size_t>(wParam));
  } else if (msg == kMsgDeviceRemoved) {
    OnDeviceRemoved(static_cast<std::size_t>(wParam));
  } else if (msg == ui::kMsgTimer) {
    OnTimer(static_cast<std::uint32_t>(wParam));
  } else if (options_.instanceMessage != 0 && msg == options_.instanceMessage) {
    platform::DebugPrintf("软件标示 %u，%zxd%zxd", msg, static_cast<std::size_t>(wParam),
                          static_cast<std::size_t>(lParam));
    PresentWindow();
  } else if (msg == msgLightRequest_) {
    OnLightRequest(wParam, lParam);
  } else if (msg == msgDeviceReport_) {
    SendDeviceReport();
  } else if (msg == msgSettingsRelay_) {
    // Relayed to the settings window while it is open; there is none yet.
  } else if (std::find(msgGame_.begin(), msgGame_.end(), msg) != msgGame_.end()) {
    if (active_) {
      platform::DebugPrintf("game event %s: no synchronised lighting to switch",
                            ui::RegisteredMessageName(msg).value_or("").c_str());
    }
  } else if (msg == kMsgTrayIcon) {
    OnTrayIcon(lParam);
  } else if (msg == kMsgMenuClick) {
    if (wParam != 0) {
      OnMenuCommand(*reinterpret_cast<const std::string*>(wParam));
    }
  } else if (msg == kMsgActivate) {
    windowActive_ = wParam != 0;
    SetWindowActiveForPages(windowActive_);
  } else if (msg == kMsgMouseLeave || msg == kMsgMouseHover) {
    platform::DebugOutput(msg == kMsgMouseLeave ? "鼠标移出" : "鼠标移入");
    SetWindowActiveForPages(msg == kMsgMouseHover);
  } else if (msg == kMsgPowerBroadcast) {
    OnPowerBroadcast(wParam);
  } else if (msg == kMsgApplyLanguage) {
    ApplyLanguage(static_cast<int>(wParam));
  } else if (msg == kMsgClearUpdateMark) {
    if (ui::CControlUI* set = FindControl("setbtn")) {
      set->SetForeImage({});
    }
  } else if (msg == kMsgItemOnline) {
    OnItemOnline(wParam, lParam);
  } else if (msg == kMsgSettingProgress) {
    if (ui::CControlUI* progress = FindControl("setting_progress")) {
      progress->SetVisible(true);
    }
  } else if (msg == kMsgDpiNotice) {
    platform::DebugOutput("界面 DPI 1发生变化");
  } else if (msg == kMsgDpiChanged) {
    const int dpi = static_cast<int>(wParam & 0xFFFF);
    if (ui::CPaintManagerUI* pm = GetPaintManager(); pm != nullptr && pm->SetDPI(dpi)) {
      windowDpi_ = dpi;
      pm->ResetDPIAssets();
      ResizeClient(pm->Scale(800), pm->Scale(572));
      CenterWindow();
      pm->NeedUpdate();
    }
    platform::DebugOutput("界面 DPI 发生变化");
  } else if (msg == kMsgDisplayChange) {
    platform::DebugOutput("显示器分辨率发生变化");
    displayChanged_ = true;
    FitDpi();
  } else if (msg == ui::kMsgDestroy) {
    platform::DebugOutput("退出测试");
    Shutdown();
    GetLoop()->Quit(0);
    handled = false;
  } else {
    handled = false;
  }
  return 0;
}

void CMainWnd::OnTimer(std::uint32_t id) {
  if (id == kTimerDpiFit) {
    KillTimer(id);
    FitDpi();
    if (ui::CPaintManagerUI* pm = GetPaintManager()) {
      pm->InvalidateAll();
    }
  } else if (id == kTimerTrayMenu) {
    KillTimer(id);
    OpenTrayMenu();
  } else if (id == kTimerProfileSwitch) {
    KillTimer(id);
    if (onProfileSwitch) {
      onProfileSwitch(CurrentPage());
    }
  } else if (id == kTimerGameLighting) {
    KillTimer(id);
  } else if (id == kTimerLinkCheck) {
    RunLinkChecks();
  }
}

void CMainWnd::OnLightRequest(ui::WParam wParam, ui::LParam lParam) {
  if (wParam != 1) {
    return;
  }
  lightControl_ = lParam != 0 ? 1 : 0;
  SetLightControlText();
  SetLightControlForPages(lightControl_);
}

void CMainWnd::ToggleLightControl() {
  lightControl_ = lightControl_ != 0 ? 0 : 1;
  if (options_.peers != nullptr) {
    options_.peers->Broadcast(kMsgNameLightAnnounce, 1, lightControl_);
  }
  SetLightControlText();
  SetLightControlForPages(lightControl_);
}

void CMainWnd::SetLightControlText() {
  if (ui::CControlUI* status = FindControl("control_light_status")) {
    // The button names what a click does next.
    status->SetText(std::string(lightControl_ != 0 ? kReleaseLightText : kTakeLightText));
  }
}

void CMainWnd::OnPowerBroadcast(ui::WParam event) {
  if (event == kPowerSuspend) {
    active_ = false;
    SetLightControlForPages(0);
  } else if (event == kPowerResume) {
    active_ = true;
    SetLightControlForPages(lightControl_);
  }
}

void CMainWnd::SendDeviceReport() {
  if (options_.peers == nullptr) {
    return;
  }
  const auto block = BuildDeviceReport();
  options_.peers->SendCopyData(kWorkToolName, kDeviceReportKind, block);
}

void CMainWnd::OnMenuCommand(const std::string& name) {
  if (name == "exit") {
    CloseSecondaryWindows();
    Close(0);
  } else if (name == "about_menu") {
    ShowAbout();
  } else if (name == "setwnd_menu") {
    platform::DebugOutput("settings window not available");
  }
}

void CMainWnd::ShowAbout() {
  std::string version = options_.version;
  if (version.empty()) {
    const auto identity = FirmwareIdentityTable();
    version = identity.back().version;
  }
  windows::ShowAboutWindow(GetContext(), GetHWND(), version, windowDpi_);
}

void CMainWnd::CloseSecondaryWindows() {
  if (windows::CAboutWnd* about = windows::CAboutWnd::Current()) {
    about->Close(0);
  }
}

void CMainWnd::Shutdown() {
  if (shutDown_) {
    return;
  }
  shutDown_ = true;
  ShowWindow(false);
  KillTimer(kTimerDpiFit);
  if (detector_ != nullptr) {
    // The table owns the detector from here; an abandoned one stays alive.
    workers_.Put(CWorkerTable::kDetectorEntry, std::move(detector_));
  }
  workers_.StopAll();
  trayMenu_.reset();
  if (trayShown_) {
    if (ui::IDesktopServices* desktop = ui::GetDesktopServices()) {
      desktop->RemoveTrayIcon(GetHWND());
    }
    trayShown_ = false;
  }
}

std::vector<DeviceCatalogEntry> CMainWnd::SlotTable() const {
  if (detector_ != nullptr) {
    return detector_->Slots();
  }
  return {DeviceCatalog().begin(), DeviceCatalog().end()};
}

std::vector<FirmwareIdentityEntry> CMainWnd::BuildUpdateList() const {
  std::vector<int> releases;
  for (const panels::CDeviceOptionUI* item : items_) {
    const devices::CQuorvexUSBDevice* page = item->GetPage();
    int release = 0;
    if (page != nullptr && page->IsChannelOpen()) {
      auto* p = const_cast<devices::CQuorvexUSBDevice*>(page);
      link::CHidDevice& transport = p->GetChannel().receiverMode() ? p->GetChannel().transportB()
                                                                   : p->GetChannel().transportA();
      release = transport.attributes().versionNumber;
    }
    releases.push_back(release);
  }
  return app::BuildUpdateList(releases, QUORVEX_VERSION_NUMBER);
}

} // namespace quorvex::app
