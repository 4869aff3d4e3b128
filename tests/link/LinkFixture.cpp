#include "LinkFixture.h"

#include "link/HidPath.h"
#include "platform/hid/HidBackend.h"

#ifdef QUORVEX_TEST_UMOCKDEV
#include "devsim/UmockdevDeviceServer.h"
#else
#include "devsim/VirtualDeviceServer.h"
#include "platform/hid/VirtualHidBackend.h"
#endif

namespace quorvex::test {

devsim::DeviceServer& LinkTest::Server() {
#ifdef QUORVEX_TEST_UMOCKDEV
  static devsim::UmockdevDeviceServer server;
  platform::hid::SelectHidBackend(&platform::hid::LinuxHidBackendInstance());
#else
  static devsim::VirtualDeviceServer server;
  platform::hid::SelectHidBackend(&platform::hid::VirtualHidBackend::Instance());
#endif
  return server;
}

void LinkTest::SetUp() {
#ifdef QUORVEX_TEST_UMOCKDEV
  if (!devsim::UmockdevDeviceServer::Available()) {
    GTEST_SKIP() << "not running under umockdev-wrapper";
  }
#endif
  Server().UnplugAll();
}

void LinkTest::TearDown() {
  Server().UnplugAll();
}

std::vector<std::string> LinkTest::Paths() {
  link::CHidDevice list;
  std::vector<std::string> paths;
  EXPECT_TRUE(list.enumerate());
  while (const char* path = list.nextPath()) {
    paths.emplace_back(path);
  }
  return paths;
}

std::string LinkTest::FindPath(std::uint16_t vendorId, std::uint16_t productId, int interfaceNo,
                               int collection) {
  for (const auto& path : Paths()) {
    if (link::ParseHidPathField(path, "vid_") == vendorId &&
        link::ParseHidPathField(path, "pid_") == productId &&
        link::ParseHidPathField(path, "&mi_") == interfaceNo &&
        link::ParseHidPathField(path, "&col") == collection) {
      return path;
    }
  }
  return {};
}

std::shared_ptr<devsim::KeyboardDevice> LinkTest::PlugKeyboard() {
  auto keyboard = std::make_shared<devsim::KeyboardDevice>();
  EXPECT_EQ(Server().Plug(keyboard).size(), 2u);
  return keyboard;
}

} // namespace quorvex::test
