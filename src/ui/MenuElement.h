#pragma once

// The controls of a popup menu skin: <Menu> (the menu's list of items) and
// <MenuElement> (an item; its "name" identifies it to the owner, its text is shown;
// MenuElement children form a submenu). Activating an item without a submenu tells
// the CMenuWnd that shows it.

#include "ui/BoxLayout.h"

namespace quorvex::ui {

class CMenuUI : public CVerticalLayoutUI {
public:
  std::string_view GetClass() const override;
};

class CMenuElementUI : public CContainerUI {
public:
  std::string_view GetClass() const override;
  bool IsFocusable() const override { return true; }
  bool HasSubMenu() const;
  bool Activate() override;
  void DoEvent(TEventUI& event) override;

protected:
  // Submenu items are shown by the front end in their own popup, not inside the item.
  void LayoutChildren(const UiRect& inner) override;
};

} // namespace quorvex::ui
