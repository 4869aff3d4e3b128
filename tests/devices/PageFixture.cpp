#include "PageFixture.h"

#include "devsim/VirtualDeviceServer.h"
#include "link/CHidDevice.h"
#include "link/Commands.h"
#include "link/HidPath.h"
#include "panels/PanelControls.h"
#include "platform/hid/HidBackend.h"
#include "platform/hid/VirtualHidBackend.h"
#include "support/TestSupport.h"
#include "ui/BoxLayout.h"

#include <cstdlib>

namespace quorvex::test {

int TestPage::IsDeviceOnline() {
  if (!IsChannelOpen() || !IsWireless()) {
    return 0;
  }
  return link::CMD_LINK_QUERY(GetChannel()) ? 1 : 0;
}

ui::LResult FakeMainWindow::HandleMessage(std::uint32_t msg, ui::WParam w, ui::LParam l) {
  if (msg == devices::kMsgLinkState) {
    linkMessages.emplace_back(w, l);
    if (item != nullptr) {
      item->SetVisible(l != 0);
    }
    return 0;
  }
  return CWindowWnd::HandleMessage(msg, w, l);
}

PageTest::PageTest() {
  resources.SetResourcePath(DataDir() + "/skin");
  panels::RegisterPanelControls(resources.GetControlFactory());
  mainWindow.Create({&loop, &resources}, ui::kNoWindow, "main", 0, 0, 0, 0, 800, 572);
  manager = std::make_unique<ui::CPaintManagerUI>(loop, resources);
  auto box = std::make_unique<ui::CVerticalLayoutUI>();
  root = box.get();
  manager->AttachDialog(std::move(box));
  manager->SetClientSize({800, 2000});
  Server().UnplugAll();
}

PageTest::~PageTest() {
  Server().UnplugAll();
  manager.reset();
}

devsim::DeviceServer& PageTest::Server() {
  static devsim::VirtualDeviceServer server;
  platform::hid::SelectHidBackend(&platform::hid::VirtualHidBackend::Instance());
  return server;
}

std::unique_ptr<ui::CControlUI> PageTest::CreateControl(std::string_view className) {
  if (className == "QuorvexKeyboardDevice" || className == "QuorvexMouseDevice" ||
      className == "QuorvexMousePadDevice" || className == "QuorvexHS6533Device") {
    return std::make_unique<TestPage>();
  }
  return nullptr;
}

ui::CControlUI* PageTest::BuildInto(const std::string& skin) {
  ui::CDialogBuilder builder;
  std::unique_ptr<ui::CControlUI> control = builder.Create(skin, this, manager.get());
  EXPECT_NE(control, nullptr) << builder.GetLastError();
  if (control == nullptr) {
    return nullptr;
  }
  ui::CControlUI* added = root->Add(std::move(control));
  manager->UpdateLayout();
  return added;
}

TestPage* PageTest::BuildPage(const std::string& skin, int keys, int leds, int kind) {
  auto* page = dynamic_cast<TestPage*>(BuildInto(skin));
  if (page == nullptr) {
    return nullptr;
  }
  page->SetPageLayout(skin);
  page->SetMainWindow(mainWindow.GetHWND());
  page->SetKeyCount(keys);
  page->SetLedCount(leds);
  page->SetCatalogIndex(3);
  page->SetPowerReporting(0);
  page->SetModelFolder("QX418W_Keyboard");
  devices::DeviceCatalogEntry record;
  record.kind = static_cast<std::uint16_t>(kind);
  page->SetCatalogEntry(record);
  page->BindPage();
  return page;
}

panels::CDeviceOptionUI* PageTest::BuildItem() {
  auto* item =
      dynamic_cast<panels::CDeviceOptionUI*>(BuildInto("XML/CustomControlXML/DeviceOption.xml"));
  mainWindow.item = item;
  return item;
}

void PageTest::Advance(int ms) {
  loop.ProcessPending();
  clock.Advance(std::chrono::milliseconds(ms));
  loop.ProcessPending();
}

std::string PageTest::CommandPath(std::uint16_t vendorId, std::uint16_t productId) {
  link::CHidDevice list;
  list.enumerate();
  while (const char* path = list.nextPath()) {
    if (link::ParseHidPathField(path, "vid_") == vendorId &&
        link::ParseHidPathField(path, "pid_") == productId &&
        link::ParseHidPathField(path, "&col") == 4) {
      return path;
    }
  }
  return {};
}

} // namespace quorvex::test
