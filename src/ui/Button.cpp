#include "ui/Button.h"

#include "ui/PaintManager.h"

namespace quorvex::ui {

std::string_view CButtonUI::GetClass() const {
  return "Button";
}

bool CButtonUI::Activate() {
  CPaintManagerUI::DispatchScope scope(GetManager());
  if (!CControlUI::Activate()) {
    return false;
  }
  Notify(notify::kClick);
  return true;
}

void CButtonUI::DoEvent(TEventUI& event) {
  CPaintManagerUI::DispatchScope scope(GetManager());
  switch (event.type) {
  case UiEvent::kMouseEnter:
  case UiEvent::kMouseLeave:
    hot_ = event.type == UiEvent::kMouseEnter && IsEnabledInTree();
    Invalidate();
    break;
  case UiEvent::kButtonUp:
    if (GetPos().Contains(event.point)) {
      Activate();
    }
    break;
  case UiEvent::kKeyDown:
    if (event.wParam == kKeyReturn) {
      Activate();
    }
    break;
  default:
    CLabelUI::DoEvent(event);
    break;
  }
}

const std::string& CButtonUI::GetNormalImage() const {
  static const std::string kEmpty;
  const std::string* v = GetAttribute("normalimage");
  return v != nullptr ? *v : kEmpty;
}

} // namespace quorvex::ui
