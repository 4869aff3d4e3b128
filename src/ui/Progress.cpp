#include "ui/Progress.h"

#include "ui/PaintManager.h"

#include "ui/AttributeParse.h"

#include <algorithm>
#include <limits>

namespace quorvex::ui {

namespace {
constexpr int kLimit = std::numeric_limits<int>::max() / 2;
}

std::string_view CProgressUI::GetClass() const {
  return "Progress";
}

int CProgressUI::GetValue() const {
  return std::clamp(value_, GetMinValue(), GetMaxValue());
}

void CProgressUI::SetMinValue(int value) {
  min_ = value;
  Invalidate();
}

void CProgressUI::SetMaxValue(int value) {
  max_ = value;
  Invalidate();
}

void CProgressUI::SetValue(int value) {
  if (value == value_) {
    return;
  }
  value_ = value;
  Invalidate();
}

bool CProgressUI::SetAttribute(std::string_view name, std::string_view value) {
  if (name == "min" || name == "max" || name == "value") {
    const auto v = ParseIntInRange(value, -kLimit, kLimit);
    if (!v) {
      return false;
    }
    if (name == "min") {
      SetMinValue(*v);
    } else if (name == "max") {
      SetMaxValue(*v);
    } else {
      SetValue(*v);
    }
    return true;
  }
  if (name == "hor") {
    const auto v = ParseBool(value);
    if (!v) {
      return false;
    }
    horizontal_ = *v;
    return true;
  }
  return CLabelUI::SetAttribute(name, value);
}

std::string_view CSliderUI::GetClass() const {
  return "Slider";
}

void CSliderUI::UserSetValue(int value) {
  CPaintManagerUI::DispatchScope scope(GetManager());
  const int before = GetValue();
  SetValue(std::clamp(value, GetMinValue(), GetMaxValue()));
  dragging_ = false;
  if (GetValue() != before) {
    Notify(notify::kValueChanged);
  }
}

void CSliderUI::UserDragTo(int value) {
  CPaintManagerUI::DispatchScope scope(GetManager());
  if (!dragging_) {
    dragging_ = true;
    dragStart_ = GetValue();
  }
  const int before = GetValue();
  SetValue(std::clamp(value, GetMinValue(), GetMaxValue()));
  if (GetValue() != before) {
    Notify(notify::kMoveValueChanged);
  }
}

void CSliderUI::UserEndDrag() {
  CPaintManagerUI::DispatchScope scope(GetManager());
  if (!dragging_) {
    return;
  }
  dragging_ = false;
  if (GetValue() != dragStart_) {
    Notify(notify::kValueChanged);
  }
}

bool CSliderUI::SetAttribute(std::string_view name, std::string_view value) {
  if (name == "step") {
    const auto v = ParseIntInRange(value, 1, kLimit);
    if (!v) {
      return false;
    }
    SetChangeStep(*v);
    return true;
  }
  return CProgressUI::SetAttribute(name, value);
}

} // namespace quorvex::ui
