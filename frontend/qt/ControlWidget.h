#pragma once

// ControlWidget: the Qt widget that shows one toolkit control.
//
// It takes its geometry from the control's rectangle (relative to the parent
// control's widget), paints from the control's state and skin attributes, and turns
// Qt input into toolkit events. Controls that only show something (labels, layouts,
// pictures) let mouse input pass to the widget below, so a click on a caption label
// still drags the window.
//
// The widget never owns its control. When the control leaves the tree the front end
// calls Detach() and deletes the widget later; events after that are ignored.

#include "ui/Control.h"
#include "ui/PaintManager.h"

#include <QFont>
#include <QPointer>
#include <QWidget>
#include <optional>
#include <string>
#include <string_view>

namespace quorvex::frontend {

class QtFrontend;

// The font of a font id of `manager`'s window (-1: its default font), sized for the
// window's DPI, with the fallback faces that cover every shipped language.
QFont SkinFont(const ui::CPaintManagerUI& manager, int id);

class ControlWidget : public QWidget {
public:
  ControlWidget(QtFrontend& frontend, ui::CControlUI& control, QWidget* parent);

  ui::CControlUI* Control() const { return control_; }
  void Detach() { control_ = nullptr; }

  // Copies visibility, enabled state, tool-tip, accessible name and focus policy.
  virtual void SyncState();
  // Places the widget at the control's rectangle.
  void SyncGeometry();

  // DPI / 96 of the control's window.
  double Scale() const;
  // Skin units -> pixels of the control's window.
  int Px(int skinUnits) const;
  // The font of a font id (-1: the window's default), sized for the window's DPI.
  QFont FontFor(int id) const;
  // The point in window pixels (the toolkit's coordinates).
  ui::UiPoint ToWindow(const QPoint& local) const;

protected:
  void paintEvent(QPaintEvent* event) override;
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;

  // Delivers an input event to the control inside an event scope of its window.
  // False when the control is gone (before or during the handling).
  bool Send(ui::UiEvent type, const QPoint& local, ui::WParam wParam = 0, ui::LParam lParam = 0);
  // Runs `action` on the control inside an event scope; false when the control is gone.
  template <class F> bool Act(F&& action) {
    if (control_ == nullptr || control_->GetManager() == nullptr) {
      return false;
    }
    QPointer<ControlWidget> self(this);
    {
      ui::CPaintManagerUI::DispatchScope scope(control_->GetManager());
      action(*control_);
    }
    return self != nullptr && control_ != nullptr;
  }
  // Shows, labels, layouts and pictures: input passes through to what lies below.
  bool IsPassive() const;
  bool IsHot() const { return hot_; }
  bool IsPressed() const { return pressed_; }

  // The painting steps; subclasses add their own parts.
  virtual void PaintControl(QPainter& painter);
  void PaintBackground(QPainter& painter, const QRect& rect);
  void PaintStateImage(QPainter& painter, const QRect& rect);
  void PaintText(QPainter& painter, const QRect& rect, const std::string& text, int defaultAlign);
  void PaintBorder(QPainter& painter, const QRect& rect);
  void PaintValueBar(QPainter& painter, const QRect& rect);
  // A kept attribute of the control, or of the list or menu that owns a row
  // ("item" + name), or null.
  const std::string* Attr(std::string_view name) const;
  const std::string* ItemAttr(std::string_view name) const;
  std::optional<ui::Argb> ColorAttr(std::string_view name) const;
  bool IsSelectedState() const;

  QtFrontend& frontend_;
  ui::CControlUI* control_;

private:
  bool hot_ = false;
  bool pressed_ = false;
};

} // namespace quorvex::frontend
