#pragma once

// WindowWidget: the top-level Qt window of one toolkit window.
//
// Its geometry mirrors the toolkit window's rectangle both ways (a move or resize by
// the user becomes CWindowWnd::MoveWindow). A skin with a "caption" area makes it a
// frameless window whose caption drags it; menus become popups that close when the
// user clicks elsewhere. Closing it from the desktop asks the toolkit window to close
// (a kMsgClose the program may refuse).

#include "ui/WindowWnd.h"

#include <QWidget>
#include <functional>

namespace quorvex::frontend {

class QtFrontend;

class WindowWidget final : public QWidget {
public:
  WindowWidget(QtFrontend& frontend, ui::CWindowWnd& window, QWidget* parent);

  ui::CWindowWnd* Window() const { return window_; }
  void Detach() { window_ = nullptr; }
  bool IsMenu() const { return menu_; }
  // Reads the skin's window attributes (caption, roundcorner, mininfo) once the
  // window's tree exists.
  void ApplySkinLook();
  void SyncGeometry();
  // Shows or hides without telling the toolkit back.
  void SetShown(bool shown);
  bool HasPainted() const { return painted_; }

protected:
  void paintEvent(QPaintEvent* event) override;
  void moveEvent(QMoveEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  // Activation and the pointer entering or leaving reach the toolkit window as messages.
  void changeEvent(QEvent* event) override;
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;

private:
  void PushGeometry();
  bool InCaption(const QPoint& p) const;

  QtFrontend& frontend_;
  ui::CWindowWnd* window_;
  QPoint dragOffset_;
  bool menu_ = false;
  bool syncing_ = false;
  bool dragging_ = false;
  bool painted_ = false;
};

} // namespace quorvex::frontend
