#include "ui/WindowImplBase.h"

#include "platform/DebugOutput.h"
#include "ui/MessageLoop.h"

namespace quorvex::ui {

WindowImplBase::WindowImplBase() = default;

WindowImplBase::~WindowImplBase() {
  // Destroy while the derived parts of the window still exist.
  DestroyNow();
}

CControlUI* WindowImplBase::FindControl(std::string_view name) const {
  return manager_ ? manager_->FindControl(name) : nullptr;
}

LResult WindowImplBase::HandleCustomMessage(std::uint32_t, WParam, LParam, bool& handled) {
  handled = false;
  return 0;
}

std::unique_ptr<CControlUI> WindowImplBase::CreateControl(std::string_view) {
  return nullptr;
}

bool WindowImplBase::OnCreate() {
  manager_ = std::make_unique<CPaintManagerUI>(*GetContext().loop, *GetContext().resources);
  manager_->SetWindow(this);
  const std::string skin = GetSkinFile();
  CDialogBuilder builder;
  auto root = builder.Create(skin, this, manager_.get());
  if (!root) {
    platform::DebugPrintf("window %.*s: skin \"%s\" could not be built",
                          static_cast<int>(GetWindowClassName().size()),
                          GetWindowClassName().data(), skin.c_str());
    manager_.reset();
    return false;
  }
  manager_->AttachDialog(std::move(root));
  manager_->AddNotifier(this);
  const UiRect& r = GetWindowRect();
  if (r.Width() == 0 && r.Height() == 0) {
    const UiSize size = manager_->GetInitSize();
    MoveWindow(
        {r.left, r.top, r.left + manager_->Scale(size.cx), r.top + manager_->Scale(size.cy)});
  }
  manager_->SetClientSize({GetWindowRect().Width(), GetWindowRect().Height()});
  InitWindow();
  PostMessage(kMsgWindowInit);
  return true;
}

bool WindowImplBase::CanDestroyNow() const {
  return !manager_ || !manager_->IsDispatching();
}

void WindowImplBase::OnDestroyed() {
  manager_.reset();
}

void WindowImplBase::OnSized() {
  if (!manager_) {
    return;
  }
  const UiSize size{GetWindowRect().Width(), GetWindowRect().Height()};
  if (size == manager_->GetClientSize()) {
    return;
  }
  manager_->SetClientSize(size);
  if (initSent_ && manager_->GetRoot() != nullptr) {
    manager_->SendNotify(manager_->GetRoot(), notify::kWindowSize, 0, 0, true);
  }
}

LResult WindowImplBase::HandleMessage(std::uint32_t msg, WParam wParam, LParam lParam) {
  if (msg == kMsgWindowInit) {
    if (manager_ && !initSent_) {
      initSent_ = true;
      manager_->UpdateLayout();
      manager_->SendNotify(manager_->GetRoot(), notify::kWindowInit);
    }
    return 0;
  }
  bool handled = false;
  const LResult result = HandleCustomMessage(msg, wParam, lParam, handled);
  if (handled) {
    return result;
  }
  return CWindowWnd::HandleMessage(msg, wParam, lParam);
}

} // namespace quorvex::ui
