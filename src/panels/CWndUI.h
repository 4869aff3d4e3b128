#pragma once

// CWndUI ("Wnd"): a place in the control tree for a native child widget that the
// front end owns (a video view, a browser). Whenever the control moves or its
// visibility changes, the hosted widget is told the control's rectangle (window
// pixels) and whether to show.

#include "ui/Control.h"

namespace quorvex::panels {

// Implemented by the front end for the widget it hosts.
class INativeChildHost {
public:
  // Move to `rect` without activating or raising the widget; show or hide it.
  virtual void Place(const ui::UiRect& rect, bool visible) = 0;

protected:
  virtual ~INativeChildHost() = default;
};

class CWndUI : public ui::CControlUI {
public:
  std::string_view GetClass() const override;

  // Hosts `host` (null: none) and places it at once.
  void Attach(INativeChildHost* host);
  INativeChildHost* GetHost() const { return host_; }

  void SetPos(const ui::UiRect& rect) override;
  void SetVisible(bool visible) override;

private:
  void PlaceHost();

  INativeChildHost* host_ = nullptr;
};

} // namespace quorvex::panels
