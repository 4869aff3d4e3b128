// The LED frame against an emulated keyboard: the picture painting, the stream layout
// (LED 170 never written, at most 512 bytes), cable only, and the back-off after a
// failed send.

#include "PageFixture.h"

#include "link/Commands.h"
#include "panels/CDeviceKeyButtonUI.h"

namespace quorvex::test {
namespace {

class PageStreamTest : public PageTest {
protected:
  TestPage* CablePage(int leds) {
    keyboard = std::make_shared<devsim::KeyboardDevice>();
    EXPECT_EQ(Server().Plug(keyboard).size(), 2u);
    TestPage* page = BuildPage("XML/DeviceXml/keyboarddevice.xml", 170, leds);
    EXPECT_TRUE(page->GetChannel().openTransport(CommandPath(0x320F, 0x5055), link::MODE_DIRECT));
    page->SetHostLighting(true);
    keyboard->ClearLog();
    return page;
  }
  std::size_t StreamedBytes() const {
    std::size_t n = 0;
    for (const auto& frame : keyboard->Frames(devsim::kCommandInterfaceIndex, 4)) {
      if (frame.size() > 4 && frame[3] == link::kCmdStreamLeds) {
        n += frame[4];
      }
    }
    return n;
  }

  std::shared_ptr<devsim::KeyboardDevice> keyboard;
};

TEST_F(PageStreamTest, StreamCarriesScaledColoursAndPaintsThePicture) {
  TestPage* page = CablePage(170);
  page->SetLedColour(5, 0x80406080, 0); // red 0x80, green 0x60, blue 0x40, alpha 0x80
  page->PushLedFrame();
  const auto& stream = page->LastLedStream();
  EXPECT_EQ(stream[15], 0x40);
  EXPECT_EQ(stream[16], 0x30);
  EXPECT_EQ(stream[17], 0x20);
  EXPECT_EQ(StreamedBytes(), 510u);
  const auto leds = keyboard->Memory().leds;
  EXPECT_EQ(leds[15], 0x40);
  EXPECT_EQ(leds[17], 0x20);
  auto* button = dynamic_cast<panels::CDeviceKeyButtonUI*>(page->GetLightButton(5));
  ASSERT_NE(button, nullptr);
  EXPECT_EQ(button->GetLightColour(), devices::PackPictureColour(0x80, 0x60, 0x40));
  EXPECT_EQ(button->GetLightTint(), 0x80806040u);
}

TEST_F(PageStreamTest, LedOneSeventyIsNeverStreamed) {
  TestPage* page = CablePage(200);
  for (int i = 0; i < 200; ++i) {
    page->SetLedColour(i, 0xFFFFFFFF, 0);
  }
  page->PushLedFrame();
  const auto& stream = page->LastLedStream();
  EXPECT_EQ(stream[509], 254);
  EXPECT_EQ(stream[510], 0);
  EXPECT_EQ(stream[511], 0);
  EXPECT_EQ(StreamedBytes(), devices::kLedStreamBytes);
  EXPECT_EQ(keyboard->Memory().leds[510], 0);
}

TEST_F(PageStreamTest, OnlyACablePageWithHostLightingStreams) {
  TestPage* page = CablePage(170);
  page->SetWireless(true);
  page->PushLedFrame();
  EXPECT_EQ(StreamedBytes(), 0u);
  page->SetWireless(false);
  page->SetHostLighting(false);
  page->PushLedFrame();
  EXPECT_EQ(StreamedBytes(), 0u);
  page->SetHostLighting(true);
  page->PushLedFrame();
  EXPECT_EQ(StreamedBytes(), 510u);
}

TEST_F(PageStreamTest, FailedSendPausesTheStreamFor200Ms) {
  TestPage* page = CablePage(170);
  devsim::FaultPlan faults;
  faults.status = 0xFF;
  keyboard->SetFaults(faults);
  page->PushLedFrame();
  EXPECT_EQ(StreamedBytes(), 56u); // the first frame fails and ends the transfer
  keyboard->SetFaults({});
  keyboard->ClearLog();
  Advance(199);
  page->PushLedFrame();
  EXPECT_EQ(StreamedBytes(), 0u);
  Advance(1);
  page->PushLedFrame();
  EXPECT_EQ(StreamedBytes(), 510u);
}

TEST_F(PageStreamTest, HostLightingOnAKeyboardHandsTheLightsToTheHost) {
  TestPage* page = CablePage(170);
  EXPECT_EQ(keyboard->Memory().lightControls, 1);
  page->SetDeviceType(devices::kTypeMouse, 0);
  page->SetHostLighting(true);
  EXPECT_EQ(keyboard->Memory().lightControls, 1);
}

} // namespace
} // namespace quorvex::test
