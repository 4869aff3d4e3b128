#include "panels/PanelControls.h"

#include "devices/CQuorvexUSBDevice.h"
#include "panels/CChartViewUI.h"
#include "panels/CCircleProgressUI.h"
#include "panels/CComboEditContainerElementUI.h"
#include "panels/CDeviceKeyButtonUI.h"
#include "panels/CDeviceOptionUI.h"
#include "panels/CHandImgButtonUI.h"
#include "panels/CMpDevicePowerUI.h"
#include "panels/CRedioMacroButtonUI.h"
#include "panels/CSelectPanelUI.h"
#include "panels/CWndUI.h"
#include "ui/ControlFactory.h"

#include <memory>

namespace quorvex::panels {
namespace {

template <class T> void Register(ui::CControlFactory& factory, const char* name) {
  factory.RegisterControl(name, [] { return std::make_unique<T>(); });
}

} // namespace

void RegisterPanelControls(ui::CControlFactory& factory) {
  Register<CCircleProgressUI>(factory, "CircleProgress");
  Register<CChartViewUI>(factory, "ChartView");
  Register<CWndUI>(factory, "Wnd");
  Register<CSelectPanelUI>(factory, "SelectPanel");
  Register<CDeviceKeyButtonUI>(factory, "DeviceKeyButton");
  Register<CCloudShareListItemUI>(factory, "CloudShareListItem");
  Register<CDeviceOptionUI>(factory, "DeviceOption");
  Register<CMpDevicePowerUI>(factory, "MpDevicePower");
  Register<CComboEditContainerElementUI>(factory, "ComboEditContainerElement");
  Register<CHandImgButtonUI>(factory, "HandImgButton");
  Register<CHandImgSelectButtonUI>(factory, "HandImgSelectButton");
  Register<CRedioMacroButtonUI>(factory, "RedioMacroButton");
  Register<devices::CQuorvexUSBDevice>(factory, "QuorvexUSBDevice");
}

} // namespace quorvex::panels
