#pragma once

// Buttons with a hand-drawn picture.
//
// CHandImgButtonUI ("HandImgButton"): a button with a "handimage" drawn over its
// state images and two stored delete images; raises "msenter"/"msleave" while enabled.
//
// CHandImgSelectButtonUI ("HandImgSelectButton"): shows a picture larger than itself
// and lets the user pan it with the mouse. The shown part is a control-sized window
// into the picture, kept inside it; GetHandImageString() is the image description to
// draw ("file='..' source='l,t,r,b'"). "cursor" picks the pointer shape.

#include "ui/Button.h"

#include <cstdint>
#include <optional>
#include <string>

namespace quorvex::panels {

class CHandImgButtonUI : public ui::CButtonUI {
public:
  std::string_view GetClass() const override;
  void DoEvent(ui::TEventUI& event) override;
};

// Pointer shapes by their skin names; the numbers are the identifiers the skins'
// original platform gives them, kept so skins and logs stay comparable.
enum class CursorShape : std::uint16_t {
  kArrow = 32512,
  kIBeam = 32513,
  kWait = 32514,
  kCross = 32515,
  kUpArrow = 32516,
  kSize = 32640,
  kIcon = 32641,
  kSizeNwse = 32642,
  kSizeNesw = 32643,
  kSizeWe = 32644,
  kSizeNs = 32645,
  kSizeAll = 32646,
  kNo = 32648,
  kHand = 32649,
};

// Nothing for an unknown name.
std::optional<CursorShape> CursorFromName(std::string_view name);

class CHandImgSelectButtonUI : public ui::CButtonUI {
public:
  std::string_view GetClass() const override;
  bool SetAttribute(std::string_view name, std::string_view value) override;
  void DoEvent(ui::TEventUI& event) override;
  // Measures the picture once the button is in a window (the skin folder is known).
  void DoInit() override;

  const std::string& GetHandImageString() const { return imageString_; }
  ui::UiSize GetImageSize() const { return imageSize_; }
  // The shown part of the picture, in picture pixels.
  const ui::UiRect& GetSourceRect() const { return source_; }
  bool IsPanning() const { return dragging_; }
  CursorShape GetCursor() const { return cursor_; }

private:
  void LoadHandImage(std::string_view file);
  void RebuildImageString();
  // Moves the window by the pointer's travel (in window pixels) along one axis.
  static void Pan(int travel, int imageExtent, int& low, int& high);

  std::string file_;
  std::string imageString_;
  ui::UiSize imageSize_;
  ui::UiRect source_;
  ui::UiPoint last_;
  bool dragging_ = false;
  bool windowed_ = false;
  CursorShape cursor_ = CursorShape::kArrow;
};

} // namespace quorvex::panels
