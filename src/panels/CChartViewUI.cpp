#include "panels/CChartViewUI.h"

#include "ui/AttributeParse.h"

#include <algorithm>

namespace quorvex::panels {

std::string_view CChartViewUI::GetClass() const {
  return "ChartView";
}

bool CChartViewUI::SetAttribute(std::string_view name, std::string_view value) {
  if (name == "view") {
    if (value == "pie") {
      view_ = View::kPie;
    } else if (value == "histogram") {
      view_ = View::kHistogram;
    } else {
      return false;
    }
    Invalidate();
    return true;
  }
  if (name == "shadowimageheight" || name == "pillarimagewidth") {
    const auto n = ui::ParseIntInRange(value, 0, ui::kMaxSkinCoordinate);
    if (!n) {
      return false;
    }
    (name == "shadowimageheight" ? shadowHeight_ : pillarWidth_) = *n;
    return true;
  }
  if (name == "showtext" || name == "showhtml") {
    const auto on = ui::ParseBool(value);
    if (!on) {
      return false;
    }
    (name == "showtext" ? showText_ : showHtml_) = *on;
    return true;
  }
  // "shadowimage" and "pillarimage" are kept for the front end.
  return CControlUI::SetAttribute(name, value);
}

void CChartViewUI::AddItem(std::string name, double value) {
  items_.push_back({std::move(name), std::max(0.0, value)});
  Invalidate();
}

void CChartViewUI::RemoveAllItems() {
  items_.clear();
  Invalidate();
}

std::vector<CChartViewUI::Slice> CChartViewUI::GetSlices() const {
  double total = 0;
  for (const Item& item : items_) {
    total += item.value;
  }
  std::vector<Slice> slices;
  if (total <= 0) {
    return slices;
  }
  double start = -90.0;
  for (const Item& item : items_) {
    const double sweep = item.value / total * 360.0;
    slices.push_back({start, sweep});
    start += sweep;
  }
  return slices;
}

std::vector<double> CChartViewUI::GetBars() const {
  double top = 0;
  for (const Item& item : items_) {
    top = std::max(top, item.value);
  }
  std::vector<double> bars;
  for (const Item& item : items_) {
    bars.push_back(top > 0 ? item.value / top : 0.0);
  }
  return bars;
}

} // namespace quorvex::panels
