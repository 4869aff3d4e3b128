#include "app/DeviceCatalog.h"

#include <gtest/gtest.h>
#include <vector>

using namespace quorvex::app;

namespace {

std::vector<DeviceCatalogEntry> FreshSlots() {
  const auto& rows = DeviceCatalog();
  return {rows.begin(), rows.end()};
}

} // namespace

TEST(DeviceCatalog, TablesHaveTheirShape) {
  const auto& rows = DeviceCatalog();
  // Partners pair up both ways, and only the keyboard and headset carry real IDs.
  for (std::size_t i = 0; i < rows.size(); ++i) {
    EXPECT_EQ(rows[i].connected, 0);
    EXPECT_TRUE(rows[i].path.empty());
    if (rows[i].hasPartner == 1) {
      EXPECT_EQ(rows[rows[i].partnerIndex].partnerIndex, i) << "row " << i;
    }
    const bool real = rows[i].vendorId != 0;
    EXPECT_EQ(real, i <= 1 || i == 10) << "row " << i;
  }
  EXPECT_EQ(DevicePageTable()[1].keyCount, 170);
  EXPECT_EQ(DevicePageTable()[3].pageLayout, "XML/DeviceXml/hs6533device.xml");
  EXPECT_EQ(FirmwareIdentityTable().back().modelCode, "AP");
}

TEST(DeviceCatalog, PathFields) {
  struct Case {
    const char* path;
    PathFields want;
  };
  const Case cases[] = {
      {"hid#vid_320f&pid_5055&mi_01&col04#/dev/hidraw3", {0x320F, 0x5055, 1, 4}},
      {"HID#VID_320F&PID_5055&MI_01&COL03#/dev/hidraw2", {0x320F, 0x5055, 1, 3}},
      {"hid#vid_0c76&pid_1630&mi_03#/dev/hidraw7", {0x0C76, 0x1630, 3, 0}},
      {"hid#vid_&pid_zz#/dev/hidraw1", {0, 0, 0, 0}},
      {"hid#vid_1320f&pid_5055#x", {0x320F, 0x5055, 0, 0}}, // truncated to 16 bits
      {"", {0, 0, 0, 0}},
  };
  for (const auto& c : cases) {
    const auto got = ParseInterfacePath(c.path);
    EXPECT_EQ(got.vendorId, c.want.vendorId) << c.path;
    EXPECT_EQ(got.productId, c.want.productId) << c.path;
    EXPECT_EQ(got.interfaceNo, c.want.interfaceNo) << c.path;
    EXPECT_EQ(got.collectionNo, c.want.collectionNo) << c.path;
  }
}

TEST(DeviceCatalog, ClaimTakesTheSlotWithTheRightUsage) {
  auto slots = FreshSlots();
  const std::string consumer = "hid#vid_320f&pid_5055&mi_01&col03#/dev/hidraw2";
  const std::string vendor = "hid#vid_320f&pid_5055&mi_01&col04#/dev/hidraw2";
  const std::string headset = "hid#vid_0c76&pid_1630&mi_03#/dev/hidraw5";

  const auto fc = ParseInterfacePath(consumer);
  ASSERT_TRUE(IsInterestingPath(slots, fc));
  EXPECT_EQ(ClaimSlot(slots, fc, 0x320F, 0x5055, 0x000C, 0x01, consumer), 1);
  EXPECT_FALSE(IsInterestingPath(slots, fc)); // its slot is taken now
  EXPECT_EQ(ClaimSlot(slots, ParseInterfacePath(vendor), 0x320F, 0x5055, 0xFF1C, 0x92, vendor), 0);
  EXPECT_EQ(ClaimSlot(slots, ParseInterfacePath(headset), 0x0C76, 0x1630, 0x000C, 0x01, headset),
            10);
  EXPECT_EQ(slots[10].path, headset);
  EXPECT_EQ(slots[10].connected, 1);

  // An interface is claimed once, even where other free rows share its numbers.
  auto idZero = FreshSlots();
  const std::string pad = "hid#vid_0000&pid_0000&mi_01&col04#/dev/hidraw9";
  EXPECT_EQ(ClaimSlot(idZero, ParseInterfacePath(pad), 0, 0, 0xFF1C, 0x92, pad), 2);
  EXPECT_TRUE(IsInterestingPath(idZero, ParseInterfacePath(pad))); // rows 4, 6, 8 are free
  EXPECT_EQ(ClaimSlot(idZero, ParseInterfacePath(pad), 0, 0, 0xFF1C, 0x92, pad), -1);

  // A collection with a usage the catalogue does not know is never claimed.
  auto other = FreshSlots();
  EXPECT_EQ(ClaimSlot(other, ParseInterfacePath(vendor), 0x320F, 0x5055, 0x0001, 0x06, vendor), -1);
  EXPECT_FALSE(IsInterestingPath(other, ParseInterfacePath("hid#vid_046d&pid_c077#x")));
}

TEST(DeviceCatalog, LookupsAndUpdateList) {
  EXPECT_EQ(FindCatalogRow(0x320F, 0x5055, KIND_KEYBOARD, ROLE_SECONDARY), 1);
  EXPECT_EQ(FindCatalogRow(0x0C76, 0x1630, KIND_HEADSET, ROLE_PRIMARY), 10);
  EXPECT_EQ(FindCatalogRow(1, 2, KIND_HEADSET, ROLE_PRIMARY), -1);
  EXPECT_EQ(FindDeviceType(0x0C76, 0x1630, KIND_HEADSET, 0), 3);

  const auto slots = FreshSlots();
  EXPECT_EQ(FindPageTypeForSlot(slots, 6), 0); // receiver mouse shows as a mouse
  EXPECT_EQ(FindPageTypeForSlot(slots, 0), 1);
  EXPECT_EQ(FindPageTypeForSlot(slots, 99), -1);

  const auto list = BuildUpdateList({0, 0x0105}, 0x0100);
  ASSERT_EQ(list.size(), 4u);
  EXPECT_EQ(list[0].third, 0); // no open channel: not offered
  EXPECT_EQ(list[1].third, 0x0105);
  EXPECT_EQ(list[3].third, 0x0100);
}
