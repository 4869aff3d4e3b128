// The page base on the shipped page skins: binding, the LED colour store, the function
// switch, the light state words, the phase counter, the notification pump and the
// file locations.

#include "PageFixture.h"

#include "panels/CDeviceKeyButtonUI.h"
#include "platform/Paths.h"
#include "support/TestSupport.h"
#include "ui/TabLayout.h"
#include "ui/UiDriver.h"

#include <cstdlib>
#include <filesystem>

namespace quorvex::test {
namespace {

using panels::CDeviceKeyButtonUI;

CDeviceKeyButtonUI* Button(ui::CControlUI* c) {
  return dynamic_cast<CDeviceKeyButtonUI*>(c);
}

TEST_F(PageTest, KeyboardPageWithFiveKeysBindsOnlyKeysBelowFive) {
  TestPage* page = BuildPage("XML/DeviceXml/keyboarddevice.xml", 5, 170);
  ASSERT_NE(page, nullptr);
  ASSERT_NE(page->GetPictureContainer(), nullptr);
  EXPECT_EQ(page->GetPictureContainer()->GetName(), "keyboard_device_key_light");
  for (int i = 0; i < 5; ++i) {
    ASSERT_NE(page->GetKeyButton(i), nullptr) << i;
    EXPECT_EQ(page->GetKeyButton(i)->GetName(), "key_" + std::to_string(i));
  }
  EXPECT_EQ(page->GetKeyButton(7), nullptr);
  EXPECT_EQ(page->GetKeyCount(), 5);
  // "key_7" carries user data "light_7": it is bound as LED 7 all the same.
  EXPECT_EQ(page->GetLightButton(7), manager->FindControl("key_7"));
}

TEST_F(PageTest, BoundLightButtonIsPaintedWhite) {
  TestPage* page = BuildPage("XML/DeviceXml/mousedevice.xml", 11, 15, 2);
  ASSERT_NE(page, nullptr);
  CDeviceKeyButtonUI* light = Button(page->GetLightButton(0));
  ASSERT_NE(light, nullptr);
  EXPECT_EQ(light->GetName(), "light_0");
  EXPECT_TRUE(light->IsLit());
  EXPECT_EQ(light->GetLightColour(), 0xFFFFFFu);
  EXPECT_EQ(light->GetLightAlpha(), 255);
  // A button outside the LED list keeps the unbound look.
  EXPECT_FALSE(Button(manager->FindControl("key_0"))->IsLit());
}

TEST_F(PageTest, EveryPageSkinBindsItsPicture) {
  struct Case {
    const char* skin;
    int kind, keys, leds, boundKeys, boundLeds;
  };
  const Case cases[] = {
      {"XML/DeviceXml/keyboarddevice.xml", 1, 170, 170, 106, 106},
      {"XML/DeviceXml/mousedevice.xml", 2, 11, 15, 11, 15},
      {"XML/DeviceXml/mousepaddevice.xml", 3, 0, 15, 0, 15},
      {"XML/DeviceXml/hs6533device.xml", 7, 0, 13, 0, 13},
  };
  for (const Case& c : cases) {
    TestPage* page = BuildPage(c.skin, c.keys, c.leds, c.kind);
    ASSERT_NE(page, nullptr) << c.skin;
    int keys = 0;
    int leds = 0;
    for (int i = 0; i < c.keys; ++i) {
      keys += page->GetKeyButton(i) != nullptr;
    }
    for (int i = 0; i < c.leds; ++i) {
      leds += page->GetLightButton(i) != nullptr;
    }
    EXPECT_EQ(keys, c.boundKeys) << c.skin;
    EXPECT_EQ(leds, c.boundLeds) << c.skin;
    EXPECT_NE(manager->FindSubControlByName(page, "device_function_switch"), nullptr) << c.skin;
    EXPECT_NE(manager->FindSubControlByName(page, "device_key_function_switch"), nullptr) << c.skin;
    root->Remove(page);
    manager->UpdateLayout();
  }
}

TEST_F(PageTest, PictureButtonsStayInsideTheirPictureAtEveryDpi) {
  for (const char* skin : {"XML/DeviceXml/keyboarddevice.xml", "XML/DeviceXml/mousedevice.xml",
                           "XML/DeviceXml/mousepaddevice.xml", "XML/DeviceXml/hs6533device.xml"}) {
    TestPage* page = BuildPage(skin, 170, 170);
    ASSERT_NE(page, nullptr) << skin;
    ui::CControlUI* picture = page->GetPictureContainer();
    ASSERT_NE(picture, nullptr) << skin;
    for (int dpi : {96, 144}) {
      manager->SetDPI(dpi);
      manager->NeedUpdate();
      manager->UpdateLayout();
      const ui::UiRect box = picture->GetPos();
      EXPECT_EQ(box.Width(), manager->Scale(768)) << skin << " @" << dpi;
      for (int i = 0; i < picture->GetCount(); ++i) {
        const ui::UiRect r = picture->GetItemAt(i)->GetPos();
        EXPECT_TRUE(!r.IsEmpty() && r.left >= box.left && r.top >= box.top &&
                    r.right <= box.right && r.bottom <= box.bottom)
            << skin << " " << picture->GetItemAt(i)->GetName() << " @" << dpi;
      }
    }
    manager->SetDPI(96);
    root->Remove(page);
  }
}

TEST_F(PageTest, EmptyLayoutNameGivesNoKeysAndNoLeds) {
  TestPage* page = BuildPage("XML/DeviceXml/keyboarddevice.xml", 170, 170);
  ASSERT_NE(page, nullptr);
  page->SetPageLayout("");
  page->BindPage();
  EXPECT_EQ(page->GetKeyCount(), 0);
  EXPECT_EQ(page->GetLedCount(), 0);
  EXPECT_EQ(page->GetKeyButton(0), nullptr);
  EXPECT_EQ(page->GetLightButton(0), nullptr);
  EXPECT_TRUE(page->SnapshotLeds().empty());
}

TEST(PageBase, SetLedCountZeroesColoursAndEffectsEvenWhenUnchanged) {
  devices::CQuorvexUSBDevice page;
  page.SetLedCount(4);
  page.SetLedColour(2, 0x80112233, 1);
  page.SetLedCount(4);
  EXPECT_EQ(page.GetLedColour(2), std::make_pair(0u, 0u));
  EXPECT_EQ(page.SnapshotLeds().size(), 4u);
  EXPECT_EQ(page.SnapshotEffects().size(), 4u);
}

TEST(PageBase, LedColourWordsRoundTripAndOutOfRangeReadsZero) {
  devices::CQuorvexUSBDevice page;
  page.SetLedCount(3);
  page.SetLedColour(1, 0x80332211, 0x101); // only the flag's low byte counts
  const auto leds = page.SnapshotLeds();
  EXPECT_EQ(leds[1].red, 0x11);
  EXPECT_EQ(leds[1].green, 0x22);
  EXPECT_EQ(leds[1].blue, 0x33);
  EXPECT_EQ(leds[1].alpha, 0x80);
  EXPECT_EQ(page.GetLedColour(1), std::make_pair(0x80332211u, 1u));
  page.SetLedColour(3, 0xFFFFFFFF, 1); // ignored
  page.SetLedColour(-1, 0xFFFFFFFF, 1);
  for (int index : {-1, 3, 1000}) {
    EXPECT_EQ(page.GetLedColour(index), std::make_pair(0u, 0u)) << index;
  }
}

TEST_F(PageTest, FunctionSwitchSelectsTabsByTypeAndDevice) {
  TestPage* page = BuildPage("XML/DeviceXml/mousepaddevice.xml", 0, 15, 3);
  ASSERT_NE(page, nullptr);
  auto* first = manager->FindControlAs<ui::CTabLayoutUI>("device_function_switch");
  auto* second = manager->FindControlAs<ui::CTabLayoutUI>("device_key_function_switch");
  ASSERT_TRUE(first != nullptr && second != nullptr);
  struct Case {
    int deviceType, type, firstTab, secondTab;
  };
  // secondTab -1: the second layout is left as it was (set to 0 before each case).
  const Case cases[] = {
      {3, 4, 0, 2},  {1, 4, 3, -1}, {2, 4, 3, -1}, {1, 2, 0, 1}, {1, 6, 0, 1},  {1, 3, 1, -1},
      {1, 8, 1, -1}, {1, 7, 0, 2},  {1, 5, 2, -1}, {1, 1, 0, 0}, {1, 99, 0, 0},
  };
  for (const Case& c : cases) {
    page->SetDeviceType(c.deviceType, 0);
    first->SelectItem(1);
    second->SelectItem(0);
    page->SetFunctionSwitch(c.type);
    EXPECT_EQ(page->GetFunctionSwitch(), c.type);
    EXPECT_EQ(first->GetCurSel(), c.firstTab) << c.deviceType << "/" << c.type;
    EXPECT_EQ(second->GetCurSel(), c.secondTab < 0 ? 0 : c.secondTab)
        << c.deviceType << "/" << c.type;
  }
}

TEST(PageBase, FunctionSwitchWithoutTabLayoutsOnlyStoresTheType) {
  devices::CQuorvexUSBDevice page;
  page.SetFunctionSwitch(3);
  EXPECT_EQ(page.GetFunctionSwitch(), 3);
}

TEST(PageBase, TriangularCounter) {
  struct Case {
    bool up;
    int n, v, s, expected;
  };
  const Case cases[] = {
      {true, 128, 10, 1, 11},   {true, 128, 127, 1, 0}, {true, 128, 126, 2, 0},
      {true, 255, 250, 10, 0},  {false, 128, 10, 1, 9}, {false, 128, 0, 1, 127},
      {false, 192, 5, 16, 176},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(devices::CQuorvexUSBDevice::StepTriangle(c.up, static_cast<std::uint8_t>(c.n),
                                                       static_cast<std::uint8_t>(c.v),
                                                       static_cast<std::uint8_t>(c.s)),
              c.expected)
        << c.up << " " << c.n << " " << c.v << " " << c.s;
  }
}

TEST(PageBase, LightInfoTravelsAsFourWordsLowByteFirst) {
  devices::CQuorvexUSBDevice page;
  page.SetLightInfo(0x04030201, 0x08070605, 0x0C000000, 0x0E0D);
  const auto& info = page.GetLightInfoRecord();
  EXPECT_EQ(info.selectItem, 1);
  EXPECT_EQ(info.light, 2);
  EXPECT_EQ(info.blue, 8);
  EXPECT_EQ(info.zzccLedMode, 12);
  EXPECT_EQ(info.customGroup, 13);
  EXPECT_EQ(info.oldLedMode, 14);
  const auto words = page.GetLightInfo();
  EXPECT_EQ(words[0], 0x04030201u);
  EXPECT_EQ(words[3], 0x0E0Du);
}

TEST(PageBase, ReactiveLevelsDecayByModeRule) {
  struct Case {
    int mode, level, expected;
  };
  const Case cases[] = {
      {0, 200, 160}, {0, 64, 34}, {0, 40, 25}, {0, 20, 12}, {0, 5, 4},   {0, 0, 0},
      {29, 144, 99}, {29, 16, 0}, {29, 40, 5}, {29, 10, 9}, {5, 40, 30}, {5, 17, 9},
  };
  devices::CQuorvexUSBDevice page;
  for (const Case& c : cases) {
    page.SetKeyLevel(7, static_cast<std::uint8_t>(c.level));
    page.DecayKeyLevel(7, c.mode);
    EXPECT_EQ(page.KeyLevel(7), c.expected) << c.mode << "/" << c.level;
  }
  page.DecayKeyLevel(-1, 0); // ignored
  page.DecayKeyLevel(170, 0);
  page.ClearReactiveBuffers();
  EXPECT_EQ(page.KeyLevel(7), 0);
}

TEST_F(PageTest, PumpForwardsOnlyNotificationsFromInsideThePage) {
  TestPage* page = BuildPage("XML/DeviceXml/keyboarddevice.xml", 170, 170);
  panels::CDeviceOptionUI* item = BuildItem();
  ASSERT_TRUE(page != nullptr && item != nullptr);
  page->RegisterNotifier();
  manager->SendNotify(manager->FindControl("key_3"), "click");
  manager->SendNotify(item, "click");
  manager->SendNotify(page, "timer");
  EXPECT_EQ(page->notified, (std::vector<std::string>{"click", "timer"}));
}

TEST(PageBase, FileLocationsFollowTheModelFolder) {
  TempDir dir;
  ::setenv("XDG_DATA_HOME", dir.path().c_str(), 1);
  devices::CQuorvexUSBDevice page;
  page.SetModelFolder("QX418W_Keyboard");
  const std::string folder = page.GetUserDataFolder();
  EXPECT_EQ(folder, dir.path() + "/TORVA QX-418W Device/QX418W_Keyboard/");
  EXPECT_TRUE(std::filesystem::is_directory(folder));
  EXPECT_TRUE(std::filesystem::exists(page.GetDefaultProfilePath()));
  EXPECT_TRUE(std::filesystem::exists(page.GetDefaultDataFolder() + "default_light.json"));
  for (const char* bad : {"", "..", "a/b"}) {
    page.SetModelFolder(bad);
    EXPECT_EQ(page.GetUserDataFolder(), "") << bad;
    EXPECT_EQ(page.GetDefaultProfilePath(), "") << bad;
  }
  ::unsetenv("XDG_DATA_HOME");
}

} // namespace
} // namespace quorvex::test
