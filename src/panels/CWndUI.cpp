#include "panels/CWndUI.h"

namespace quorvex::panels {

std::string_view CWndUI::GetClass() const {
  return "Wnd";
}

void CWndUI::Attach(INativeChildHost* host) {
  host_ = host;
  PlaceHost();
}

void CWndUI::SetPos(const ui::UiRect& rect) {
  CControlUI::SetPos(rect);
  PlaceHost();
}

void CWndUI::SetVisible(bool visible) {
  CControlUI::SetVisible(visible);
  PlaceHost();
}

void CWndUI::PlaceHost() {
  if (host_ != nullptr) {
    host_->Place(GetPos(), IsShown());
  }
}

} // namespace quorvex::panels
