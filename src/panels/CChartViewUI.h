#pragma once

// CChartViewUI ("ChartView"): a pie or histogram of named values, for skins that want
// one. The front end draws GetSlices() (pie) or GetBars() (histogram) in the control's
// rectangle; the skin attributes "view", "shadowimage", "shadowimageheight",
// "pillarimage", "pillarimagewidth", "showhtml" and "showtext" choose the look.

#include "ui/Control.h"

#include <string>
#include <vector>

namespace quorvex::panels {

class CChartViewUI : public ui::CControlUI {
public:
  enum class View { kPie, kHistogram };
  struct Item {
    std::string name;
    double value = 0;
  };
  struct Slice {
    double startDegrees = 0; // clockwise from the positive x axis
    double sweepDegrees = 0;
  };

  std::string_view GetClass() const override;
  bool SetAttribute(std::string_view name, std::string_view value) override;

  // Negative values count as 0.
  void AddItem(std::string name, double value);
  void RemoveAllItems();
  const std::vector<Item>& GetItems() const { return items_; }

  View GetView() const { return view_; }
  bool IsShowText() const { return showText_; }
  bool IsShowHtml() const { return showHtml_; }
  int GetShadowImageHeight() const { return shadowHeight_; }
  int GetPillarImageWidth() const { return pillarWidth_; }

  // Pie: one slice per item, starting at -90 degrees (the top); an all-zero chart has
  // no slices.
  std::vector<Slice> GetSlices() const;
  // Histogram: each item's height as a share (0..1) of the largest value.
  std::vector<double> GetBars() const;

private:
  std::vector<Item> items_;
  View view_ = View::kPie;
  int shadowHeight_ = 0;
  int pillarWidth_ = 0;
  bool showText_ = true;
  bool showHtml_ = false;
};

} // namespace quorvex::panels
