#pragma once

// CDeviceOptionUI ("DeviceOption"): the selector item of one device page.
//
// The item shows the device's icon ("device_select", an option bound to the page's tab
// of "device_switch"), its name ("device_select_name") and the synchronised-lighting
// box ("synchro_device_select"). It also owns the page's life-cycle timers:
//
//   1001 first connection   StartFirstConnection arms it (500 ms). A wireless page
//                           whose device does not answer hides the item, tells the
//                           main window (0x0D03, 0) and retries after 3000 ms;
//                           otherwise OnDeviceReady, then 1000 (5 ms), 1005 (50 ms,
//                           power reporting) and, wireless, 1007 (2000 ms).
//   1000 preview frame      PushLedFrame; the picture repaints when the frame changed
//                           while the item is selected and the window active; again
//                           after 5 ms (cable, lighting changing), 100 ms (cable,
//                           lighting still) or 500 ms (wireless) while the channel
//                           is open.
//   1002                    OnDeviceSyncRequest (armed from the sync worker).
//   1003, 1004              OnTimer1003, OnTimer1004.
//   1005 status poll        PollStatus, every 5000 ms while the page reports power.
//   1007 link watch         wireless: shows or hides the item as the device comes and
//                           goes (0x0D03 with 1 or 0), every 3000 ms while open.
//
// UI thread only, except RequestTimerFromWorker.

#include "ui/BoxLayout.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>

namespace quorvex::devices {
class CQuorvexUSBDevice;
}
namespace quorvex::ui {
class COptionUI;
class CLabelUI;
} // namespace quorvex::ui

namespace quorvex::panels {

enum DeviceTimer : std::uint32_t {
  kTimerFrame = 1000,
  kTimerFirstConnection = 1001,
  kTimerSyncRequest = 1002,
  kTimer1003 = 1003,
  kTimer1004 = 1004,
  kTimerStatusPoll = 1005,
  kTimerLinkWatch = 1007,
};

// Frame timer periods: a cable device while its lighting changes, a cable device whose
// lighting stands still, a device behind a receiver.
inline constexpr std::uint32_t kCableFrameMs = 5;
inline constexpr std::uint32_t kIdleFrameMs = 100;
inline constexpr std::uint32_t kWirelessFrameMs = 500;

// After this many failed first-connection tries the failure count starts again at 0.
inline constexpr int kFailureWrap = 20;

class CDeviceOptionUI : public ui::CHorizontalLayoutUI {
public:
  CDeviceOptionUI();
  ~CDeviceOptionUI() override;

  std::string_view GetClass() const override;

  // The four images and the name key of a device type (see DeviceIconPrefix).
  void SetDeviceKind(int type, int subType);
  int GetDeviceType() const { return type_; }
  int GetDeviceSubType() const { return subType_; }
  void ShowSyncBox(bool show);
  void SetSyncChecked(bool on);
  bool IsSyncChecked() const;
  void SetItemSelected(bool on);
  bool IsItemSelected() const;
  void BindTab(std::string layoutName, int index);
  std::string GetBindTabName() const;
  int GetBindTabIndex() const;
  void SetPowerTab(std::string name, int index);
  const std::string& GetPowerTabName() const { return powerTabName_; }
  int GetPowerTabIndex() const { return powerTabIndex_; }
  void SetItemGroup(std::string name);
  void SetItemLabel(std::string text);
  void AttachPage(devices::CQuorvexUSBDevice* page);
  // The attached page, or null when none is attached or it has been destroyed.
  devices::CQuorvexUSBDevice* GetPage() const { return pageAlive_.expired() ? nullptr : page_; }

  // The shown flag the selector reads (kept by every show and hide).
  bool IsItemShown() const { return IsVisible(); }

  // The images currently in force, for the front end and tests.
  const std::string& GetNormalImage() const { return normalImage_; }
  const std::string& GetSelectedImage() const { return selectedImage_; }
  const std::string& GetSyncNormalImage() const { return syncNormalImage_; }
  const std::string& GetSyncSelectedImage() const { return syncSelectedImage_; }

  void StartFirstConnection();
  void ArmLinkWatch(std::uint32_t ms);
  int GetFailureCount() const { return failures_; }
  // Any thread: arms `timer` after `ms` on the UI thread (the sync worker's request).
  // Dropped when the item is gone by then.
  void RequestTimerFromWorker(std::uint32_t timer, std::uint32_t ms);

  bool Activate() override;
  void DoEvent(ui::TEventUI& event) override;

private:
  ui::COptionUI* SelectOption();
  ui::COptionUI* SyncOption();
  ui::CLabelUI* NameLabel();
  void ApplyImagePair();
  void Arm(std::uint32_t timer, std::uint32_t ms);
  void OnTimer(std::uint32_t timer);
  void OnFirstConnection();
  void OnFrame();
  void OnLinkWatch();

  devices::CQuorvexUSBDevice* page_ = nullptr;
  std::weak_ptr<const bool> pageAlive_;
  ui::COptionUI* select_ = nullptr;
  ui::COptionUI* sync_ = nullptr;
  ui::CLabelUI* name_ = nullptr;
  std::string normalImage_;
  std::string selectedImage_;
  std::string syncNormalImage_;
  std::string syncSelectedImage_;
  std::string powerTabName_;
  int powerTabIndex_ = -1;
  int type_ = 0;
  int subType_ = 0;
  int failures_ = 0;
  std::shared_ptr<std::atomic<CDeviceOptionUI*>> self_;
};

// The icon prefix of a device type ("kb", "ms", "hard_mp", "soft_mp", "hd", "hub",
// "unknow"); empty for a mouse pad of another sub-type, which keeps its images.
std::string_view DeviceIconPrefix(int type, int subType);
// The image of one state of a prefix, relative to the skin folder.
std::string DeviceIconPath(std::string_view prefix, std::string_view state);

} // namespace quorvex::panels
