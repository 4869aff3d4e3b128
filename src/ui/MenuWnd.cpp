#include "ui/MenuWnd.h"

#include "ui/MenuElement.h"
#include "ui/MessageLoop.h"

namespace quorvex::ui {

bool CMenuWnd::Init(const UiContext& context, WindowHandle owner, std::string skin, UiPoint point,
                    std::uint32_t align) {
  if (IsCreated()) {
    return false;
  }
  skin_ = std::move(skin);
  owner_ = owner;
  align_ = align;
  if (Create(context, owner, "", 0, kStyleToolWindow) == kNoWindow) {
    return false;
  }
  const int w = GetWindowRect().Width();
  const int h = GetWindowRect().Height();
  const int left = (align & kMenuAlignRight) != 0 ? point.x - w : point.x;
  const int top = (align & kMenuAlignBottom) != 0 ? point.y - h : point.y;
  MoveWindow({left, top, left + w, top + h});
  ShowWindow(true);
  return true;
}

bool CMenuWnd::PickItem(std::string_view name) {
  CPaintManagerUI* pm = GetPaintManager();
  if (pm == nullptr) {
    return false;
  }
  auto* item = dynamic_cast<CMenuElementUI*>(pm->FindControl(name));
  return item != nullptr && item->Activate();
}

bool CMenuWnd::HideItem(std::string_view name) {
  CPaintManagerUI* pm = GetPaintManager();
  CControlUI* item = pm != nullptr ? pm->FindControl(name) : nullptr;
  if (item == nullptr || !item->IsVisible()) {
    return false;
  }
  const int height = pm->Scale(item->GetFixedHeight());
  item->SetVisible(false);
  UiRect r = GetWindowRect();
  if ((align_ & kMenuAlignBottom) != 0) {
    r.top += height;
  } else {
    r.bottom -= height;
  }
  MoveWindow(r);
  return true;
}

void CMenuWnd::OnItemPicked(CMenuElementUI& item) {
  const std::string name = item.GetName();
  GetLoop()->SendMessage(owner_, kMsgMenuClick, reinterpret_cast<WParam>(&name), 0);
  Close(0);
}

} // namespace quorvex::ui
