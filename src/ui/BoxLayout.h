#pragma once

// Horizontal and vertical box layouts.
//
// Along the main axis each shown, non-float child takes its fixed size (clamped to its
// minimum and maximum); the space left after fixed sizes, paddings and child padding is
// shared equally by the children without a fixed size (clamped the same way; leftover
// pixels go to the first of them). Across the axis a child takes its fixed size or the
// full inner size less its padding, aligned by "childvalign" (horizontal box) or
// "childalign" (vertical box). When no child stretches, "childalign" (horizontal) or
// "childvalign" (vertical) places the row inside the box.

#include "ui/Container.h"

namespace quorvex::ui {

class CBoxLayoutUI : public CContainerUI {
public:
  explicit CBoxLayoutUI(bool horizontal) : horizontal_(horizontal) {}
  bool IsHorizontal() const { return horizontal_; }

protected:
  void LayoutChildren(const UiRect& inner) override;

private:
  bool horizontal_;
};

class CHorizontalLayoutUI : public CBoxLayoutUI {
public:
  CHorizontalLayoutUI() : CBoxLayoutUI(true) {}
  std::string_view GetClass() const override;
};

class CVerticalLayoutUI : public CBoxLayoutUI {
public:
  CVerticalLayoutUI() : CBoxLayoutUI(false) {}
  std::string_view GetClass() const override;
};

} // namespace quorvex::ui
