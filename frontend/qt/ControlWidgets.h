#pragma once

// The widgets of the controls that take more than clicks: edits (a real QLineEdit, so
// Qt gives selection, clipboard and input methods), combos (a drop-down list) and
// sliders (a draggable thumb).

#include "frontend/qt/ControlWidget.h"

class QLineEdit;
class QMenu;

namespace quorvex::frontend {

class EditWidget final : public ControlWidget {
public:
  EditWidget(QtFrontend& frontend, ui::CControlUI& control, QWidget* parent);
  void SyncState() override;
  QLineEdit* LineEdit() const { return line_; }

protected:
  void PaintControl(QPainter& painter) override;
  void resizeEvent(QResizeEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  void OnEdited(const QString& text);
  void PlaceLine();

  QLineEdit* line_ = nullptr;
};

class ComboWidget final : public ControlWidget {
public:
  ComboWidget(QtFrontend& frontend, ui::CControlUI& control, QWidget* parent);
  // Opens the drop-down under the combo; returns it (it deletes itself when closed).
  QMenu* ShowPopup();

protected:
  void PaintControl(QPainter& painter) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;

private:
  void Step(int direction);
};

class SliderWidget final : public ControlWidget {
public:
  SliderWidget(QtFrontend& frontend, ui::CControlUI& control, QWidget* parent);

protected:
  void PaintControl(QPainter& painter) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;

private:
  QSize ThumbSize() const;
  int ValueAt(const QPoint& p) const;
  bool dragging_ = false;
};

// The style sheet of drop-downs and popup menus drawn by Qt.
QString PopupStyleSheet(double scale);

} // namespace quorvex::frontend
