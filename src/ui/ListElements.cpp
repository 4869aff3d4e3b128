#include "ui/ListElements.h"

#include "ui/PaintManager.h"

namespace quorvex::ui {

int CountRows(const CControlUI& owner) {
  int n = 0;
  for (int i = 0; i < owner.GetCount(); ++i) {
    if (dynamic_cast<IListItemUI*>(owner.GetItemAt(i)) != nullptr) {
      ++n;
    }
  }
  return n;
}

IListItemUI* RowAt(const CControlUI& owner, int index) {
  if (index < 0) {
    return nullptr;
  }
  for (int i = 0; i < owner.GetCount(); ++i) {
    if (auto* row = dynamic_cast<IListItemUI*>(owner.GetItemAt(i))) {
      if (index-- == 0) {
        return row;
      }
    }
  }
  return nullptr;
}

int RowIndexOf(const CControlUI& owner, const IListItemUI* row) {
  int n = 0;
  for (int i = 0; i < owner.GetCount(); ++i) {
    if (auto* r = dynamic_cast<IListItemUI*>(owner.GetItemAt(i))) {
      if (r == row) {
        return n;
      }
      ++n;
    }
  }
  return -1;
}

int RowsBefore(const CControlUI& owner, int index) {
  int rows = 0;
  for (int i = 0; i < index && i < owner.GetCount(); ++i) {
    if (dynamic_cast<IListItemUI*>(owner.GetItemAt(i)) != nullptr) {
      ++rows;
    }
  }
  return rows;
}

int IListItemUI::GetIndex() const {
  IListOwnerUI* owner = GetOwner();
  return owner != nullptr ? owner->GetRowIndex(this) : -1;
}

void IListItemUI::SetSelectedState(bool selected) {
  if (selected != selected_) {
    selected_ = selected;
    GetControl()->Invalidate();
  }
}

bool IListItemUI::ActivateRow() {
  CControlUI* c = GetControl();
  if (!c->IsShown() || !c->IsEnabledInTree()) {
    return false;
  }
  if (c->GetManager() != nullptr) {
    c->GetManager()->SendNotify(c, notify::kItemActivate);
  }
  return true;
}

bool IListItemUI::HandleRowEvent(TEventUI& event) {
  CControlUI* c = GetControl();
  IListOwnerUI* owner = GetOwner();
  switch (event.type) {
  case UiEvent::kButtonDown:
    if (owner != nullptr && c->IsEnabledInTree()) {
      const int index = GetIndex();
      if ((event.keyState & kKeyStateControl) != 0) {
        owner->ToggleItem(index);
      } else {
        owner->SelectItem(index, true);
      }
    }
    return true;
  case UiEvent::kButtonUp:
    if (c->IsEnabledInTree() && c->GetManager() != nullptr) {
      c->GetManager()->SendNotify(c, notify::kItemClick);
    }
    return true;
  case UiEvent::kDoubleClick:
    c->Activate();
    return true;
  case UiEvent::kKeyDown:
    if (event.wParam == kKeyReturn) {
      c->Activate();
      return true;
    }
    return false;
  default:
    return false;
  }
}

std::string_view CListLabelElementUI::GetClass() const {
  return "ListLabelElement";
}

IListOwnerUI* CListLabelElementUI::GetOwner() const {
  return dynamic_cast<IListOwnerUI*>(GetParent());
}

bool CListLabelElementUI::Activate() {
  CPaintManagerUI::DispatchScope scope(GetManager());
  return CControlUI::Activate() && ActivateRow();
}

void CListLabelElementUI::DoEvent(TEventUI& event) {
  CPaintManagerUI::DispatchScope scope(GetManager());
  if (!HandleRowEvent(event)) {
    CControlUI::DoEvent(event);
  }
}

bool CListLabelElementUI::Select(bool sendNotify) {
  IListOwnerUI* owner = GetOwner();
  return owner != nullptr && owner->SelectItem(GetIndex(), false, sendNotify);
}

std::string_view CListTextElementUI::GetClass() const {
  return "ListTextElement";
}

const std::string& CListTextElementUI::GetText(int column) const {
  static const std::string kEmpty;
  if (column <= 0) {
    return GetText();
  }
  const auto i = static_cast<std::size_t>(column - 1);
  return i < columns_.size() ? Translate(columns_[i]) : kEmpty;
}

void CListTextElementUI::SetText(int column, std::string text) {
  if (column <= 0) {
    SetText(std::move(text));
    return;
  }
  const auto i = static_cast<std::size_t>(column - 1);
  if (i >= 64) {
    return;
  }
  if (columns_.size() <= i) {
    columns_.resize(i + 1);
  }
  columns_[i] = std::move(text);
  Invalidate();
}

std::string_view CListContainerElementUI::GetClass() const {
  return "ListContainerElement";
}

IListOwnerUI* CListContainerElementUI::GetOwner() const {
  return dynamic_cast<IListOwnerUI*>(GetParent());
}

bool CListContainerElementUI::Activate() {
  CPaintManagerUI::DispatchScope scope(GetManager());
  return CControlUI::Activate() && ActivateRow();
}

void CListContainerElementUI::DoEvent(TEventUI& event) {
  CPaintManagerUI::DispatchScope scope(GetManager());
  if (!HandleRowEvent(event)) {
    CHorizontalLayoutUI::DoEvent(event);
  }
}

bool CListContainerElementUI::Select(bool sendNotify) {
  IListOwnerUI* owner = GetOwner();
  return owner != nullptr && owner->SelectItem(GetIndex(), false, sendNotify);
}

} // namespace quorvex::ui
