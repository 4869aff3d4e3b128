#include "ui/WindowWnd.h"

#include "ui/MessageLoop.h"
#include "ui/UiObserver.h"

#include <algorithm>

namespace quorvex::ui {

CWindowWnd::CWindowWnd() = default;

CWindowWnd::~CWindowWnd() {
  DestroyNow();
}

WindowHandle CWindowWnd::Create(const UiContext& context, WindowHandle parent,
                                std::string_view caption, std::uint32_t style,
                                std::uint32_t exStyle, int x, int y, int cx, int cy) {
  if (handle_ != kNoWindow) {
    return handle_;
  }
  if (context.loop == nullptr || context.resources == nullptr) {
    return kNoWindow;
  }
  context_ = context;
  parent_ = parent;
  caption_ = std::string(caption);
  style_ = style;
  exStyle_ = exStyle;
  rect_ = {x, y, x + std::max(0, cx), y + std::max(0, cy)};
  handle_ = context_.loop->RegisterWindow(this);
  if (IUiObserver* o = context_.loop->GetObserver()) {
    o->OnWindowCreated(*this);
  }
  if (!OnCreate()) {
    const WindowHandle h = handle_;
    context_.loop->UnregisterWindow(h);
    OnDestroyed();
    if (IUiObserver* o = context_.loop->GetObserver()) {
      o->OnWindowDestroyed(*this);
    }
    handle_ = kNoWindow;
    return kNoWindow;
  }
  OnSized();
  if ((style & kStyleVisible) != 0) {
    ShowWindow(true);
  }
  return handle_;
}

void CWindowWnd::ShowWindow(bool show, bool) {
  if (handle_ == kNoWindow || show == visible_) {
    return;
  }
  visible_ = show;
  if (IUiObserver* o = context_.loop->GetObserver()) {
    o->OnWindowShown(*this, show);
  }
}

int CWindowWnd::ShowModal() {
  if (handle_ == kNoWindow || modal_) {
    return -1;
  }
  auto state = std::make_shared<ModalState>();
  modal_ = state;
  CMessageLoop* loop = context_.loop;
  ShowWindow(true);
  if (IUiObserver* o = loop->GetObserver()) {
    o->OnModalBegin(*this);
  }
  loop->RunUntil([state] { return state->done; });
  // The window may be gone (and deleted) by now; only the shared state is safe.
  if (!state->done) {
    modal_.reset();
    return -1;
  }
  return state->code;
}

bool CWindowWnd::IsModal() const {
  return modal_ != nullptr;
}

void CWindowWnd::Close(int code) {
  if (handle_ == kNoWindow) {
    return;
  }
  if (!context_.loop->PostMessage(handle_, kMsgClose, static_cast<WParam>(code), 0)) {
    closeCode_ = code;
    DestroyWindow();
  }
}

void CWindowWnd::DestroyWindow() {
  if (handle_ == kNoWindow || destroying_) {
    return;
  }
  if (!CanDestroyNow() &&
      context_.loop->PostMessage(handle_, kMsgClose, static_cast<WParam>(closeCode_), 0)) {
    return;
  }
  DestroyNow();
}

void CWindowWnd::DestroyNow() {
  if (handle_ == kNoWindow || destroying_) {
    return;
  }
  destroying_ = true;
  const WindowHandle h = handle_;
  CMessageLoop* loop = context_.loop;
  // Refuse further messages first, so a worker blocked in SendMessage is released
  // before the destroy handler (which may wait for that worker) runs.
  loop->UnregisterWindow(h);
  HandleMessage(kMsgDestroy, 0, 0);
  OnDestroyed();
  visible_ = false;
  if (auto state = modal_) {
    state->code = closeCode_;
    state->done = true;
    modal_.reset();
    if (IUiObserver* o = loop->GetObserver()) {
      o->OnModalEnd(*this, state->code);
    }
  }
  if (IUiObserver* o = loop->GetObserver()) {
    o->OnWindowDestroyed(*this);
  }
  handle_ = kNoWindow;
  destroying_ = false;
  loop->RequestPass();
  OnFinalMessage(h);
}

void CWindowWnd::CenterWindow() {
  if (handle_ == kNoWindow) {
    return;
  }
  UiRect area = context_.loop->GetWorkArea();
  if (CWindowWnd* parent = context_.loop->FindWindow(parent_)) {
    area = parent->GetWindowRect();
  }
  const int w = rect_.Width();
  const int h = rect_.Height();
  const int left = area.left + (area.Width() - w) / 2;
  const int top = area.top + (area.Height() - h) / 2;
  MoveWindow({left, top, left + w, top + h});
}

void CWindowWnd::MoveWindow(const UiRect& rect) {
  if (rect == rect_) {
    return;
  }
  const bool resized = rect.Width() != rect_.Width() || rect.Height() != rect_.Height();
  rect_ = rect;
  if (handle_ != kNoWindow) {
    if (IUiObserver* o = context_.loop->GetObserver()) {
      o->OnWindowMoved(*this, rect_);
    }
    if (resized) {
      OnSized();
    }
  }
}

void CWindowWnd::ResizeClient(int cx, int cy) {
  MoveWindow({rect_.left, rect_.top, rect_.left + std::max(0, cx), rect_.top + std::max(0, cy)});
}

LResult CWindowWnd::SendMessage(std::uint32_t msg, WParam wParam, LParam lParam) {
  if (context_.loop == nullptr) {
    return 0;
  }
  return context_.loop->SendMessage(handle_, msg, wParam, lParam).result;
}

bool CWindowWnd::PostMessage(std::uint32_t msg, WParam wParam, LParam lParam) {
  return context_.loop != nullptr && context_.loop->PostMessage(handle_, msg, wParam, lParam);
}

bool CWindowWnd::SetTimer(std::uint32_t id, std::uint32_t elapseMs) {
  if (handle_ == kNoWindow) {
    return false;
  }
  context_.loop->SetTimer(nullptr, nullptr, handle_, id, elapseMs);
  return true;
}

bool CWindowWnd::KillTimer(std::uint32_t id) {
  return handle_ != kNoWindow && context_.loop->KillTimer(nullptr, nullptr, handle_, id);
}

LResult CWindowWnd::DispatchMessage(std::uint32_t msg, WParam wParam, LParam lParam) {
  return HandleMessage(msg, wParam, lParam);
}

LResult CWindowWnd::HandleMessage(std::uint32_t msg, WParam wParam, LParam) {
  if (msg == kMsgClose) {
    closeCode_ = static_cast<int>(wParam);
    DestroyWindow();
  }
  return 0;
}

} // namespace quorvex::ui
