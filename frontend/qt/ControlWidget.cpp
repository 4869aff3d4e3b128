#include "frontend/qt/ControlWidget.h"

#include "frontend/qt/QtFrontend.h"
#include "frontend/qt/SkinImage.h"
#include "frontend/qt/Theme.h"
#include "ui/AttributeParse.h"
#include "ui/ColorPalette.h"
#include "ui/Container.h"
#include "ui/ListElements.h"
#include "ui/MenuElement.h"
#include "ui/Option.h"
#include "ui/Progress.h"

#include <QContextMenuEvent>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QPainterPath>
#include <array>
#include <cmath>

namespace quorvex::frontend {
namespace {

QColor ToQColor(ui::Argb c) {
  return QColor::fromRgba(c);
}

std::optional<QSize> ParseRound(const std::string* value) {
  if (value == nullptr) {
    return std::nullopt;
  }
  const auto s = ui::ParseSize(*value);
  if (!s || (s->cx == 0 && s->cy == 0)) {
    return std::nullopt;
  }
  return QSize(s->cx, s->cy);
}

// Alignment flags from "align" ("left", "center", "right", "top", "vcenter",
// "bottom", separated by blanks or commas) and "valign".
int ParseAlign(const std::string* align, const std::string* valign, int fallback) {
  int h = fallback & Qt::AlignHorizontal_Mask;
  int v = fallback & Qt::AlignVertical_Mask;
  for (const std::string* text : {align, valign}) {
    if (text == nullptr) {
      continue;
    }
    std::string word;
    auto take = [&] {
      if (word == "left") {
        h = Qt::AlignLeft;
      } else if (word == "center") {
        h = Qt::AlignHCenter;
      } else if (word == "right") {
        h = Qt::AlignRight;
      } else if (word == "top") {
        v = Qt::AlignTop;
      } else if (word == "vcenter") {
        v = Qt::AlignVCenter;
      } else if (word == "bottom") {
        v = Qt::AlignBottom;
      }
      word.clear();
    };
    for (char ch : *text) {
      if (ch == ' ' || ch == ',' || ch == '|') {
        take();
      } else {
        word += ch;
      }
    }
    take();
  }
  return h | v;
}

// The colour of the palette at (x, y) of a w x h area: hue across, from white at the
// top through the full colour in the middle to black at the bottom.
QColor PaletteColor(int x, int y, int w, int h) {
  const double hue = std::clamp(static_cast<double>(x) / std::max(1, w - 1), 0.0, 1.0);
  const double t = std::clamp(static_cast<double>(y) / std::max(1, h - 1), 0.0, 1.0);
  const QColor full = QColor::fromHsvF(static_cast<float>(hue * 0.999), 1.0f, 1.0f);
  if (t < 0.5) {
    const double k = t * 2;
    return QColor::fromRgbF(static_cast<float>(1 - (1 - full.redF()) * k),
                            static_cast<float>(1 - (1 - full.greenF()) * k),
                            static_cast<float>(1 - (1 - full.blueF()) * k));
  }
  const double k = (1 - t) * 2;
  return QColor::fromRgbF(static_cast<float>(full.redF() * k),
                          static_cast<float>(full.greenF() * k),
                          static_cast<float>(full.blueF() * k));
}

} // namespace

ControlWidget::ControlWidget(QtFrontend& frontend, ui::CControlUI& control, QWidget* parent)
    : QWidget(parent), frontend_(frontend), control_(&control) {
  setObjectName(QString::fromStdString(control.GetName()));
  setAttribute(Qt::WA_Hover, false);
  SyncState();
}

double ControlWidget::Scale() const {
  if (control_ == nullptr || control_->GetManager() == nullptr) {
    return 1.0;
  }
  return control_->GetManager()->GetDPI() / 96.0;
}

int ControlWidget::Px(int skinUnits) const {
  return control_ != nullptr && control_->GetManager() != nullptr
             ? control_->GetManager()->Scale(skinUnits)
             : skinUnits;
}

QFont SkinFont(const ui::CPaintManagerUI& manager, int id) {
  QFont font;
  QStringList faces;
  const ui::FontInfo* info = id >= 0 ? manager.GetFont(id) : nullptr;
  if (info == nullptr) {
    info = manager.GetDefaultFont();
  }
  if (info != nullptr && !info->face.empty()) {
    faces << QString::fromStdString(info->face);
  }
  for (const char* face : theme::kFallbackFaces) {
    faces << QString::fromLatin1(face);
  }
  font.setFamilies(faces);
  font.setPixelSize(std::max(1, manager.Scale(info != nullptr ? info->size : 14)));
  if (info != nullptr) {
    font.setBold(info->bold);
    font.setUnderline(info->underline);
    font.setItalic(info->italic);
  }
  font.setHintingPreference(QFont::PreferNoHinting);
  return font;
}

QFont ControlWidget::FontFor(int id) const {
  if (control_ == nullptr || control_->GetManager() == nullptr) {
    return QFont();
  }
  return SkinFont(*control_->GetManager(), id);
}

ui::UiPoint ControlWidget::ToWindow(const QPoint& local) const {
  const QPoint p = mapTo(window(), local);
  return {p.x(), p.y()};
}

bool ControlWidget::IsPassive() const {
  if (control_ == nullptr) {
    return true;
  }
  if (control_->IsContextMenuUsed()) {
    return false;
  }
  static constexpr std::array<std::string_view, 9> kPassive{
      "Control",        "Label",     "Text",     "Container", "HorizontalLayout",
      "VerticalLayout", "TabLayout", "Progress", "Menu"};
  const std::string_view cls = control_->GetClass();
  return std::find(kPassive.begin(), kPassive.end(), cls) != kPassive.end();
}

bool ControlWidget::IsSelectedState() const {
  if (auto* option = dynamic_cast<ui::COptionUI*>(control_)) {
    return option->IsSelected();
  }
  if (auto* row = dynamic_cast<ui::IListItemUI*>(control_)) {
    return row->IsSelected();
  }
  return false;
}

const std::string* ControlWidget::Attr(std::string_view name) const {
  return control_ != nullptr ? control_->GetAttribute(name) : nullptr;
}

const std::string* ControlWidget::ItemAttr(std::string_view name) const {
  if (const std::string* own = Attr(name)) {
    return own;
  }
  const bool row = dynamic_cast<ui::IListItemUI*>(control_) != nullptr ||
                   dynamic_cast<ui::CMenuElementUI*>(control_) != nullptr;
  if (!row) {
    return nullptr;
  }
  // Rows and menu items take the owner's item look: itemtextcolor, itemhotbkcolor...
  for (ui::CControlUI* owner = control_->GetParent(); owner != nullptr;
       owner = owner->GetParent()) {
    if (const std::string* v = owner->GetAttribute("item" + std::string(name))) {
      return v;
    }
    if (dynamic_cast<ui::CMenuElementUI*>(owner) == nullptr) {
      break;
    }
  }
  return nullptr;
}

std::optional<ui::Argb> ControlWidget::ColorAttr(std::string_view name) const {
  const std::string* v = ItemAttr(name);
  return v != nullptr ? ui::ParseColor(*v) : std::nullopt;
}

void ControlWidget::SyncState() {
  if (control_ == nullptr) {
    return;
  }
  setVisible(control_->IsVisible());
  setEnabled(control_->IsEnabled());
  setAttribute(Qt::WA_TransparentForMouseEvents, !control_->IsMouseEnabled());
  const QString tip = QString::fromStdString(control_->GetToolTip());
  if (toolTip() != tip) {
    setToolTip(tip);
  }
  const std::string& text = control_->GetText();
  const QString name = QString::fromStdString(text.empty() ? control_->GetToolTip() : text);
  if (accessibleName() != name) {
    setAccessibleName(name);
  }
  setFocusPolicy(control_->IsFocusable() ? Qt::StrongFocus : Qt::NoFocus);
  update();
}

void ControlWidget::SyncGeometry() {
  if (control_ == nullptr) {
    return;
  }
  const ui::UiRect& r = control_->GetPos();
  ui::UiRect origin;
  if (auto* parentWidget = dynamic_cast<ControlWidget*>(this->parentWidget())) {
    if (parentWidget->Control() != nullptr) {
      origin = parentWidget->Control()->GetPos();
    }
  }
  const QRect g(r.left - origin.left, r.top - origin.top, std::max(0, r.Width()),
                std::max(0, r.Height()));
  if (geometry() != g) {
    setGeometry(g);
  }
}

// --- painting ---

void ControlWidget::paintEvent(QPaintEvent*) {
  if (control_ == nullptr || control_->GetManager() == nullptr) {
    return;
  }
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
  PaintControl(painter);
}

void ControlWidget::PaintControl(QPainter& painter) {
  const QRect r = rect();
  const std::string& folder = control_->GetManager()->GetResourcePath();
  PaintBackground(painter, r);
  if (!control_->GetBkImage().empty()) {
    SkinImages::Draw(painter, r, control_->GetBkImage(), folder, Scale());
  }
  PaintStateImage(painter, r);
  if (dynamic_cast<ui::CProgressUI*>(control_) != nullptr) {
    PaintValueBar(painter, r);
  } else if (auto* palette = dynamic_cast<ui::CColorPaletteUI*>(control_)) {
    QImage image(r.size(), QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y) {
      for (int x = 0; x < image.width(); ++x) {
        image.setPixelColor(x, y, PaletteColor(x, y, image.width(), image.height()));
      }
    }
    painter.save();
    if (const auto round = ParseRound(Attr("borderround"))) {
      QPainterPath clip;
      clip.addRoundedRect(QRectF(r), Px(round->width()), Px(round->height()));
      painter.setClipPath(clip);
    }
    painter.drawImage(r.topLeft(), image);
    painter.restore();
    (void)palette;
  } else if (!control_->GetForeImage().empty()) {
    SkinImages::Draw(painter, r, control_->GetForeImage(), folder, Scale());
  }
  const std::string_view cls = control_->GetClass();
  const bool textual = dynamic_cast<ui::CLabelUI*>(control_) != nullptr ||
                       dynamic_cast<ui::IListItemUI*>(control_) != nullptr ||
                       dynamic_cast<ui::CMenuElementUI*>(control_) != nullptr;
  if (textual && dynamic_cast<ui::CProgressUI*>(control_) == nullptr) {
    const bool centred = cls == "Button" || cls == "Option";
    QRect textRect = r;
    auto* check = dynamic_cast<ui::CCheckBoxUI*>(control_);
    if (check != nullptr && Attr("normalimage") == nullptr && Attr("selectedimage") == nullptr) {
      // A check box drawn by us: a rounded box with a tick, the text after it.
      const int box = Px(16);
      const QRectF b(Px(2) + 0.5, (r.height() - box) / 2.0 + 0.5, box - 1, box - 1);
      painter.setPen(QPen(ToQColor(check->IsSelected() ? theme::kAccent : theme::kBorder),
                          std::max(1.0, Scale())));
      painter.setBrush(check->IsSelected() ? ToQColor(theme::kAccent) : ToQColor(theme::kControl));
      painter.drawRoundedRect(b, Px(3), Px(3));
      if (check->IsSelected()) {
        QPainterPath tick;
        tick.moveTo(b.left() + b.width() * 0.25, b.top() + b.height() * 0.52);
        tick.lineTo(b.left() + b.width() * 0.43, b.top() + b.height() * 0.70);
        tick.lineTo(b.left() + b.width() * 0.76, b.top() + b.height() * 0.32);
        painter.setPen(QPen(Qt::white, std::max(1.5, 2 * Scale()), Qt::SolidLine, Qt::RoundCap,
                            Qt::RoundJoin));
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(tick);
      }
      textRect.setLeft(box + Px(10));
    }
    auto* menuItem = dynamic_cast<ui::CMenuElementUI*>(control_);
    if (menuItem != nullptr && menuItem->HasSubMenu()) {
      // The submenu's chevron.
      const int s = Px(4);
      const QPointF c(r.right() - Px(12), r.center().y() + 0.5);
      painter.setPen(QPen(ToQColor(theme::kTextSecondary), std::max(1.0, 1.5 * Scale())));
      painter.drawLine(QPointF(c.x() - s / 2.0, c.y() - s), c);
      painter.drawLine(QPointF(c.x() - s / 2.0, c.y() + s), c);
      textRect.setRight(r.right() - Px(20));
    }
    PaintText(painter, textRect, control_->GetText(),
              (centred ? Qt::AlignHCenter : Qt::AlignLeft) | Qt::AlignVCenter);
  }
  PaintBorder(painter, r);
}

void ControlWidget::PaintBackground(QPainter& painter, const QRect& rect) {
  std::optional<ui::Argb> color;
  const bool enabled = control_->IsEnabledInTree();
  if (!enabled) {
    color = ColorAttr("disabledbkcolor");
  } else if (IsSelectedState()) {
    color = ColorAttr("selectedbkcolor");
  }
  if (!color && enabled && pressed_) {
    color = ColorAttr("pushedbkcolor");
  }
  if (!color && enabled && hot_) {
    color = ColorAttr("hotbkcolor");
  }
  if (!color && control_->GetBkColor() != 0) {
    color = control_->GetBkColor();
  }
  if (!color || (*color >> 24) == 0) {
    return;
  }
  auto round = ParseRound(Attr("borderround"));
  if (!round && control_->GetParent() == nullptr && control_->GetManager() != nullptr) {
    // The root of a frameless window with round corners.
    round = ParseRound(control_->GetManager()->GetWindowAttribute("roundcorner"));
  }
  painter.setPen(Qt::NoPen);
  painter.setBrush(ToQColor(*color));
  if (round) {
    painter.drawRoundedRect(QRectF(rect), Px(round->width()), Px(round->height()));
  } else {
    painter.drawRect(rect);
  }
}

void ControlWidget::PaintStateImage(QPainter& painter, const QRect& rect) {
  const std::string& folder = control_->GetManager()->GetResourcePath();
  const bool enabled = control_->IsEnabledInTree();
  std::vector<std::string_view> order;
  if (!enabled) {
    order = {"disabledimage"};
  } else {
    if (IsSelectedState()) {
      if (pressed_) {
        order.push_back("selectedpushedimage");
      }
      if (hot_) {
        order.push_back("selectedhotimage");
      }
      order.push_back("selectedimage");
    }
    if (pressed_) {
      order.push_back("pushedimage");
    }
    if (hot_) {
      order.push_back("hotimage");
    }
    if (hasFocus()) {
      order.push_back("focusedimage");
    }
  }
  for (std::string_view name : order) {
    if (const std::string* image = Attr(name)) {
      if (SkinImages::Draw(painter, rect, *image, folder, Scale())) {
        return;
      }
    }
  }
  if (const std::string* normal = Attr("normalimage")) {
    const double opacity = painter.opacity();
    if (!enabled) {
      painter.setOpacity(opacity * 0.4);
    }
    SkinImages::Draw(painter, rect, *normal, folder, Scale());
    painter.setOpacity(opacity);
  }
}

void ControlWidget::PaintText(QPainter& painter, const QRect& rect, const std::string& text,
                              int defaultAlign) {
  if (text.empty()) {
    return;
  }
  QRect r = rect;
  if (const std::string* pad = Attr("textpadding")) {
    if (const auto p = ui::ParseRect(*pad)) {
      r.adjust(Px(p->left), Px(p->top), -Px(p->right), -Px(p->bottom));
    }
  }
  std::optional<ui::Argb> color;
  const bool enabled = control_->IsEnabledInTree();
  if (!enabled) {
    color = ColorAttr("disabledtextcolor");
    if (!color) {
      color = theme::kTextDisabled;
    }
  }
  if (!color && IsSelectedState()) {
    color = ColorAttr("selectedtextcolor");
  }
  if (!color && hot_) {
    color = ColorAttr("hottextcolor");
  }
  if (!color && control_->GetTextColor() != 0) {
    color = control_->GetTextColor();
  }
  if (!color) {
    color = ColorAttr("textcolor");
  }
  int fontId = control_->GetFont();
  if (fontId < 0) {
    if (const std::string* itemFont = ItemAttr("font")) {
      fontId = ui::ParseIntInRange(*itemFont, -1, 100000).value_or(-1);
    }
  }
  painter.setFont(FontFor(fontId));
  painter.setPen(ToQColor(color.value_or(theme::kText)));
  const int align = ParseAlign(Attr("align"), Attr("valign"), defaultAlign);
  const QString qtext = QString::fromStdString(text);
  const std::string* wrap = Attr("wordwrap");
  const std::string* multi = Attr("multiline");
  const bool wrapOn = (wrap != nullptr && ui::ParseBool(*wrap).value_or(false)) ||
                      (multi != nullptr && ui::ParseBool(*multi).value_or(false)) ||
                      control_->GetClass() == "Text";
  if (wrapOn) {
    painter.drawText(r, align | Qt::TextWordWrap, qtext);
  } else {
    const QFontMetrics fm(painter.font());
    painter.drawText(r, align | Qt::TextSingleLine,
                     fm.elidedText(qtext, Qt::ElideRight, r.width()));
  }
}

void ControlWidget::PaintBorder(QPainter& painter, const QRect& rect) {
  std::optional<ui::Argb> color;
  if (hasFocus()) {
    color = ColorAttr("focusbordercolor");
  }
  if (!color && hot_ && control_->IsEnabledInTree()) {
    color = ColorAttr("hotbordercolor");
  }
  if (!color) {
    color = ColorAttr("bordercolor");
  }
  if (!color) {
    return;
  }
  int size = 1;
  if (const std::string* s = Attr("bordersize")) {
    size = ui::ParseIntInRange(*s, 0, 100).value_or(1);
  }
  if (size == 0) {
    return;
  }
  const double w = std::max(1.0, size * Scale());
  const QRectF r = QRectF(rect).adjusted(w / 2, w / 2, -w / 2, -w / 2);
  painter.setPen(QPen(ToQColor(*color), w));
  painter.setBrush(Qt::NoBrush);
  if (const auto round = ParseRound(Attr("borderround"))) {
    painter.drawRoundedRect(r, Px(round->width()), Px(round->height()));
  } else {
    painter.drawRect(r);
  }
}

void ControlWidget::PaintValueBar(QPainter& painter, const QRect& rect) {
  auto* progress = dynamic_cast<ui::CProgressUI*>(control_);
  const int span = progress->GetMaxValue() - progress->GetMinValue();
  const double fraction =
      span > 0 ? static_cast<double>(progress->GetValue() - progress->GetMinValue()) / span : 0.0;
  QRect bar = rect;
  if (dynamic_cast<ui::CSliderUI*>(control_) != nullptr) {
    // A slider's track is a thin bar across the middle.
    const int thickness = Px(4);
    bar = progress->IsHorizontal()
              ? QRect(rect.left(), rect.center().y() - thickness / 2 + 1, rect.width(), thickness)
              : QRect(rect.center().x() - thickness / 2 + 1, rect.top(), thickness, rect.height());
    if (Attr("normalimage") == nullptr && control_->GetBkImage().empty()) {
      painter.setPen(Qt::NoPen);
      painter.setBrush(ToQColor(ColorAttr("trackcolor").value_or(theme::kBorder)));
      painter.drawRoundedRect(QRectF(bar), thickness / 2.0, thickness / 2.0);
    }
  }
  QRect filled = bar;
  if (progress->IsHorizontal()) {
    filled.setWidth(static_cast<int>(std::lround(bar.width() * fraction)));
  } else {
    filled.setTop(bar.bottom() + 1 - static_cast<int>(std::lround(bar.height() * fraction)));
  }
  if (filled.isEmpty()) {
    return;
  }
  const std::string& fore = control_->GetForeImage();
  if (!fore.empty()) {
    painter.save();
    painter.setClipRect(filled);
    SkinImages::Draw(painter, bar, fore, control_->GetManager()->GetResourcePath(), Scale());
    painter.restore();
    return;
  }
  const double radius = std::min(filled.height(), filled.width()) / 2.0;
  painter.setPen(Qt::NoPen);
  painter.setBrush(ToQColor(ColorAttr("forecolor").value_or(theme::kAccent)));
  painter.drawRoundedRect(QRectF(filled), radius, radius);
}

// --- input ---

bool ControlWidget::Send(ui::UiEvent type, const QPoint& local, ui::WParam wParam,
                         ui::LParam lParam) {
  const ui::UiPoint point = ToWindow(local);
  const Qt::KeyboardModifiers mods = QGuiApplication::keyboardModifiers();
  return Act([&](ui::CControlUI& c) {
    ui::TEventUI ev;
    ev.type = type;
    ev.sender = &c;
    ev.point = point;
    ev.wParam = wParam;
    ev.lParam = lParam;
    ev.keyState = ((mods & Qt::ControlModifier) ? ui::kKeyStateControl : 0u) |
                  ((mods & Qt::ShiftModifier) ? ui::kKeyStateShift : 0u);
    c.DoEvent(ev);
  });
}

void ControlWidget::enterEvent(QEnterEvent* event) {
  if (IsPassive()) {
    QWidget::enterEvent(event);
    return;
  }
  hot_ = true;
  Send(ui::UiEvent::kMouseEnter, mapFromGlobal(QCursor::pos()));
  update();
}

void ControlWidget::leaveEvent(QEvent* event) {
  if (!hot_) {
    QWidget::leaveEvent(event);
    return;
  }
  hot_ = false;
  pressed_ = false;
  Send(ui::UiEvent::kMouseLeave, mapFromGlobal(QCursor::pos()));
  update();
}

void ControlWidget::mousePressEvent(QMouseEvent* event) {
  if (IsPassive() || event->button() != Qt::LeftButton || control_ == nullptr) {
    event->ignore();
    return;
  }
  pressed_ = true;
  if (control_->IsFocusable() && focusPolicy() != Qt::NoFocus) {
    setFocus(Qt::MouseFocusReason);
  }
  Send(ui::UiEvent::kButtonDown, event->position().toPoint());
  update();
}

void ControlWidget::mouseMoveEvent(QMouseEvent* event) {
  if (IsPassive() || !pressed_) {
    event->ignore();
    return;
  }
  Send(ui::UiEvent::kMouseMove, event->position().toPoint());
}

void ControlWidget::mouseReleaseEvent(QMouseEvent* event) {
  if (IsPassive() || event->button() != Qt::LeftButton) {
    event->ignore();
    return;
  }
  const bool wasPressed = pressed_;
  pressed_ = false;
  update();
  if (!wasPressed) {
    return;
  }
  if (auto* palette = dynamic_cast<ui::CColorPaletteUI*>(control_)) {
    const QPoint p = event->position().toPoint();
    if (rect().contains(p)) {
      const QColor c = PaletteColor(p.x(), p.y(), width(), height());
      Act([&](ui::CControlUI&) { palette->UserPickColor(c.rgba()); });
    }
    return;
  }
  Send(ui::UiEvent::kButtonUp, event->position().toPoint());
}

void ControlWidget::mouseDoubleClickEvent(QMouseEvent* event) {
  if (IsPassive() || event->button() != Qt::LeftButton) {
    event->ignore();
    return;
  }
  // The second press of a double click: a press for the buttons, and the double
  // click itself for rows and the program's own controls.
  pressed_ = true;
  if (Send(ui::UiEvent::kButtonDown, event->position().toPoint())) {
    Send(ui::UiEvent::kDoubleClick, event->position().toPoint());
  }
  update();
}

void ControlWidget::wheelEvent(QWheelEvent* event) {
  const double steps = event->angleDelta().y() / 120.0;
  for (ui::CControlUI* c = control_; c != nullptr; c = c->GetParent()) {
    auto* box = dynamic_cast<ui::CContainerUI*>(c);
    if (box != nullptr && box->GetScrollRange().cy > 0) {
      const ui::UiSize pos = box->GetScrollPos();
      const int delta = static_cast<int>(std::lround(steps * Px(48)));
      Act([&](ui::CControlUI&) { box->SetScrollPos({pos.cx, pos.cy - delta}); });
      event->accept();
      return;
    }
  }
  event->ignore();
}

void ControlWidget::contextMenuEvent(QContextMenuEvent* event) {
  if (control_ == nullptr || !control_->IsContextMenuUsed()) {
    event->ignore();
    return;
  }
  const ui::UiPoint p = ToWindow(event->pos());
  Send(ui::UiEvent::kContextMenu, event->pos(), 0,
       static_cast<ui::LParam>((static_cast<std::uint32_t>(p.y) << 16) |
                               (static_cast<std::uint32_t>(p.x) & 0xFFFFu)));
  event->accept();
}

void ControlWidget::keyPressEvent(QKeyEvent* event) {
  if (control_ == nullptr) {
    event->ignore();
    return;
  }
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    Send(ui::UiEvent::kKeyDown, {}, ui::kKeyReturn);
    event->accept();
    return;
  }
  if (event->key() == Qt::Key_Space && !event->isAutoRepeat() &&
      (dynamic_cast<ui::CButtonUI*>(control_) != nullptr ||
       dynamic_cast<ui::IListItemUI*>(control_) != nullptr)) {
    Act([](ui::CControlUI& c) { c.Activate(); });
    event->accept();
    return;
  }
  event->ignore();
}

void ControlWidget::focusInEvent(QFocusEvent* event) {
  QWidget::focusInEvent(event);
  if (control_ != nullptr && control_->IsFocusable() && !control_->IsFocused()) {
    Act([](ui::CControlUI& c) { c.SetFocus(); });
  }
  update();
}

} // namespace quorvex::frontend
