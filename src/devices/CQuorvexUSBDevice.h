#pragma once

// CQuorvexUSBDevice: the base of every device page.
//
// A page is a horizontal layout that holds the device picture and the feature panels,
// and at the same time the owner of what the application knows about one device: its
// command channel, the device information block, the per-LED colours and effects, the
// lighting state and the file locations of its model. The main window calls the
// setters once (in the order they are declared below), then BindPage. The selector
// item (CDeviceOptionUI) drives the life cycle with its timers, on the UI thread.
//
// Every overridable operation has a default here, most of them empty or returning 0;
// the keyboard, mouse, mouse pad and headset pages override them.
//
// Threads: the UI thread runs everything except what is marked otherwise. The lighting
// worker writes the LED colours under LedLock() and the per-LED effects under
// EffectLock(); the command channel serialises its own use.

#include "devices/DeviceInfo.h"
#include "devices/PageWidgets.h"
#include "documents/Records.h"
#include "link/CDeviceChannel.h"
#include "platform/clock/Clock.h"
#include "ui/BoxLayout.h"
#include "ui/Notify.h"
#include "ui/UiTypes.h"

#include <array>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace quorvex::ui {
class CTabLayoutUI;
class CPaintManagerUI;
} // namespace quorvex::ui

namespace quorvex::devices {

// One LED's colour: red, green, blue, alpha and the custom flag of the keyboard's
// custom-colour mode. The same five bytes as a custom colour group entry.
using LedColour = documents::LightColourEntry;

// The LED stream sent with command 0x12: three bytes per LED.
inline constexpr std::size_t kLedStreamBytes = 512;
// LED index 170 is the "no LED" mark of the key grids; it never reaches the stream.
inline constexpr int kNoLedIndex = 170;
// Pages refuse absurd counts; the largest device has 170 keys and LEDs.
inline constexpr int kMaxListEntries = 1024;
// After a failed LED stream the page waits this long before it streams again.
inline constexpr platform::Clock::Duration kStreamBackOff{200};
// An unchanged LED frame is streamed again after this long.
inline constexpr platform::Clock::Duration kStreamRefresh{1000};

// Window message a page sends to the main window when a wireless link goes online
// (lParam 1) or offline (lParam 0); wParam is the page's catalogue index.
inline constexpr std::uint32_t kMsgLinkState = 0x0D03;

class CQuorvexUSBDevice : public ui::CHorizontalLayoutUI, public ui::INotifyUI {
public:
  CQuorvexUSBDevice();
  ~CQuorvexUSBDevice() override;

  std::string_view GetClass() const override;

  // --- setters, in the order the main window calls them ---
  void SetPageLayout(std::string file) { pageLayout_ = std::move(file); }
  const std::string& GetPageLayout() const { return pageLayout_; }
  void SetMainWindow(ui::WindowHandle window) { mainWindow_ = window; }
  ui::WindowHandle GetMainWindow() const { return mainWindow_; }
  // Resizes the key button list; a no-op when the count is unchanged.
  void SetKeyCount(int count);
  int GetKeyCount() const { return keyCount_; }
  // Resizes the light button, colour and effect lists and zeroes every colour and
  // effect, also when the count is unchanged.
  void SetLedCount(int count);
  int GetLedCount() const { return ledCount_; }
  void SetCatalogIndex(int index) { catalogIndex_ = index; }
  int GetCatalogIndex() const { return catalogIndex_; }
  // Non-zero when the device reports battery and charge; passed on to the power
  // indicator.
  void SetPowerReporting(int flag);
  int GetPowerReporting() const { return powerReporting_; }
  void SetLogoLed(int index) { logoLed_ = index; }
  int GetLogoLed() const { return logoLed_; }
  void SetProfileBaseName(std::string name) { profileBaseName_ = std::move(name); }
  const std::string& GetProfileBaseName() const { return profileBaseName_; }
  void SetModelFolder(std::string name) { modelFolder_ = std::move(name); }
  const std::string& GetModelFolder() const { return modelFolder_; }
  void SetPowerIndicator(IDevicePowerIndicator* indicator);
  IDevicePowerIndicator* GetPowerIndicator() const { return powerIndicator_; }
  // Also sets the device type (from the kind) and the sub-type.
  void SetCatalogEntry(const DeviceCatalogEntry& record, int subType = 0);
  const DeviceCatalogEntry& GetCatalogEntry() const { return record_; }
  void SetConfigBaseName(std::string name) { configBaseName_ = std::move(name); }
  const std::string& GetConfigBaseName() const { return configBaseName_; }

  void SetDeviceType(int type, int subType);
  int GetDeviceType() const { return deviceType_; }
  int GetDeviceSubType() const { return deviceSubType_; }
  // The selector item, told by CDeviceOptionUI::AttachPage.
  void SetSelectorItem(ui::CControlUI* item) { selectorItem_ = item; }
  ui::CControlUI* GetSelectorItem() const { return selectorItem_; }
  // Expires when the page is destroyed; holders of a page pointer check it first.
  std::weak_ptr<const bool> GetAliveToken() const { return alive_; }

  // --- connection ---
  link::CDeviceChannel& GetChannel() { return channel_; }
  bool IsChannelOpen() const { return channel_.isOpen(); }
  // True when the device is reached through a 2.4 GHz receiver.
  void SetWireless(bool wireless) { wireless_ = wireless; }
  bool IsWireless() const { return wireless_; }
  const DeviceInfo& GetDeviceInfo() const { return deviceInfo_; }

  // --- the device's second collection (its input reports) ---
  // The main window hands over the path and kind of the collection the page listens
  // on; a page whose listener runs switches to the new path. Empty path: gone.
  virtual void AttachSecondaryCollection(std::string path, std::uint16_t kind) {
    secondaryPath_ = std::move(path);
    secondaryKind_ = kind;
  }
  virtual void DetachSecondaryCollection() {
    secondaryPath_.clear();
    secondaryKind_ = 0;
  }
  const std::string& GetSecondaryPath() const { return secondaryPath_; }
  std::uint16_t GetSecondaryKind() const { return secondaryKind_; }

  // --- flags the main window sets on every page ---
  // More than one device is shown in the selector.
  virtual void SetMultiDevice(bool on) { multiDevice_ = on; }
  bool IsMultiDevice() const { return multiDevice_; }
  // Host lighting: the application drives the LEDs. Switching it on for a keyboard
  // sends command 0x1C at once.
  void SetHostLighting(bool on);
  bool IsHostLighting() const { return hostLighting_; }
  void SetWindowActive(bool on) { windowActive_ = on; }
  bool IsWindowActive() const { return windowActive_; }

  // --- overridable operations ---
  // Binds the picture buttons of the picture container.
  virtual void BindPage();
  // 1 on success.
  virtual int ApplyProfile() { return 0; }
  // Preview steps of the lighting engine; each returns the number of LEDs.
  virtual int StepBreathing() { return ledCount_; }
  virtual int StepBreathingFourColour() { return ledCount_; }
  virtual int StepStatic() { return ledCount_; }
  virtual int StepSpectrum() { return ledCount_; }
  virtual int StepFlash() { return ledCount_; }
  virtual int StepFlashFourColour() { return ledCount_; }
  virtual int StepOff();
  // Paints the picture from the LED colours and streams them to a cable device (an
  // unchanged frame at most every kStreamRefresh).
  virtual void PushLedFrame();
  // True when the last PushLedFrame built a frame that differs from the one before.
  bool LedFrameChanged() const { return frameChanged_; }
  // `rgba` holds red, green, blue and alpha in bits 0-7, 8-15, 16-23, 24-31; the low
  // byte of `flags` is the custom flag. An index outside the list is ignored.
  virtual void SetLedColour(int index, std::uint32_t rgba, std::uint32_t flags);
  // The two words of SetLedColour, or zeros for an index outside the list.
  virtual std::pair<std::uint32_t, std::uint32_t> GetLedColour(int index) const;
  virtual void OnDeviceReady() {}
  virtual void OnDeviceSyncRequest() {}
  virtual void OnTimer1003() {}
  virtual void OnTimer1004() {}
  virtual void PollStatus() {}
  // 1 online, 0 not.
  virtual int IsDeviceOnline() { return 1; }
  virtual void LoadProfile() {}
  virtual void RefreshPanels() {}
  virtual void ValidateMacroKeys() {}
  virtual void LoadDefaultProfile() {}
  virtual std::vector<int> GetUsedMacros() { return {}; }
  virtual int WriteKeyList(int /*page*/, const std::vector<documents::KeyRecord>& /*keys*/) {
    return 0;
  }
  virtual int WriteKeys(int /*page*/) { return 0; }
  virtual int WriteMacros(const std::vector<int>& /*macros*/) { return 0; }
  virtual int WriteSettings(int /*page*/, int /*value*/, int /*a*/, int /*b*/, int /*c*/) {
    return 0;
  }
  virtual void LoadLightModeLists() {}
  virtual void SetKeyLedMap(std::unordered_map<int, int> map) { keyLedMapExtra_ = std::move(map); }
  // Reactive keys: lowers one key's level toward 0 by the rule of `mode`.
  virtual void DecayKeyLevel(int led, int mode);
  virtual void TriggerBandKeys() {}
  // Rotates the band bytes by one position (direction 0 left, else right).
  virtual void RotateBand(int direction);
  virtual void ClearReactiveBuffers();
  virtual void SetFunctionSwitch(int type);
  virtual int GetFunctionSwitch() const { return functionSwitch_; }
  virtual void ReadProfileFiles() {}
  virtual std::string GetProfileName() { return {}; }
  virtual void SaveProfile() {}
  virtual void SetLightListIndex(int index) { lightListIndex_ = index; }
  virtual int GetLightListIndex() const { return lightListIndex_; }
  // Four words holding the 14 bytes of LightInfo, low byte first.
  virtual void SetLightInfo(std::uint32_t w0, std::uint32_t w1, std::uint32_t w2, std::uint32_t w3);
  virtual std::array<std::uint32_t, 4> GetLightInfo() const;
  virtual void SetLightColours(int a, int b, int c);
  virtual std::array<int, 3> GetLightColours(int flag);
  virtual void SelectKey(int keyIndex) { currentKey_ = keyIndex; }
  virtual void OnAudioLevels(const std::uint8_t* /*buffer*/, int /*count*/) {}
  virtual void OnAudioBands(const std::uint8_t* /*buffer*/, int /*count*/) {}

  // --- notification pump ---
  // Forwards notifications whose sender lies inside this page to OnPageNotify.
  void Notify(ui::TNotifyUI& msg) override;
  // Registers the page as a notification receiver of its window (pages that handle
  // their panels' notifications call it from BindPage).
  void RegisterNotifier();

  // --- state the panels and the lighting engine read ---
  const documents::LightInfo& GetLightInfoRecord() const { return lightInfo_; }
  int GetCurrentKey() const { return currentKey_; }
  int GetSelectedKey() const { return selectedKey_; }
  void SetSelectedKey(int index) { selectedKey_ = index; }
  ui::CControlUI* GetKeyButton(int index) const;
  ui::CControlUI* GetLightButton(int index) const;
  ui::CControlUI* GetPictureContainer() const { return picture_; }
  // The LED list's copy under the LED lock (for tests and the previews).
  std::vector<LedColour> SnapshotLeds() const;
  std::vector<documents::LedEffect> SnapshotEffects() const;
  std::mutex& LedLock() const { return ledLock_; }
  std::mutex& EffectLock() const { return effectLock_; }
  std::uint8_t KeyLevel(int led) const;
  void SetKeyLevel(int led, std::uint8_t level);
  const std::array<std::uint8_t, 23>& Band() const { return band_; }
  std::unordered_map<int, int>& KeyMatrixMap() { return keyMatrixMap_; }
  std::unordered_map<int, int>& KeyLedMap() { return keyLedMap_; }
  const std::unordered_map<int, int>& KeyLedMapExtra() const { return keyLedMapExtra_; }
  // The last LED stream buffer built by PushLedFrame.
  const std::array<std::uint8_t, kLedStreamBytes>& LastLedStream() const { return stream_; }

  // --- file locations ---
  // <shipped data>/DefaultData/<model>.Json; empty when the model name is unusable.
  std::string GetDefaultProfilePath() const;
  // <shipped data>/DefaultData/
  std::string GetDefaultDataFolder() const;
  // <XDG data>/TORVA QX-418W Device/<model>/, each level created when missing; empty
  // when the model name is unusable or the folder cannot be created.
  std::string GetUserDataFolder() const;

  // The preview engine's phase counter: with `up` the result is v+s, or 0 when that
  // is not below n; otherwise v−s when that (8-bit) is below n, else n−s.
  static std::uint8_t StepTriangle(bool up, std::uint8_t n, std::uint8_t v, std::uint8_t s);

  // Sends a window message to the main window (synchronously) when it has one.
  bool SendToMainWindow(std::uint32_t msg, ui::WParam wParam, ui::LParam lParam);

protected:
  // Called for notifications from controls inside the page; pages dispatch here.
  virtual void OnPageNotify(ui::TNotifyUI& /*msg*/) {}
  // True when `control` is this page or lies inside it.
  bool Contains(const ui::CControlUI* control) const;
  // Binds the "key_"/"light_" buttons among the direct children of `container`.
  void BindPictureButtons(ui::CControlUI* container);
  // Paints every bound light button white (the bound state).
  static void PaintWhite(ui::CControlUI* button);
  ui::CControlUI* FindInPage(std::string_view name) const;
  // Sends LED stream bytes with command 0x12 unless the stream is pausing after a
  // failed send; a failure starts a pause of kStreamBackOff. True when sent.
  bool SendLedStream(const std::uint8_t* data, std::size_t bytes);
  ILightingPanel* LightingPanel();
  const platform::Clock* PageClock() const;
  void SetPictureContainer(ui::CControlUI* picture) { picture_ = picture; }
  DeviceInfo& MutableDeviceInfo() { return deviceInfo_; }
  documents::LightInfo& MutableLightInfo() { return lightInfo_; }
  // The LED list itself; hold LedLock() while touching it.
  std::vector<LedColour>& Leds() { return leds_; }
  std::vector<documents::LedEffect>& Effects() { return effects_; }

  std::vector<ui::CControlUI*> keyButtons_;
  std::vector<ui::CControlUI*> lightButtons_;

private:
  link::CDeviceChannel channel_;
  DeviceInfo deviceInfo_;
  DeviceCatalogEntry record_;
  std::string pageLayout_;
  std::string profileBaseName_;
  std::string configBaseName_;
  std::string modelFolder_;
  std::string secondaryPath_;
  std::uint16_t secondaryKind_ = 0;
  bool multiDevice_ = false;
  ui::WindowHandle mainWindow_ = ui::kNoWindow;
  ui::CControlUI* picture_ = nullptr;
  ui::CControlUI* selectorItem_ = nullptr;
  IDevicePowerIndicator* powerIndicator_ = nullptr;
  ui::CControlUI* lightingPanel_ = nullptr;
  ui::CTabLayoutUI* functionTabs_ = nullptr;
  ui::CTabLayoutUI* keyFunctionTabs_ = nullptr;
  ui::CPaintManagerUI* notifierManager_ = nullptr;

  int deviceType_ = 0;
  int deviceSubType_ = 0;
  int keyCount_ = 0;
  int ledCount_ = 0;
  int catalogIndex_ = 0;
  int powerReporting_ = 0;
  int logoLed_ = -1;
  int functionSwitch_ = 1;
  int selectedKey_ = -1;
  int currentKey_ = -1;
  int lightListIndex_ = 0;
  bool wireless_ = false;
  bool hostLighting_ = false;
  bool windowActive_ = false;

  std::unordered_map<int, int> keyMatrixMap_;
  std::unordered_map<int, int> keyLedMap_;
  std::unordered_map<int, int> keyLedMapExtra_;

  mutable std::mutex ledLock_;
  mutable std::mutex effectLock_;
  std::vector<LedColour> leds_;
  std::vector<documents::LedEffect> effects_;
  documents::LightInfo lightInfo_;
  std::array<int, 3> lightColours_{};

  std::array<std::uint8_t, kNoLedIndex> keyLevels_{};
  std::array<std::uint8_t, 23> band_{};

  std::array<std::uint8_t, kLedStreamBytes> stream_{};
  std::array<std::uint8_t, kLedStreamBytes> lastFrame_{};
  bool framePushed_ = false;
  bool frameChanged_ = false;
  bool streamSent_ = false;
  platform::Clock::TimePoint lastStreamAt_{};
  std::shared_ptr<const bool> alive_ = std::make_shared<const bool>(true);
  bool streamBackingOff_ = false;
  platform::Clock::TimePoint streamRetryAt_{};
};

} // namespace quorvex::devices
