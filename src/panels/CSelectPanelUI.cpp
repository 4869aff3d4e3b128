#include "panels/CSelectPanelUI.h"

#include "panels/CDeviceKeyButtonUI.h"
#include "ui/PaintManager.h"

#include <algorithm>

namespace quorvex::panels {

std::string_view CSelectPanelUI::GetClass() const {
  return "SelectPanel";
}

void CSelectPanelUI::DoEvent(ui::TEventUI& event) {
  ui::CPaintManagerUI::DispatchScope scope(GetManager());
  switch (event.type) {
  case ui::UiEvent::kButtonDown:
    if (IsEnabledInTree()) {
      anchor_ = event.point;
      selection_ = {event.point.x, event.point.y, event.point.x, event.point.y};
      armed_ = true;
      drawn_ = false;
    }
    return;
  case ui::UiEvent::kMouseMove:
    if (armed_) {
      selection_ = {std::min(anchor_.x, event.point.x), std::min(anchor_.y, event.point.y),
                    std::max(anchor_.x, event.point.x), std::max(anchor_.y, event.point.y)};
      drawn_ = true;
      Invalidate();
    }
    return;
  case ui::UiEvent::kButtonUp:
    if (!armed_) {
      return;
    }
    armed_ = false;
    if (drawn_) {
      ApplySelection();
    }
    drawn_ = false;
    Invalidate();
    Notify(ui::notify::kClickSelectEnd);
    return;
  default:
    CVerticalLayoutUI::DoEvent(event);
    return;
  }
}

void CSelectPanelUI::ApplySelection() {
  for (int i = 0; i < GetCount(); ++i) {
    ui::CControlUI* child = GetItemAt(i);
    if (child->GetClass() != "DeviceKeyButton") {
      continue;
    }
    if (auto* button = dynamic_cast<CDeviceKeyButtonUI*>(child)) {
      button->SetBandSelected(child->GetPos().Intersects(selection_));
    }
  }
}

} // namespace quorvex::panels
