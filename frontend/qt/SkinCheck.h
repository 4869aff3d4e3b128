#pragma once

// Checks of a built window that a person drawing skins would otherwise find by eye:
// named controls outside the window, siblings of a box layout that overlap, texts that
// do not fit their control in the current language, and controls a user operates
// that have neither a text nor a tool-tip (screen readers would have no name).

#include "ui/PaintManager.h"

#include <string>
#include <vector>

namespace quorvex::frontend {

struct SkinCheckOptions {
  bool geometry = true; // outside the window, overlapping siblings
  bool text = true;     // texts that do not fit (needs a QGuiApplication for fonts)
  bool names = true;    // operable controls without a text or tool-tip
};

// One line per fault, naming the controls; empty when the window is sound. Lays out
// first.
std::vector<std::string> CheckSkinLayout(ui::CPaintManagerUI& manager,
                                         const SkinCheckOptions& options = {});

} // namespace quorvex::frontend
