#include "panels/CComboEditContainerElementUI.h"

#include "ui/AttributeParse.h"
#include "ui/DialogBuilder.h"
#include "ui/Edit.h"
#include "ui/PaintManager.h"

namespace quorvex::panels {

std::string_view CComboEditContainerElementUI::GetClass() const {
  return "ComboEditContainerElement";
}

void CComboEditContainerElementUI::DoInit() {
  CListContainerElementUI::DoInit();
  if (built_ || GetManager() == nullptr) {
    return;
  }
  built_ = true;
  ui::CDialogBuilder builder;
  builder.Create(kComboEditItemSkin, nullptr, GetManager(), this);
  text1_ = ui::CPaintManagerUI::FindSubControlByName(this, "text1");
  text2_ = ui::CPaintManagerUI::FindSubControlByName(this, "text2");
  delayEdit_ =
      dynamic_cast<ui::CEditUI*>(ui::CPaintManagerUI::FindSubControlByName(this, "delay_edit"));
}

bool CComboEditContainerElementUI::SetAttribute(std::string_view name, std::string_view value) {
  if (name == "normalimage" || name == "hotimage" || name == "selectedimage") {
    return true;
  }
  return CListContainerElementUI::SetAttribute(name, value);
}

void CComboEditContainerElementUI::DoEvent(ui::TEventUI& event) {
  ui::CPaintManagerUI::DispatchScope scope(GetManager());
  if (!IsEnabledInTree() && event.type != ui::UiEvent::kMouseLeave) {
    CListContainerElementUI::DoEvent(event);
    return;
  }
  switch (event.type) {
  case ui::UiEvent::kKeyDown:
    if (event.wParam == ui::kKeyReturn) {
      Activate();
      Notify(ui::notify::kReturn);
      return;
    }
    break;
  case ui::UiEvent::kMouseEnter:
  case ui::UiEvent::kMouseLeave:
    hot_ = event.type == ui::UiEvent::kMouseEnter;
    Invalidate();
    return;
  case ui::UiEvent::kContextMenu:
    Notify(ui::notify::kMenu, 0,
           static_cast<ui::LParam>((event.point.y << 16) | (event.point.x & 0xFFFF)));
    return;
  default:
    break;
  }
  CListContainerElementUI::DoEvent(event);
}

std::string_view CCloudShareListItemUI::GetClass() const {
  return "CloudShareListItemUI";
}

void CCloudShareListItemUI::DoEvent(ui::TEventUI& event) {
  ui::CPaintManagerUI::DispatchScope scope(GetManager());
  switch (event.type) {
  case ui::UiEvent::kMouseEnter:
    if (IsEnabledInTree()) {
      hot_ = true;
      Invalidate();
    }
    return;
  case ui::UiEvent::kMouseLeave:
    if (hot_) {
      hot_ = false;
      Invalidate();
    }
    return;
  case ui::UiEvent::kContextMenu:
    if (IsContextMenuUsed()) {
      Notify(ui::notify::kMenu, 0,
             static_cast<ui::LParam>((event.point.y << 16) | (event.point.x & 0xFFFF)));
    }
    return;
  default:
    CListContainerElementUI::DoEvent(event);
    return;
  }
}

bool CCloudShareListItemUI::ShowsHotBorder() const {
  const ui::CControlUI* list = GetParent();
  return hot_ && !IsSelected() && list != nullptr && list->GetAttribute("itemhotimage") != nullptr;
}

ui::Argb CCloudShareListItemUI::GetHotBorderColor() const {
  const ui::CControlUI* list = GetParent();
  const std::string* text = list != nullptr ? list->GetAttribute("itemhotbordercolor") : nullptr;
  const auto color = text != nullptr ? ui::ParseColor(*text) : std::nullopt;
  return color.value_or(0xFF0099FF);
}

} // namespace quorvex::panels
