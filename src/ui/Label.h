#pragma once

// Text controls: CLabelUI ("Label") and CTextUI ("Text"). Alignment, text padding,
// colours and the like are skin attributes the front end reads (GetAttribute).

#include "ui/Control.h"

namespace quorvex::ui {

class CLabelUI : public CControlUI {
public:
  std::string_view GetClass() const override;
  // Space between the rectangle and the text, in skin units ("textpadding").
  void SetTextPadding(const UiRect& padding);
  UiRect GetTextPadding() const;
};

class CTextUI : public CLabelUI {
public:
  std::string_view GetClass() const override;
};

} // namespace quorvex::ui
