#pragma once

// Image attributes ("bkimage", "normalimage", "lightimage", ...) hold either a file name
// or a description:
//
//   file='power/powered.svg' source='0,0,40,40' corner='4,4,4,4' mask='#FFFF00FF'
//   fade='128' xtiled='true' ytiled='false' dest='2,2,38,38'
//
// file: the image, relative to the skin folder. source: the part of the image to use
// (pixels of the image). dest: where to draw inside the control (skin units).
// corner: edges kept unstretched when the image is scaled. mask: a colour drawn as
// transparent. fade: 0-255 opacity. xtiled/ytiled: tile instead of stretching.

#include "ui/UiTypes.h"

#include <optional>
#include <string>
#include <string_view>

namespace quorvex::ui {

struct ImageDescription {
  std::string file;
  std::optional<UiRect> source;
  std::optional<UiRect> dest;
  UiRect corner;
  std::optional<Argb> mask;
  int fade = 255;
  bool xtiled = false;
  bool ytiled = false;
};

// nullopt when the description cannot be read (unknown key, bad value, no file).
std::optional<ImageDescription> ParseImageString(std::string_view text);

} // namespace quorvex::ui
