#pragma once

// List rows built from skins.
//
// CComboEditContainerElementUI ("ComboEditContainerElement"): a row whose content
// comes from "XML/CustomControlXML/ComboEditElementItem.xml" (two texts and a delay
// edit). Enter activates it and raises "return"; the pointer sets its hot state.
//
// CCloudShareListItemUI ("CloudShareListItemUI"): a row for skins only; it shows a
// one-pixel frame in the list's "itemhotbordercolor" while hot and not selected, when
// the list has an "itemhotimage".

#include "ui/ListElements.h"

namespace quorvex::ui {
class CEditUI;
}

namespace quorvex::panels {

inline constexpr std::string_view kComboEditItemSkin =
    "XML/CustomControlXML/ComboEditElementItem.xml";

class CComboEditContainerElementUI : public ui::CListContainerElementUI {
public:
  std::string_view GetClass() const override;
  void DoInit() override;
  bool SetAttribute(std::string_view name, std::string_view value) override;
  void DoEvent(ui::TEventUI& event) override;

  bool IsHot() const { return hot_; }
  ui::CControlUI* GetText1() const { return text1_; }
  ui::CControlUI* GetText2() const { return text2_; }
  ui::CEditUI* GetDelayEdit() const { return delayEdit_; }

private:
  ui::CControlUI* text1_ = nullptr;
  ui::CControlUI* text2_ = nullptr;
  ui::CEditUI* delayEdit_ = nullptr;
  bool built_ = false;
  bool hot_ = false;
};

class CCloudShareListItemUI : public ui::CListContainerElementUI {
public:
  std::string_view GetClass() const override;
  void DoEvent(ui::TEventUI& event) override;

  bool IsHot() const { return hot_; }
  // Whether the front end draws the hot frame now, and its colour.
  bool ShowsHotBorder() const;
  ui::Argb GetHotBorderColor() const;

private:
  bool hot_ = false;
};

} // namespace quorvex::panels
