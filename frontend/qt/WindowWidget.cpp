#include "frontend/qt/WindowWidget.h"

#include "frontend/qt/QtFrontend.h"
#include "frontend/qt/Theme.h"
#include "ui/AttributeParse.h"
#include "ui/MenuWnd.h"
#include "ui/MessageLoop.h"
#include "ui/WindowImplBase.h"

#include <QCloseEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWindow>

namespace quorvex::frontend {
namespace {

ui::CPaintManagerUI* ManagerOf(ui::CWindowWnd* window) {
  auto* impl = dynamic_cast<ui::WindowImplBase*>(window);
  return impl != nullptr ? impl->GetPaintManager() : nullptr;
}

} // namespace

WindowWidget::WindowWidget(QtFrontend& frontend, ui::CWindowWnd& window, QWidget* parent)
    : QWidget(parent), frontend_(frontend), window_(&window) {
  menu_ = dynamic_cast<ui::CMenuWnd*>(&window) != nullptr;
  Qt::WindowFlags flags = Qt::Window;
  if (menu_) {
    flags = Qt::Popup | Qt::FramelessWindowHint | Qt::NoDropShadowWindowHint;
  } else if ((window.GetExStyle() & ui::kStyleToolWindow) != 0) {
    flags = Qt::Tool;
  } else if (parent != nullptr) {
    flags = Qt::Dialog;
  }
  setWindowFlags(flags);
  setWindowTitle(QString::fromStdString(window.GetCaption()));
  setObjectName(QString::fromLatin1(window.GetWindowClassName().data(),
                                    static_cast<int>(window.GetWindowClassName().size())));
  setAttribute(Qt::WA_DeleteOnClose, false);
  SyncGeometry();
}

void WindowWidget::ApplySkinLook() {
  ui::CPaintManagerUI* pm = ManagerOf(window_);
  if (pm == nullptr) {
    return;
  }
  // Flags change only before the first show (changing them later hides the window).
  if (!menu_ && !testAttribute(Qt::WA_WState_Created) &&
      pm->GetWindowAttribute("caption") != nullptr &&
      !windowFlags().testFlag(Qt::FramelessWindowHint)) {
    setWindowFlag(Qt::FramelessWindowHint, true);
    if (pm->GetWindowAttribute("roundcorner") != nullptr) {
      setAttribute(Qt::WA_TranslucentBackground, true);
    }
  }
  const ui::UiSize min = pm->GetMinInfo();
  if (min.cx > 0 && min.cy > 0) {
    setMinimumSize(pm->Scale(min.cx), pm->Scale(min.cy));
  }
}

void WindowWidget::SyncGeometry() {
  if (window_ == nullptr) {
    return;
  }
  const ui::UiRect& r = window_->GetWindowRect();
  const QRect g(r.left, r.top, std::max(1, r.Width()), std::max(1, r.Height()));
  if (geometry() == g) {
    return;
  }
  syncing_ = true;
  setGeometry(g);
  syncing_ = false;
}

void WindowWidget::SetShown(bool shown) {
  syncing_ = true;
  if (shown) {
    SyncGeometry();
    show();
  } else {
    hide();
  }
  syncing_ = false;
}

void WindowWidget::PushGeometry() {
  if (syncing_ || window_ == nullptr || !isVisible()) {
    return;
  }
  const QRect g = geometry();
  const ui::UiRect r{g.left(), g.top(), g.left() + g.width(), g.top() + g.height()};
  if (r != window_->GetWindowRect()) {
    syncing_ = true;
    window_->MoveWindow(r);
    syncing_ = false;
  }
}

void WindowWidget::moveEvent(QMoveEvent* event) {
  QWidget::moveEvent(event);
  PushGeometry();
}

void WindowWidget::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  PushGeometry();
}

void WindowWidget::paintEvent(QPaintEvent*) {
  if (!testAttribute(Qt::WA_TranslucentBackground)) {
    QPainter painter(this);
    painter.fillRect(rect(), QColor::fromRgba(theme::kBackground));
  }
  if (!painted_) {
    painted_ = true;
    frontend_.WindowPainted(*this);
  }
}

void WindowWidget::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  if (event->type() == QEvent::ActivationChange && window_ != nullptr) {
    window_->PostMessage(ui::kMsgActivate, isActiveWindow() ? 1 : 0, 0);
  }
}

void WindowWidget::enterEvent(QEnterEvent* event) {
  QWidget::enterEvent(event);
  if (window_ != nullptr) {
    window_->PostMessage(ui::kMsgMouseHover, 0, 0);
  }
}

void WindowWidget::leaveEvent(QEvent* event) {
  QWidget::leaveEvent(event);
  if (window_ != nullptr) {
    window_->PostMessage(ui::kMsgMouseLeave, 0, 0);
  }
}

void WindowWidget::closeEvent(QCloseEvent* event) {
  if (syncing_ || window_ == nullptr) {
    event->accept();
    return;
  }
  if (menu_) {
    // Qt closes a popup when the user clicks elsewhere: the menu is dismissed.
    event->accept();
    window_->Close(0);
    return;
  }
  // The toolkit window decides; its destruction hides this widget.
  event->ignore();
  window_->Close(0);
}

bool WindowWidget::InCaption(const QPoint& p) const {
  ui::CPaintManagerUI* pm = ManagerOf(window_);
  const std::string* caption = pm != nullptr ? pm->GetWindowAttribute("caption") : nullptr;
  if (caption == nullptr) {
    return false;
  }
  const auto c = ui::ParseRect(*caption);
  if (!c) {
    return false;
  }
  // left and right are kept free from the edges; top and bottom bound the band.
  return p.x() >= pm->Scale(c->left) && p.x() < width() - pm->Scale(c->right) &&
         p.y() >= pm->Scale(c->top) && p.y() < pm->Scale(c->bottom);
}

void WindowWidget::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || !InCaption(event->position().toPoint())) {
    QWidget::mousePressEvent(event);
    return;
  }
  // The window manager moves the window when it can; otherwise we follow the pointer.
  if (windowHandle() != nullptr && windowHandle()->startSystemMove()) {
    return;
  }
  dragging_ = true;
  dragOffset_ = event->globalPosition().toPoint() - frameGeometry().topLeft();
}

void WindowWidget::mouseMoveEvent(QMouseEvent* event) {
  if (!dragging_) {
    QWidget::mouseMoveEvent(event);
    return;
  }
  move(event->globalPosition().toPoint() - dragOffset_);
}

void WindowWidget::mouseReleaseEvent(QMouseEvent* event) {
  dragging_ = false;
  QWidget::mouseReleaseEvent(event);
}

} // namespace quorvex::frontend
