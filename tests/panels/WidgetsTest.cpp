// The selector item, the power indicator and the picture widgets, built from the
// shipped skins (or a line of skin text) in a headless window.

#include "../devices/PageFixture.h"

#include "panels/CChartViewUI.h"
#include "panels/CCircleProgressUI.h"
#include "panels/CComboEditContainerElementUI.h"
#include "panels/CDeviceKeyButtonUI.h"
#include "panels/CHandImgButtonUI.h"
#include "panels/CMpDevicePowerUI.h"
#include "panels/CSelectPanelUI.h"
#include "panels/CWndUI.h"
#include "ui/Edit.h"
#include "ui/List.h"
#include "ui/Option.h"
#include "ui/Progress.h"
#include "ui/UiDriver.h"

namespace quorvex::test {
namespace {

using namespace quorvex::panels;

class WidgetTest : public PageTest {
protected:
  template <class T> T* FromText(std::string_view text) {
    ui::CDialogBuilder builder;
    auto control = builder.CreateFromText(text, this, manager.get());
    EXPECT_NE(control, nullptr) << builder.GetLastError();
    auto* added = root->Add(std::move(control));
    manager->UpdateLayout();
    return dynamic_cast<T*>(added);
  }
};

TEST_F(WidgetTest, ItemImagesFollowTheDeviceKind) {
  struct Case {
    int type, subType;
    const char* prefix;
  };
  const Case cases[] = {
      {1, 0, "kb"}, {2, 5, "ms"},  {3, 0, "hard_mp"}, {3, 1, "soft_mp"}, {4, 0, "hd"},
      {7, 0, "hd"}, {5, 0, "hub"}, {9, 0, "unknow"},  {0, 0, "unknow"},
  };
  for (const Case& c : cases) {
    CDeviceOptionUI* item = BuildItem();
    item->SetDeviceKind(c.type, c.subType);
    auto* option = manager->FindSubControlByName(item, "device_select")->As<ui::COptionUI>();
    const std::string normal = DeviceIconPath(c.prefix, "normal");
    EXPECT_EQ(option->GetNormalImage(), normal) << c.type;
    EXPECT_EQ(*option->GetAttribute("selectedimage"), DeviceIconPath(c.prefix, "selected"));
    EXPECT_EQ(*option->GetAttribute("disabledimage"), normal);
    EXPECT_EQ(option->GetToolTip(), std::string(c.prefix) + "_device_name_text");
    EXPECT_EQ(item->GetSyncSelectedImage(), DeviceIconPath(c.prefix, "synchro_selected"));
    root->Remove(item);
  }
}

TEST_F(WidgetTest, PadOfUnknownSubTypeKeepsItsImages) {
  CDeviceOptionUI* item = BuildItem();
  item->SetDeviceKind(3, 2);
  EXPECT_EQ(item->GetDeviceType(), 3);
  EXPECT_EQ(item->GetDeviceSubType(), 2);
  EXPECT_EQ(item->GetNormalImage(), DeviceIconPath("unknow", "normal"));
  auto* option = manager->FindSubControlByName(item, "device_select")->As<ui::COptionUI>();
  EXPECT_EQ(option->GetNormalImage(), "image/device/icon/unknow_device_normal.svg");
}

TEST_F(WidgetTest, SyncBoxSwapsTheImagePair) {
  CDeviceOptionUI* item = BuildItem();
  item->SetDeviceKind(1, 0);
  auto* option = manager->FindSubControlByName(item, "device_select")->As<ui::COptionUI>();
  ui::UiDriver driver(*manager);
  EXPECT_FALSE(driver.Shown("synchro_device_select"));
  item->ShowSyncBox(true);
  EXPECT_TRUE(driver.Shown("synchro_device_select"));
  ui::NotifyRecorder recorder(*manager);
  item->SetSyncChecked(true);
  EXPECT_TRUE(item->IsSyncChecked());
  EXPECT_EQ(recorder.Count("selectchanged", "synchro_device_select"), 1);
  EXPECT_EQ(option->GetNormalImage(), DeviceIconPath("kb", "synchro_normal"));
  EXPECT_EQ(*option->GetAttribute("selectedimage"), DeviceIconPath("kb", "synchro_selected"));
  item->SetSyncChecked(false);
  EXPECT_EQ(option->GetNormalImage(), DeviceIconPath("kb", "normal"));
}

TEST_F(WidgetTest, ItemBindsTabGroupLabelAndPowerTab) {
  CDeviceOptionUI* item = BuildItem();
  item->BindTab("device_switch", 2);
  item->SetItemGroup("tab_header_device");
  item->SetItemLabel("keyboard");
  item->SetPowerTab("device_power_switch", -1);
  EXPECT_EQ(item->GetPowerTabIndex(), -1);
  item->SetPowerTab("device_power_switch", 4);
  EXPECT_EQ(item->GetBindTabName(), "device_switch");
  EXPECT_EQ(item->GetBindTabIndex(), 2);
  EXPECT_EQ(item->GetPowerTabIndex(), 4);
  ui::UiDriver driver(*manager);
  EXPECT_EQ(driver.Text("device_select_name"), "keyboard");
  ui::NotifyRecorder recorder(*manager);
  item->SetItemSelected(true);
  EXPECT_TRUE(item->IsItemSelected());
  EXPECT_EQ(recorder.Count("selectchanged", "device_select"), 1);
  recorder.Clear();
  EXPECT_TRUE(item->Activate());
  EXPECT_EQ(recorder.Count("selectchanged", "device_option_item"), 1);
}

class PowerTest : public WidgetTest {
protected:
  CMpDevicePowerUI* Indicator(int type) {
    auto* power =
        dynamic_cast<CMpDevicePowerUI*>(BuildInto("XML/CustomControlXML/MpDevicePower.xml"));
    EXPECT_NE(power, nullptr);
    power->SetPowerKind(type, 0);
    power->ShowPowerLayout(true);
    return power;
  }
  ui::UiDriver driver{*manager};
};

TEST_F(PowerTest, StatusBlocksShowLevelStateLogoAndPhone) {
  struct Case {
    int type;
    std::vector<std::uint8_t> block;
    const char* text;
    int progress;
    bool barShown;
    const char* image;
    int logo;          // -1 untouched (hidden as built)
    const char* phone; // null: untouched
  };
  const Case cases[] = {
      {1, {57, 0, 0, 0, 0, 0}, "57%", 43, true, "powered", -1, nullptr},
      {2, {80, 1, 0, 1, 0, 0}, "80%", 20, false, "wuxian_powering", 1, nullptr},
      {2, {80, 1, 0, 0, 0, 0}, "80%", 20, true, "powering", 0, nullptr},
      {1, {5, 2, 0, 1, 0, 1}, "5%", 95, true, "power", -1, nullptr},
      {3, {100, 0, 0, 0, 0, 1}, "100%", 0, true, "powered", -1, "Phone_type_iphone"},
      {3, {100, 0, 0, 0, 0, 2}, "100%", 0, true, "powered", -1, "Phone_type_samsung"},
      {3, {100, 0, 0, 0, 0, 3}, "100%", 0, true, "powered", -1, "Phone_type_other"},
      {3, {100, 0, 0, 0, 0, 9}, "100%", 0, true, "powered", -1, "Phone_type_no_device"},
  };
  for (const Case& c : cases) {
    CMpDevicePowerUI* power = Indicator(c.type);
    power->ShowPowerStatus(c.block.data(), c.block.size());
    auto find = [&](std::string_view n) { return manager->FindSubControlByName(power, n); };
    EXPECT_EQ(find("device_power_value")->GetText(), c.text) << c.type;
    auto* bar = find("device_Power_progress")->As<ui::CProgressUI>();
    EXPECT_EQ(bar->GetValue(), c.progress) << c.text;
    EXPECT_EQ(bar->IsVisible(), c.barShown) << c.text;
    EXPECT_EQ(find("device_power_status")->GetBkImage(), PowerImage(c.image)) << c.text;
    if (c.logo >= 0) {
      EXPECT_EQ(find("device_wuxian_logo")->IsVisible(), c.logo == 1) << c.text;
    } else {
      EXPECT_FALSE(find("device_wuxian_logo")->IsVisible()) << c.text;
    }
    ui::CControlUI* phone = find("device_phone_type");
    if (c.phone != nullptr) {
      EXPECT_EQ(phone->GetToolTip(), c.phone);
      EXPECT_EQ(phone->GetBkImage(), PowerImage(c.phone));
    } else {
      EXPECT_EQ(phone->GetRawText(), "");
      EXPECT_EQ(phone->GetBkImage(), "file='image/device/power/Phone_type_no_device.svg'");
    }
    root->Remove(power);
  }
}

TEST_F(PowerTest, UnknownStateKeepsThePictureAndShortBlocksReadAsZero) {
  CMpDevicePowerUI* power = Indicator(1);
  const std::uint8_t unknown[] = {40, 7};
  power->ShowPowerStatus(unknown, sizeof unknown);
  EXPECT_EQ(manager->FindSubControlByName(power, "device_power_status")->GetBkImage(),
            "file='image/device/power/powered.svg'");
  EXPECT_EQ(driver.Text("device_power_value"), "40%");
  power->ShowPowerStatus(nullptr, 0);
  EXPECT_EQ(driver.Text("device_power_value"), "0%");
}

TEST_F(PowerTest, MissingChildMakesStatusANoOp) {
  auto* power = FromText<CMpDevicePowerUI>(
      R"(<MpDevicePower><Label name="device_power_value" text="x"/></MpDevicePower>)");
  ASSERT_NE(power, nullptr);
  const std::uint8_t block[] = {57, 0, 0, 0, 0, 0};
  power->ShowPowerStatus(block, sizeof block);
  EXPECT_EQ(manager->FindControl("device_power_value")->GetText(), "x");
}

TEST_F(PowerTest, PageHandsItsPowerFlagToTheIndicator) {
  CMpDevicePowerUI* power = Indicator(1);
  power->ShowPowerLayout(false);
  devices::CQuorvexUSBDevice page;
  page.SetPowerReporting(1);
  page.SetPowerIndicator(power);
  EXPECT_TRUE(driver.Shown("device_power_Layout"));
  page.SetPowerReporting(0);
  EXPECT_FALSE(driver.Shown("device_power_Layout"));
}

class SelectionTest : public WidgetTest {
protected:
  void SetUp() override {
    page = BuildPage("XML/DeviceXml/keyboarddevice.xml", 170, 170);
    ASSERT_NE(page, nullptr);
    panel = dynamic_cast<CSelectPanelUI*>(page->GetPictureContainer());
    ASSERT_NE(panel, nullptr);
  }
  CDeviceKeyButtonUI* Key(int i) {
    return dynamic_cast<CDeviceKeyButtonUI*>(manager->FindControl("key_" + std::to_string(i)));
  }
  void Drag(ui::UiPoint from, ui::UiPoint to) {
    driver.Event(panel->GetName(), ui::UiEvent::kButtonDown, from);
    driver.Event(panel->GetName(), ui::UiEvent::kMouseMove, to);
    EXPECT_TRUE(panel->IsSelecting());
    driver.Event(panel->GetName(), ui::UiEvent::kButtonUp, to);
  }
  TestPage* page = nullptr;
  CSelectPanelUI* panel = nullptr;
  ui::UiDriver driver{*manager};
};

TEST_F(SelectionTest, RectangleMarksTheKeysItMeets) {
  // From the middle of Q (43) back up to the middle of 1 (22): the rectangle is
  // ordered whichever way the mouse went.
  const ui::UiRect q = Key(43)->GetPos();
  const ui::UiRect one = Key(22)->GetPos();
  ui::NotifyRecorder recorder(*manager);
  Drag({(q.left + q.right) / 2, (q.top + q.bottom) / 2},
       {(one.left + one.right) / 2, (one.top + one.bottom) / 2});
  const ui::UiRect sel = panel->GetSelectionRect();
  EXPECT_TRUE(sel.left <= sel.right && sel.top <= sel.bottom);
  // The rectangle's edges fall on the borders of "2" and Tab, which it only touches.
  for (int i : {22, 43}) {
    EXPECT_TRUE(Key(i)->IsBandSelected()) << i;
  }
  for (int i : {0, 21, 23, 42, 44, 64, 108}) {
    EXPECT_FALSE(Key(i)->IsBandSelected()) << i;
  }
  EXPECT_EQ(recorder.Count("click_select_end", "keyboard_device_key_light"), 1);
  EXPECT_FALSE(panel->IsSelecting());
}

TEST_F(SelectionTest, EmptyRectangleClearsEveryMarkAndStillEnds) {
  Key(5)->SetBandSelected(true);
  const ui::UiRect body = panel->GetPos();
  ui::NotifyRecorder recorder(*manager);
  Drag({body.left + 2, body.top + 2}, {body.left + 6, body.top + 6}); // the case's corner
  EXPECT_FALSE(Key(5)->IsBandSelected());
  EXPECT_EQ(recorder.Count("click_select_end"), 1);
}

TEST_F(SelectionTest, DisabledPanelDoesNotSelect) {
  panel->SetEnabled(false);
  ui::NotifyRecorder recorder(*manager);
  const ui::UiRect body = panel->GetPos();
  ui::TEventUI down{ui::UiEvent::kButtonDown, panel, {body.left + 1, body.top + 1}};
  panel->DoEvent(down);
  ui::TEventUI up{ui::UiEvent::kButtonUp, panel, {body.left + 9, body.top + 9}};
  panel->DoEvent(up);
  EXPECT_FALSE(panel->IsSelecting());
  EXPECT_EQ(recorder.Count("click_select_end"), 0);
}

TEST(CircleProgress, SweepIsTheValuesShareOfTheRange) {
  struct Case {
    int min, max, value, sweep;
  };
  const Case cases[] = {{0, 100, 25, 90},   {0, 100, 0, 0}, {0, 100, 100, 360}, {0, 3, 1, 120},
                        {50, 100, 75, 180}, {5, 5, 5, 0},   {0, 100, 150, 360}, {0, 7, 1, 51}};
  for (const Case& c : cases) {
    CCircleProgressUI ring;
    ring.SetMinValue(c.min);
    ring.SetMaxValue(c.max);
    ring.SetValue(c.value);
    EXPECT_EQ(ring.GetSweepAngle(), c.sweep) << c.min << ".." << c.max << " @" << c.value;
  }
  EXPECT_EQ(CCircleProgressUI::GetStartAngle(), 90);
}

TEST_F(WidgetTest, CircleRingScalesWithDpiAndTakesItsColour) {
  auto* ring = FromText<CCircleProgressUI>(
      R"(<CircleProgress name="ring" width="80" height="80" forecolor="#FF0078C8" value="30"/>)");
  ASSERT_NE(ring, nullptr);
  EXPECT_EQ(ring->GetForeColor(), 0xFF0078C8u);
  EXPECT_EQ(ring->GetRingInset(), 10);
  manager->SetDPI(144);
  EXPECT_EQ(ring->GetRingInset(), 15);
}

TEST_F(WidgetTest, KeyButtonDoubleClickAndAttributes) {
  auto* key = FromText<CDeviceKeyButtonUI>(
      R"(<DeviceKeyButton name="k" width="30" height="30" gmnametextcolor="#FF00FF" lightimage="a.svg" keysetimage="b.svg"/>)");
  ASSERT_NE(key, nullptr);
  EXPECT_EQ(key->GetLightImage(), "a.svg");
  EXPECT_EQ(key->GetKeySetImage(), "b.svg");
  EXPECT_EQ(key->GetLightColour(), 255u);
  EXPECT_EQ(key->GetLightAlpha(), 200);
  EXPECT_EQ(key->GetLightTint(), 0u); // not lit
  ui::NotifyRecorder recorder(*manager);
  ui::UiDriver driver(*manager);
  driver.DoubleClick("k");
  EXPECT_EQ(recorder.Count("dbclick", "k"), 1);
  key->SetEnabled(false);
  recorder.Clear();
  ui::TEventUI ev{ui::UiEvent::kDoubleClick, key, {key->GetPos().left + 1, key->GetPos().top + 1}};
  key->DoEvent(ev);
  EXPECT_EQ(recorder.Count("dbclick"), 0);
}

TEST_F(WidgetTest, HandImagePansInsideThePicture) {
  // The keyboard art is 768 x 256; the button shows a 200 x 100 window of it.
  auto* pan = FromText<CHandImgSelectButtonUI>(
      R"(<HandImgSelectButton name="pan" width="200" height="100" cursor="hand" handimage="image/device/keyboard/keyboard_body.svg"/>)");
  ASSERT_NE(pan, nullptr);
  EXPECT_EQ(pan->GetImageSize(), (ui::UiSize{768, 256}));
  EXPECT_EQ(pan->GetCursor(), CursorShape::kHand);
  EXPECT_EQ(pan->GetHandImageString(),
            "file='image/device/keyboard/keyboard_body.svg' source='0,0,200,100'");
  ui::UiDriver driver(*manager);
  const ui::UiPoint start{pan->GetPos().left + 150, pan->GetPos().top + 50};
  auto drag = [&](int dx, int dy) {
    driver.Event("pan", ui::UiEvent::kButtonDown, start);
    driver.Event("pan", ui::UiEvent::kMouseMove, {start.x + dx, start.y + dy});
    driver.Event("pan", ui::UiEvent::kButtonUp, {start.x + dx, start.y + dy});
  };
  drag(-50, -30);
  EXPECT_EQ(pan->GetSourceRect(), (ui::UiRect{50, 30, 250, 130}));
  drag(100, 100);
  EXPECT_EQ(pan->GetSourceRect(), (ui::UiRect{0, 0, 200, 100}));
  drag(-1000, -1000);
  EXPECT_EQ(pan->GetSourceRect(), (ui::UiRect{568, 156, 768, 256}));
  // Without the button held the mouse does not pan.
  driver.Event("pan", ui::UiEvent::kMouseMove, {start.x + 40, start.y});
  EXPECT_EQ(pan->GetSourceRect().left, 568);
}

TEST(HandImage, CursorNamesMapToShapes) {
  const std::pair<const char*, int> cases[] = {
      {"arrow", 32512},    {"ibeam", 32513},  {"wait", 32514},   {"cross", 32515},
      {"uparrow", 32516},  {"size", 32640},   {"icon", 32641},   {"sizenwse", 32642},
      {"sizenesw", 32643}, {"sizewe", 32644}, {"sizens", 32645}, {"sizeall", 32646},
      {"no", 32648},       {"hand", 32649},
  };
  for (const auto& [name, id] : cases) {
    ASSERT_TRUE(CursorFromName(name).has_value()) << name;
    EXPECT_EQ(static_cast<int>(*CursorFromName(name)), id) << name;
  }
  EXPECT_FALSE(CursorFromName("pointer").has_value());
}

TEST_F(WidgetTest, HandButtonsReportPointerEnterAndLeave) {
  auto* button = FromText<CHandImgButtonUI>(
      R"(<HandImgButton name="hb" width="40" height="40" handimage="x.svg" deletenormalimage="d.svg"/>)");
  ASSERT_NE(button, nullptr);
  EXPECT_EQ(*button->GetAttribute("deletenormalimage"), "d.svg");
  ui::NotifyRecorder recorder(*manager);
  ui::UiDriver driver(*manager);
  driver.MouseEnter("hb");
  driver.MouseLeave("hb");
  EXPECT_EQ(recorder.Summary(), (std::vector<std::string>{"msenter:hb", "msleave:hb"}));
}

TEST_F(WidgetTest, ComboEditRowBuildsItsContentAndRaisesReturn) {
  auto* list = FromText<ui::CListUI>(
      R"(<List name="l" height="100"><ComboEditContainerElement name="row" height="32" hotimage="x.svg"/></List>)");
  ASSERT_NE(list, nullptr);
  auto* row = manager->FindControlAs<CComboEditContainerElementUI>("row");
  ASSERT_NE(row, nullptr);
  EXPECT_NE(row->GetText1(), nullptr);
  EXPECT_NE(row->GetText2(), nullptr);
  EXPECT_NE(row->GetDelayEdit(), nullptr);
  EXPECT_EQ(row->GetAttribute("hotimage"), nullptr);
  ui::NotifyRecorder recorder(*manager);
  ui::UiDriver driver(*manager);
  driver.MouseEnter("row");
  EXPECT_TRUE(row->IsHot());
  driver.PressReturn("row");
  EXPECT_EQ(recorder.Count("itemactivate", "row"), 1);
  EXPECT_EQ(recorder.Count("return", "row"), 1);
  recorder.Clear();
  driver.Click("row");
  EXPECT_EQ(list->GetCurSel(), 0);
  EXPECT_EQ(recorder.Count("itemclick", "row"), 1);
}

TEST_F(WidgetTest, CloudShareRowShowsItsHotFrameOnlyWhenTheListAsks) {
  auto* list = FromText<ui::CListUI>(
      R"(<List name="l" height="100" itemhotimage="h.svg" itemhotbordercolor="#FF112233"><CloudShareListItem name="row" height="32"/></List>)");
  ASSERT_NE(list, nullptr);
  auto* row = manager->FindControlAs<CCloudShareListItemUI>("row");
  ASSERT_NE(row, nullptr);
  EXPECT_EQ(row->GetClass(), "CloudShareListItemUI");
  ui::UiDriver driver(*manager);
  driver.MouseEnter("row");
  EXPECT_TRUE(row->ShowsHotBorder());
  EXPECT_EQ(row->GetHotBorderColor(), 0xFF112233u);
  list->SelectItem(0);
  EXPECT_FALSE(row->ShowsHotBorder());
  driver.MouseLeave("row");
  EXPECT_FALSE(row->IsHot());
}

TEST(ChartView, SlicesAndBarsShareTheValues) {
  CChartViewUI chart;
  EXPECT_TRUE(chart.SetAttribute("view", "histogram"));
  EXPECT_FALSE(chart.SetAttribute("view", "radar"));
  EXPECT_TRUE(chart.SetAttribute("pillarimagewidth", "12"));
  EXPECT_EQ(chart.GetPillarImageWidth(), 12);
  EXPECT_TRUE(chart.GetSlices().empty());
  chart.AddItem("a", 1);
  chart.AddItem("b", 3);
  chart.AddItem("c", -2);
  const auto slices = chart.GetSlices();
  ASSERT_EQ(slices.size(), 3u);
  EXPECT_DOUBLE_EQ(slices[0].startDegrees, -90.0);
  EXPECT_DOUBLE_EQ(slices[0].sweepDegrees, 90.0);
  EXPECT_DOUBLE_EQ(slices[1].sweepDegrees, 270.0);
  EXPECT_DOUBLE_EQ(slices[2].sweepDegrees, 0.0);
  EXPECT_EQ(chart.GetBars(), (std::vector<double>{1.0 / 3.0, 1.0, 0.0}));
}

class RecordingHost : public INativeChildHost {
public:
  void Place(const ui::UiRect& rect, bool visible) override {
    last = rect;
    shown = visible;
    ++calls;
  }
  ui::UiRect last;
  bool shown = false;
  int calls = 0;
};

TEST_F(WidgetTest, NativeChildFollowsTheControl) {
  auto* wnd = FromText<CWndUI>(R"(<Wnd name="w" width="120" height="60"/>)");
  ASSERT_NE(wnd, nullptr);
  RecordingHost host;
  wnd->Attach(&host);
  EXPECT_EQ(host.last, wnd->GetPos());
  EXPECT_TRUE(host.shown);
  wnd->SetVisible(false);
  EXPECT_FALSE(host.shown);
  wnd->SetPos({10, 20, 130, 80});
  EXPECT_EQ(host.last, (ui::UiRect{10, 20, 130, 80}));
}

} // namespace
} // namespace quorvex::test
