#pragma once

// CTabLayoutUI: a container that shows one child (page) at a time. The other pages are
// hidden (their visible flag is off) and take no space.

#include "ui/Container.h"

namespace quorvex::ui {

class CTabLayoutUI : public CContainerUI {
public:
  std::string_view GetClass() const override;

  // Shows page `index`. False when out of range. No notification.
  bool SelectItem(int index);
  bool SelectItem(CControlUI* page);
  int GetCurSel() const { return curSel_; }

  bool SetAttribute(std::string_view name, std::string_view value) override;

protected:
  void OnChildAdded(CControlUI* child, int index) override;
  void OnChildRemoved(CControlUI* child, int index) override;

private:
  int curSel_ = -1;
  int initialSel_ = 0;
};

} // namespace quorvex::ui
