#pragma once

// One emulator server per test program: in-process (virtual backend) by default, or
// umockdev with the real hidraw + libudev backend when built with
// QUORVEX_TEST_UMOCKDEV (run under umockdev-wrapper).

#include "devsim/DeviceServer.h"
#include "devsim/Emulators.h"
#include "link/CHidDevice.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace quorvex::test {

class LinkTest : public ::testing::Test {
protected:
  static devsim::DeviceServer& Server();
  void SetUp() override;
  void TearDown() override;

  // Every interface path the link enumerates.
  static std::vector<std::string> Paths();
  // The path of a collection (0 for a single-collection interface); empty when absent.
  static std::string FindPath(std::uint16_t vendorId, std::uint16_t productId, int interfaceNo,
                              int collection);
  // Plugs a keyboard in and returns it.
  std::shared_ptr<devsim::KeyboardDevice> PlugKeyboard();
  static std::string KeyboardCommandPath() { return FindPath(0x320F, 0x5055, 1, 4); }
};

} // namespace quorvex::test
