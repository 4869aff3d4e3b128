#pragma once

// CCircleProgressUI ("CircleProgress"): a progress value drawn as a ring. The front
// end fills a full circle in the background colour, a pie in the foreground colour
// ("forecolor") from GetStartAngle() clockwise over GetSweepAngle() degrees, and an
// opaque white circle inset by GetRingInset() pixels over both.

#include "ui/Progress.h"

namespace quorvex::panels {

class CCircleProgressUI : public ui::CProgressUI {
public:
  std::string_view GetClass() const override;

  // 90: the pie starts at the bottom (angles clockwise from the positive x axis).
  static constexpr int GetStartAngle() { return 90; }
  // Whole degrees, 0 to 360: the value's share of the range. An empty range gives 0.
  int GetSweepAngle() const;
  // The ring's width in window pixels (10 skin units).
  int GetRingInset() const;
  ui::Argb GetForeColor() const { return foreColor_; }
  void SetForeColor(ui::Argb color);

  bool SetAttribute(std::string_view name, std::string_view value) override;

private:
  ui::Argb foreColor_ = 0xFF0099FF;
};

} // namespace quorvex::panels
