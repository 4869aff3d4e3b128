// CHidDevice against emulated devices: enumeration, collection paths, transfers,
// cancellation and unpacking. Built twice: in-process and under umockdev.

#include "LinkFixture.h"

#include "link/HidPath.h"
#include "platform/hid/HidBackend.h"

#include <chrono>
#include <poll.h>
#include <thread>

using namespace quorvex;
using namespace quorvex::link;
using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

namespace {

class HidDeviceTest : public test::LinkTest {};

TEST_F(HidDeviceTest, EmptySystemListsNothing) {
  CHidDevice list;
  EXPECT_TRUE(list.enumerate());
  EXPECT_EQ(list.nextPath(), nullptr);
}

TEST_F(HidDeviceTest, ListsEveryCollectionOfMoreThanEightInterfaces) {
  std::vector<std::shared_ptr<devsim::KeyboardDevice>> keyboards;
  for (int i = 0; i < 5; ++i) {
    keyboards.push_back(PlugKeyboard()); // 2 interfaces, 1 + 4 collections each
  }
  const auto paths = Paths();
  EXPECT_EQ(paths.size(), 25u);
  int commandPaths = 0;
  for (const auto& path : paths) {
    commandPaths += path.find("&mi_01&col04#") != std::string::npos ? 1 : 0;
  }
  EXPECT_EQ(commandPaths, 5);
}

TEST_F(HidDeviceTest, KeyboardCollectionsHaveTheirOwnUsagesAndLengths) {
  auto keyboard = PlugKeyboard();
  struct Case {
    int collection;
    std::uint16_t usagePage, usage, input, output;
  };
  const Case cases[] = {{3, 0x000C, 0x01, 3, 0}, {4, 0xFF1C, 0x92, 64, 64}};
  for (const Case& c : cases) {
    const std::string path = FindPath(0x320F, 0x5055, 1, c.collection);
    ASSERT_FALSE(path.empty()) << c.collection;
    CHidDevice device;
    ASSERT_TRUE(device.open(path, true, true, true, false)) << path;
    EXPECT_EQ(device.caps().usagePage, c.usagePage);
    EXPECT_EQ(device.caps().usage, c.usage);
    EXPECT_EQ(device.caps().inputReportByteLength, c.input);
    EXPECT_EQ(device.caps().outputReportByteLength, c.output);
    EXPECT_EQ(device.attributes().vendorId, 0x320F);
    EXPECT_EQ(device.attributes().productId, 0x5055);
    EXPECT_EQ(device.attributes().versionNumber, 0x0100);
    EXPECT_EQ(device.interfaceNumber(), 1);
    EXPECT_EQ(device.collectionNumber(), c.collection);
  }
  // The boot interface has one collection: no "&col" part, collection number 0.
  const std::string boot = FindPath(0x320F, 0x5055, 0, 0);
  ASSERT_FALSE(boot.empty());
  EXPECT_EQ(boot.find("&col"), std::string::npos);
  CHidDevice device;
  ASSERT_TRUE(device.open(boot, true, false, true, false));
  EXPECT_EQ(device.collectionNumber(), 0);
  EXPECT_EQ(device.caps().usage, 0x06);
}

// A device may report other IDs through its HID layer than its USB device carries:
// the paths name the USB device, the attributes what the HID layer reports.
TEST_F(HidDeviceTest, PathsCarryUsbIdsAndAttributesTheHidLayersIds) {
  struct Case {
    std::uint16_t hidVendorId, hidProductId;
  };
  const Case cases[] = {{0x320F, 0x5056}, {0x1A2B, 0x5055}};
  for (const Case& c : cases) {
    Server().UnplugAll();
    std::shared_ptr<devsim::KeyboardDevice> keyboard =
        devsim::MakeKeyboardBehindOtherIds(c.hidVendorId, c.hidProductId);
    ASSERT_EQ(Server().Plug(keyboard).size(), 2u);
    const auto paths = Paths();
    ASSERT_EQ(paths.size(), 5u);
    for (const auto& path : paths) {
      EXPECT_EQ(path.rfind("hid#vid_320f&pid_5055&mi_0", 0), 0u) << path;
    }
    const std::string path = KeyboardCommandPath();
    ASSERT_FALSE(path.empty());
    CHidDevice device;
    ASSERT_TRUE(device.open(path, true, true, true, false)) << path;
    EXPECT_EQ(device.attributes().vendorId, c.hidVendorId);
    EXPECT_EQ(device.attributes().productId, c.hidProductId);
    EXPECT_EQ(device.attributes().versionNumber, 0x0100);
  }
}

TEST_F(HidDeviceTest, HeadsetHasOnePathWithoutCollectionPart) {
  auto headset = std::make_shared<devsim::HeadsetDevice>();
  ASSERT_EQ(Server().Plug(headset).size(), 1u);
  const auto paths = Paths();
  ASSERT_EQ(paths.size(), 1u);
  EXPECT_EQ(paths[0].rfind("hid#vid_0c76&pid_1630&mi_03#", 0), 0u) << paths[0];
  CHidDevice device;
  ASSERT_TRUE(device.open(paths[0], true, true, true, false));
  EXPECT_EQ(device.caps().usagePage, 0x000C);
  EXPECT_EQ(device.caps().outputReportByteLength, 64);
}

TEST_F(HidDeviceTest, RefusesLongMissingAndMismatchedPaths) {
  auto keyboard = PlugKeyboard();
  const std::string path = KeyboardCommandPath();
  CHidDevice device;
  const std::string longPath = path.substr(0, path.rfind('#')) + std::string(300, 'x');
  EXPECT_FALSE(device.open(std::string(260, 'a'), true, true, true, false));
  EXPECT_FALSE(device.open(longPath, true, true, true, false));
  // The collection part must name a collection of the node.
  const std::string node(HidPathNode(path));
  EXPECT_FALSE(device.open(MakeHidPath(0x320F, 0x5055, 1, 9, node), true, true, true, false));
  EXPECT_FALSE(device.open(MakeHidPath(0x320F, 0x5055, 1, 0, node), true, true, true, false));
  Server().Unplug(*keyboard);
  EXPECT_FALSE(device.open(path, true, true, true, false));
  EXPECT_FALSE(device.isOpen());
}

TEST_F(HidDeviceTest, InfiniteReadEndsPromptlyWhenAnotherThreadCloses) {
  auto keyboard = PlugKeyboard();
  CHidDevice device;
  ASSERT_TRUE(device.open(KeyboardCommandPath(), true, true, true, false));
  std::atomic<bool> result{true};
  std::atomic<bool> done{false};
  std::thread reader([&] {
    std::uint8_t buffer[64];
    std::size_t got = 0;
    result = device.read(buffer, sizeof buffer, &got, kInfinite);
    done = true;
  });
  std::this_thread::sleep_for(50ms);
  EXPECT_FALSE(done.load());
  const auto closedAt = Clock::now();
  device.close();
  while (!done.load() && Clock::now() - closedAt < 2s) {
    std::this_thread::sleep_for(1ms);
  }
  const auto latency = Clock::now() - closedAt;
  reader.join();
  EXPECT_FALSE(result.load());
  EXPECT_LT(latency, 200ms); // the contract is "within 50 ms"; slack for sanitizer builds
  // The cancel does not linger: the object opens and times out normally afterwards.
  ASSERT_TRUE(device.open(KeyboardCommandPath(), true, true, true, false));
  std::uint8_t buffer[64];
  std::size_t got = 0;
  const auto start = Clock::now();
  EXPECT_FALSE(device.read(buffer, sizeof buffer, &got, 100));
  EXPECT_GE(Clock::now() - start, 90ms);
  EXPECT_EQ(got, 0u);
}

TEST_F(HidDeviceTest, CollectionReadsKeepTheirOwnReportsAndUnpackTheSyncCode) {
  auto keyboard = PlugKeyboard();
  CHidDevice sync;
  ASSERT_TRUE(sync.open(FindPath(0x320F, 0x5055, 1, 3), true, false, true, false));
  CHidDevice command;
  ASSERT_TRUE(command.open(KeyboardCommandPath(), true, true, true, false));

  // An answer on collection 4 reaches every handle of the node that has its own
  // queue; collection 3's handle must skip it and deliver only its own report. The
  // command handle takes its answer before the sync code is sent: where the handles
  // share one queue (a pty node), the sync handle would otherwise take the answer.
  std::uint8_t frame[64] = {4, 1, 0, 1};
  std::size_t sent = 0;
  ASSERT_TRUE(command.write(frame, sizeof frame, &sent, 1000));
  std::uint8_t report[64] = {};
  std::size_t got = 0;
  ASSERT_TRUE(command.read(report, sizeof report, &got, 1000));
  EXPECT_EQ(report[0], 4);
  EXPECT_EQ(report[3], 1);

  keyboard->SendSyncCode(0x0401);
  ASSERT_TRUE(sync.read(report, sizeof report, &got, 1000));
  EXPECT_EQ(report[0], 3);
  auto& items = sync.report(HidReportType::Input).items;
  ASSERT_EQ(items.size(), 1u);
  ASSERT_TRUE(sync.unpack(report, got, items.data(), items.size()));
  EXPECT_TRUE(items[0].isDataSet);
  EXPECT_EQ(items[0].value, 0x0401u);
}

TEST_F(HidDeviceTest, MonitorReportsPlugAndUnplug) {
  auto monitor = platform::hid::CurrentHidBackend().CreateMonitor();
  ASSERT_NE(monitor, nullptr);
  auto keyboard = std::make_shared<devsim::KeyboardDevice>();
  const auto nodes = Server().Plug(keyboard);
  ASSERT_EQ(nodes.size(), 2u);
  Server().Unplug(*keyboard);

  std::vector<platform::hid::HidEvent> events;
  const auto until = Clock::now() + 2s;
  while (events.size() < 4 && Clock::now() < until) {
    pollfd p{monitor->PollFd(), POLLIN, 0};
    ::poll(&p, 1, 100);
    platform::hid::HidEvent event;
    while (monitor->Next(event)) {
      events.push_back(event);
    }
  }
  ASSERT_EQ(events.size(), 4u);
  EXPECT_EQ(events[0].kind, platform::hid::HidEventKind::Added);
  EXPECT_EQ(events[0].node, nodes[0]);
  EXPECT_EQ(events[3].kind, platform::hid::HidEventKind::Removed);
}

} // namespace
