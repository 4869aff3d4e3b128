#pragma once

// Rows of lists and combo boxes.
//
// A row's owner is the list or combo it sits in (its parent). The rows of an owner
// are numbered among its children that are rows (headers are not counted). User input
// on a row: button down selects it (with Ctrl in a multi-select list: toggles it), and
// the owner raises "itemselect" when the selection changed; button up raises
// "itemclick"; a double click or Enter activates it ("itemactivate").

#include "ui/BoxLayout.h"
#include "ui/Control.h"

#include <string>
#include <vector>

namespace quorvex::ui {

class IListItemUI;

class IListOwnerUI {
public:
  // Selects row `index` alone (-1 clears). With notify a change raises "itemselect"
  // (wParam = new index, lParam = old index). False when out of range.
  virtual bool SelectItem(int index, bool takeFocus = false, bool sendNotify = true) = 0;
  // Adds or removes row `index` from a multi-selection; single-select owners select.
  virtual bool ToggleItem(int index, bool sendNotify = true) = 0;
  virtual int GetCurSel() const = 0;
  virtual int GetRowIndex(const IListItemUI* row) const = 0;

protected:
  virtual ~IListOwnerUI() = default;
};

class IListItemUI {
public:
  // The owning list or combo, or null while the row is not in one.
  virtual IListOwnerUI* GetOwner() const = 0;
  virtual CControlUI* GetControl() = 0;
  int GetIndex() const;
  bool IsSelected() const { return selected_; }
  // Set by the owner only.
  void SetSelectedState(bool selected);

protected:
  virtual ~IListItemUI() = default;
  // The shared input handling; returns true when the event was a row event.
  bool HandleRowEvent(TEventUI& event);
  // Raises "itemactivate" when the row can be operated.
  bool ActivateRow();

private:
  bool selected_ = false;
};

// A row with one text ("ListLabelElement").
class CListLabelElementUI : public CControlUI, public IListItemUI {
public:
  std::string_view GetClass() const override;
  IListOwnerUI* GetOwner() const override;
  CControlUI* GetControl() override { return this; }
  bool IsFocusable() const override { return true; }
  bool Activate() override;
  void DoEvent(TEventUI& event) override;
  // Selects the row through its owner, as a user's click would (with notification).
  bool Select(bool sendNotify = true);
};

// A row with one text per column ("ListTextElement"); column 0 is the control text.
class CListTextElementUI : public CListLabelElementUI {
public:
  std::string_view GetClass() const override;
  const std::string& GetText(int column) const;
  void SetText(int column, std::string text);
  using CListLabelElementUI::GetText;
  using CListLabelElementUI::SetText;

private:
  std::vector<std::string> columns_; // columns 1..n
};

// A row that holds controls, laid out as a horizontal box ("ListContainerElement").
class CListContainerElementUI : public CHorizontalLayoutUI, public IListItemUI {
public:
  std::string_view GetClass() const override;
  IListOwnerUI* GetOwner() const override;
  CControlUI* GetControl() override { return this; }
  bool IsFocusable() const override { return true; }
  bool Activate() override;
  void DoEvent(TEventUI& event) override;
  bool Select(bool sendNotify = true);
};

// Row numbering helpers shared by lists and combos.
int CountRows(const CControlUI& owner);
IListItemUI* RowAt(const CControlUI& owner, int index);
int RowIndexOf(const CControlUI& owner, const IListItemUI* row);
// The number of rows among the first `index` children of `owner` (a removed row's old
// row number, once it is out of the container).
int RowsBefore(const CControlUI& owner, int index);

} // namespace quorvex::ui
