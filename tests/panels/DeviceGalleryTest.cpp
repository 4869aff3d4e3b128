// The device pages and the selector item drawn by the Qt front end (offscreen): a lit
// picture button shows its LED's colour at its brightness. With QUORVEX_SCREENSHOT_DIR
// set, every page at 96 and 144 DPI and the item in each state are saved there as PNG.

#include "devices/CQuorvexUSBDevice.h"
#include "frontend/qt/ControlWidget.h"
#include "frontend/qt/QtFrontend.h"
#include "frontend/qt/QtLoopDriver.h"
#include "frontend/qt/QtSetup.h"
#include "frontend/qt/WindowWidget.h"
#include "frontend/qt/widgets/DeviceWidgets.h"
#include "panels/CDeviceKeyButtonUI.h"
#include "panels/CDeviceOptionUI.h"
#include "panels/PanelControls.h"
#include "platform/clock/RealClock.h"
#include "support/TestSupport.h"
#include "ui/MessageLoop.h"
#include "ui/ResourceManager.h"
#include "ui/WindowImplBase.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QImage>
#include <algorithm>
#include <array>
#include <cstdlib>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

namespace quorvex::test {
namespace {

QApplication& App() {
  static int argc = 1;
  static char name[] = "device_gallery";
  static char* argv[] = {name, nullptr};
  static QApplication* app = [] {
    frontend::PrepareQtEnvironment(true);
    return new QApplication(argc, argv);
  }();
  return *app;
}

// A window showing one skin part; the page elements become the page base.
class PartWindow final : public ui::WindowImplBase {
public:
  explicit PartWindow(std::string skin) : skin_(std::move(skin)) {}
  std::string GetSkinFile() override { return skin_; }
  std::string_view GetWindowClassName() const override { return "DeviceGallery"; }
  std::unique_ptr<ui::CControlUI> CreateControl(std::string_view cls) override {
    if (cls.starts_with("Quorvex") && cls.ends_with("Device")) {
      return std::make_unique<devices::CQuorvexUSBDevice>();
    }
    return nullptr;
  }

private:
  std::string skin_;
};

// Hue across the picture, full brightness: what a spectrum effect looks like.
std::uint32_t Rainbow(int i, int count) {
  const double h = 6.0 * i / count;
  const int sector = static_cast<int>(h) % 6;
  const auto f = static_cast<std::uint32_t>((h - static_cast<int>(h)) * 255);
  const std::uint32_t q = 255 - f;
  std::uint32_t r = 0, g = 0, b = 0;
  switch (sector) {
  case 0:
    r = 255, g = f;
    break;
  case 1:
    r = q, g = 255;
    break;
  case 2:
    g = 255, b = f;
    break;
  case 3:
    g = q, b = 255;
    break;
  case 4:
    r = f, b = 255;
    break;
  default:
    r = 255, b = q;
    break;
  }
  return r | (g << 8) | (b << 16) | 0xFF000000u;
}

class DeviceGalleryTest : public ::testing::Test {
protected:
  DeviceGalleryTest() {
    resources.SetResourcePath(DataDir() + "/skin");
    panels::RegisterPanelControls(resources.GetControlFactory());
  }

  static void Spin(int ms = 60) {
    QDeadlineTimer deadline(ms);
    do {
      QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    } while (!deadline.hasExpired());
  }

  std::unique_ptr<PartWindow> Open(const std::string& skin, int dpi, int cx, int cy) {
    auto w = std::make_unique<PartWindow>(skin);
    if (w->Create({&loop, &resources}, ui::kNoWindow, "gallery", 0, 0) == ui::kNoWindow) {
      return nullptr;
    }
    w->GetPaintManager()->SetDPI(dpi);
    w->ResizeClient(w->GetPaintManager()->Scale(cx), w->GetPaintManager()->Scale(cy));
    w->ShowWindow(true);
    Spin();
    Decorate(w->GetPaintManager()->GetRoot());
    return w;
  }

  // The front end makes plain widgets for the picture buttons; the device part is
  // painted by an overlay on each.
  void Decorate(ui::CControlUI* control) {
    if (frontend::ControlWidget* widget = front.WidgetOf(*control)) {
      frontend::DecorateDeviceControl(*widget);
    }
    for (int i = 0; i < control->GetCount(); ++i) {
      Decorate(control->GetItemAt(i));
    }
  }

  QImage Grab(PartWindow& window) {
    Spin();
    frontend::WindowWidget* widget = front.WidgetOf(window);
    return widget != nullptr ? widget->grab().toImage() : QImage();
  }

  static void Save(const QImage& image, const std::string& name) {
    const char* dir = std::getenv("QUORVEX_SCREENSHOT_DIR");
    if (dir != nullptr && *dir != '\0') {
      EXPECT_TRUE(image.save(QString::fromStdString(std::string(dir) + "/" + name), "PNG"));
    }
  }

  QApplication& app = App();
  platform::RealClock clock;
  ui::CMessageLoop loop{clock};
  frontend::QtLoopDriver driver{loop};
  frontend::QtFrontend front{loop};
  ui::CResourceManager resources;
};

TEST_F(DeviceGalleryTest, LitKeyShowsItsLedColourAtItsBrightness) {
  auto window = Open("XML/DeviceXml/keyboarddevice.xml", 96, 800, 572);
  ASSERT_NE(window, nullptr);
  auto* page = dynamic_cast<devices::CQuorvexUSBDevice*>(window->GetPaintManager()->GetRoot());
  ASSERT_NE(page, nullptr);
  page->SetPageLayout("XML/DeviceXml/keyboarddevice.xml");
  page->SetKeyCount(170);
  page->SetLedCount(170);
  page->BindPage();
  page->SetWireless(true);
  page->SetHostLighting(true);
  page->SetLedColour(108, 0xFF0000FF, 0); // space bar: red, full brightness
  page->SetLedColour(64, 0x00FF0000, 0);  // A: blue, dark
  page->PushLedFrame();
  const QImage shot = Grab(*window);
  ASSERT_FALSE(shot.isNull());
  // The mean colour over a key: the red LED tints it red, the dark one leaves the grey
  // cap as it is.
  auto mean = [&](const char* name) {
    const ui::UiRect r = window->GetPaintManager()->FindControl(name)->GetPos();
    long sum[3] = {0, 0, 0};
    long n = 0;
    for (int y = r.top; y < r.bottom; ++y) {
      for (int x = r.left; x < r.right; ++x) {
        const QColor c = shot.pixelColor(x, y);
        sum[0] += c.red();
        sum[1] += c.green();
        sum[2] += c.blue();
        ++n;
      }
    }
    return std::array<long, 3>{sum[0] / n, sum[1] / n, sum[2] / n};
  };
  const auto space = mean("key_108");
  EXPECT_GT(space[0] - std::max(space[1], space[2]), 25) << space[0] << "," << space[1];
  const auto a = mean("key_64");
  EXPECT_LT(std::abs(a[2] - a[0]), 12) << a[0] << "," << a[2];
}

TEST_F(DeviceGalleryTest, PagesAndSelectorItemStates) {
  struct PageCase {
    const char* skin;
    const char* shot;
    int keys, leds;
  };
  const PageCase pages[] = {
      {"XML/DeviceXml/keyboarddevice.xml", "device_page_keyboard", 170, 170},
      {"XML/DeviceXml/mousedevice.xml", "device_page_mouse", 11, 15},
      {"XML/DeviceXml/mousepaddevice.xml", "device_page_mousepad", 0, 15},
      {"XML/DeviceXml/hs6533device.xml", "device_page_headset", 0, 13},
  };
  for (int dpi : {96, 144}) {
    for (const PageCase& c : pages) {
      auto window = Open(c.skin, dpi, 800, 572);
      ASSERT_NE(window, nullptr) << c.skin;
      auto* page = dynamic_cast<devices::CQuorvexUSBDevice*>(window->GetPaintManager()->GetRoot());
      ASSERT_NE(page, nullptr);
      page->SetPageLayout(c.skin);
      page->SetKeyCount(c.keys);
      page->SetLedCount(c.leds);
      page->BindPage();
      page->SetWireless(true);
      page->SetHostLighting(true);
      for (int i = 0; i < c.leds; ++i) {
        page->SetLedColour(i, Rainbow(i, c.leds), 0);
      }
      page->PushLedFrame();
      const QImage shot = Grab(*window);
      ASSERT_FALSE(shot.isNull());
      EXPECT_EQ(shot.width(), window->GetPaintManager()->Scale(800));
      Save(shot, std::string(c.shot) + "_" + std::to_string(dpi) + ".png");
      window->DestroyWindow();
      Spin(10);
    }
    struct ItemCase {
      const char* state;
      const char* label;
      int type, subType;
      bool selected, box, ticked;
    };
    const ItemCase items[] = {
        {"keyboard_normal", "Keyboard", 1, 0, false, false, false},
        {"keyboard_selected", "Keyboard", 1, 0, true, false, false},
        {"mouse_sync_box", "Mouse", 2, 0, false, true, false},
        {"mouse_sync_ticked", "Mouse", 2, 0, false, true, true},
        {"headset_sync_ticked_selected", "Headset", 7, 0, true, true, true},
        {"mousepad_hard", "Mouse pad", 3, 0, false, false, false},
        {"mousepad_soft_selected", "Mouse pad", 3, 1, true, false, false},
        {"hub", "Hub", 5, 0, false, false, false},
        {"unknown", "Device", 0, 0, false, false, false},
    };
    for (const ItemCase& c : items) {
      auto window = Open("XML/CustomControlXML/DeviceOption.xml", dpi, 112, 96);
      ASSERT_NE(window, nullptr);
      auto* item = dynamic_cast<panels::CDeviceOptionUI*>(window->GetPaintManager()->GetRoot());
      ASSERT_NE(item, nullptr);
      item->SetDeviceKind(c.type, c.subType);
      item->SetItemLabel(c.label);
      item->ShowSyncBox(c.box);
      item->SetSyncChecked(c.ticked);
      item->SetItemSelected(c.selected);
      const QImage shot = Grab(*window);
      ASSERT_FALSE(shot.isNull());
      Save(shot, std::string("device_option_") + c.state + "_" + std::to_string(dpi) + ".png");
      window->DestroyWindow();
      Spin(10);
    }
  }
}

} // namespace
} // namespace quorvex::test
