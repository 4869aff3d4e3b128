#include "frontend/qt/widgets/DeviceWidgets.h"

#include "frontend/qt/SkinImage.h"
#include "frontend/qt/Theme.h"
#include "panels/CChartViewUI.h"
#include "panels/CCircleProgressUI.h"
#include "panels/CDeviceKeyButtonUI.h"
#include "panels/CHandImgButtonUI.h"
#include "panels/CSelectPanelUI.h"
#include "ui/AttributeParse.h"

#include <QEvent>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <array>

namespace quorvex::frontend {
namespace {

QColor FromArgb(ui::Argb c) {
  return QColor::fromRgba(c);
}

const std::string& SkinFolder(const ui::CControlUI& control) {
  return control.GetManager()->GetResourcePath();
}

// A picture button: its state images, then the device part (PaintDeviceKeyParts).
class DeviceKeyButtonWidget final : public ControlWidget {
public:
  using ControlWidget::ControlWidget;

protected:
  void PaintControl(QPainter& painter) override {
    ControlWidget::PaintControl(painter);
    if (auto* key = dynamic_cast<panels::CDeviceKeyButtonUI*>(control_)) {
      PaintDeviceKeyParts(painter, rect(), *key, Scale());
    }
  }
};

// Paints a picture button's device part above a plain widget that knows nothing of it.
class DeviceKeyOverlay final : public QWidget {
public:
  DeviceKeyOverlay(ControlWidget& host, panels::CDeviceKeyButtonUI& key)
      : QWidget(&host), host_(host), key_(key) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setGeometry(host.rect());
    host.installEventFilter(this);
  }

protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched == &host_ && event->type() == QEvent::Resize) {
      setGeometry(host_.rect());
    } else if (watched == &host_ && event->type() == QEvent::Paint) {
      update();
    }
    return false;
  }
  void paintEvent(QPaintEvent*) override {
    if (host_.Control() == nullptr) {
      return;
    }
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    PaintDeviceKeyParts(p, rect(), key_, host_.Scale());
  }

private:
  ControlWidget& host_;
  panels::CDeviceKeyButtonUI& key_;
};

// Draws the selection rectangle above the picture's buttons.
class SelectionOverlay final : public QWidget {
public:
  SelectionOverlay(panels::CSelectPanelUI*& panel, QWidget* parent)
      : QWidget(parent), panel_(panel) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
  }

protected:
  void paintEvent(QPaintEvent*) override {
    if (panel_ == nullptr || !panel_->IsSelecting()) {
      return;
    }
    const ui::UiRect sel = panel_->GetSelectionRect();
    const ui::UiRect pos = panel_->GetPos();
    const QRect r(sel.left - pos.left, sel.top - pos.top, sel.Width(), sel.Height());
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(FromArgb(theme::kAccent), 1, Qt::DashLine));
    p.setBrush(QColor(0, 153, 255, 48));
    p.drawRect(QRectF(r).adjusted(0.5, 0.5, -0.5, -0.5));
  }

private:
  panels::CSelectPanelUI*& panel_;
};

class SelectPanelWidget final : public ControlWidget {
public:
  SelectPanelWidget(QtFrontend& frontend, ui::CControlUI& control, QWidget* parent)
      : ControlWidget(frontend, control, parent),
        panel_(dynamic_cast<panels::CSelectPanelUI*>(&control)),
        overlay_(new SelectionOverlay(panel_, this)) {}

protected:
  void PaintControl(QPainter& painter) override {
    ControlWidget::PaintControl(painter);
    if (control_ == nullptr) {
      panel_ = nullptr;
    }
    if (overlay_->geometry() != rect()) {
      overlay_->setGeometry(rect());
    }
    overlay_->raise();
    overlay_->update();
  }

private:
  panels::CSelectPanelUI* panel_;
  SelectionOverlay* overlay_;
};

// The ring: a full circle in the background colour, the value's pie in the
// foreground colour from the bottom clockwise, and an inner disc ("innercolor",
// white unless the skin says otherwise) that leaves the ring.
class CircleProgressWidget final : public ControlWidget {
public:
  using ControlWidget::ControlWidget;

protected:
  void PaintControl(QPainter& painter) override {
    auto* ring = dynamic_cast<panels::CCircleProgressUI*>(control_);
    if (ring == nullptr) {
      return;
    }
    const int side = std::min(width(), height());
    const QRectF box((width() - side) / 2.0, (height() - side) / 2.0, side, side);
    painter.setPen(Qt::NoPen);
    const ui::Argb back = ring->GetBkColor() != 0 ? ring->GetBkColor() : theme::kControl;
    painter.setBrush(FromArgb(back));
    painter.drawEllipse(box);
    painter.setBrush(FromArgb(ring->GetForeColor()));
    // Qt counts angles counter-clockwise from 3 o'clock in sixteenths of a degree.
    painter.drawPie(box, -ring->GetStartAngle() * 16, -ring->GetSweepAngle() * 16);
    ui::Argb inner = 0xFFFFFFFF;
    if (const auto c = ColorAttr("innercolor")) {
      inner = *c;
    }
    const qreal inset = ring->GetRingInset();
    painter.setBrush(FromArgb(inner | 0xFF000000u));
    painter.drawEllipse(box.adjusted(inset, inset, -inset, -inset));
    if (!control_->GetText().empty()) {
      PaintText(painter, rect(), control_->GetText(), Qt::AlignCenter);
    }
  }
};

class ChartViewWidget final : public ControlWidget {
public:
  using ControlWidget::ControlWidget;

protected:
  void PaintControl(QPainter& painter) override {
    ControlWidget::PaintControl(painter);
    auto* chart = dynamic_cast<panels::CChartViewUI*>(control_);
    if (chart == nullptr) {
      return;
    }
    static constexpr std::array<ui::Argb, 6> kColours = {0xFF0099FF, 0xFF0078C8, 0xFF2EBD6B,
                                                         0xFFF2A93B, 0xFFE5484D, 0xFF8E6CEF};
    const QRectF area = QRectF(rect()).adjusted(Px(8), Px(8), -Px(8), -Px(8));
    painter.setPen(Qt::NoPen);
    const auto& items = chart->GetItems();
    if (chart->GetView() == panels::CChartViewUI::View::kPie) {
      const qreal side = std::min(area.width(), area.height());
      const QRectF box(area.center().x() - side / 2, area.center().y() - side / 2, side, side);
      const auto slices = chart->GetSlices();
      for (std::size_t i = 0; i < slices.size(); ++i) {
        painter.setBrush(FromArgb(kColours[i % kColours.size()]));
        painter.drawPie(box, static_cast<int>(-slices[i].startDegrees * 16),
                        static_cast<int>(-slices[i].sweepDegrees * 16));
      }
      return;
    }
    const auto bars = chart->GetBars();
    if (bars.empty()) {
      return;
    }
    const qreal slot = area.width() / static_cast<qreal>(bars.size());
    const qreal barWidth = chart->GetPillarImageWidth() > 0
                               ? std::min<qreal>(Px(chart->GetPillarImageWidth()), slot * 0.8)
                               : slot * 0.6;
    const qreal textHeight = chart->IsShowText() ? Px(16) : 0;
    for (std::size_t i = 0; i < bars.size(); ++i) {
      const qreal h = (area.height() - textHeight) * bars[i];
      const qreal x = area.left() + slot * static_cast<qreal>(i) + (slot - barWidth) / 2;
      painter.setBrush(FromArgb(kColours[i % kColours.size()]));
      painter.drawRoundedRect(QRectF(x, area.bottom() - textHeight - h, barWidth, h), Px(2), Px(2));
      if (chart->IsShowText() && i < items.size()) {
        const QRect label(static_cast<int>(area.left() + slot * static_cast<qreal>(i)),
                          static_cast<int>(area.bottom() - textHeight), static_cast<int>(slot),
                          static_cast<int>(textHeight));
        PaintText(painter, label, items[i].name, Qt::AlignCenter);
      }
    }
  }
};

// Buttons that draw a "handimage" over their state images; the panning one draws the
// window of its picture and shows its pointer shape.
class HandImageWidget final : public ControlWidget {
public:
  HandImageWidget(QtFrontend& frontend, ui::CControlUI& control, QWidget* parent)
      : ControlWidget(frontend, control, parent) {
    if (auto* pan = dynamic_cast<panels::CHandImgSelectButtonUI*>(&control)) {
      setCursor(ToQtCursor(pan->GetCursor()));
    }
  }

protected:
  void PaintControl(QPainter& painter) override {
    ControlWidget::PaintControl(painter);
    std::string image;
    if (auto* pan = dynamic_cast<panels::CHandImgSelectButtonUI*>(control_)) {
      image = pan->GetHandImageString();
    } else if (const std::string* hand = Attr("handimage")) {
      image = *hand;
    }
    if (!image.empty()) {
      SkinImages::Draw(painter, rect(), image, SkinFolder(*control_), Scale());
    }
  }
};

} // namespace

void PaintDeviceKeyParts(QPainter& painter, const QRect& r, const panels::CDeviceKeyButtonUI& key,
                         double scale) {
  const std::string& folder = SkinFolder(key);
  const ui::Argb tint = key.GetLightTint();
  if (key.IsLit() && (tint >> 24) != 0 && !key.GetLightImage().empty()) {
    QImage light(r.size(), QImage::Format_ARGB32_Premultiplied);
    light.fill(Qt::transparent);
    {
      QPainter lp(&light);
      lp.setRenderHint(QPainter::Antialiasing);
      lp.setRenderHint(QPainter::SmoothPixmapTransform);
      SkinImages::Draw(lp, light.rect(), key.GetLightImage(), folder, scale);
      // Keep the picture's shape and shading, take the LED's colour.
      lp.setCompositionMode(QPainter::CompositionMode_SourceIn);
      lp.fillRect(light.rect(), QColor::fromRgb(tint & 0xFFFFFF));
    }
    painter.save();
    painter.setOpacity(static_cast<double>(tint >> 24) / 255.0);
    painter.drawImage(r.topLeft(), light);
    painter.restore();
  }
  if (key.IsChangedMark() && !key.GetKeySetImage().empty()) {
    SkinImages::Draw(painter, r, key.GetKeySetImage(), folder, scale);
  }
  if (key.IsBandSelected()) {
    painter.save();
    const qreal width = std::max(1.0, 2.0 * scale);
    painter.setPen(QPen(FromArgb(theme::kAccent), width));
    painter.setBrush(QColor(0, 153, 255, 40));
    const qreal inset = width / 2 + 1;
    painter.drawRoundedRect(QRectF(r).adjusted(inset, inset, -inset, -inset), 5 * scale, 5 * scale);
    painter.restore();
  }
}

QWidget* DecorateDeviceControl(ControlWidget& widget) {
  auto* key = dynamic_cast<panels::CDeviceKeyButtonUI*>(widget.Control());
  if (key == nullptr || dynamic_cast<DeviceKeyButtonWidget*>(&widget) != nullptr) {
    return nullptr;
  }
  auto* overlay = new DeviceKeyOverlay(widget, *key);
  overlay->show();
  return overlay;
}

Qt::CursorShape ToQtCursor(panels::CursorShape shape) {
  using S = panels::CursorShape;
  switch (shape) {
  case S::kIBeam:
    return Qt::IBeamCursor;
  case S::kWait:
    return Qt::WaitCursor;
  case S::kCross:
    return Qt::CrossCursor;
  case S::kUpArrow:
    return Qt::UpArrowCursor;
  case S::kSize:
  case S::kSizeAll:
    return Qt::SizeAllCursor;
  case S::kSizeNwse:
    return Qt::SizeFDiagCursor;
  case S::kSizeNesw:
    return Qt::SizeBDiagCursor;
  case S::kSizeWe:
    return Qt::SizeHorCursor;
  case S::kSizeNs:
    return Qt::SizeVerCursor;
  case S::kNo:
    return Qt::ForbiddenCursor;
  case S::kHand:
    return Qt::PointingHandCursor;
  case S::kArrow:
  case S::kIcon:
  default:
    return Qt::ArrowCursor;
  }
}

ControlWidget* CreateDeviceWidget(QtFrontend& frontend, ui::CControlUI& control, QWidget* parent) {
  if (dynamic_cast<panels::CDeviceKeyButtonUI*>(&control) != nullptr) {
    return new DeviceKeyButtonWidget(frontend, control, parent);
  }
  if (dynamic_cast<panels::CSelectPanelUI*>(&control) != nullptr) {
    return new SelectPanelWidget(frontend, control, parent);
  }
  if (dynamic_cast<panels::CCircleProgressUI*>(&control) != nullptr) {
    return new CircleProgressWidget(frontend, control, parent);
  }
  if (dynamic_cast<panels::CChartViewUI*>(&control) != nullptr) {
    return new ChartViewWidget(frontend, control, parent);
  }
  if (dynamic_cast<panels::CHandImgButtonUI*>(&control) != nullptr ||
      dynamic_cast<panels::CHandImgSelectButtonUI*>(&control) != nullptr) {
    return new HandImageWidget(frontend, control, parent);
  }
  return nullptr;
}

} // namespace quorvex::frontend
