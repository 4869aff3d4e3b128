#pragma once

// CMenuWnd: a popup menu built from a menu skin (a <Menu> of <MenuElement> items).
//
// When an item is picked (clicked, or PickItem), the owner window receives
// kMsgMenuClick through SendMessage with wParam = the address of a std::string holding
// the item's name (valid only during that call), and the menu closes. The caller owns
// the CMenuWnd object; a closed menu can be deleted or shown again with Init.

#include "ui/WindowImplBase.h"

#include <string>

namespace quorvex::ui {

inline constexpr std::uint32_t kMsgMenuClick = 1145;

// Alignment of the menu against the point it opens at.
inline constexpr std::uint32_t kMenuAlignLeft = 2;    // menu starts at the point
inline constexpr std::uint32_t kMenuAlignTop = 4;     // menu's top at the point
inline constexpr std::uint32_t kMenuAlignRight = 8;   // menu ends at the point
inline constexpr std::uint32_t kMenuAlignBottom = 16; // menu's bottom at the point

class CMenuElementUI;

class CMenuWnd : public WindowImplBase {
public:
  // Builds `skin` and shows the menu at `point` (desktop pixels). False when the skin
  // cannot be built or the menu is already open.
  bool Init(const UiContext& context, WindowHandle owner, std::string skin, UiPoint point,
            std::uint32_t align = kMenuAlignLeft | kMenuAlignTop);
  // Picks the item named `name` as a click would. False when there is no such
  // enabled item without a submenu.
  bool PickItem(std::string_view name);
  // Takes an item out of the open menu; the menu shrinks by the item's height and keeps
  // the edge that sits at its point. False when there is no such visible item.
  bool HideItem(std::string_view name);
  WindowHandle GetOwner() const { return owner_; }
  std::uint32_t GetAlign() const { return align_; }

  std::string GetSkinFile() override { return skin_; }
  std::string_view GetWindowClassName() const override { return "MenuWnd"; }

private:
  friend class CMenuElementUI;
  void OnItemPicked(CMenuElementUI& item);

  std::string skin_;
  WindowHandle owner_ = kNoWindow;
  std::uint32_t align_ = kMenuAlignLeft | kMenuAlignTop;
};

} // namespace quorvex::ui
