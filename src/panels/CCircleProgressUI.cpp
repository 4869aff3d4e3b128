#include "panels/CCircleProgressUI.h"

#include "ui/AttributeParse.h"
#include "ui/PaintManager.h"

namespace quorvex::panels {

std::string_view CCircleProgressUI::GetClass() const {
  return "CircleProgress";
}

int CCircleProgressUI::GetSweepAngle() const {
  const int range = GetMaxValue() - GetMinValue();
  if (range <= 0) {
    return 0;
  }
  // The value counts from the minimum, so a range that does not start at 0 still
  // sweeps 0 to 360 degrees.
  const double share = static_cast<double>(GetValue() - GetMinValue()) / range;
  return static_cast<int>(share * 360.0);
}

int CCircleProgressUI::GetRingInset() const {
  return GetManager() != nullptr ? GetManager()->Scale(10) : 10;
}

void CCircleProgressUI::SetForeColor(ui::Argb color) {
  foreColor_ = color;
  Invalidate();
}

bool CCircleProgressUI::SetAttribute(std::string_view name, std::string_view value) {
  if (name == "forecolor") {
    const auto color = ui::ParseColor(value);
    if (!color) {
      return false;
    }
    SetForeColor(*color);
    return true;
  }
  return CProgressUI::SetAttribute(name, value);
}

} // namespace quorvex::panels
