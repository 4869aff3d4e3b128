#pragma once

// The caption buttons every small window of the program shares: names compared
// without regard to case, and the show-state commands they stand for.

#include "ui/UiTypes.h"

#include <string_view>

namespace quorvex::windows {

enum class CaptionButton { kNone, kClose, kMinimize, kMaximize, kRestore, kMenu };

// Which caption button a control name stands for ("closebtn", "MinBtn", ...).
CaptionButton CaptionButtonOf(std::string_view name);

// True when `a` and `b` are equal without regard to ASCII case.
bool EqualsNoCase(std::string_view a, std::string_view b);

// Minimises, maximises or restores `window` through the desktop services; nothing
// happens without them (headless) or for the other buttons.
void RunShowCommand(CaptionButton button, ui::WindowHandle window);

} // namespace quorvex::windows
