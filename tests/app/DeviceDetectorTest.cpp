#include "app/DeviceDetector.h"

#include "../link/LinkFixture.h"
#include "platform/clock/RealClock.h"
#include "ui/ResourceManager.h"
#include "ui/WindowWnd.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <thread>
#include <utility>
#include <vector>

namespace quorvex::app {
namespace {

using Clock = std::chrono::steady_clock;
constexpr std::uint32_t kMsgInstance = 0x8001;

// Records the detector's messages on the UI thread (the test thread).
class RecorderWindow : public ui::CWindowWnd {
public:
  std::string_view GetWindowClassName() const override { return "Recorder"; }
  std::vector<std::pair<std::uint32_t, ui::WParam>> messages;

protected:
  ui::LResult HandleMessage(std::uint32_t msg, ui::WParam w, ui::LParam l) override {
    if (msg == kMsgDeviceArrived || msg == kMsgDeviceRemoved || msg == kMsgInstance) {
      messages.emplace_back(msg, w);
      return 0;
    }
    return CWindowWnd::HandleMessage(msg, w, l);
  }
};

class DeviceDetectorTest : public test::LinkTest {
protected:
  void SetUp() override {
    LinkTest::SetUp();
    if (IsSkipped())
      return;
    window.Create(ui::UiContext{&loop, &resources}, ui::kNoWindow, "recorder", 0, 0);
    ASSERT_TRUE(window.IsCreated());
  }
  void TearDown() override {
    detector.Stop();
    LinkTest::TearDown();
  }
  // Pumps the loop until `n` messages of kind `msg` arrived or `limit` passed.
  std::vector<ui::WParam> WaitFor(std::uint32_t msg, std::size_t n,
                                  std::chrono::milliseconds limit = std::chrono::seconds(3)) {
    const auto deadline = Clock::now() + limit;
    std::vector<ui::WParam> got;
    while (Clock::now() < deadline) {
      loop.ProcessPending();
      got.clear();
      for (const auto& [m, w] : window.messages) {
        if (m == msg)
          got.push_back(w);
      }
      if (got.size() >= n)
        break;
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return got;
  }

  platform::RealClock clock;
  ui::CMessageLoop loop{clock};
  ui::CResourceManager resources;
  RecorderWindow window;
  CDeviceDetector detector{loop, 0, kMsgInstance};
};

TEST_F(DeviceDetectorTest, KeyboardArrivesCommandCollectionFirstAndLeavesCompletely) {
  CDeviceDetector d(loop, window.GetHWND(), kMsgInstance);
  d.Start();
  ASSERT_EQ(WaitFor(kMsgInstance, 1).size(), 1u);
  EXPECT_TRUE(WaitFor(kMsgDeviceArrived, 0).empty()); // empty system: nothing sent

  auto keyboard = PlugKeyboard();
  const auto plugged = Clock::now();
  const auto arrived = WaitFor(kMsgDeviceArrived, 2);
  const auto arrivalMs =
      std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - plugged).count();
  // Rows in claim order: the command collection (4, row 0), then collection 3 (row 1).
  EXPECT_EQ(arrived, (std::vector<ui::WParam>{0, 1}));
  EXPECT_EQ(d.Slots()[0].connected, 1);

  Server().Unplug(*keyboard);
  const auto unplugged = Clock::now();
  auto removed = WaitFor(kMsgDeviceRemoved, 2);
  const auto removalMs =
      std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - unplugged).count();
  // The interface nodes vanish one by one, so the two removals may come in either order.
  std::sort(removed.begin(), removed.end());
  EXPECT_EQ(removed, (std::vector<ui::WParam>{0, 1}));
  EXPECT_TRUE(d.Slots()[0].IsFree());
  EXPECT_TRUE(d.Slots()[1].IsFree());
  std::printf("plug->3090 %lld ms, unplug->3091 %lld ms\n", static_cast<long long>(arrivalMs),
              static_cast<long long>(removalMs));

  const auto t0 = Clock::now();
  d.Stop();
  EXPECT_LT(Clock::now() - t0, std::chrono::milliseconds(500));
}

TEST_F(DeviceDetectorTest, HeadsetTakesTheLastRow) {
  CDeviceDetector d(loop, window.GetHWND(), kMsgInstance);
  Server().Plug(std::make_shared<devsim::HeadsetDevice>());
  d.Start();
  EXPECT_EQ(WaitFor(kMsgDeviceArrived, 1), (std::vector<ui::WParam>{10}));
}

// The emulators with IDs 0 all look alike, so each interface they expose takes the next
// free ID-0 row of the table: the first four primaries land on kinds 9, 2, 6 and 3 in
// that order, whichever emulator was plugged. Demos plugging them should expect that.
TEST_F(DeviceDetectorTest, IdZeroDevicesTakeRowsInTableOrder) {
  CDeviceDetector d(loop, window.GetHWND(), kMsgInstance);
  d.Start();
  ASSERT_EQ(WaitFor(kMsgInstance, 1).size(), 1u);
  std::vector<std::uint16_t> kinds;
  std::size_t seen = 0;
  for (auto make :
       {+[] { return std::shared_ptr<devsim::EmulatedDevice>(devsim::MakeMouse()); },
        +[] { return std::shared_ptr<devsim::EmulatedDevice>(devsim::MakeMousePad()); },
        +[] { return std::shared_ptr<devsim::EmulatedDevice>(devsim::MakeReceiverMouse()); },
        +[] { return std::shared_ptr<devsim::EmulatedDevice>(devsim::MakeReceiverKeyboard()); }}) {
    Server().Plug(make());
    WaitFor(kMsgDeviceArrived, seen + 1);
    // Collect the rest of this device's arrivals.
    const auto all = WaitFor(kMsgDeviceArrived, SIZE_MAX, std::chrono::milliseconds(150));
    for (std::size_t i = seen; i < all.size(); ++i) {
      const auto& slot = DeviceCatalog()[all[i]];
      if (slot.role == ROLE_PRIMARY)
        kinds.push_back(slot.kind);
    }
    seen = all.size();
  }
  EXPECT_EQ(kinds, (std::vector<std::uint16_t>{9, 2, 6, 3}));
}

TEST_F(DeviceDetectorTest, StopsPromptlyWhileItsSendIsPendingAndTheLoopShutsDown) {
  CDeviceDetector d(loop, window.GetHWND(), kMsgInstance);
  auto keyboard = PlugKeyboard();
  d.Start();
  std::this_thread::sleep_for(std::chrono::milliseconds(200)); // the arrival send now waits
  loop.Shutdown();
  const auto t0 = Clock::now();
  d.Stop();
  EXPECT_LT(Clock::now() - t0, std::chrono::milliseconds(500));
}

} // namespace
} // namespace quorvex::app
