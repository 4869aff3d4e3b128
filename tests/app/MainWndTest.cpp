// The main window with its real skin, the real detection worker and emulated devices:
// in-process, and (built as the e2e variant) under umockdev through hidraw + libudev.

#include "app/MainWnd.h"

#include "../link/LinkFixture.h"
#include "devices/CQuorvexUSBDevice.h"
#include "panels/CDeviceOptionUI.h"
#include "panels/PanelControls.h"
#include "platform/DebugOutput.h"
#include "platform/clock/VirtualClock.h"
#include "support/FakeDesktop.h"
#include "support/TestSupport.h"
#include "ui/DesktopServices.h"
#include "ui/MenuWnd.h"
#include "ui/MessageLoop.h"
#include "ui/RegisteredMessages.h"
#include "ui/ResourceManager.h"
#include "ui/UiDriver.h"

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <thread>

namespace quorvex::app {
namespace {

using Clock = std::chrono::steady_clock;

// What the window sends to cooperating programs.
class RecordingPeers : public platform::IPeerLink {
public:
  struct Sent {
    std::string message;
    std::int64_t wParam;
    std::int64_t lParam;
  };
  std::vector<Sent> broadcasts;
  std::vector<std::pair<std::string, std::vector<std::uint8_t>>> copies;
  void Broadcast(std::string_view message, std::int64_t w, std::int64_t l) override {
    broadcasts.push_back({std::string(message), w, l});
  }
  bool SendCopyData(std::string_view target, std::uint32_t kind,
                    std::span<const std::uint8_t> data) override {
    if (kind != kDeviceReportKind) {
      return false;
    }
    copies.emplace_back(std::string(target), std::vector<std::uint8_t>(data.begin(), data.end()));
    return true;
  }
};

class MainWndTest : public test::LinkTest {
protected:
  void SetUp() override {
    LinkTest::SetUp();
    if (IsSkipped()) {
      return;
    }
    ::setenv("XDG_DATA_HOME", home.File("data").c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", home.File("config").c_str(), 1);
    resources.SetResourcePath(test::DataDir() + "/skin");
    resources.LoadResourceIndex();
    panels::RegisterPanelControls(resources.GetControlFactory());
    ui::SetDesktopServices(&desktop);
  }
  void TearDown() override {
    window.reset();
    ui::SetDesktopServices(nullptr);
    LinkTest::TearDown();
  }

  CMainWnd& Open(bool startDetector = true) {
    MainWndOptions options;
    options.defaultDataFolder = test::DataDir() + "/DefaultData/";
    options.settingsPath = home.File("config/settings.json");
    options.instanceMessage = ui::RegisterWindowMessage(kInstanceName);
    options.peers = &peers;
    options.startDetector = startDetector;
    window = std::make_unique<CMainWnd>(options);
    EXPECT_NE(
        window->Create({&loop, &resources}, ui::kNoWindow, kInstanceName, 0, 0, 0, 0, 800, 572),
        ui::kNoWindow);
    loop.ProcessPending(); // "windowinit"
    return *window;
  }

  // Pumps the loop until `done` or 3 s of real time.
  bool PumpUntil(const std::function<bool()>& done) {
    const auto deadline = Clock::now() + std::chrono::seconds(3);
    while (Clock::now() < deadline) {
      loop.ProcessPending();
      if (done()) {
        return true;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return false;
  }

  panels::CDeviceOptionUI* ItemOf(Family family) const {
    const auto& pages = window->Pages(family);
    if (pages.empty()) {
      return nullptr;
    }
    return dynamic_cast<panels::CDeviceOptionUI*>(pages.front()->GetSelectorItem());
  }
  bool Shown(Family family) const {
    auto* item = ItemOf(family);
    return item != nullptr && item->IsItemShown();
  }
  bool Selected(Family family) const {
    auto* item = ItemOf(family);
    return item != nullptr && item->IsItemShown() && item->IsItemSelected();
  }
  bool NoDeviceShown() const {
    ui::CControlUI* none = window->FindControl("No_device_Link");
    return none != nullptr && none->IsVisible();
  }

  test::TempDir home;
  platform::VirtualClock clock;
  ui::CMessageLoop loop{clock};
  ui::CResourceManager resources;
  test::FakeDesktop desktop;
  RecordingPeers peers;
  std::unique_ptr<CMainWnd> window;
};

TEST_F(MainWndTest, StartsWithNoDeviceAndPresentsItselfAfterTheFirstPass) {
  CMainWnd& w = Open();
  EXPECT_FALSE(w.IsWindowVisible()); // hidden until the detector's first pass
  ASSERT_TRUE(PumpUntil([&] { return !desktop.restored.empty(); }));
  EXPECT_TRUE(NoDeviceShown());
  EXPECT_EQ(w.CurrentPage(), nullptr);
  // The application announced that it drives the lights.
  ASSERT_FALSE(peers.broadcasts.empty());
  EXPECT_EQ(peers.broadcasts[0].message, kMsgNameLightAnnounce);
  EXPECT_EQ(peers.broadcasts[0].lParam, 1);
  EXPECT_EQ(desktop.trays, std::vector<std::string>{std::string(kInstanceName)});
}

TEST_F(MainWndTest, KeyboardComesAndGoesAndASecondDeviceIsShownNotSelected) {
  CMainWnd& w = Open();
  ASSERT_TRUE(PumpUntil([&] { return !desktop.restored.empty(); }));
  auto keyboard = PlugKeyboard();
  // Two arrivals: the command collection (primary), then the consumer collection.
  ASSERT_TRUE(PumpUntil([&] { return w.SlotTable()[1].connected == 1; }));
  EXPECT_EQ(w.SlotTable()[0].connected, 1);
  EXPECT_TRUE(Selected(Family::kKeyboard));
  EXPECT_FALSE(NoDeviceShown());
  devices::CQuorvexUSBDevice* page = w.Pages(Family::kKeyboard).front();
  EXPECT_TRUE(page->IsChannelOpen());
  EXPECT_FALSE(page->GetChannel().receiverMode());
  EXPECT_EQ(w.CurrentPage(), page);
  // The page takes the second collection's input reports.
  ASSERT_TRUE(PumpUntil([&] { return !page->GetSecondaryPath().empty(); }));
  EXPECT_EQ(page->GetSecondaryPath(), w.SlotTable()[1].path);
  EXPECT_FALSE(page->IsMultiDevice());
  // The update list offers the connected keyboard's firmware and the application.
  const auto updates = w.BuildUpdateList();
  ASSERT_EQ(updates.size(), 4u);
  EXPECT_EQ(updates[0].third, 0); // no mouse
  EXPECT_GT(updates[1].third, 0);
  EXPECT_EQ(updates[1].third, page->GetChannel().transportA().attributes().versionNumber);
  EXPECT_GT(updates[3].third, 0);

  auto headset = std::make_shared<devsim::HeadsetDevice>();
  Server().Plug(headset);
  ASSERT_TRUE(PumpUntil([&] { return Shown(Family::kHeadset); }));
  EXPECT_FALSE(Selected(Family::kHeadset));
  EXPECT_TRUE(Selected(Family::kKeyboard));
  EXPECT_TRUE(page->IsMultiDevice());

  Server().Unplug(*keyboard);
  const auto unplugged = Clock::now();
  ASSERT_TRUE(PumpUntil([&] { return !Shown(Family::kKeyboard); }));
  std::printf(
      "unplug -> item hidden: %lld ms\n",
      static_cast<long long>(
          std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - unplugged).count()));
  EXPECT_FALSE(page->IsChannelOpen());
  EXPECT_TRUE(PumpUntil([&] { return page->GetSecondaryPath().empty(); }));
  EXPECT_TRUE(Selected(Family::kHeadset)); // the next shown item takes over
  EXPECT_FALSE(w.Pages(Family::kHeadset).front()->IsMultiDevice());

  Server().Unplug(*headset);
  ASSERT_TRUE(PumpUntil([&] { return !Shown(Family::kHeadset); }));
  EXPECT_TRUE(NoDeviceShown());
}

TEST_F(MainWndTest, ADeviceWithOtherIdsBehindACataloguePathIsNotClaimed) {
  CMainWnd& w = Open();
  ASSERT_TRUE(PumpUntil([&] { return !desktop.restored.empty(); }));
  // Its paths say 320F:5055; its HID layer says 320F:5056.
  std::shared_ptr<devsim::KeyboardDevice> other =
      devsim::MakeKeyboardBehindOtherIds(0x320F, 0x5056);
  ASSERT_FALSE(Server().Plug(other).empty());
  ASSERT_TRUE(PumpUntil([&] { return !KeyboardCommandPath().empty(); })) << Paths()[0];
  const auto until = Clock::now() + std::chrono::milliseconds(400); // several passes
  while (Clock::now() < until) {
    loop.ProcessPending();
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  for (const DeviceCatalogEntry& slot : w.SlotTable()) {
    EXPECT_TRUE(slot.IsFree()) << slot.path;
  }
  EXPECT_FALSE(Shown(Family::kKeyboard));
  EXPECT_TRUE(NoDeviceShown());
}

TEST_F(MainWndTest, DevicesPresentAtStartSelectTheFirstOneInCatalogueOrder) {
  // The demo's set, plugged before the window exists.
  auto keyboard = PlugKeyboard();
  Server().Plug(std::make_shared<devsim::HeadsetDevice>());
  Server().Plug(std::shared_ptr<devsim::EmulatedDevice>(devsim::MakeReceiverKeyboard()));
  Server().Plug(std::shared_ptr<devsim::EmulatedDevice>(devsim::MakeMouse()));
  Server().Plug(std::shared_ptr<devsim::EmulatedDevice>(devsim::MakeReceiverMouse()));
  Server().Plug(std::shared_ptr<devsim::EmulatedDevice>(devsim::MakeMousePad()));
  CMainWnd& w = Open();
  ASSERT_TRUE(PumpUntil([&] {
    return Shown(Family::kKeyboard) && Shown(Family::kHeadset) && Shown(Family::kMouse) &&
           Shown(Family::kMousePad);
  }));
  for (int i = 0; i < 20; ++i) { // let every queued notification run
    loop.ProcessPending();
  }
  EXPECT_TRUE(Selected(Family::kKeyboard));
  EXPECT_FALSE(Selected(Family::kHeadset));
  EXPECT_EQ(w.CurrentPage(), w.Pages(Family::kKeyboard).front());

  // Stepping through the selector (mouse, keyboard, mouse pad, headset); nothing
  // happens at either end.
  ui::UiDriver ui(w);
  struct Step {
    const char* button;
    Family selected;
  };
  for (const Step& step :
       {Step{"device_select_next", Family::kMousePad}, Step{"device_select_next", Family::kHeadset},
        Step{"device_select_next", Family::kHeadset}, Step{"device_select_prev", Family::kMousePad},
        Step{"device_select_prev", Family::kKeyboard}, Step{"device_select_prev", Family::kMouse},
        Step{"device_select_prev", Family::kMouse}}) {
    ASSERT_TRUE(ui.Click(step.button)) << ui.LastError();
    loop.ProcessPending();
    EXPECT_TRUE(Selected(step.selected)) << step.button;
    EXPECT_EQ(w.CurrentPage(), w.Pages(step.selected).front());
  }
}

// The emulators without IDs take the ID-0 rows in table order. With the keyboard
// present, the first one lands on the receiver-keyboard row (partnered with the
// keyboard: nothing more happens), the mouse on the mouse row, and the receiver mouse
// on the row of the mouse's receiver.
TEST_F(MainWndTest, MouseSwitchesBetweenCableAndReceiver) {
  CMainWnd& w = Open();
  ASSERT_TRUE(PumpUntil([&] { return !desktop.restored.empty(); }));
  auto keyboard = PlugKeyboard(); // the keyboard's rows are then partnered
  ASSERT_TRUE(PumpUntil([&] { return Shown(Family::kKeyboard); }));
  // One at a time: devices that arrive in the same pass are claimed in the order the
  // system lists their nodes.
  Server().Plug(std::shared_ptr<devsim::EmulatedDevice>(devsim::MakeReceiverKeyboard()));
  ASSERT_TRUE(PumpUntil([&] { return w.SlotTable()[2].connected == 1; }));
  std::shared_ptr<devsim::EmulatedDevice> mouse(devsim::MakeMouse());
  Server().Plug(mouse);
  ASSERT_TRUE(PumpUntil([&] { return Shown(Family::kMouse); }));
  devices::CQuorvexUSBDevice* page = w.Pages(Family::kMouse).front();
  EXPECT_FALSE(page->GetChannel().receiverMode());
  std::shared_ptr<devsim::EmulatedDevice> receiver(devsim::MakeReceiverMouse());
  Server().Plug(receiver);
  ASSERT_TRUE(PumpUntil([&] { return w.SlotTable()[6].connected == 1; }));
  loop.ProcessPending();
  EXPECT_FALSE(page->GetChannel().receiverMode()); // the cable still wins

  // Cable out: the page carries on through the receiver.
  Server().Unplug(*mouse);
  ASSERT_TRUE(PumpUntil([&] { return page->GetChannel().receiverMode(); }));
  EXPECT_TRUE(page->IsChannelOpen());
  EXPECT_TRUE(page->IsWireless());

  // Cable back in: direct again.
  Server().Plug(mouse);
  ASSERT_TRUE(PumpUntil([&] { return !page->GetChannel().receiverMode(); }));
  EXPECT_TRUE(page->IsChannelOpen());
  EXPECT_FALSE(page->IsWireless());

  // Both gone: the item leaves and stays away while its timers run out.
  Server().Unplug(*mouse);
  ASSERT_TRUE(PumpUntil([&] { return page->GetChannel().receiverMode(); }));
  Server().Unplug(*receiver);
  ASSERT_TRUE(PumpUntil([&] { return !Shown(Family::kMouse); }));
  for (int i = 0; i < 10; ++i) {
    clock.Advance(std::chrono::milliseconds(1000));
    loop.ProcessPending();
  }
  EXPECT_FALSE(Shown(Family::kMouse));
  EXPECT_FALSE(page->IsChannelOpen());
}

TEST_F(MainWndTest, StopsItsWorkersPromptlyWithADevicePresent) {
  CMainWnd& w = Open();
  auto keyboard = PlugKeyboard();
  ASSERT_TRUE(PumpUntil([&] { return Shown(Family::kKeyboard); }));
  platform::ScopedDebugCapture debug;
  w.Close(0);
  loop.ProcessPending();
  EXPECT_FALSE(w.IsCreated());
  EXPECT_TRUE(debug.Contains("所有对象处于激发状态")); // every worker ended in time
  EXPECT_TRUE(loop.IsQuitting());
}

TEST_F(MainWndTest, CloseButtonHidesToTrayAndTrayClickBringsItBack) {
  CMainWnd& w = Open(false);
  w.PresentWindow();
  ui::UiDriver ui(w);
  ASSERT_TRUE(ui.Click("closebtn")) << ui.LastError();
  loop.ProcessPending();
  EXPECT_FALSE(w.IsWindowVisible());
  EXPECT_TRUE(w.IsCreated());
  EXPECT_FALSE(loop.IsQuitting());
  w.SendMessage(kMsgTrayIcon, 0, ui::kTrayLeftButtonUp);
  EXPECT_FALSE(desktop.restored.empty());
}

TEST_F(MainWndTest, TrayMenuExitEndsTheApplication) {
  CMainWnd& w = Open(false);
  w.SendMessage(kMsgTrayIcon, 0, ui::kTrayRightButtonUp);
  EXPECT_EQ(w.TrayMenu(), nullptr); // it opens 10 ms later
  clock.Advance(std::chrono::milliseconds(10));
  loop.ProcessPending();
  ASSERT_NE(w.TrayMenu(), nullptr);
  ui::CControlUI* settings = w.TrayMenu()->FindControl("setwnd_menu");
  ASSERT_NE(settings, nullptr);
  EXPECT_FALSE(settings->IsVisible()); // no settings window to open yet
  // The menu lost that row's height and still ends at the point it opened from.
  EXPECT_EQ(w.TrayMenu()->GetWindowRect().Height(), 112 - 32);
  EXPECT_EQ(w.TrayMenu()->GetWindowRect().bottom, desktop.work.bottom - 20);
  EXPECT_EQ(w.TrayMenu()->GetAlign(), ui::kMenuAlignRight | ui::kMenuAlignBottom); // bar below
  ASSERT_TRUE(ui::UiDriver::PickMenuItem(*w.TrayMenu(), "exit"));
  loop.ProcessPending();
  EXPECT_FALSE(w.IsCreated());
  EXPECT_TRUE(loop.IsQuitting());
  EXPECT_TRUE(desktop.trays.empty()); // the icon went with the window
}

TEST_F(MainWndTest, DpiFollowsTheMonitorSize) {
  struct Case {
    ui::UiRect monitor;
    int dpi;
  };
  for (const Case& c : {Case{{0, 0, 1920, 1080}, 144}, Case{{0, 0, 1500, 1000}, 96},
                        Case{{0, 0, 1366, 768}, 96}, Case{{0, 0, 1501, 961}, 144}}) {
    EXPECT_EQ(DpiForMonitor(c.monitor), c.dpi) << c.monitor.Width() << "x" << c.monitor.Height();
  }
  desktop.monitor = {0, 0, 1920, 1080};
  CMainWnd& w = Open(false);
  clock.Advance(std::chrono::milliseconds(100)); // timer 1011
  loop.ProcessPending();
  EXPECT_EQ(w.GetWindowDpi(), 144);
  EXPECT_EQ(w.GetWindowRect().Width(), 1200);
  EXPECT_EQ(w.GetWindowRect().Height(), 858);
}

TEST_F(MainWndTest, TrayMenuOpensAwayFromTheTaskBar) {
  const ui::UiRect monitor{0, 0, 1920, 1080};
  const ui::UiPoint cursor{1900, 1000};
  struct Case {
    ui::UiRect work;
    ui::UiPoint point;
    std::uint32_t align;
  };
  for (const Case& c : {
           Case{{0, 40, 1920, 1080}, {1900, 41}, ui::kMenuAlignTop | ui::kMenuAlignRight},
           Case{{60, 0, 1920, 1080}, {61, 1000}, ui::kMenuAlignLeft | ui::kMenuAlignBottom},
           Case{{0, 0, 1920, 1040}, {1900, 1020}, ui::kMenuAlignRight | ui::kMenuAlignBottom},
           Case{{0, 0, 1860, 1080}, {1859, 1000}, ui::kMenuAlignRight | ui::kMenuAlignBottom},
           Case{{0, 0, 1920, 1080}, {1900, 1000}, ui::kMenuAlignLeft | ui::kMenuAlignTop},
       }) {
    const MenuPlacement p = PlaceTrayMenu(monitor, c.work, cursor);
    EXPECT_EQ(p.point, c.point);
    EXPECT_EQ(p.align, c.align);
  }
}

TEST_F(MainWndTest, LanguageIsStoredOnceAndAnUnknownStoredIdFallsBackToTheFirst) {
  test::WriteTextFile(home.File("config/settings.json"), R"({"LANGUAGE": 12345})");
  CMainWnd& w = Open(false);
  EXPECT_EQ(w.GetLanguageIndex(), 0);
  w.ApplyLanguage(1);
  EXPECT_EQ(resources.GetLanguageName(), "Simplified Chinese");
  EXPECT_NE(test::ReadTextFile(home.File("config/settings.json")).find("2052"), std::string::npos);
  std::remove(home.File("config/settings.json").c_str());
  w.ApplyLanguage(1); // the same language again: nothing happens, nothing is written
  EXPECT_FALSE(std::ifstream(home.File("config/settings.json")).good());
  w.ApplyLanguage(7); // no such entry: the texts stay
  EXPECT_EQ(w.GetLanguageIndex(), 1);
}

TEST_F(MainWndTest, LightControlIsHandedOverBothWaysAndSurvivesSleep) {
  CMainWnd& w = Open(false);
  ui::UiDriver ui(w);
  // The button's text key names what a click does next.
  auto key = [&] { return w.FindControl("control_light_status")->GetRawText(); };
  EXPECT_EQ(key(), "不控制灯光");
  EXPECT_EQ(ui.Text("control_light_status"), "Release lighting control");
  peers.broadcasts.clear();
  ASSERT_TRUE(ui.Click("control_light_status")) << ui.LastError();
  EXPECT_EQ(w.GetLightControl(), 0);
  ASSERT_EQ(peers.broadcasts.size(), 1u);
  EXPECT_EQ(peers.broadcasts[0].message, kMsgNameLightAnnounce);
  EXPECT_EQ(peers.broadcasts[0].lParam, 0);
  EXPECT_EQ(key(), "控制灯光");

  // Another program hands the lights back.
  const std::uint32_t request = ui::RegisterWindowMessage(kMsgNameLightRequest);
  w.SendMessage(request, 1, 1);
  EXPECT_EQ(w.GetLightControl(), 1);
  EXPECT_EQ(key(), "不控制灯光");
  devices::CQuorvexUSBDevice* page = w.Pages(Family::kKeyboard).front();
  EXPECT_TRUE(page->IsHostLighting());

  w.SendMessage(kMsgPowerBroadcast, kPowerSuspend, 0);
  EXPECT_FALSE(w.IsActive());
  EXPECT_FALSE(page->IsHostLighting());
  w.SendMessage(kMsgPowerBroadcast, kPowerResume, 0);
  EXPECT_TRUE(w.IsActive());
  EXPECT_TRUE(page->IsHostLighting());
}

TEST_F(MainWndTest, DeviceReportGoesToTheWorkTool) {
  CMainWnd& w = Open(false);
  w.SendMessage(ui::RegisterWindowMessage(kMsgNameDeviceReport), 0, 0);
  ASSERT_EQ(peers.copies.size(), 1u);
  EXPECT_EQ(peers.copies[0].first, "WorkTool");
  const auto& b = peers.copies[0].second;
  ASSERT_EQ(b.size(), 1024u);
  auto u32 = [&](std::size_t at) {
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) |
           (static_cast<std::uint32_t>(b[at + 3]) << 24);
  };
  EXPECT_EQ(u32(0), 2u);
  EXPECT_EQ(u32(4), 3u);
  EXPECT_EQ(u32(8), 0u);
  EXPECT_EQ(u32(12), 2u);
  EXPECT_EQ(u32(16), 4u);
  EXPECT_EQ(u32(20 + 12 * 1), 0x320Fu); // keyboard row
  EXPECT_EQ(u32(24 + 12 * 1), 0x5055u);
  EXPECT_EQ(u32(28 + 12 * 1), 1u);
  EXPECT_EQ(u32(28 + 12 * 3), 7u); // headset row
  for (std::size_t i = 68; i < b.size(); ++i) {
    ASSERT_EQ(b[i], 0) << i;
  }
}

} // namespace
} // namespace quorvex::app
