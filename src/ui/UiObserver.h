#pragma once

// The seam to whatever shows the toolkit's windows (the Qt front end; nothing in the
// headless build). One observer per message loop sees every window and control
// change and mirrors it: a widget per control, geometry from GetPos(), appearance from
// the control's properties and kept attributes. All calls arrive on the UI thread,
// after the change has been made. Default implementations ignore the call.

#include "ui/UiTypes.h"

namespace quorvex::ui {

class CControlUI;
class CPaintManagerUI;
class CWindowWnd;

class IUiObserver {
public:
  virtual ~IUiObserver() = default;

  // Windows.
  virtual void OnWindowCreated(CWindowWnd& /*window*/) {}
  virtual void OnWindowShown(CWindowWnd& /*window*/, bool /*shown*/) {}
  // Position or size changed (pixels, desktop coordinates).
  virtual void OnWindowMoved(CWindowWnd& /*window*/, const UiRect& /*rect*/) {}
  // Last call for the window; its tree is already gone.
  virtual void OnWindowDestroyed(CWindowWnd& /*window*/) {}
  virtual void OnModalBegin(CWindowWnd& /*window*/) {}
  virtual void OnModalEnd(CWindowWnd& /*window*/, int /*code*/) {}

  // Controls. Created = joined a window's tree (its parent is set); destroyed = left
  // it (removed or about to be deleted); do not keep the pointer after that.
  virtual void OnControlCreated(CControlUI& /*control*/) {}
  virtual void OnControlDestroyed(CControlUI& /*control*/) {}
  // State or appearance changed (text, visibility, images, selection, value...).
  virtual void OnControlInvalidated(CControlUI& /*control*/) {}
  // The layout gave the control a new rectangle.
  virtual void OnControlGeometryChanged(CControlUI& /*control*/) {}
  // A layout pass of the window finished.
  virtual void OnLayoutDone(CPaintManagerUI& /*manager*/) {}
  virtual void OnFocusChanged(CPaintManagerUI& /*manager*/, CControlUI* /*focus*/) {}
};

} // namespace quorvex::ui
