#pragma once

// QtFrontend: shows the toolkit's windows as Qt widgets.
//
// Installed as the message loop's observer, it keeps one WindowWidget per toolkit
// window and one ControlWidget per control of their trees, created top-down as
// controls join a tree and deleted (later, never under a running handler) as they
// leave. Layout results become widget geometry, state changes become repaints, and
// toolkit focus and Qt focus follow each other. Keyboard focus moves through the
// controls in the order of the tree.
//
// One per process, on the UI thread, created after the QApplication and before the
// first toolkit window; it must outlive every window it shows.

#include "ui/MessageLoop.h"
#include "ui/UiObserver.h"

#include <QHash>
#include <QSet>
#include <functional>

class QWidget;

namespace quorvex::frontend {

class ControlWidget;
class WindowWidget;

class QtFrontend final : public ui::IUiObserver {
public:
  explicit QtFrontend(ui::CMessageLoop& loop);
  ~QtFrontend() override;
  QtFrontend(const QtFrontend&) = delete;
  QtFrontend& operator=(const QtFrontend&) = delete;

  ui::CMessageLoop& Loop() const { return loop_; }
  WindowWidget* WidgetOf(const ui::CWindowWnd& window) const;
  WindowWidget* WidgetOf(ui::WindowHandle window) const;
  ControlWidget* WidgetOf(const ui::CControlUI& control) const;

  // Called once per window when it has painted for the first time.
  std::function<void(ui::CWindowWnd&)> onFirstPaint;
  void WindowPainted(WindowWidget& widget);

  // IUiObserver
  void OnWindowCreated(ui::CWindowWnd& window) override;
  void OnWindowShown(ui::CWindowWnd& window, bool shown) override;
  void OnWindowMoved(ui::CWindowWnd& window, const ui::UiRect& rect) override;
  void OnWindowDestroyed(ui::CWindowWnd& window) override;
  void OnModalBegin(ui::CWindowWnd& window) override;
  void OnControlCreated(ui::CControlUI& control) override;
  void OnControlDestroyed(ui::CControlUI& control) override;
  void OnControlInvalidated(ui::CControlUI& control) override;
  void OnControlGeometryChanged(ui::CControlUI& control) override;
  void OnLayoutDone(ui::CPaintManagerUI& manager) override;
  void OnFocusChanged(ui::CPaintManagerUI& manager, ui::CControlUI* focus) override;

private:
  void SyncTree(ui::CControlUI& control);
  void FixTabOrder(ui::CControlUI& root);

  ui::CMessageLoop& loop_;
  QHash<const ui::CWindowWnd*, WindowWidget*> windows_;
  QHash<const ui::CControlUI*, ControlWidget*> controls_;
  // Windows whose tree changed since their last tab-order pass.
  QSet<const ui::CPaintManagerUI*> treeChanged_;
};

} // namespace quorvex::frontend
