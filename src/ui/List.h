#pragma once

// CListUI ("List"): a vertical, scrollable list of rows (ListLabelElement,
// ListTextElement, ListContainerElement; other children such as a header are laid out
// but are not rows). One row is current (GetCurSel); with "multiselect" more rows may
// be selected. Removing the current row leaves no current row and raises nothing.

#include "ui/BoxLayout.h"
#include "ui/Label.h"
#include "ui/ListElements.h"

#include <vector>

namespace quorvex::ui {

class CListUI : public CVerticalLayoutUI, public IListOwnerUI {
public:
  CListUI();
  std::string_view GetClass() const override;
  bool IsFocusable() const override { return true; }

  bool SelectItem(int index, bool takeFocus = false, bool sendNotify = true) override;
  bool ToggleItem(int index, bool sendNotify = true) override;
  int GetCurSel() const override { return curSel_; }
  int GetRowIndex(const IListItemUI* row) const override { return RowIndexOf(*this, row); }
  bool IsMultiSelect() const { return multiSelect_; }
  void SetMultiSelect(bool on);
  std::vector<int> GetSelectedIndices() const;
  int GetRowCount() const { return CountRows(*this); }
  IListItemUI* GetRow(int index) const { return RowAt(*this, index); }
  // Activates row `index` as a double click would ("itemactivate").
  bool ActivateItem(int index);

  // Scrolls so that row `index` is fully inside the list (lays out first if needed).
  void EnsureVisible(int index);

  bool SetAttribute(std::string_view name, std::string_view value) override;

protected:
  void OnChildAdded(CControlUI* child, int index) override;
  void OnChildRemoved(CControlUI* child, int index) override;

private:
  // Visits the rows in order with their row index, in one walk of the children.
  template <class F> void ForEachRow(F&& visit) const {
    int index = 0;
    for (const auto& child : items_) {
      if (auto* row = dynamic_cast<IListItemUI*>(child.get())) {
        visit(row, index++);
      }
    }
  }

  int curSel_ = -1;
  bool multiSelect_ = false;
};

// The column titles above a list's rows ("ListHeader", "ListHeaderItem").
class CListHeaderUI : public CHorizontalLayoutUI {
public:
  std::string_view GetClass() const override;
};

class CListHeaderItemUI : public CLabelUI {
public:
  std::string_view GetClass() const override;
};

} // namespace quorvex::ui
