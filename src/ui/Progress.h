#pragma once

// CProgressUI ("Progress") and CSliderUI ("Slider").
//
// Both hold a minimum, a maximum and a value. The value reads back clamped into
// [minimum, maximum] (a maximum below the minimum counts as the minimum), whatever the
// order in which the three were set, so a program may set the value before the range.
// Program changes never notify. A slider changed by the user raises
// "movevaluechanged" while dragging and "valuechanged" when the change is done.

#include "ui/Label.h"

namespace quorvex::ui {

class CProgressUI : public CLabelUI {
public:
  std::string_view GetClass() const override;

  int GetMinValue() const { return min_; }
  int GetMaxValue() const { return max_ < min_ ? min_ : max_; }
  int GetValue() const;
  void SetMinValue(int value);
  void SetMaxValue(int value);
  void SetValue(int value);
  bool IsHorizontal() const { return horizontal_; }

  bool SetAttribute(std::string_view name, std::string_view value) override;

private:
  int min_ = 0;
  int max_ = 100;
  int value_ = 0;
  bool horizontal_ = true;
};

class CSliderUI : public CProgressUI {
public:
  std::string_view GetClass() const override;
  bool IsFocusable() const override { return true; }

  int GetChangeStep() const { return step_; }
  void SetChangeStep(int step) { step_ = step > 0 ? step : 1; }

  // The user moved the thumb to `value` (clamped) and let go: "valuechanged" when the
  // value changed.
  void UserSetValue(int value);
  // The thumb is being dragged: "movevaluechanged" for each change.
  void UserDragTo(int value);
  // The drag ended: "valuechanged" when the value differs from before the drag.
  void UserEndDrag();

  bool SetAttribute(std::string_view name, std::string_view value) override;

private:
  int step_ = 1;
  int dragStart_ = 0;
  bool dragging_ = false;
};

} // namespace quorvex::ui
