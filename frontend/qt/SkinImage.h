#pragma once

// Skin images: drawing the image descriptions of skin attributes (ui/ImageString.h
// reads them: file, source, dest, corner, mask, fade, xtiled, ytiled).
//
// Sizes in skin units (dest, corner, and source in the picture's own units) are scaled
// by the window's DPI. SVG pictures are rendered at the size they are drawn, so they
// stay crisp at every DPI.

#include <QImage>
#include <QMargins>
#include <QRect>
#include <QString>
#include <optional>
#include <string>
#include <string_view>

class QPainter;

namespace quorvex::frontend {

class SkinImages {
public:
  // Draws `description` into `target` (widget pixels) at `scale` (DPI / 96). Files are
  // taken from `skinFolder`; names that leave it are refused. False when nothing was
  // drawn (empty, refused or unreadable file).
  static bool Draw(QPainter& painter, const QRect& target, std::string_view description,
                   const std::string& skinFolder, double scale);
  // The picture of `file` at its natural size times `scale`, or a null image.
  static QImage Load(const std::string& skinFolder, const std::string& file, double scale);
  // The picture rendered at exactly `size` (SVG) or scaled to it (raster).
  static QImage LoadSized(const std::string& skinFolder, const std::string& file, QSize size);
  // The natural size of a picture in skin units, or an empty size.
  static QSize NaturalSize(const std::string& skinFolder, const std::string& file);
  // Drops every cached picture (after a skin or DPI change).
  static void ClearCache();
};

} // namespace quorvex::frontend
