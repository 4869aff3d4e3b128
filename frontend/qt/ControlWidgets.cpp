#include "frontend/qt/ControlWidgets.h"

#include "frontend/qt/SkinImage.h"
#include "frontend/qt/Theme.h"
#include "ui/AttributeParse.h"
#include "ui/Combo.h"
#include "ui/Edit.h"
#include "ui/Progress.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <cmath>

namespace quorvex::frontend {
namespace {

QString Css(ui::Argb c) {
  return QStringLiteral("rgba(%1,%2,%3,%4)")
      .arg((c >> 16) & 0xFF)
      .arg((c >> 8) & 0xFF)
      .arg(c & 0xFF)
      .arg((c >> 24) & 0xFF);
}

void PaintChevron(QPainter& painter, const QRect& r, double scale, ui::Argb color) {
  const double s = 4 * scale;
  const QPointF c(r.right() - 12 * scale, r.center().y() + 0.5 + s / 3);
  painter.setPen(QPen(QColor::fromRgba(color), std::max(1.0, 1.5 * scale), Qt::SolidLine,
                      Qt::RoundCap, Qt::RoundJoin));
  painter.setBrush(Qt::NoBrush);
  const QPointF pts[3] = {{c.x() - s, c.y() - s}, c, {c.x() + s, c.y() - s}};
  painter.drawPolyline(pts, 3);
}

} // namespace

QString PopupStyleSheet(double scale) {
  const int pad = static_cast<int>(std::lround(8 * scale));
  const int radius = static_cast<int>(std::lround(6 * scale));
  return QStringLiteral(
             "QMenu{background:%1;border:1px solid %2;border-radius:%6px;padding:%5px 0;}"
             "QMenu::item{color:%3;padding:%5px %7px;background:transparent;}"
             "QMenu::item:selected{background:%4;color:#FFFFFF;}"
             "QMenu::item:disabled{color:%8;}"
             "QMenu::indicator{width:0;height:0;}")
      .arg(Css(theme::kPanel), Css(theme::kBorder), Css(theme::kText), Css(theme::kAccentDeep))
      .arg(pad / 2)
      .arg(radius)
      .arg(pad * 2)
      .arg(Css(theme::kTextDisabled));
}

// --- EditWidget ---

EditWidget::EditWidget(QtFrontend& frontend, ui::CControlUI& control, QWidget* parent)
    : ControlWidget(frontend, control, parent) {
  line_ = new QLineEdit(this);
  line_->setFrame(false);
  line_->setAttribute(Qt::WA_MacShowFocusRect, false);
  line_->installEventFilter(this);
  setFocusProxy(line_);
  QObject::connect(line_, &QLineEdit::textEdited, this,
                   [this](const QString& text) { OnEdited(text); });
  QObject::connect(line_, &QLineEdit::returnPressed, this, [this] {
    Act([](ui::CControlUI& c) { static_cast<ui::CEditUI&>(c).UserReturn(); });
  });
  SyncState();
  PlaceLine();
}

void EditWidget::SyncState() {
  ControlWidget::SyncState();
  if (line_ == nullptr || control_ == nullptr) {
    return;
  }
  auto& edit = static_cast<ui::CEditUI&>(*control_);
  const QString text = QString::fromStdString(edit.GetText());
  if (line_->text() != text) {
    const int cursor = line_->cursorPosition();
    line_->setText(text);
    line_->setCursorPosition(std::min(cursor, static_cast<int>(text.size())));
  }
  line_->setReadOnly(edit.IsReadOnly());
  line_->setEchoMode(edit.IsPasswordMode() ? QLineEdit::Password : QLineEdit::Normal);
  line_->setFont(FontFor(edit.GetFont()));
  line_->setAccessibleName(accessibleName());
  line_->setToolTip(toolTip());
  const ui::Argb color = edit.GetTextColor() != 0 ? edit.GetTextColor() : theme::kText;
  const QString css = QStringLiteral("QLineEdit{background:transparent;border:none;color:%1;"
                                     "selection-background-color:%2;}"
                                     "QLineEdit:disabled{color:%3;}")
                          .arg(Css(color), Css(theme::kAccentDeep), Css(theme::kTextDisabled));
  if (line_->styleSheet() != css) {
    // Setting a style sheet re-polishes the field: only when the colour changed.
    line_->setStyleSheet(css);
  }
  const std::string* align = Attr("align");
  line_->setAlignment(
      (align != nullptr && align->find("center") != std::string::npos  ? Qt::AlignHCenter
       : align != nullptr && align->find("right") != std::string::npos ? Qt::AlignRight
                                                                       : Qt::AlignLeft) |
      Qt::AlignVCenter);
  PlaceLine();
}

void EditWidget::PlaceLine() {
  if (line_ == nullptr) {
    return;
  }
  QRect r = rect();
  ui::UiRect pad{6, 0, 6, 0};
  if (const std::string* p = Attr("textpadding")) {
    pad = ui::ParseRect(*p).value_or(pad);
  }
  r.adjust(Px(pad.left), Px(pad.top), -Px(pad.right), -Px(pad.bottom));
  line_->setGeometry(r);
}

void EditWidget::resizeEvent(QResizeEvent* event) {
  ControlWidget::resizeEvent(event);
  PlaceLine();
}

void EditWidget::keyPressEvent(QKeyEvent* event) {
  // The field already reported Enter (returnPressed); it passes the key on for
  // dialogs' default buttons, which the toolkit does not have.
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    event->accept();
    return;
  }
  ControlWidget::keyPressEvent(event);
}

void EditWidget::PaintControl(QPainter& painter) {
  const QRect r = rect();
  PaintBackground(painter, r);
  if (control_ != nullptr && !control_->GetBkImage().empty()) {
    SkinImages::Draw(painter, r, control_->GetBkImage(), control_->GetManager()->GetResourcePath(),
                     Scale());
  }
  PaintStateImage(painter, r);
  PaintBorder(painter, r);
}

bool EditWidget::eventFilter(QObject* watched, QEvent* event) {
  if (watched == line_ && control_ != nullptr) {
    if (event->type() == QEvent::FocusIn && !control_->IsFocused()) {
      Act([](ui::CControlUI& c) { c.SetFocus(); });
      update();
    } else if (event->type() == QEvent::FocusOut) {
      update();
    }
  }
  return ControlWidget::eventFilter(watched, event);
}

void EditWidget::OnEdited(const QString& text) {
  const bool alive =
      Act([&](ui::CControlUI& c) { static_cast<ui::CEditUI&>(c).UserSetText(text.toStdString()); });
  if (alive) {
    // The edit's limits may have refused part of what was typed.
    SyncState();
  }
}

// --- ComboWidget ---

ComboWidget::ComboWidget(QtFrontend& frontend, ui::CControlUI& control, QWidget* parent)
    : ControlWidget(frontend, control, parent) {}

void ComboWidget::PaintControl(QPainter& painter) {
  const QRect r = rect();
  PaintBackground(painter, r);
  if (!control_->GetBkImage().empty()) {
    SkinImages::Draw(painter, r, control_->GetBkImage(), control_->GetManager()->GetResourcePath(),
                     Scale());
  }
  PaintStateImage(painter, r);
  QRect textRect = r;
  textRect.setRight(r.right() - Px(24));
  if (Attr("textpadding") == nullptr) {
    textRect.setLeft(r.left() + Px(10));
  }
  PaintText(painter, textRect, control_->GetText(), Qt::AlignLeft | Qt::AlignVCenter);
  if (Attr("arrowimage") != nullptr) {
    const int s = Px(16);
    SkinImages::Draw(painter, QRect(r.right() - Px(20), r.center().y() - s / 2 + 1, s, s),
                     *Attr("arrowimage"), control_->GetManager()->GetResourcePath(), Scale());
  } else {
    PaintChevron(painter, r, Scale(),
                 control_->IsEnabledInTree() ? theme::kTextSecondary : theme::kTextDisabled);
  }
  PaintBorder(painter, r);
}

QMenu* ComboWidget::ShowPopup() {
  auto* combo = dynamic_cast<ui::CComboUI*>(control_);
  if (combo == nullptr || !combo->IsEnabledInTree()) {
    return nullptr;
  }
  auto* menu = new QMenu(this);
  menu->setObjectName(QStringLiteral("combo_dropdown"));
  menu->setAttribute(Qt::WA_DeleteOnClose);
  menu->setStyleSheet(PopupStyleSheet(Scale()));
  menu->setFont(FontFor(combo->GetFont()));
  menu->setMinimumWidth(width());
  for (int i = 0; i < combo->GetRowCount(); ++i) {
    ui::CControlUI* row = combo->GetRow(i)->GetControl();
    QAction* action = menu->addAction(QString::fromStdString(row->GetText()));
    action->setCheckable(true);
    action->setChecked(i == combo->GetCurSel());
    action->setEnabled(row->IsEnabled());
    action->setVisible(row->IsVisible());
    action->setData(i);
    QObject::connect(action, &QAction::triggered, this, [this, i] {
      Act([i](ui::CControlUI& c) { static_cast<ui::CComboUI&>(c).UserSelectItem(i); });
    });
  }
  if (QAction* current =
          combo->GetCurSel() >= 0 ? menu->actions().value(combo->GetCurSel()) : nullptr) {
    menu->setActiveAction(current);
  }
  menu->popup(mapToGlobal(QPoint(0, height())));
  return menu;
}

void ComboWidget::mouseReleaseEvent(QMouseEvent* event) {
  const bool wasPressed = IsPressed();
  ControlWidget::mouseReleaseEvent(event);
  if (wasPressed && event->button() == Qt::LeftButton &&
      rect().contains(event->position().toPoint())) {
    ShowPopup();
  }
}

void ComboWidget::Step(int direction) {
  auto* combo = dynamic_cast<ui::CComboUI*>(control_);
  if (combo == nullptr) {
    return;
  }
  for (int i = combo->GetCurSel() + direction; i >= 0 && i < combo->GetRowCount(); i += direction) {
    ui::CControlUI* row = combo->GetRow(i)->GetControl();
    if (row->IsVisible() && row->IsEnabled()) {
      Act([i](ui::CControlUI& c) { static_cast<ui::CComboUI&>(c).UserSelectItem(i); });
      return;
    }
  }
}

void ComboWidget::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
  case Qt::Key_Up:
    Step(-1);
    break;
  case Qt::Key_Down:
    if ((event->modifiers() & Qt::AltModifier) != 0) {
      ShowPopup();
    } else {
      Step(1);
    }
    break;
  case Qt::Key_Space:
  case Qt::Key_F4:
    ShowPopup();
    break;
  default:
    ControlWidget::keyPressEvent(event);
    return;
  }
  event->accept();
}

void ComboWidget::wheelEvent(QWheelEvent* event) {
  // The wheel scrolls the page under the pointer, never a closed combo's choice.
  ControlWidget::wheelEvent(event);
}

// --- SliderWidget ---

SliderWidget::SliderWidget(QtFrontend& frontend, ui::CControlUI& control, QWidget* parent)
    : ControlWidget(frontend, control, parent) {}

QSize SliderWidget::ThumbSize() const {
  ui::UiSize s{14, 14};
  if (const std::string* v = Attr("thumbsize")) {
    s = ui::ParseSize(*v).value_or(s);
  }
  return QSize(Px(s.cx), Px(s.cy));
}

int SliderWidget::ValueAt(const QPoint& p) const {
  auto* slider = static_cast<ui::CSliderUI*>(control_);
  const QSize thumb = ThumbSize();
  const bool h = slider->IsHorizontal();
  const int usable = std::max(1, h ? width() - thumb.width() : height() - thumb.height());
  const double pos = h ? p.x() - thumb.width() / 2.0 : height() - p.y() - thumb.height() / 2.0;
  const double fraction = std::clamp(pos / usable, 0.0, 1.0);
  const int span = slider->GetMaxValue() - slider->GetMinValue();
  const int step = slider->GetChangeStep();
  int value = slider->GetMinValue() + static_cast<int>(std::lround(fraction * span));
  value = slider->GetMinValue() + (value - slider->GetMinValue() + step / 2) / step * step;
  return std::clamp(value, slider->GetMinValue(), slider->GetMaxValue());
}

void SliderWidget::PaintControl(QPainter& painter) {
  auto* slider = static_cast<ui::CSliderUI*>(control_);
  const QSize thumb = ThumbSize();
  const bool h = slider->IsHorizontal();
  // The bar runs between the thumb's centres at both ends.
  const QRect track = h ? rect().adjusted(thumb.width() / 2, 0, -thumb.width() / 2, 0)
                        : rect().adjusted(0, thumb.height() / 2, 0, -thumb.height() / 2);
  PaintBackground(painter, rect());
  if (!control_->GetBkImage().empty()) {
    SkinImages::Draw(painter, track, control_->GetBkImage(),
                     control_->GetManager()->GetResourcePath(), Scale());
  }
  PaintValueBar(painter, track);
  const int span = slider->GetMaxValue() - slider->GetMinValue();
  const double fraction =
      span > 0 ? static_cast<double>(slider->GetValue() - slider->GetMinValue()) / span : 0.0;
  const QRect t =
      h ? QRect(track.left() + static_cast<int>(std::lround(track.width() * fraction)) -
                    thumb.width() / 2,
                rect().center().y() - thumb.height() / 2 + 1, thumb.width(), thumb.height())
        : QRect(rect().center().x() - thumb.width() / 2 + 1,
                track.bottom() - static_cast<int>(std::lround(track.height() * fraction)) -
                    thumb.height() / 2,
                thumb.width(), thumb.height());
  const std::string& folder = control_->GetManager()->GetResourcePath();
  const bool enabled = control_->IsEnabledInTree();
  for (std::string_view name : {enabled && dragging_ ? "thumbpushedimage" : "",
                                enabled && IsHot() ? "thumbhotimage" : "", "thumbimage"}) {
    if (!name.empty()) {
      if (const std::string* image = Attr(name)) {
        if (SkinImages::Draw(painter, t, *image, folder, Scale())) {
          return;
        }
      }
    }
  }
  painter.setPen(QPen(QColor::fromRgba(enabled ? theme::kAccent : theme::kTextDisabled),
                      std::max(1.0, 2 * Scale())));
  painter.setBrush(QColor::fromRgba(dragging_ || IsHot() ? 0xFFFFFFFF : 0xFFE6E8EB));
  painter.drawEllipse(QRectF(t).adjusted(1, 1, -1, -1));
}

void SliderWidget::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || control_ == nullptr || !control_->IsEnabledInTree()) {
    event->ignore();
    return;
  }
  setFocus(Qt::MouseFocusReason);
  dragging_ = true;
  const int v = ValueAt(event->position().toPoint());
  Act([v](ui::CControlUI& c) { static_cast<ui::CSliderUI&>(c).UserDragTo(v); });
  update();
}

void SliderWidget::mouseMoveEvent(QMouseEvent* event) {
  if (!dragging_) {
    event->ignore();
    return;
  }
  const int v = ValueAt(event->position().toPoint());
  Act([v](ui::CControlUI& c) { static_cast<ui::CSliderUI&>(c).UserDragTo(v); });
  update();
}

void SliderWidget::mouseReleaseEvent(QMouseEvent* event) {
  if (!dragging_ || event->button() != Qt::LeftButton) {
    event->ignore();
    return;
  }
  dragging_ = false;
  Act([](ui::CControlUI& c) { static_cast<ui::CSliderUI&>(c).UserEndDrag(); });
  update();
}

void SliderWidget::mouseDoubleClickEvent(QMouseEvent* event) {
  mousePressEvent(event);
}

void SliderWidget::keyPressEvent(QKeyEvent* event) {
  auto* slider = static_cast<ui::CSliderUI*>(control_);
  int delta = 0;
  switch (event->key()) {
  case Qt::Key_Left:
  case Qt::Key_Down:
    delta = -slider->GetChangeStep();
    break;
  case Qt::Key_Right:
  case Qt::Key_Up:
    delta = slider->GetChangeStep();
    break;
  default:
    ControlWidget::keyPressEvent(event);
    return;
  }
  const int v = slider->GetValue() + delta;
  Act([v](ui::CControlUI& c) { static_cast<ui::CSliderUI&>(c).UserSetValue(v); });
  event->accept();
}

void SliderWidget::wheelEvent(QWheelEvent* event) {
  auto* slider = static_cast<ui::CSliderUI*>(control_);
  const int notches = event->angleDelta().y() / 120;
  if (notches == 0 || !slider->IsEnabledInTree()) {
    event->ignore();
    return;
  }
  const int v = slider->GetValue() + notches * slider->GetChangeStep();
  Act([v](ui::CControlUI& c) { static_cast<ui::CSliderUI&>(c).UserSetValue(v); });
  event->accept();
}

} // namespace quorvex::frontend
