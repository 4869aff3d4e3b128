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
#include <vector>

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

  // Widgets for the program's own control classes: each factory is asked in the
  // order added and returns a widget (parented to `parent`) or null; the front end's
  // own widgets serve the rest.
  using WidgetFactory =
      std::function<ControlWidget*(QtFrontend&, ui::CControlUI&, QWidget* parent)>;
  void AddWidgetFactory(WidgetFactory factory) { factories_.push_back(std::move(factory)); }

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
  std::vector<WidgetFactory> factories_;
  QHash<const ui::CWindowWnd*, WindowWidget*> windows_;
  QHash<const ui::CControlUI*, ControlWidget*> controls_;
  // Windows whose tree changed since their last tab-order pass.
  QSet<const ui::CPaintManagerUI*> treeChanged_;
};

} // namespace quorvex::frontend
