#pragma once

// The pixel size of a skin image, read from the file's header without decoding it:
// PNG (IHDR) and SVG (width/height, else the viewBox). The panning button needs the
// size of the picture it pans; nothing else here looks into images.

#include "ui/UiTypes.h"

#include <optional>
#include <string>

namespace quorvex::panels {

std::optional<ui::UiSize> ReadImageSize(const std::string& path);

} // namespace quorvex::panels
