#pragma once

// CWindowWnd: a top-level window of the toolkit. Headless it is a rectangle, a
// visible flag, a caption and a message handler; the front end shows it.
//
// Life cycle: Create registers the window with the message loop and returns its
// handle; Close(code) asks it to close (a posted message); when the close is handled
// the window is destroyed: messages to it are refused from then on (waiting
// SendMessage calls return as not delivered), HandleMessage sees kMsgDestroy, the
// observer is told, and OnFinalMessage runs last (the object may delete itself there).
// UI thread only, except that other threads may use the loop's PostMessage and
// SendMessage with the handle. A window is destroyed before its loop and resources.

#include "ui/UiTypes.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace quorvex::ui {

class CMessageLoop;
class CResourceManager;

// What a window needs from the program: the UI thread's loop and the shared resources.
struct UiContext {
  CMessageLoop* loop = nullptr;
  CResourceManager* resources = nullptr;
};

// Style bits the toolkit reads; the rest are kept for the front end.
inline constexpr std::uint32_t kStyleVisible = 0x10000000u;
inline constexpr std::uint32_t kStyleToolWindow = 0x00000080u; // extended style

class CWindowWnd {
public:
  CWindowWnd();
  virtual ~CWindowWnd();
  CWindowWnd(const CWindowWnd&) = delete;
  CWindowWnd& operator=(const CWindowWnd&) = delete;

  // Creates the window (pixels, desktop coordinates). Returns its handle, or kNoWindow
  // when the window could not be created (for a skinned window: the skin failed).
  WindowHandle Create(const UiContext& context, WindowHandle parent, std::string_view caption,
                      std::uint32_t style, std::uint32_t exStyle, int x = 0, int y = 0, int cx = 0,
                      int cy = 0);
  WindowHandle GetHWND() const { return handle_; }
  WindowHandle GetParentHWND() const { return parent_; }
  bool IsCreated() const { return handle_ != kNoWindow; }
  CMessageLoop* GetLoop() const { return context_.loop; }
  const UiContext& GetContext() const { return context_; }
  virtual std::string_view GetWindowClassName() const = 0;

  const std::string& GetCaption() const { return caption_; }
  std::uint32_t GetStyle() const { return style_; }
  std::uint32_t GetExStyle() const { return exStyle_; }

  void ShowWindow(bool show = true, bool takeFocus = true);
  bool IsWindowVisible() const { return visible_; }
  // Shows the window and runs the loop until it closes; returns the close code (-1
  // when the loop quit first or the window does not exist).
  int ShowModal();
  bool IsModal() const;
  // Asks the window to close with `code` (handled on the next loop pass).
  void Close(int code = 1);
  // Destroys the window now (see the life cycle above). Called from inside one of the
  // window's own notification handlers it closes on the next pass instead, so the
  // handler's caller never runs on a destroyed tree.
  void DestroyWindow();

  // Centres on the parent window, or on the desktop work area without one.
  void CenterWindow();
  const UiRect& GetWindowRect() const { return rect_; }
  void MoveWindow(const UiRect& rect);
  void ResizeClient(int cx, int cy);
  void SetIcon(int id) { icon_ = id; }
  int GetIcon() const { return icon_; }

  // Messages to this window through its loop.
  LResult SendMessage(std::uint32_t msg, WParam wParam = 0, LParam lParam = 0);
  bool PostMessage(std::uint32_t msg, WParam wParam = 0, LParam lParam = 0);
  // Window timers: kMsgTimer with the id in wParam, every `elapseMs`, until KillTimer.
  bool SetTimer(std::uint32_t id, std::uint32_t elapseMs);
  bool KillTimer(std::uint32_t id);

  // Called by the loop for every message; runs HandleMessage.
  LResult DispatchMessage(std::uint32_t msg, WParam wParam, LParam lParam);

protected:
  // The window procedure. The default closes on kMsgClose (wParam = code).
  virtual LResult HandleMessage(std::uint32_t msg, WParam wParam, LParam lParam);
  // Creation steps for subclasses: false makes Create fail.
  virtual bool OnCreate() { return true; }
  // The window's content goes away (before the observer hears of the destruction).
  virtual void OnDestroyed() {}
  // False while destruction would pull the tree from under running handlers.
  virtual bool CanDestroyNow() const { return true; }
  // The client size changed.
  virtual void OnSized() {}
  virtual void OnFinalMessage(WindowHandle /*window*/) {}
  // Destruction without the handler check (destructors use it).
  void DestroyNow();

private:
  struct ModalState {
    bool done = false;
    int code = -1;
  };

  UiContext context_;
  WindowHandle handle_ = kNoWindow;
  WindowHandle parent_ = kNoWindow;
  std::string caption_;
  std::uint32_t style_ = 0;
  std::uint32_t exStyle_ = 0;
  UiRect rect_;
  std::shared_ptr<ModalState> modal_;
  int closeCode_ = 0;
  int icon_ = 0;
  bool visible_ = false;
  bool destroying_ = false;
};

} // namespace quorvex::ui
