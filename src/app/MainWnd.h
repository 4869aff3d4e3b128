#pragma once

// CMainWnd: the application's only top-level window and its controller.
//
// It hosts the device selector ("device_select_layout") and one device page per device
// family ("device_switch"), routes every notification of its controls, receives the
// messages of the detection worker (3090 arrival, 3091 removal), of the pages and of
// cooperating programs, owns the tray icon and its menu, fits itself to the screen and
// applies the display language. Workers reach it only through window messages.
//
// UI thread only.

#include "app/AppMessages.h"
#include "app/DeviceCatalog.h"
#include "app/DeviceDetector.h"
#include "app/LanguageSettings.h"
#include "app/WorkerTable.h"
#include "platform/PeerLink.h"
#include "ui/WindowImplBase.h"

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace quorvex::devices {
class CQuorvexUSBDevice;
}
namespace quorvex::panels {
class CDeviceOptionUI;
class CMpDevicePowerUI;
} // namespace quorvex::panels
namespace quorvex::ui {
class CMenuWnd;
}

namespace quorvex::app {

// Device families, in the order of the device-type table.
enum class Family { kMouse = 0, kKeyboard = 1, kMousePad = 2, kHeadset = 3 };
inline constexpr int kFamilyCount = 4;
// The family of a catalogue kind (1 and 9 keyboard, 2 and 6 mouse, 3 pad, 7 headset).
std::optional<Family> FamilyOfKind(std::uint16_t kind);
// The model folder and default-profile name of a family ("QX418W_Keyboard", ...).
std::string_view ModelNameOf(Family family);

struct MainWndOptions {
  // The shipped "DefaultData/" folder (with the trailing slash).
  std::string defaultDataFolder;
  // The user's settings file (display language).
  std::string settingsPath;
  // Number of the instance message (posted by the detector after its first pass).
  std::uint32_t instanceMessage = 0;
  // Messages to cooperating programs; null: none are sent.
  platform::IPeerLink* peers = nullptr;
  // The version shown by the about window.
  std::string version;
  // Tests may run the window without the detection worker.
  bool startDetector = true;
};

// Where the tray menu opens and how it is aligned, from the monitor, its work area
// (the task bar is what lies between them) and the cursor.
struct MenuPlacement {
  ui::UiPoint point;
  std::uint32_t align = 0;
};
MenuPlacement PlaceTrayMenu(const ui::UiRect& monitor, const ui::UiRect& workArea,
                            ui::UiPoint cursor);

// The window DPI for a monitor of that full size: 144 above 1500 x 960, else 96.
int DpiForMonitor(const ui::UiRect& monitor);

class CMainWnd : public ui::WindowImplBase {
public:
  explicit CMainWnd(MainWndOptions options);
  ~CMainWnd() override;

  std::string_view GetWindowClassName() const override { return "MainWnd"; }
  std::string GetSkinFile() override { return "XML_MAIN"; }
  void InitWindow() override;
  void Notify(ui::TNotifyUI& msg) override;
  ui::LResult HandleCustomMessage(std::uint32_t msg, ui::WParam wParam, ui::LParam lParam,
                                  bool& handled) override;
  std::unique_ptr<ui::CControlUI> CreateControl(std::string_view className) override;

  // --- operations other parts call ---
  // Brings the window to the front (after an arrival and on the instance message).
  void PresentWindow();
  // Closes the secondary windows and hides the window; the tray icon stays.
  void HideToTray();
  // Shows or hides a selector item; with `select` also selects its page and power tab.
  void ShowItem(panels::CDeviceOptionUI* item, bool show, bool select);
  // Takes an item out of view as on a device removal, selecting the next shown one.
  void RemoveItemFromView(panels::CDeviceOptionUI* item);
  // The page of the selected, shown item, or null.
  devices::CQuorvexUSBDevice* CurrentPage() const;
  const std::vector<devices::CQuorvexUSBDevice*>& Pages(Family family) const;
  const std::vector<panels::CDeviceOptionUI*>& Items() const { return items_; }
  // Hands the light-control value to every page.
  void SetLightControlForPages(int on);
  void SetWindowActiveForPages(bool on);
  void SetBusyState(bool busy, bool includeSelector);
  std::vector<FirmwareIdentityEntry> BuildUpdateList() const;
  // Fits the window to the DPI its monitor calls for.
  void FitDpi();
  void ApplyLanguage(int index);
  // -1 the previous shown item, +1 the next one; nothing at either end.
  void StepSelector(int direction);
  // Closes the settings, about, colour picker and audio-style windows when open.
  void CloseSecondaryWindows();

  // The profile issue hooks its switch here (timer 1055 fires 400 ms after the last
  // choice in "device_profile_combo").
  std::function<void(devices::CQuorvexUSBDevice*)> onProfileSwitch;

  // --- state ---
  int GetLightControl() const { return lightControl_; }
  bool IsActive() const { return active_; }
  bool IsBusy() const { return busy_; }
  int GetLanguageIndex() const { return languageIndex_; }
  int GetWindowDpi() const { return windowDpi_; }
  ui::UiSize GetRecordedScreenSize() const { return screenSize_; }
  std::vector<DeviceCatalogEntry> SlotTable() const;
  CDeviceDetector* Detector() const { return detector_.get(); }
  ui::CMenuWnd* TrayMenu() const { return trayMenu_.get(); }

private:
  void OnWindowInit();
  void OnClick(ui::TNotifyUI& msg);
  void OnSelectChanged(ui::TNotifyUI& msg);
  void OnTimer(std::uint32_t id);
  void OnMenuCommand(const std::string& name);
  void OnTrayIcon(ui::LParam mouse);
  void OpenTrayMenu();
  void OnDeviceArrived(std::size_t slot);
  void OnDeviceRemoved(std::size_t slot);
  void OnItemOnline(ui::WParam index, ui::LParam online);
  void OnLightRequest(ui::WParam wParam, ui::LParam lParam);
  void OnPowerBroadcast(ui::WParam event);
  void ToggleLightControl();
  void SetLightControlText();
  void SendDeviceReport();
  void ShowAbout();
  void Shutdown();

  // Pages and the selector.
  devices::CQuorvexUSBDevice* CreatePage(Family family, int catalogRow);
  devices::CQuorvexUSBDevice* PageOfEntry(const DeviceCatalogEntry& entry) const;
  bool PageExists(const std::vector<DeviceCatalogEntry>& slots, std::size_t slot) const;
  bool PartnerPresent(const std::vector<DeviceCatalogEntry>& slots, std::size_t slot) const;
  void FamilyArrival(const std::vector<DeviceCatalogEntry>& slots, std::size_t slot);
  void SwitchTransport(const std::vector<DeviceCatalogEntry>& slots, std::size_t slot);
  void AwaitReceiverLink(devices::CQuorvexUSBDevice* page, int triesLeft);
  void RunLinkChecks();
  panels::CDeviceOptionUI* ItemOfPage(const devices::CQuorvexUSBDevice* page) const;
  // The page that listens on the secondary collection in `slot`.
  devices::CQuorvexUSBDevice* PageOfSecondary(const std::vector<DeviceCatalogEntry>& slots,
                                              std::size_t slot) const;
  panels::CDeviceOptionUI* SelectedItem() const;
  int ShownCount() const;
  std::vector<devices::CQuorvexUSBDevice*> AllPages() const;

  MainWndOptions options_;
  CSettingsStore settings_;
  std::unique_ptr<CDeviceDetector> detector_;
  CWorkerTable workers_;
  std::unique_ptr<ui::CMenuWnd> trayMenu_;
  std::array<std::vector<devices::CQuorvexUSBDevice*>, kFamilyCount> pages_;
  std::vector<panels::CDeviceOptionUI*> items_;
  std::vector<panels::CMpDevicePowerUI*> powerIndicators_;

  std::uint32_t msgSettingsRelay_ = 0;
  std::uint32_t msgLightAnnounce_ = 0;
  std::uint32_t msgLightRequest_ = 0;
  std::uint32_t msgDeviceReport_ = 0;
  std::array<std::uint32_t, 4> msgGame_{};

  int lightControl_ = 1;
  bool active_ = true;
  bool windowActive_ = false;
  bool busy_ = false;
  int languageIndex_ = -1;
  int windowDpi_ = 96;
  bool displayChanged_ = false;
  bool trayShown_ = false;
  bool shutDown_ = false;
  ui::UiSize screenSize_;
  // Receiver link checks in progress after a switch to the receiver.
  struct LinkCheck {
    devices::CQuorvexUSBDevice* page;
    std::weak_ptr<const bool> alive;
    int triesLeft;
  };
  std::vector<LinkCheck> linkChecks_;
};

} // namespace quorvex::app
