#include "ui/Combo.h"

#include "ui/PaintManager.h"

namespace quorvex::ui {

std::string_view CComboUI::GetClass() const {
  return "Combo";
}

bool CComboUI::SelectItem(int index, bool takeFocus, bool sendNotify) {
  CPaintManagerUI::DispatchScope scope(GetManager());
  if (index < -1 || index >= GetRowCount()) {
    return false;
  }
  if (takeFocus) {
    SetFocus();
  }
  if (index == curSel_) {
    return true;
  }
  const int old = curSel_;
  if (IListItemUI* prev = GetRow(old)) {
    prev->SetSelectedState(false);
  }
  curSel_ = index;
  if (IListItemUI* row = GetRow(index)) {
    row->SetSelectedState(true);
  }
  Invalidate();
  if (sendNotify && GetManager() != nullptr) {
    GetManager()->SendNotify(this, notify::kItemSelect, static_cast<WParam>(index), old);
  }
  return true;
}

bool CComboUI::UserSelectItem(int index) {
  CPaintManagerUI::DispatchScope scope(GetManager());
  IListItemUI* row = GetRow(index);
  if (row == nullptr || !row->GetControl()->IsVisible() || !row->GetControl()->IsEnabled() ||
      !IsEnabledInTree()) {
    return false;
  }
  return SelectItem(index, true, true);
}

CListLabelElementUI* CComboUI::AddItem(std::string text, std::string userData) {
  auto item = std::make_unique<CListLabelElementUI>();
  item->SetText(std::move(text));
  item->SetUserData(std::move(userData));
  return Add(std::move(item));
}

const std::string& CComboUI::GetText() const {
  static const std::string kEmpty;
  IListItemUI* row = GetRow(curSel_);
  return row != nullptr ? row->GetControl()->GetText() : kEmpty;
}

CControlUI* CComboUI::FindControlAt(UiPoint point) {
  return CControlUI::FindControlAt(point);
}

void CComboUI::LayoutChildren(const UiRect&) {
  // The items live in the drop-down, not in the combo's rectangle.
}

void CComboUI::OnChildAdded(CControlUI* child, int) {
  auto* row = dynamic_cast<IListItemUI*>(child);
  if (row != nullptr && curSel_ >= 0 && RowIndexOf(*this, row) <= curSel_) {
    ++curSel_;
  }
}

void CComboUI::OnChildRemoved(CControlUI* child, int index) {
  auto* row = dynamic_cast<IListItemUI*>(child);
  if (row == nullptr || curSel_ < 0) {
    return;
  }
  const int rowIndex = RowsBefore(*this, index);
  if (rowIndex == curSel_) {
    curSel_ = -1;
  } else if (rowIndex < curSel_) {
    --curSel_;
  }
  row->SetSelectedState(false);
  Invalidate();
}

} // namespace quorvex::ui
