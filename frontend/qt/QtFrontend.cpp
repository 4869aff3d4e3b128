#include "frontend/qt/QtFrontend.h"

#include "frontend/qt/ControlWidget.h"
#include "frontend/qt/ControlWidgets.h"
#include "frontend/qt/WindowWidget.h"
#include "ui/Combo.h"
#include "ui/Edit.h"
#include "ui/MenuElement.h"
#include "ui/PaintManager.h"
#include "ui/Progress.h"

#include <QApplication>
#include <QScreen>

namespace quorvex::frontend {

QtFrontend::QtFrontend(ui::CMessageLoop& loop) : loop_(loop) {
  QApplication::setQuitOnLastWindowClosed(false);
  if (QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect a = screen->availableGeometry();
    loop_.SetWorkArea({a.left(), a.top(), a.left() + a.width(), a.top() + a.height()});
  }
  loop_.SetObserver(this);
}

QtFrontend::~QtFrontend() {
  loop_.SetObserver(nullptr);
  for (ControlWidget* w : std::as_const(controls_)) {
    w->Detach();
  }
  for (WindowWidget* w : std::as_const(windows_)) {
    w->Detach();
    delete w;
  }
}

WindowWidget* QtFrontend::WidgetOf(const ui::CWindowWnd& window) const {
  return windows_.value(&window, nullptr);
}

WindowWidget* QtFrontend::WidgetOf(ui::WindowHandle window) const {
  ui::CWindowWnd* w = loop_.FindWindow(window);
  return w != nullptr ? WidgetOf(*w) : nullptr;
}

ControlWidget* QtFrontend::WidgetOf(const ui::CControlUI& control) const {
  return controls_.value(&control, nullptr);
}

void QtFrontend::WindowPainted(WindowWidget& widget) {
  if (onFirstPaint && widget.Window() != nullptr) {
    onFirstPaint(*widget.Window());
  }
}

void QtFrontend::OnWindowCreated(ui::CWindowWnd& window) {
  QWidget* parent = nullptr;
  if (ui::CWindowWnd* owner = loop_.FindWindow(window.GetParentHWND())) {
    parent = WidgetOf(*owner);
  }
  windows_.insert(&window, new WindowWidget(*this, window, parent));
}

void QtFrontend::OnWindowShown(ui::CWindowWnd& window, bool shown) {
  if (WindowWidget* w = WidgetOf(window)) {
    w->SetShown(shown);
  }
}

void QtFrontend::OnWindowMoved(ui::CWindowWnd& window, const ui::UiRect&) {
  if (WindowWidget* w = WidgetOf(window)) {
    w->SyncGeometry();
  }
}

void QtFrontend::OnWindowDestroyed(ui::CWindowWnd& window) {
  WindowWidget* w = windows_.take(&window);
  if (w == nullptr) {
    return;
  }
  w->Detach();
  w->SetShown(false);
  w->deleteLater();
}

void QtFrontend::OnModalBegin(ui::CWindowWnd& window) {
  WindowWidget* w = WidgetOf(window);
  if (w == nullptr || w->IsMenu()) {
    return;
  }
  const bool visible = w->isVisible();
  if (visible) {
    w->SetShown(false);
  }
  w->setWindowModality(w->parentWidget() != nullptr ? Qt::WindowModal : Qt::ApplicationModal);
  if (visible) {
    w->SetShown(true);
  }
}

void QtFrontend::OnControlCreated(ui::CControlUI& control) {
  ui::CPaintManagerUI* pm = control.GetManager();
  if (pm == nullptr) {
    return;
  }
  QWidget* parent = nullptr;
  ui::CControlUI* parentControl = control.GetParent();
  if (parentControl == nullptr) {
    if (pm->GetWindow() == nullptr) {
      return;
    }
    WindowWidget* host = WidgetOf(*pm->GetWindow());
    if (host == nullptr) {
      return;
    }
    host->ApplySkinLook();
    parent = host;
  } else {
    // Combo items live in the drop-down and submenu items in their own popup.
    if (dynamic_cast<ui::CComboUI*>(parentControl) != nullptr ||
        dynamic_cast<ui::CMenuElementUI*>(parentControl) != nullptr) {
      return;
    }
    parent = WidgetOf(*parentControl);
    if (parent == nullptr) {
      return;
    }
  }
  ControlWidget* widget = nullptr;
  for (const WidgetFactory& factory : factories_) {
    if ((widget = factory(*this, control, parent)) != nullptr) {
      break;
    }
  }
  if (widget != nullptr) {
  } else if (dynamic_cast<ui::CEditUI*>(&control) != nullptr) {
    widget = new EditWidget(*this, control, parent);
  } else if (dynamic_cast<ui::CComboUI*>(&control) != nullptr) {
    widget = new ComboWidget(*this, control, parent);
  } else if (dynamic_cast<ui::CSliderUI*>(&control) != nullptr) {
    widget = new SliderWidget(*this, control, parent);
  } else {
    widget = new ControlWidget(*this, control, parent);
  }
  controls_.insert(&control, widget);
  // A control inserted before others lies below them, as later siblings lie on top.
  if (parentControl != nullptr) {
    for (int i = 0; i < parentControl->GetCount(); ++i) {
      ui::CControlUI* sibling = parentControl->GetItemAt(i);
      if (sibling == &control) {
        for (int j = i + 1; j < parentControl->GetCount(); ++j) {
          if (ControlWidget* above = WidgetOf(*parentControl->GetItemAt(j))) {
            widget->stackUnder(above);
            break;
          }
        }
        break;
      }
    }
  }
  widget->SyncGeometry();
  treeChanged_.insert(pm);
}

void QtFrontend::OnControlDestroyed(ui::CControlUI& control) {
  ControlWidget* w = controls_.take(&control);
  if (w == nullptr) {
    return;
  }
  w->Detach();
  w->hide();
  // Later: the widget may be the one whose input handler removed the control.
  w->deleteLater();
}

void QtFrontend::OnControlInvalidated(ui::CControlUI& control) {
  if (ControlWidget* w = WidgetOf(control)) {
    w->SyncState();
  }
}

void QtFrontend::OnControlGeometryChanged(ui::CControlUI& control) {
  ControlWidget* w = WidgetOf(control);
  if (w == nullptr) {
    return;
  }
  w->SyncGeometry();
  // Children are placed relative to this widget.
  for (int i = 0; i < control.GetCount(); ++i) {
    if (ControlWidget* child = WidgetOf(*control.GetItemAt(i))) {
      child->SyncGeometry();
    }
  }
}

void QtFrontend::SyncTree(ui::CControlUI& control) {
  if (ControlWidget* w = WidgetOf(control)) {
    w->SyncGeometry();
    if (w->isHidden() == control.IsVisible()) {
      w->setVisible(control.IsVisible());
    }
  }
  for (int i = 0; i < control.GetCount(); ++i) {
    SyncTree(*control.GetItemAt(i));
  }
}

void QtFrontend::FixTabOrder(ui::CControlUI& root) {
  QWidget* previous = nullptr;
  std::function<void(ui::CControlUI&)> walk = [&](ui::CControlUI& c) {
    ControlWidget* w = WidgetOf(c);
    if (w != nullptr && w->focusPolicy() != Qt::NoFocus) {
      if (previous != nullptr) {
        QWidget::setTabOrder(previous, w);
      }
      previous = w;
    }
    for (int i = 0; i < c.GetCount(); ++i) {
      walk(*c.GetItemAt(i));
    }
  };
  walk(root);
}

void QtFrontend::OnLayoutDone(ui::CPaintManagerUI& manager) {
  if (manager.GetRoot() == nullptr) {
    return;
  }
  SyncTree(*manager.GetRoot());
  if (treeChanged_.remove(&manager)) {
    FixTabOrder(*manager.GetRoot());
  }
}

void QtFrontend::OnFocusChanged(ui::CPaintManagerUI& manager, ui::CControlUI* focus) {
  if (focus != nullptr) {
    ControlWidget* w = WidgetOf(*focus);
    if (w != nullptr && !w->hasFocus() &&
        (w->focusProxy() == nullptr || !w->focusProxy()->hasFocus())) {
      w->setFocus(Qt::OtherFocusReason);
    }
    return;
  }
  QWidget* current = QApplication::focusWidget();
  WindowWidget* host = manager.GetWindow() != nullptr ? WidgetOf(*manager.GetWindow()) : nullptr;
  if (current != nullptr && host != nullptr && host->isAncestorOf(current)) {
    current->clearFocus();
  }
}

} // namespace quorvex::frontend
