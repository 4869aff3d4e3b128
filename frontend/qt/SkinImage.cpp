#include "frontend/qt/SkinImage.h"

#include "ui/AttributeParse.h"
#include "ui/ImageString.h"
#include "ui/ResourceManager.h"

#include <QFileInfo>
#include <QHash>
#include <QImageReader>
#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>
#include <cmath>

namespace quorvex::frontend {
namespace {

// Enough for every picture of a few windows at two sizes; cleared when full.
constexpr int kCacheLimit = 1024;

QHash<QString, QImage>& Cache() {
  static QHash<QString, QImage> cache;
  return cache;
}

std::optional<QString> Resolve(const std::string& folder, const std::string& file) {
  const auto clean = ui::NormaliseSkinPath(file);
  if (!clean) {
    return std::nullopt;
  }
  return QString::fromStdString(folder + *clean);
}

bool IsSvg(const QString& path) {
  return path.endsWith(QLatin1String(".svg"), Qt::CaseInsensitive);
}

QImage Render(const QString& path, std::optional<QSize> size, double scale) {
  if (IsSvg(path)) {
    QSvgRenderer svg(path);
    if (!svg.isValid()) {
      return {};
    }
    const QSize natural = svg.defaultSize();
    const QSize out =
        size ? *size
             : QSize(std::max(1, static_cast<int>(std::lround(natural.width() * scale))),
                     std::max(1, static_cast<int>(std::lround(natural.height() * scale))));
    if (out.isEmpty()) {
      return {};
    }
    QImage image(out, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    svg.render(&p, QRectF(QPointF(0, 0), QSizeF(out)));
    return image;
  }
  QImageReader reader(path);
  QImage image = reader.read();
  if (image.isNull()) {
    return {};
  }
  const QSize out = size
                        ? *size
                        : QSize(std::max(1, static_cast<int>(std::lround(image.width() * scale))),
                                std::max(1, static_cast<int>(std::lround(image.height() * scale))));
  if (out != image.size()) {
    image = image.scaled(out, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  }
  return image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

QImage Cached(const QString& path, std::optional<QSize> size, double scale) {
  const QString key =
      size ? QStringLiteral("%1|%2x%3").arg(path).arg(size->width()).arg(size->height())
           : QStringLiteral("%1|*%2").arg(path).arg(scale);
  auto& cache = Cache();
  const auto it = cache.constFind(key);
  if (it != cache.constEnd()) {
    return *it;
  }
  if (cache.size() >= kCacheLimit) {
    cache.clear();
  }
  QImage image = Render(path, size, scale);
  cache.insert(key, image);
  return image;
}

QRect ScaleRect(const QRect& r, double scale) {
  const int l = static_cast<int>(std::lround(r.left() * scale));
  const int t = static_cast<int>(std::lround(r.top() * scale));
  const int rr = static_cast<int>(std::lround((r.left() + r.width()) * scale));
  const int b = static_cast<int>(std::lround((r.top() + r.height()) * scale));
  return QRect(QPoint(l, t), QPoint(rr - 1, b - 1));
}

std::optional<QRect> ToQRect(const std::optional<ui::UiRect>& r) {
  if (!r || r->right <= r->left || r->bottom <= r->top) {
    return std::nullopt;
  }
  return QRect(QPoint(r->left, r->top), QPoint(r->right - 1, r->bottom - 1));
}

// The picture with every pixel of the mask colour made transparent.
QImage Masked(QImage image, ui::Argb mask) {
  image = image.convertToFormat(QImage::Format_ARGB32);
  const QRgb key = mask | 0xFF000000u;
  for (int y = 0; y < image.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < image.width(); ++x) {
      if ((line[x] | 0xFF000000u) == key && qAlpha(line[x]) == 255) {
        line[x] = 0;
      }
    }
  }
  return image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

// Draws `src` of `image` into `dst` keeping the corner margins unstretched.
void DrawNinePatch(QPainter& p, const QRect& dst, const QImage& image, const QRect& src,
                   const QMargins& srcM, const QMargins& dstM) {
  const int sx[4] = {src.left(), src.left() + srcM.left(), src.right() + 1 - srcM.right(),
                     src.right() + 1};
  const int sy[4] = {src.top(), src.top() + srcM.top(), src.bottom() + 1 - srcM.bottom(),
                     src.bottom() + 1};
  const int dx[4] = {dst.left(), dst.left() + dstM.left(), dst.right() + 1 - dstM.right(),
                     dst.right() + 1};
  const int dy[4] = {dst.top(), dst.top() + dstM.top(), dst.bottom() + 1 - dstM.bottom(),
                     dst.bottom() + 1};
  for (int row = 0; row < 3; ++row) {
    for (int col = 0; col < 3; ++col) {
      const QRect s(QPoint(sx[col], sy[row]), QPoint(sx[col + 1] - 1, sy[row + 1] - 1));
      const QRect d(QPoint(dx[col], dy[row]), QPoint(dx[col + 1] - 1, dy[row + 1] - 1));
      if (s.isValid() && d.isValid()) {
        p.drawImage(d, image, s);
      }
    }
  }
}

} // namespace

QImage SkinImages::Load(const std::string& skinFolder, const std::string& file, double scale) {
  const auto path = Resolve(skinFolder, file);
  return path ? Cached(*path, std::nullopt, scale) : QImage();
}

QImage SkinImages::LoadSized(const std::string& skinFolder, const std::string& file, QSize size) {
  const auto path = Resolve(skinFolder, file);
  if (!path || size.isEmpty()) {
    return {};
  }
  return Cached(*path, size, 1.0);
}

QSize SkinImages::NaturalSize(const std::string& skinFolder, const std::string& file) {
  const QImage image = Load(skinFolder, file, 1.0);
  return image.isNull() ? QSize() : image.size();
}

void SkinImages::ClearCache() {
  Cache().clear();
}

bool SkinImages::Draw(QPainter& painter, const QRect& target, std::string_view description,
                      const std::string& skinFolder, double scale) {
  const auto desc = ui::ParseImageString(description);
  if (!desc || target.isEmpty() || desc->fade == 0) {
    return false;
  }
  QRect dst = target;
  if (const auto dest = ToQRect(desc->dest)) {
    dst = ScaleRect(*dest, scale).translated(target.topLeft());
  }
  if (dst.isEmpty()) {
    return false;
  }
  const auto source = ToQRect(desc->source);
  const QMargins corner(desc->corner.left, desc->corner.top, desc->corner.right,
                        desc->corner.bottom);
  const bool tiled = desc->xtiled || desc->ytiled;
  const double opacity = painter.opacity();
  if (desc->fade < 255) {
    painter.setOpacity(opacity * desc->fade / 255.0);
  }
  bool drawn = false;
  if (!source && corner.isNull() && !tiled && !desc->mask) {
    const QImage image = LoadSized(skinFolder, desc->file, dst.size());
    if (!image.isNull()) {
      painter.drawImage(dst.topLeft(), image);
      drawn = true;
    }
  } else {
    QImage image = Load(skinFolder, desc->file, scale);
    if (!image.isNull()) {
      if (desc->mask) {
        image = Masked(image, *desc->mask);
      }
      QRect src = source ? ScaleRect(*source, scale) : image.rect();
      src = src.intersected(image.rect());
      if (tiled) {
        // Tiles keep their size along a tiled axis and stretch along the other.
        QImage tile = image.copy(src);
        const QSize size(desc->xtiled ? tile.width() : dst.width(),
                         desc->ytiled ? tile.height() : dst.height());
        if (size != tile.size() && !size.isEmpty()) {
          tile = tile.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        }
        painter.save();
        painter.setClipRect(dst, Qt::IntersectClip);
        painter.drawTiledPixmap(dst, QPixmap::fromImage(tile));
        painter.restore();
      } else if (corner.isNull()) {
        painter.drawImage(dst, image, src);
      } else {
        const QMargins m(static_cast<int>(std::lround(corner.left() * scale)),
                         static_cast<int>(std::lround(corner.top() * scale)),
                         static_cast<int>(std::lround(corner.right() * scale)),
                         static_cast<int>(std::lround(corner.bottom() * scale)));
        DrawNinePatch(painter, dst, image, src, m, m);
      }
      drawn = true;
    }
  }
  painter.setOpacity(opacity);
  return drawn;
}

} // namespace quorvex::frontend
