#pragma once

// CRedioMacroButtonUI ("RedioMacroButton"): a button that also carries a
// "redioimage" (kept for the front end); otherwise a plain button.

#include "ui/Button.h"

namespace quorvex::panels {

class CRedioMacroButtonUI : public ui::CButtonUI {
public:
  std::string_view GetClass() const override { return "RedioMacroButton"; }
  const std::string* GetRedioImage() const { return GetAttribute("redioimage"); }
};

} // namespace quorvex::panels
