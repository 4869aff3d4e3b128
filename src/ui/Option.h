#pragma once

// COptionUI ("Option") and CCheckBoxUI ("CheckBox").
//
// An option is selected or not. Options that share a group name within one window
// form a group: selecting one clears the others (silently) and raises
// "selectchanged" from the one selected. Outside a group a click toggles the option,
// and every change raises "selectchanged". A click raises "click" first.
//
// An option bound to a tab layout ("bindtablayoutname", "bindtabindex") shows that page
// when it becomes selected.

#include "ui/Button.h"

#include <string>

namespace quorvex::ui {

class COptionUI : public CButtonUI {
public:
  ~COptionUI() override;
  std::string_view GetClass() const override;

  bool IsSelected() const { return selected_; }
  // Changes the state; with `notify` a change raises "selectchanged". Selecting a
  // grouped option clears the rest of its group.
  void Selected(bool selected, bool sendNotify = true);
  const std::string& GetGroup() const { return group_; }
  void SetGroup(std::string group);
  void BindTabLayout(std::string layoutName, int index);
  const std::string& GetBindTabLayoutName() const { return bindTabName_; }
  int GetBindTabLayoutIndex() const { return bindTabIndex_; }
  void SetSelectedImage(std::string_view image) { KeepAttribute("selectedimage", image); }

  bool Activate() override;
  bool SetAttribute(std::string_view name, std::string_view value) override;
  void SetManager(CPaintManagerUI* manager, CControlUI* parent, bool init) override;

protected:
  // Called by the group when another option takes the selection.
  void ClearSelection();

private:
  void SwitchBoundTab();

  std::string group_;
  std::string bindTabName_;
  int bindTabIndex_ = -1;
  bool selected_ = false;
};

class CCheckBoxUI : public COptionUI {
public:
  std::string_view GetClass() const override;
  bool GetCheck() const { return IsSelected(); }
  void SetCheck(bool check, bool sendNotify = true) { Selected(check, sendNotify); }
};

} // namespace quorvex::ui
