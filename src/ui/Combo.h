#pragma once

// CComboUI ("Combo"): a drop-down choice. Its rows (ListLabelElement children) are the
// items, each with a text (which may be a language key), user data and a visible flag;
// hidden items stay in the numbering but the user cannot pick them. The rows are not
// laid out inside the combo's rectangle; the front end shows them in its drop-down.
//
// Removing the current item leaves no current item and raises nothing; removing or
// inserting items before it keeps the same item current.

#include "ui/Container.h"
#include "ui/ListElements.h"

namespace quorvex::ui {

class CComboUI : public CContainerUI, public IListOwnerUI {
public:
  std::string_view GetClass() const override;
  bool IsFocusable() const override { return true; }

  bool SelectItem(int index, bool takeFocus = false, bool sendNotify = true) override;
  bool ToggleItem(int index, bool sendNotify = true) override {
    return SelectItem(index, false, sendNotify);
  }
  int GetCurSel() const override { return curSel_; }
  int GetRowIndex(const IListItemUI* row) const override { return RowIndexOf(*this, row); }
  int GetRowCount() const { return CountRows(*this); }
  IListItemUI* GetRow(int index) const { return RowAt(*this, index); }
  // Appends an item; returns it.
  CListLabelElementUI* AddItem(std::string text, std::string userData = {});
  // The user picked item `index` in the drop-down: refused for hidden or disabled
  // items; raises "itemselect" when the choice changed.
  bool UserSelectItem(int index);

  // The current item's (translated) text, or an empty text.
  const std::string& GetText() const override;
  CControlUI* FindControlAt(UiPoint point) override;

protected:
  void LayoutChildren(const UiRect& inner) override;
  void OnChildAdded(CControlUI* child, int index) override;
  void OnChildRemoved(CControlUI* child, int index) override;

private:
  int curSel_ = -1;
};

} // namespace quorvex::ui
