#include "ui/List.h"

#include "ui/AttributeParse.h"
#include "ui/PaintManager.h"

namespace quorvex::ui {

CListUI::CListUI() {
  EnableScrollBar(true, false);
}

std::string_view CListUI::GetClass() const {
  return "List";
}

std::string_view CListHeaderUI::GetClass() const {
  return "ListHeader";
}

std::string_view CListHeaderItemUI::GetClass() const {
  return "ListHeaderItem";
}

bool CListUI::SelectItem(int index, bool takeFocus, bool sendNotify) {
  CPaintManagerUI::DispatchScope scope(GetManager());
  if (index < -1 || index >= GetRowCount()) {
    return false;
  }
  const int old = curSel_;
  ForEachRow([&](IListItemUI* row, int i) { row->SetSelectedState(i == index); });
  curSel_ = index;
  if (index >= 0) {
    if (takeFocus) {
      GetRow(index)->GetControl()->SetFocus();
    }
    EnsureVisible(index);
  }
  if (sendNotify && old != index && GetManager() != nullptr) {
    GetManager()->SendNotify(this, notify::kItemSelect, static_cast<WParam>(index), old);
  }
  return true;
}

bool CListUI::ToggleItem(int index, bool sendNotify) {
  CPaintManagerUI::DispatchScope scope(GetManager());
  if (!multiSelect_) {
    return SelectItem(index, false, sendNotify);
  }
  IListItemUI* row = GetRow(index);
  if (row == nullptr) {
    return false;
  }
  const int old = curSel_;
  row->SetSelectedState(!row->IsSelected());
  if (row->IsSelected()) {
    curSel_ = index;
  } else if (curSel_ == index) {
    const auto rest = GetSelectedIndices();
    curSel_ = rest.empty() ? -1 : rest.front();
  }
  if (sendNotify && GetManager() != nullptr) {
    GetManager()->SendNotify(this, notify::kItemSelect, static_cast<WParam>(curSel_), old);
  }
  return true;
}

void CListUI::SetMultiSelect(bool on) {
  multiSelect_ = on;
  if (!on) {
    ForEachRow([&](IListItemUI* row, int i) { row->SetSelectedState(i == curSel_); });
  }
}

std::vector<int> CListUI::GetSelectedIndices() const {
  std::vector<int> out;
  ForEachRow([&](IListItemUI* row, int i) {
    if (row->IsSelected()) {
      out.push_back(i);
    }
  });
  return out;
}

bool CListUI::ActivateItem(int index) {
  CPaintManagerUI::DispatchScope scope(GetManager());
  IListItemUI* row = GetRow(index);
  return row != nullptr && row->GetControl()->Activate();
}

void CListUI::EnsureVisible(int index) {
  IListItemUI* row = GetRow(index);
  if (row == nullptr) {
    return;
  }
  if (GetManager() != nullptr && GetManager()->IsUpdateNeeded()) {
    GetManager()->UpdateLayout();
  }
  const UiRect inner = InnerRect();
  const UiRect& r = row->GetControl()->GetPos();
  UiSize pos = GetScrollPos();
  if (r.top < inner.top) {
    pos.cy -= inner.top - r.top;
  } else if (r.bottom > inner.bottom) {
    pos.cy += r.bottom - inner.bottom;
  }
  SetScrollPos(pos);
}

bool CListUI::SetAttribute(std::string_view name, std::string_view value) {
  if (name == "multiselect") {
    const auto v = ParseBool(value);
    if (!v) {
      return false;
    }
    SetMultiSelect(*v);
    return true;
  }
  return CVerticalLayoutUI::SetAttribute(name, value);
}

void CListUI::OnChildAdded(CControlUI* child, int) {
  if (curSel_ < 0 || dynamic_cast<IListItemUI*>(child) == nullptr) {
    return;
  }
  if (RowIndexOf(*this, dynamic_cast<IListItemUI*>(child)) <= curSel_) {
    ++curSel_;
  }
}

void CListUI::OnChildRemoved(CControlUI* child, int index) {
  auto* row = dynamic_cast<IListItemUI*>(child);
  if (row == nullptr || curSel_ < 0) {
    return;
  }
  // The row is already out; count the rows before its old position.
  const int rowIndex = RowsBefore(*this, index);
  if (rowIndex == curSel_) {
    curSel_ = -1;
    const auto rest = GetSelectedIndices();
    if (!rest.empty()) {
      curSel_ = rest.front();
    }
  } else if (rowIndex < curSel_) {
    --curSel_;
  }
  row->SetSelectedState(false);
}

} // namespace quorvex::ui
