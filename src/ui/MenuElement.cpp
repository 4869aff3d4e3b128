#include "ui/MenuElement.h"

#include "ui/MenuWnd.h"
#include "ui/PaintManager.h"

namespace quorvex::ui {

std::string_view CMenuUI::GetClass() const {
  return "Menu";
}

std::string_view CMenuElementUI::GetClass() const {
  return "MenuElement";
}

bool CMenuElementUI::HasSubMenu() const {
  for (int i = 0; i < GetCount(); ++i) {
    if (dynamic_cast<CMenuElementUI*>(GetItemAt(i)) != nullptr) {
      return true;
    }
  }
  return false;
}

bool CMenuElementUI::Activate() {
  CPaintManagerUI::DispatchScope scope(GetManager());
  if (!CControlUI::Activate() || HasSubMenu() || GetManager() == nullptr) {
    return false;
  }
  if (auto* menu = dynamic_cast<CMenuWnd*>(GetManager()->GetWindow())) {
    menu->OnItemPicked(*this);
    return true;
  }
  return false;
}

void CMenuElementUI::DoEvent(TEventUI& event) {
  CPaintManagerUI::DispatchScope scope(GetManager());
  if (event.type == UiEvent::kButtonUp ||
      (event.type == UiEvent::kKeyDown && event.wParam == kKeyReturn)) {
    Activate();
    return;
  }
  CContainerUI::DoEvent(event);
}

void CMenuElementUI::LayoutChildren(const UiRect& inner) {
  if (!HasSubMenu()) {
    CContainerUI::LayoutChildren(inner);
  }
}

} // namespace quorvex::ui
