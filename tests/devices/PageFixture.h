#pragma once

// A device page and its selector item built from the shipped skins, in a headless
// window whose main-window side records the link messages and shows or hides the
// item the way the main window does. Emulated devices are served in-process.

#include "devices/CQuorvexUSBDevice.h"
#include "devsim/DeviceServer.h"
#include "devsim/Emulators.h"
#include "panels/CDeviceOptionUI.h"
#include "platform/clock/VirtualClock.h"
#include "ui/DialogBuilder.h"
#include "ui/MessageLoop.h"
#include "ui/PaintManager.h"
#include "ui/ResourceManager.h"
#include "ui/WindowWnd.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace quorvex::test {

// The base page with counters on the operations the life cycle calls. Its link check
// asks the receiver, as the wireless pages do.
class TestPage : public devices::CQuorvexUSBDevice {
public:
  int ready = 0;
  int syncRequests = 0;
  int polls = 0;
  int frames = 0;
  int timer1003 = 0;
  int timer1004 = 0;
  std::vector<std::string> notified;

  void OnDeviceReady() override { ++ready; }
  void OnDeviceSyncRequest() override { ++syncRequests; }
  void PollStatus() override { ++polls; }
  void OnTimer1003() override { ++timer1003; }
  void OnTimer1004() override { ++timer1004; }
  void PushLedFrame() override {
    ++frames;
    CQuorvexUSBDevice::PushLedFrame();
  }
  int IsDeviceOnline() override;

protected:
  void OnPageNotify(ui::TNotifyUI& msg) override { notified.push_back(msg.type); }
};

// The main window's side of the link messages.
class FakeMainWindow : public ui::CWindowWnd {
public:
  std::vector<std::pair<ui::WParam, ui::LParam>> linkMessages;
  panels::CDeviceOptionUI* item = nullptr;
  std::string_view GetWindowClassName() const override { return "FakeMainWnd"; }

protected:
  ui::LResult HandleMessage(std::uint32_t msg, ui::WParam w, ui::LParam l) override;
};

class PageTest : public ::testing::Test, public ui::IDialogBuilderCallback {
protected:
  PageTest();
  ~PageTest() override;

  std::unique_ptr<ui::CControlUI> CreateControl(std::string_view className) override;

  // Builds a page skin (XML/DeviceXml/...) into the window with the main window's
  // setters; `keys`/`leds` as the page table gives them.
  TestPage* BuildPage(const std::string& skin, int keys, int leds, int kind = 1);
  panels::CDeviceOptionUI* BuildItem();
  // Builds any skin file as the window's next child.
  ui::CControlUI* BuildInto(const std::string& skin);
  void Advance(int ms);
  // The command interface path of the plugged emulator (IDs 0 for the receiver
  // families), or empty.
  static std::string CommandPath(std::uint16_t vendorId, std::uint16_t productId);
  static devsim::DeviceServer& Server();

  platform::VirtualClock clock;
  ui::CMessageLoop loop{clock};
  ui::CResourceManager resources;
  FakeMainWindow mainWindow;
  std::unique_ptr<ui::CPaintManagerUI> manager;
  ui::CContainerUI* root = nullptr;
  std::string dataHome;
};

} // namespace quorvex::test
