#pragma once

// CSelectPanelUI ("SelectPanel"): the container of a device picture, with rectangle
// selection. Button down arms a drag, moves span the selection rectangle, button up
// marks every direct "DeviceKeyButton" child band-selected when its rectangle meets
// the selection (and clears the others), then raises "click_select_end".

#include "ui/BoxLayout.h"

namespace quorvex::panels {

class CSelectPanelUI : public ui::CVerticalLayoutUI {
public:
  std::string_view GetClass() const override;
  void DoEvent(ui::TEventUI& event) override;

  // While dragging: the rectangle to draw, in window pixels (left <= right, top <=
  // bottom).
  bool IsSelecting() const { return armed_; }
  const ui::UiRect& GetSelectionRect() const { return selection_; }

private:
  void ApplySelection();

  ui::UiPoint anchor_;
  ui::UiRect selection_;
  bool armed_ = false;
  bool drawn_ = false;
};

} // namespace quorvex::panels
