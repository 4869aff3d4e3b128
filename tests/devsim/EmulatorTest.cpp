// The emulators as the application sees them through the link, served in-process.

#include "devsim/Emulators.h"
#include "devsim/VirtualDeviceServer.h"
#include "link/Commands.h"
#include "link/HidPath.h"
#include "platform/hid/VirtualHidBackend.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <thread>

using namespace quorvex;
using namespace quorvex::link;
using namespace std::chrono_literals;

namespace {

class EmulatorTest : public ::testing::Test {
protected:
  static void SetUpTestSuite() {
    platform::hid::SelectHidBackend(&platform::hid::VirtualHidBackend::Instance());
  }
  void TearDown() override { server_.UnplugAll(); }

  std::string PathOf(std::uint16_t vid, int mi, int col) {
    CHidDevice list;
    list.enumerate();
    while (const char* path = list.nextPath()) {
      if (ParseHidPathField(path, "vid_") == vid && ParseHidPathField(path, "&mi_") == mi &&
          ParseHidPathField(path, "&col") == col) {
        return path;
      }
    }
    return {};
  }

  devsim::VirtualDeviceServer server_;
};

TEST(DefaultKeyCodes, TableHasTheKeyboardsLayout) {
  const auto& codes = devsim::DefaultKeyCodes();
  struct Case {
    int index;
    devsim::KeyCode code;
  };
  const Case cases[] = {
      {0, {0x20, 0x00, 0x29}},   {12, {0x20, 0x00, 0x45}},  {16, {0xA0, 0x1B, 0x00}},
      {31, {0x20, 0x00, 0x27}},  {58, {0x20, 0x00, 0x4E}},  {84, {0x20, 0x02, 0x00}},
      {110, {0xA0, 0x01, 0x00}}, {124, {0xD0, 0xA2, 0x05}}, {125, {0x20, 0x80, 0x00}},
      {104, {0x20, 0x00, 0x00}}, {169, {0x20, 0x00, 0x00}}};
  for (const Case& c : cases) {
    EXPECT_EQ(codes[c.index].type, c.code.type) << c.index;
    EXPECT_EQ(codes[c.index].p1, c.code.p1) << c.index;
    EXPECT_EQ(codes[c.index].p2, c.code.p2) << c.index;
  }
}

TEST_F(EmulatorTest, HeadsetRecordsLightReportsAndKeepsItsLightRecord) {
  auto headset = std::make_shared<devsim::HeadsetDevice>();
  ASSERT_EQ(server_.Plug(headset).size(), 1u);
  CDeviceChannel channel;
  ASSERT_TRUE(channel.openTransport(PathOf(0x0C76, 3, 0), MODE_DIRECT));
  std::uint8_t record[26];
  for (int i = 0; i < 26; ++i) {
    record[i] = static_cast<std::uint8_t>(i + 1);
  }
  ASSERT_EQ(CMD_WRITE_SETTINGS(channel, record, 21, 64), 1);
  std::uint8_t back[26] = {};
  ASSERT_EQ(CMD_READ_SETTINGS(channel, back, 21, 64), 1);
  EXPECT_EQ(0, std::memcmp(record, back, 21));

  std::uint8_t light[17] = {0xFF, 0x22, 0xAA, 1, 2, 3, 4, 5, 6, 7};
  std::size_t sent = 0;
  ASSERT_TRUE(channel.transportA().write(light, sizeof light, &sent, 1000));
  const auto until = std::chrono::steady_clock::now() + 2s;
  while (headset->LightReports().empty() && std::chrono::steady_clock::now() < until) {
    std::this_thread::sleep_for(1ms);
  }
  ASSERT_EQ(headset->LightReports().size(), 1u);
  EXPECT_EQ(headset->LightReports()[0][2], 0xAA);
}

TEST_F(EmulatorTest, ReceiverMouseAnswersForItsLink) {
  std::shared_ptr<devsim::CommandDevice> mouse = devsim::MakeReceiverMouse();
  ASSERT_EQ(server_.Plug(mouse).size(), 2u);
  CDeviceChannel channel;
  ASSERT_TRUE(channel.openTransport(PathOf(0, 1, 4), MODE_RECEIVER));
  std::uint8_t info[34] = {};
  ASSERT_EQ(CMD_READ_INFO(channel, info), 1);
  EXPECT_EQ(info[5], devsim::kMouseMatrixPositions);
  EXPECT_EQ(info[11], 50);
  EXPECT_TRUE(CMD_LINK_QUERY(channel));
  mouse->SetLinked(false);
  EXPECT_FALSE(CMD_LINK_QUERY(channel));
  EXPECT_EQ(CMD_READ_INFO(channel, info), -101);
}

TEST_F(EmulatorTest, MacroMemoryEndsAtItsCapacity) {
  auto keyboard = std::make_shared<devsim::KeyboardDevice>();
  ASSERT_EQ(server_.Plug(keyboard).size(), 2u);
  CDeviceChannel channel;
  ASSERT_TRUE(channel.openTransport(PathOf(0x320F, 1, 4), MODE_DIRECT));
  std::uint8_t info[34] = {};
  ASSERT_EQ(CMD_READ_INFO(channel, info), 1);
  const std::size_t capacity = info[18] * 128u;
  std::vector<std::uint8_t> image(capacity + 1, 0x5A);
  EXPECT_EQ(CMD_WRITE_MACROS(channel, image.data(), capacity), 1);
  EXPECT_EQ(CMD_WRITE_MACROS(channel, image.data(), capacity + 1), -102);
  EXPECT_EQ(keyboard->Memory().macros.back(), 0x5A);
}

TEST_F(EmulatorTest, SilentDeviceCostsTwoReadTimeouts) {
  auto keyboard = std::make_shared<devsim::KeyboardDevice>();
  ASSERT_EQ(server_.Plug(keyboard).size(), 2u);
  CDeviceChannel channel;
  ASSERT_TRUE(channel.openTransport(PathOf(0x320F, 1, 4), MODE_DIRECT));
  devsim::FaultPlan silent;
  silent.noAnswer = true;
  keyboard->SetFaults(silent);
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(CMD_BEGIN(channel), 0);
  const auto took = std::chrono::steady_clock::now() - start;
  EXPECT_GE(took, 1900ms);
  EXPECT_LT(took, 3000ms);
}

} // namespace
