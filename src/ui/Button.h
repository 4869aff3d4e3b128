#pragma once

// CButtonUI ("Button"): a label the user clicks. Activate raises "click". The state
// images ("normalimage", "hotimage", "pushedimage", "focusedimage", "disabledimage")
// are kept attributes; the setters below write them.

#include "ui/Label.h"

namespace quorvex::ui {

class CButtonUI : public CLabelUI {
public:
  std::string_view GetClass() const override;
  bool IsFocusable() const override { return true; }
  bool Activate() override;
  void DoEvent(TEventUI& event) override;

  void SetNormalImage(std::string_view image) { KeepAttribute("normalimage", image); }
  void SetHotImage(std::string_view image) { KeepAttribute("hotimage", image); }
  void SetPushedImage(std::string_view image) { KeepAttribute("pushedimage", image); }
  void SetDisabledImage(std::string_view image) { KeepAttribute("disabledimage", image); }
  const std::string& GetNormalImage() const;

  // True while the pointer is over the button (from kMouseEnter/kMouseLeave).
  bool IsHot() const { return hot_; }

private:
  bool hot_ = false;
};

} // namespace quorvex::ui
