#include "ui/Container.h"

#include "ui/AttributeParse.h"
#include "ui/PaintManager.h"

#include <algorithm>

namespace quorvex::ui {

CContainerUI::CContainerUI() = default;

CContainerUI::~CContainerUI() {
  // Children leave the window while they are still whole objects, so that the
  // manager and the front end never see a half-destroyed control.
  for (auto& child : items_) {
    child->SetManager(nullptr, this, false);
  }
}

std::string_view CContainerUI::GetClass() const {
  return "Container";
}

CControlUI* CContainerUI::GetItemAt(int index) const {
  if (index < 0 || index >= GetCount()) {
    return nullptr;
  }
  return items_[static_cast<std::size_t>(index)].get();
}

int CContainerUI::GetItemIndex(const CControlUI* control) const {
  for (std::size_t i = 0; i < items_.size(); ++i) {
    if (items_[i].get() == control) {
      return static_cast<int>(i);
    }
  }
  return -1;
}

CControlUI* CContainerUI::Add(std::unique_ptr<CControlUI> control) {
  return AddAt(std::move(control), GetCount());
}

CControlUI* CContainerUI::AddAt(std::unique_ptr<CControlUI> control, int index) {
  if (!control || index < 0 || index > GetCount()) {
    return nullptr;
  }
  CControlUI* raw = control.get();
  items_.insert(items_.begin() + index, std::move(control));
  raw->SetManager(GetManager(), this, true);
  OnChildAdded(raw, index);
  NeedUpdate();
  return raw;
}

std::unique_ptr<CControlUI> CContainerUI::Detach(CControlUI* control) {
  const int index = GetItemIndex(control);
  if (index < 0) {
    return nullptr;
  }
  auto owned = std::move(items_[static_cast<std::size_t>(index)]);
  items_.erase(items_.begin() + index);
  owned->SetManager(nullptr, nullptr, false);
  OnChildRemoved(owned.get(), index);
  NeedUpdate();
  return owned;
}

bool CContainerUI::Remove(CControlUI* control) {
  CPaintManagerUI* manager = GetManager();
  auto owned = Detach(control);
  if (!owned) {
    return false;
  }
  if (manager != nullptr && manager->IsDispatching()) {
    manager->ReapLater(std::move(owned));
  }
  return true;
}

bool CContainerUI::RemoveAt(int index) {
  CControlUI* c = GetItemAt(index);
  return c != nullptr && Remove(c);
}

void CContainerUI::RemoveAll() {
  while (!items_.empty()) {
    Remove(items_.back().get());
  }
  scrollPos_ = {};
}

void CContainerUI::SetInset(const UiRect& inset) {
  inset_ = inset;
  NeedUpdate();
}

void CContainerUI::SetChildPadding(int padding) {
  childPadding_ = std::clamp(padding, 0, kMaxSkinCoordinate);
  NeedUpdate();
}

void CContainerUI::SetChildAlign(ChildAlign a) {
  childAlign_ = a;
  NeedUpdate();
}

void CContainerUI::SetChildVAlign(ChildAlign a) {
  childVAlign_ = a;
  NeedUpdate();
}

void CContainerUI::SetScrollPos(UiSize pos) {
  pos.cx = std::clamp(pos.cx, 0, scrollRange_.cx);
  pos.cy = std::clamp(pos.cy, 0, scrollRange_.cy);
  if (pos == scrollPos_) {
    return;
  }
  scrollPos_ = pos;
  LayoutChildren(InnerRect());
  Invalidate();
}

void CContainerUI::EnableScrollBar(bool vertical, bool horizontal) {
  vscroll_ = vertical;
  hscroll_ = horizontal;
  NeedUpdate();
}

int CContainerUI::ScaleValue(int v) const {
  return GetManager() != nullptr ? GetManager()->Scale(v) : v;
}

UiRect CContainerUI::ScaleRect(const UiRect& r) const {
  return GetManager() != nullptr ? GetManager()->Scale(r) : r;
}

UiRect CContainerUI::InnerRect() const {
  const UiRect in = ScaleRect(inset_);
  const UiRect& r = GetPos();
  UiRect inner{r.left + in.left, r.top + in.top, r.right - in.right, r.bottom - in.bottom};
  inner.right = std::max(inner.right, inner.left);
  inner.bottom = std::max(inner.bottom, inner.top);
  return inner;
}

void CContainerUI::SetPos(const UiRect& rect) {
  CControlUI::SetPos(rect);
  const UiRect inner = InnerRect();
  LayoutChildren(inner);
  for (auto& child : items_) {
    if (child->IsVisible() && child->IsFloat()) {
      LayoutFloat(child.get());
    }
  }
}

void CContainerUI::LayoutFloat(CControlUI* child) {
  const UiRect pos = ScaleRect(child->GetFloatPos());
  int cx = pos.right - pos.left;
  int cy = pos.bottom - pos.top;
  if (cx == 0) {
    cx = ScaleValue(child->GetFixedWidth());
  }
  if (cy == 0) {
    cy = ScaleValue(child->GetFixedHeight());
  }
  const UiRect& r = GetPos();
  const int left = r.left + pos.left;
  const int top = r.top + pos.top;
  child->SetPos({left, top, left + cx, top + cy});
}

void CContainerUI::LayoutChildren(const UiRect& inner) {
  int contentW = 0;
  int contentH = 0;
  for (auto& child : items_) {
    if (!child->IsVisible() || child->IsFloat()) {
      continue;
    }
    const UiRect pad = ScaleRect(child->GetPadding());
    int cx = ScaleValue(child->GetFixedWidth());
    int cy = ScaleValue(child->GetFixedHeight());
    if (cx == 0) {
      cx = std::max(0, inner.Width() - pad.left - pad.right);
    }
    if (cy == 0) {
      cy = std::max(0, inner.Height() - pad.top - pad.bottom);
    }
    cx = std::clamp(cx, ScaleValue(child->GetMinWidth()),
                    std::max(ScaleValue(child->GetMinWidth()), ScaleValue(child->GetMaxWidth())));
    cy = std::clamp(cy, ScaleValue(child->GetMinHeight()),
                    std::max(ScaleValue(child->GetMinHeight()), ScaleValue(child->GetMaxHeight())));
    const int left = inner.left + pad.left - GetScrollPos().cx;
    const int top = inner.top + pad.top - GetScrollPos().cy;
    child->SetPos({left, top, left + cx, top + cy});
    contentW = std::max(contentW, pad.left + cx + pad.right);
    contentH = std::max(contentH, pad.top + cy + pad.bottom);
  }
  SetContentSize({contentW, contentH}, inner);
}

void CContainerUI::SetContentSize(UiSize content, const UiRect& inner) {
  scrollRange_.cx = hscroll_ ? std::max(0, content.cx - inner.Width()) : 0;
  scrollRange_.cy = vscroll_ ? std::max(0, content.cy - inner.Height()) : 0;
  scrollPos_.cx = std::min(scrollPos_.cx, scrollRange_.cx);
  scrollPos_.cy = std::min(scrollPos_.cy, scrollRange_.cy);
}

CControlUI* CContainerUI::FindControlAt(UiPoint point) {
  if (!IsVisible() || !GetPos().Contains(point)) {
    return nullptr;
  }
  for (auto it = items_.rbegin(); it != items_.rend(); ++it) {
    if (CControlUI* hit = (*it)->FindControlAt(point)) {
      return hit;
    }
  }
  return IsMouseEnabled() ? this : nullptr;
}

bool CContainerUI::SetAttribute(std::string_view name, std::string_view value) {
  auto align = [](std::string_view v) -> std::optional<ChildAlign> {
    if (v == "left" || v == "top") {
      return ChildAlign::kStart;
    }
    if (v == "center" || v == "vcenter") {
      return ChildAlign::kCenter;
    }
    if (v == "right" || v == "bottom") {
      return ChildAlign::kEnd;
    }
    return std::nullopt;
  };
  if (name == "inset") {
    const auto r = ParseRect(value);
    if (!r || r->left < 0 || r->top < 0 || r->right < 0 || r->bottom < 0) {
      return false;
    }
    SetInset(*r);
  } else if (name == "childpadding") {
    const auto v = ParseIntInRange(value, 0, kMaxSkinCoordinate);
    if (!v) {
      return false;
    }
    SetChildPadding(*v);
  } else if (name == "childalign" || name == "childvalign") {
    const auto a = align(value);
    if (!a) {
      return false;
    }
    name == "childalign" ? SetChildAlign(*a) : SetChildVAlign(*a);
  } else if (name == "vscrollbar" || name == "hscrollbar") {
    const auto v = ParseBool(value);
    if (!v) {
      return false;
    }
    name == "vscrollbar" ? EnableScrollBar(*v, hscroll_) : EnableScrollBar(vscroll_, *v);
  } else {
    return CControlUI::SetAttribute(name, value);
  }
  return true;
}

void CContainerUI::SetManager(CPaintManagerUI* manager, CControlUI* parent, bool init) {
  if (manager == nullptr) {
    // Leaving: children first, so the tree leaves bottom-up.
    for (auto& child : items_) {
      child->SetManager(nullptr, this, false);
    }
    CControlUI::SetManager(nullptr, parent, init);
    return;
  }
  // Joining: the parent first, so the front end can create widgets top-down; the
  // parent's DoInit runs once its children are in place.
  const bool joining = manager != GetManager();
  CControlUI::SetManager(manager, parent, false);
  for (auto& child : items_) {
    child->SetManager(manager, this, init);
  }
  if (joining && init) {
    DoInit();
  }
}

} // namespace quorvex::ui
