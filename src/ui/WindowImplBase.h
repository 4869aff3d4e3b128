#pragma once

// WindowImplBase: a window built from a skin file. A program's window derives from it
// and supplies the skin file and class name, and reacts to what happens:
//
//   InitWindow()          the skin is built and attached (during Create)
//   Notify(msg)           every notification of the window's controls; "windowinit"
//                         arrives on the first loop pass after Create
//   HandleCustomMessage   every window message first; set `handled` to stop the
//                         default handling
//   CreateControl(class)  skin elements the toolkit does not know (null: ask the
//                         control factory)
//   OnFinalMessage        after destruction; the object may delete itself here
//
// The skin's <Window size="w,h"> sizes a window created with a zero size (scaled by
// the DPI). Resizing raises "windowsize" (asynchronously) when the size changed.

#include "ui/DialogBuilder.h"
#include "ui/PaintManager.h"
#include "ui/WindowWnd.h"

#include <memory>
#include <string>

namespace quorvex::ui {

// Posted to itself by a new window; its handling raises "windowinit".
inline constexpr std::uint32_t kMsgWindowInit = 0x7F00;

class WindowImplBase : public CWindowWnd, public INotifyUI, public IDialogBuilderCallback {
public:
  WindowImplBase();
  ~WindowImplBase() override;

  // The window's paint manager; null before Create and after destruction.
  CPaintManagerUI* GetPaintManager() const { return manager_.get(); }
  // Shorthands for the paint manager's FindControl.
  CControlUI* FindControl(std::string_view name) const;
  template <class T> T* FindControlAs(std::string_view name) const {
    return manager_ ? manager_->FindControlAs<T>(name) : nullptr;
  }

  virtual std::string GetSkinFile() = 0;
  virtual void InitWindow() {}
  void Notify(TNotifyUI& /*msg*/) override {}
  virtual LResult HandleCustomMessage(std::uint32_t msg, WParam wParam, LParam lParam,
                                      bool& handled);
  std::unique_ptr<CControlUI> CreateControl(std::string_view className) override;

protected:
  LResult HandleMessage(std::uint32_t msg, WParam wParam, LParam lParam) override;
  bool OnCreate() override;
  void OnDestroyed() override;
  bool CanDestroyNow() const override;
  void OnSized() override;

private:
  std::unique_ptr<CPaintManagerUI> manager_;
  bool initSent_ = false;
};

} // namespace quorvex::ui
