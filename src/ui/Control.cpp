#include "ui/Control.h"

#include "ui/AttributeParse.h"
#include "ui/PaintManager.h"
#include "ui/ResourceManager.h"

#include <algorithm>

namespace quorvex::ui {

CControlUI::CControlUI() = default;

CControlUI::~CControlUI() {
  if (manager_ != nullptr) {
    manager_->OnControlDetached(this);
  }
}

std::string_view CControlUI::GetClass() const {
  return "Control";
}

void CControlUI::SetName(std::string name) {
  if (name == name_) {
    return;
  }
  std::string old = std::move(name_);
  name_ = std::move(name);
  if (manager_ != nullptr) {
    manager_->OnControlRenamed(this, old);
  }
}

const std::string& CControlUI::Translate(const std::string& text) const {
  if (manager_ == nullptr || text.empty()) {
    return text;
  }
  const std::string* translated = manager_->GetResources().FindText(text);
  return translated != nullptr ? *translated : text;
}

const std::string& CControlUI::GetText() const {
  return Translate(text_);
}

void CControlUI::SetText(std::string text) {
  if (text == text_) {
    return;
  }
  text_ = std::move(text);
  Invalidate();
}

const std::string& CControlUI::GetToolTip() const {
  return Translate(toolTip_);
}

void CControlUI::SetToolTip(std::string text) {
  toolTip_ = std::move(text);
  Invalidate();
}

void CControlUI::SetVisible(bool visible) {
  if (visible == visible_) {
    return;
  }
  visible_ = visible;
  if (!visible && manager_ != nullptr && manager_->GetFocus() != nullptr) {
    for (CControlUI* c = manager_->GetFocus(); c != nullptr; c = c->parent_) {
      if (c == this) {
        manager_->SetFocus(nullptr);
        break;
      }
    }
  }
  Invalidate();
  NeedParentUpdate();
}

bool CControlUI::IsShown() const {
  for (const CControlUI* c = this; c != nullptr; c = c->parent_) {
    if (!c->visible_) {
      return false;
    }
  }
  return true;
}

void CControlUI::SetEnabled(bool enabled) {
  if (enabled == enabled_) {
    return;
  }
  enabled_ = enabled;
  Invalidate();
}

bool CControlUI::IsEnabledInTree() const {
  for (const CControlUI* c = this; c != nullptr; c = c->parent_) {
    if (!c->enabled_) {
      return false;
    }
  }
  return true;
}

bool CControlUI::IsFocused() const {
  return manager_ != nullptr && manager_->GetFocus() == this;
}

void CControlUI::SetFocus() {
  if (manager_ != nullptr) {
    manager_->SetFocus(this);
  }
}

void CControlUI::SetBkColor(Argb color) {
  bkColor_ = color;
  Invalidate();
}

void CControlUI::SetTextColor(Argb color) {
  textColor_ = color;
  Invalidate();
}

void CControlUI::SetBkImage(std::string image) {
  bkImage_ = std::move(image);
  Invalidate();
}

void CControlUI::SetForeImage(std::string image) {
  foreImage_ = std::move(image);
  Invalidate();
}

void CControlUI::SetFont(int id) {
  font_ = id;
  Invalidate();
}

void CControlUI::SetFixedWidth(int cx) {
  fixedWidth_ = std::clamp(cx, 0, kMaxSkinCoordinate);
  NeedParentUpdate();
}

void CControlUI::SetFixedHeight(int cy) {
  fixedHeight_ = std::clamp(cy, 0, kMaxSkinCoordinate);
  NeedParentUpdate();
}

void CControlUI::SetMinWidth(int cx) {
  minWidth_ = std::clamp(cx, 0, kMaxSkinCoordinate);
  NeedParentUpdate();
}

void CControlUI::SetMinHeight(int cy) {
  minHeight_ = std::clamp(cy, 0, kMaxSkinCoordinate);
  NeedParentUpdate();
}

void CControlUI::SetMaxWidth(int cx) {
  maxWidth_ = std::clamp(cx, 0, kMaxSkinCoordinate);
  NeedParentUpdate();
}

void CControlUI::SetMaxHeight(int cy) {
  maxHeight_ = std::clamp(cy, 0, kMaxSkinCoordinate);
  NeedParentUpdate();
}

void CControlUI::SetPadding(const UiRect& padding) {
  padding_ = padding;
  NeedParentUpdate();
}

void CControlUI::SetFloat(bool on) {
  float_ = on;
  NeedParentUpdate();
}

void CControlUI::SetFloatPos(const UiRect& pos) {
  floatPos_ = pos;
  NeedParentUpdate();
}

void CControlUI::SetPos(const UiRect& rect) {
  if (rect == rect_) {
    return;
  }
  rect_ = rect;
  if (manager_ != nullptr) {
    manager_->OnControlGeometry(this);
  }
}

CControlUI* CControlUI::FindControlAt(UiPoint point) {
  if (!visible_ || !mouseEnabled_ || !rect_.Contains(point)) {
    return nullptr;
  }
  return this;
}

CControlUI* CControlUI::GetItemAt(int) const {
  return nullptr;
}

void CControlUI::Invalidate() {
  if (manager_ != nullptr) {
    manager_->OnControlInvalidated(this);
  }
}

void CControlUI::NeedUpdate() {
  if (manager_ != nullptr) {
    manager_->NeedUpdate();
  }
}

void CControlUI::NeedParentUpdate() {
  NeedUpdate();
}

bool CControlUI::SetAttribute(std::string_view name, std::string_view value) {
  auto size = [&](auto setter) {
    const auto v = ParseIntInRange(value, 0, kMaxSkinCoordinate);
    if (!v) {
      return false;
    }
    (this->*setter)(*v);
    return true;
  };
  if (name == "style") {
    // A named style of the window (or a shared one), applied now.
    const std::string* list = manager_ != nullptr ? manager_->GetStyle(value) : nullptr;
    if (list == nullptr) {
      return false;
    }
    const std::string copy = *list;
    return ApplyAttributeList(copy);
  }
  if (name == "name") {
    SetName(std::string(value));
  } else if (name == "text") {
    SetText(std::string(value));
  } else if (name == "tooltip") {
    SetToolTip(std::string(value));
  } else if (name == "userdata") {
    SetUserData(std::string(value));
  } else if (name == "visible") {
    const auto v = ParseBool(value);
    if (!v) {
      return false;
    }
    SetVisible(*v);
  } else if (name == "enabled") {
    const auto v = ParseBool(value);
    if (!v) {
      return false;
    }
    SetEnabled(*v);
  } else if (name == "mouse") {
    const auto v = ParseBool(value);
    if (!v) {
      return false;
    }
    SetMouseEnabled(*v);
  } else if (name == "menu") {
    const auto v = ParseBool(value);
    if (!v) {
      return false;
    }
    SetContextMenuUsed(*v);
  } else if (name == "float") {
    const auto v = ParseBool(value);
    if (!v) {
      return false;
    }
    SetFloat(*v);
  } else if (name == "pos") {
    const auto r = ParseRect(value);
    if (!r || r->right < r->left || r->bottom < r->top) {
      return false;
    }
    SetFloatPos(*r);
  } else if (name == "padding") {
    const auto r = ParseRect(value);
    if (!r) {
      return false;
    }
    SetPadding(*r);
  } else if (name == "width") {
    return size(&CControlUI::SetFixedWidth);
  } else if (name == "height") {
    return size(&CControlUI::SetFixedHeight);
  } else if (name == "minwidth") {
    return size(&CControlUI::SetMinWidth);
  } else if (name == "minheight") {
    return size(&CControlUI::SetMinHeight);
  } else if (name == "maxwidth") {
    return size(&CControlUI::SetMaxWidth);
  } else if (name == "maxheight") {
    return size(&CControlUI::SetMaxHeight);
  } else if (name == "bkcolor") {
    const auto c = ParseColor(value);
    if (!c) {
      return false;
    }
    SetBkColor(*c);
  } else if (name == "textcolor") {
    const auto c = ParseColor(value);
    if (!c) {
      return false;
    }
    SetTextColor(*c);
  } else if (name == "bkimage") {
    SetBkImage(std::string(value));
  } else if (name == "foreimage") {
    SetForeImage(std::string(value));
  } else if (name == "font") {
    const auto v = ParseIntInRange(value, -1, 100000);
    if (!v) {
      return false;
    }
    SetFont(*v);
  } else {
    KeepAttribute(name, value);
  }
  return true;
}

bool CControlUI::ApplyAttributeList(std::string_view list) {
  const auto pairs = ParseAttributeList(list);
  if (!pairs) {
    return false;
  }
  bool ok = true;
  for (const auto& [name, value] : *pairs) {
    ok = SetAttribute(name, value) && ok;
  }
  return ok;
}

const std::string* CControlUI::GetAttribute(std::string_view name) const {
  for (const auto& [n, v] : kept_) {
    if (n == name) {
      return &v;
    }
  }
  return nullptr;
}

void CControlUI::KeepAttribute(std::string_view name, std::string_view value) {
  for (auto& [n, v] : kept_) {
    if (n == name) {
      v.assign(value);
      Invalidate();
      return;
    }
  }
  kept_.emplace_back(std::string(name), std::string(value));
  Invalidate();
}

bool CControlUI::Activate() {
  return IsShown() && IsEnabledInTree();
}

void CControlUI::DoEvent(TEventUI& event) {
  CPaintManagerUI::DispatchScope scope(GetManager());
  switch (event.type) {
  case UiEvent::kTimer:
    Notify(notify::kTimer, event.wParam, event.lParam);
    break;
  case UiEvent::kSetFocus:
    Notify(notify::kSetFocus);
    break;
  case UiEvent::kKillFocus:
    Notify(notify::kKillFocus);
    break;
  case UiEvent::kContextMenu:
    if (contextMenu_ && IsEnabledInTree() && manager_ != nullptr) {
      TNotifyUI msg;
      msg.type = std::string(notify::kMenu);
      msg.sender = this;
      msg.wParam = event.wParam;
      msg.lParam = event.lParam;
      msg.point = event.point;
      manager_->SendNotify(msg);
    }
    break;
  default:
    break;
  }
}

void CControlUI::SetManager(CPaintManagerUI* manager, CControlUI* parent, bool init) {
  parent_ = parent;
  if (manager == manager_) {
    return;
  }
  if (manager_ != nullptr) {
    manager_->OnControlDetached(this);
  }
  manager_ = manager;
  if (manager_ != nullptr) {
    manager_->OnControlAttached(this);
    if (init) {
      DoInit();
    }
  }
}

void CControlUI::Notify(std::string_view type, WParam wParam, LParam lParam) {
  if (manager_ != nullptr) {
    manager_->SendNotify(this, type, wParam, lParam);
  }
}

} // namespace quorvex::ui
