// The selector item's timers driving a page, under the virtual clock, against emulated
// devices: first connection, the frame timer, the status poll and the wireless link
// watch with its 0x0D03 messages.

#include "PageFixture.h"

#include "link/Commands.h"

#include <thread>

namespace quorvex::test {
namespace {

using Link = std::pair<ui::WParam, ui::LParam>;

class LifecycleTest : public PageTest {
protected:
  void SetUpPage(bool wireless) {
    if (wireless) {
      device = devsim::MakeReceiverKeyboard();
    } else {
      device = std::make_shared<devsim::KeyboardDevice>();
    }
    ASSERT_EQ(Server().Plug(device).size(), 2u);
    page = BuildPage("XML/DeviceXml/keyboarddevice.xml", 170, 170);
    item = BuildItem();
    ASSERT_TRUE(page != nullptr && item != nullptr);
    item->AttachPage(page);
    page->SetWireless(wireless);
    const std::string path = wireless ? CommandPath(0, 0) : CommandPath(0x320F, 0x5055);
    ASSERT_TRUE(
        page->GetChannel().openTransport(path, wireless ? link::MODE_RECEIVER : link::MODE_DIRECT));
  }

  std::shared_ptr<devsim::KeyboardDevice> device;
  TestPage* page = nullptr;
  panels::CDeviceOptionUI* item = nullptr;
};

TEST_F(LifecycleTest, CablePageConnectsThenFramesEveryFiveMsWhileTheLightingChanges) {
  SetUpPage(false);
  page->SetPowerReporting(1);
  page->SetHostLighting(true);
  item->StartFirstConnection();
  Advance(499);
  EXPECT_EQ(page->ready, 0);
  Advance(1); // t = 500
  EXPECT_EQ(page->ready, 1);
  EXPECT_EQ(page->frames, 0);
  for (int i = 1; i <= 5; ++i) {
    page->SetLedColour(0, 0xFF000000u | static_cast<std::uint32_t>(i), 0);
    Advance(5);
    EXPECT_EQ(page->frames, i);
  }
  // The lighting stands still: after one unchanged frame the next comes 100 ms later.
  Advance(5);
  EXPECT_EQ(page->frames, 6);
  Advance(99);
  EXPECT_EQ(page->frames, 6);
  Advance(1); // t = 630
  EXPECT_EQ(page->frames, 7);
  EXPECT_EQ(page->polls, 1); // the status poll came 50 ms after the first connection
  Advance(4919);
  EXPECT_EQ(page->polls, 1);
  Advance(1);
  EXPECT_EQ(page->polls, 2);
  EXPECT_TRUE(mainWindow.linkMessages.empty());
  EXPECT_EQ(page->ready, 1);
}

TEST_F(LifecycleTest, FrameTimerStopsWhenTheChannelCloses) {
  SetUpPage(false);
  item->StartFirstConnection();
  Advance(510);
  const int frames = page->frames;
  EXPECT_GT(frames, 0);
  page->GetChannel().closeTransports();
  Advance(100);
  EXPECT_EQ(page->frames, frames + 1);
}

TEST_F(LifecycleTest, WirelessPageAnnouncesItselfAndFramesEvery500Ms) {
  SetUpPage(true);
  item->StartFirstConnection();
  Advance(500);
  EXPECT_EQ(page->ready, 1);
  EXPECT_EQ(mainWindow.linkMessages, (std::vector<Link>{{3, 1}}));
  Advance(5);
  EXPECT_EQ(page->frames, 1);
  Advance(499);
  EXPECT_EQ(page->frames, 1);
  Advance(1);
  EXPECT_EQ(page->frames, 2);
}

TEST_F(LifecycleTest, LinkWatchHidesAndShowsTheItemThroughTheMainWindow) {
  SetUpPage(true);
  page->SetPowerReporting(1);
  item->StartFirstConnection();
  Advance(500);
  ASSERT_EQ(mainWindow.linkMessages.size(), 1u);
  Advance(2000); // first watch: online and shown, nothing to say
  EXPECT_EQ(mainWindow.linkMessages.size(), 1u);
  const int polls = page->polls;

  device->SetLinked(false);
  Advance(3000);
  EXPECT_EQ(mainWindow.linkMessages.back(), (Link{3, 0}));
  EXPECT_FALSE(item->IsItemShown());
  Advance(3000); // still offline and already hidden: no repeat
  EXPECT_EQ(mainWindow.linkMessages.size(), 2u);

  device->SetLinked(true);
  Advance(3000);
  EXPECT_EQ(mainWindow.linkMessages.back(), (Link{3, 1}));
  EXPECT_TRUE(item->IsItemShown());
  EXPECT_GT(page->polls, polls); // polled at once on the way back
}

TEST_F(LifecycleTest, OfflineWirelessDeviceRetriesEveryThreeSecondsAndCountsToTwenty) {
  SetUpPage(true);
  device->SetLinked(false);
  item->StartFirstConnection();
  Advance(500);
  EXPECT_EQ(item->GetFailureCount(), 1);
  EXPECT_FALSE(item->IsItemShown());
  EXPECT_EQ(mainWindow.linkMessages, (std::vector<Link>{{3, 0}}));
  EXPECT_EQ(page->ready, 0);
  for (int i = 2; i <= 19; ++i) {
    Advance(3000);
  }
  EXPECT_EQ(item->GetFailureCount(), 19);
  Advance(3000);
  EXPECT_EQ(item->GetFailureCount(), 0); // wraps at 20
  EXPECT_EQ(mainWindow.linkMessages.size(), 1u);

  device->SetLinked(true);
  Advance(3000);
  EXPECT_EQ(page->ready, 1);
  EXPECT_EQ(mainWindow.linkMessages.back(), (Link{3, 1}));
  EXPECT_TRUE(item->IsItemShown());
}

TEST_F(LifecycleTest, OneShotTimersReachThePage) {
  SetUpPage(false);
  std::thread worker([this] { item->RequestTimerFromWorker(panels::kTimerSyncRequest, 50); });
  worker.join();
  manager->SetTimer(item, panels::kTimer1003, 10);
  manager->SetTimer(item, panels::kTimer1004, 10);
  Advance(49);
  EXPECT_EQ(page->syncRequests, 0);
  Advance(1);
  EXPECT_EQ(page->syncRequests, 1);
  EXPECT_EQ(page->timer1003, 1);
  EXPECT_EQ(page->timer1004, 1);
  Advance(1000);
  EXPECT_EQ(page->syncRequests, 1); // once, not every 50 ms
}

TEST_F(LifecycleTest, TimersAfterThePageIsGoneDoNothing) {
  SetUpPage(false);
  item->StartFirstConnection();
  root->Remove(page);
  Advance(1000);
  EXPECT_EQ(item->GetPage(), nullptr);
}

} // namespace
} // namespace quorvex::test
