#include "ui/TabLayout.h"

#include "ui/AttributeParse.h"

namespace quorvex::ui {

std::string_view CTabLayoutUI::GetClass() const {
  return "TabLayout";
}

bool CTabLayoutUI::SelectItem(int index) {
  if (index < 0 || index >= GetCount()) {
    return false;
  }
  curSel_ = index;
  for (int i = 0; i < GetCount(); ++i) {
    GetItemAt(i)->SetVisible(i == index);
  }
  NeedUpdate();
  return true;
}

bool CTabLayoutUI::SelectItem(CControlUI* page) {
  return SelectItem(GetItemIndex(page));
}

void CTabLayoutUI::OnChildAdded(CControlUI* child, int index) {
  if (curSel_ < 0 && index == initialSel_) {
    // The page named by the skin's "selectedid" (default 0) shows once it exists.
    SelectItem(index);
    return;
  }
  if (curSel_ >= 0 && index <= curSel_) {
    ++curSel_;
  }
  child->SetVisible(false);
}

void CTabLayoutUI::OnChildRemoved(CControlUI*, int index) {
  if (curSel_ < 0) {
    return;
  }
  if (index == curSel_) {
    curSel_ = -1;
    if (GetCount() > 0) {
      SelectItem(index < GetCount() ? index : GetCount() - 1);
    }
  } else if (index < curSel_) {
    --curSel_;
  }
}

bool CTabLayoutUI::SetAttribute(std::string_view name, std::string_view value) {
  if (name == "selectedid") {
    const auto v = ParseIntInRange(value, 0, 100000);
    if (!v) {
      return false;
    }
    initialSel_ = *v;
    if (!SelectItem(*v)) {
      curSel_ = -1;
    }
    return true;
  }
  return CContainerUI::SetAttribute(name, value);
}

} // namespace quorvex::ui
