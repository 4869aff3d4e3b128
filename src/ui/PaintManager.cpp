#include "ui/PaintManager.h"

#include "platform/DebugOutput.h"
#include "ui/MessageLoop.h"
#include "ui/Option.h"
#include "ui/ResourceManager.h"
#include "ui/UiObserver.h"

#include <algorithm>
#include <array>

namespace quorvex::ui {

CPaintManagerUI::CPaintManagerUI(CMessageLoop& loop, CResourceManager& resources)
    : loop_(loop), resources_(resources) {
  loop_.RegisterManager(this);
  resources_.AddManager(this);
}

CPaintManagerUI::~CPaintManagerUI() {
  destroying_ = true;
  *aliveToken_ = false;
  if (root_) {
    root_->SetManager(nullptr, nullptr, false);
  }
  root_.reset();
  reap_.clear();
  loop_.KillTimersOf(this);
  loop_.UnregisterManager(this);
  resources_.RemoveManager(this);
}

IUiObserver* CPaintManagerUI::GetObserver() const {
  return loop_.GetObserver();
}

const std::string& CPaintManagerUI::GetResourcePath() const {
  return resources_.GetResourcePath();
}

void CPaintManagerUI::AttachDialog(std::unique_ptr<CControlUI> root) {
  if (root_) {
    root_->SetManager(nullptr, nullptr, false);
    root_.reset();
  }
  root_ = std::move(root);
  if (root_) {
    root_->SetManager(this, nullptr, true);
  }
  NeedUpdate();
}

CControlUI* CPaintManagerUI::FindControl(std::string_view name) const {
  const auto it = names_.find(name);
  return it != names_.end() ? it->second.control : nullptr;
}

CControlUI* CPaintManagerUI::FindControl(UiPoint point) {
  UpdateLayout();
  return root_ ? root_->FindControlAt(point) : nullptr;
}

CControlUI* CPaintManagerUI::FindSubControlByName(CControlUI* parent, std::string_view name) {
  if (parent == nullptr) {
    return nullptr;
  }
  for (int i = 0; i < parent->GetCount(); ++i) {
    CControlUI* child = parent->GetItemAt(i);
    if (child->GetName() == name) {
      return child;
    }
    if (CControlUI* found = FindSubControlByName(child, name)) {
      return found;
    }
  }
  return nullptr;
}

bool CPaintManagerUI::AddNotifier(INotifyUI* notifier) {
  if (notifier == nullptr ||
      std::find(notifiers_.begin(), notifiers_.end(), notifier) != notifiers_.end()) {
    return false;
  }
  notifiers_.push_back(notifier);
  return true;
}

bool CPaintManagerUI::RemoveNotifier(INotifyUI* notifier) {
  const auto it = std::find(notifiers_.begin(), notifiers_.end(), notifier);
  if (it == notifiers_.end()) {
    return false;
  }
  // Replace with null during a dispatch so the running loop's positions stay valid.
  *it = nullptr;
  if (dispatchDepth_ == 0) {
    notifiers_.erase(std::remove(notifiers_.begin(), notifiers_.end(), nullptr), notifiers_.end());
  }
  return true;
}

void CPaintManagerUI::SendNotify(CControlUI* control, std::string_view type, WParam wParam,
                                 LParam lParam, bool async) {
  TNotifyUI msg;
  msg.type = std::string(type);
  msg.sender = control;
  msg.wParam = wParam;
  msg.lParam = lParam;
  SendNotify(msg, async);
}

void CPaintManagerUI::SendNotify(TNotifyUI& msg, bool async) {
  if (async) {
    // The sender may leave the tree before the pass; deliver only while it is still
    // this window's control under the same name.
    CControlUI* sender = msg.sender;
    std::string name = sender != nullptr ? sender->GetName() : std::string();
    loop_.PostTask([this, msg, name = std::move(name), alive = aliveToken_]() mutable {
      if (!*alive) {
        return;
      }
      if (msg.sender != nullptr && FindControl(name) != msg.sender) {
        return;
      }
      SendNotify(msg, false);
    });
    return;
  }
  DispatchScope scope(this);
  // Notifiers added during the dispatch wait for the next notification.
  const std::size_t count = notifiers_.size();
  for (std::size_t i = 0; i < count && i < notifiers_.size(); ++i) {
    if (INotifyUI* n = notifiers_[i]) {
      n->Notify(msg);
    }
  }
}

bool CPaintManagerUI::SetTimer(CControlUI* control, std::uint32_t id, std::uint32_t elapseMs) {
  if (control == nullptr || control->GetManager() != this) {
    return false;
  }
  loop_.SetTimer(this, control, kNoWindow, id, elapseMs);
  return true;
}

bool CPaintManagerUI::KillTimer(CControlUI* control, std::uint32_t id) {
  return loop_.KillTimer(this, control, kNoWindow, id);
}

void CPaintManagerUI::KillTimer(CControlUI* control) {
  loop_.KillTimersOf(control);
}

void CPaintManagerUI::SetFocus(CControlUI* control) {
  if (control == focus_) {
    return;
  }
  if (control != nullptr && (control->GetManager() != this || !control->IsFocusable() ||
                             !control->IsShown() || !control->IsEnabledInTree())) {
    return;
  }
  DispatchScope scope(this);
  CControlUI* old = focus_;
  focus_ = control;
  if (old != nullptr) {
    TEventUI ev;
    ev.type = UiEvent::kKillFocus;
    ev.sender = old;
    old->Invalidate();
    old->DoEvent(ev);
  }
  // A killfocus handler may have moved the focus again; that choice stands.
  if (focus_ != control) {
    return;
  }
  if (control != nullptr) {
    TEventUI ev;
    ev.type = UiEvent::kSetFocus;
    ev.sender = control;
    control->Invalidate();
    control->DoEvent(ev);
  }
  if (IUiObserver* o = GetObserver()) {
    o->OnFocusChanged(*this, focus_);
  }
}

bool CPaintManagerUI::IsAcceptedDPI(int dpi) {
  constexpr std::array<int, 7> kAccepted{48, 72, 96, 120, 144, 168, 192};
  return std::find(kAccepted.begin(), kAccepted.end(), dpi) != kAccepted.end();
}

bool CPaintManagerUI::SetDPI(int dpi) {
  bool ok = true;
  if (!IsAcceptedDPI(dpi)) {
    platform::DebugPrintf("window DPI %d not accepted, 96 used", dpi);
    dpi = 96;
    ok = false;
  }
  if (dpi != dpi_) {
    dpi_ = dpi;
    NeedUpdate();
    ResetDPIAssets();
  }
  return ok;
}

int CPaintManagerUI::Scale(int value) const {
  if (dpi_ == 96) {
    return value;
  }
  const long long scaled = static_cast<long long>(value) * dpi_;
  return static_cast<int>(scaled >= 0 ? (scaled + 48) / 96 : -((-scaled + 48) / 96));
}

UiRect CPaintManagerUI::Scale(const UiRect& r) const {
  return {Scale(r.left), Scale(r.top), Scale(r.right), Scale(r.bottom)};
}

void CPaintManagerUI::ResetDPIAssets() {
  InvalidateAll();
}

void CPaintManagerUI::SetClientSize(UiSize pixels) {
  if (pixels == clientSize_) {
    return;
  }
  clientSize_ = pixels;
  NeedUpdate();
}

void CPaintManagerUI::NeedUpdate() {
  if (!needUpdate_) {
    needUpdate_ = true;
    loop_.RequestPass();
  }
}

void CPaintManagerUI::UpdateLayout() {
  if (!needUpdate_ || destroying_) {
    return;
  }
  needUpdate_ = false;
  if (root_) {
    // Containers lay out their children on every SetPos, so this is a full pass even
    // when the root's rectangle stays the same.
    root_->SetPos(UiRect{0, 0, clientSize_.cx, clientSize_.cy});
  }
  if (IUiObserver* o = GetObserver()) {
    o->OnLayoutDone(*this);
  }
}

void CPaintManagerUI::AddFont(const FontInfo& font, bool isDefault) {
  auto it = std::find_if(fonts_.begin(), fonts_.end(),
                         [&](const FontInfo& f) { return f.id == font.id; });
  if (it != fonts_.end()) {
    *it = font;
  } else {
    fonts_.push_back(font);
  }
  if (isDefault) {
    defaultFont_ = font.id;
  }
  InvalidateAll();
}

const FontInfo* CPaintManagerUI::GetFont(int id) const {
  for (const auto& f : fonts_) {
    if (f.id == id) {
      return &f;
    }
  }
  return resources_.GetSharedFont(id);
}

const FontInfo* CPaintManagerUI::GetDefaultFont() const {
  if (defaultFont_ >= 0) {
    if (const FontInfo* f = GetFont(defaultFont_)) {
      return f;
    }
  }
  return resources_.GetSharedDefaultFont();
}

void CPaintManagerUI::RemoveAllFonts() {
  fonts_.clear();
  defaultFont_ = -1;
  InvalidateAll();
}

void CPaintManagerUI::AddStyle(std::string name, std::string attributeList) {
  styles_[std::move(name)] = std::move(attributeList);
}

const std::string* CPaintManagerUI::GetStyle(std::string_view name) const {
  const auto it = styles_.find(name);
  return it != styles_.end() ? &it->second : resources_.GetSharedStyle(name);
}

void CPaintManagerUI::AddDefaultAttributeList(std::string className, std::string attributeList) {
  defaults_[std::move(className)] = std::move(attributeList);
}

const std::string* CPaintManagerUI::GetDefaultAttributeList(std::string_view className) const {
  const auto it = defaults_.find(className);
  return it != defaults_.end() ? &it->second : nullptr;
}

void CPaintManagerUI::SetWindowAttribute(std::string name, std::string value) {
  windowAttributes_[std::move(name)] = std::move(value);
}

const std::string* CPaintManagerUI::GetWindowAttribute(std::string_view name) const {
  const auto it = windowAttributes_.find(name);
  return it != windowAttributes_.end() ? &it->second : nullptr;
}

void CPaintManagerUI::RegisterName(CControlUI* control, const std::string& name) {
  if (name.empty()) {
    return;
  }
  NameEntry& e = names_[name];
  if (e.control == nullptr) {
    e.control = control;
  }
  ++e.count;
}

void CPaintManagerUI::UnregisterName(CControlUI* control, const std::string& name) {
  if (name.empty()) {
    return;
  }
  const auto it = names_.find(name);
  if (it == names_.end()) {
    return;
  }
  if (--it->second.count <= 0) {
    names_.erase(it);
    return;
  }
  if (it->second.control == control) {
    // Another control has the same name; the first of the tree takes over.
    it->second.control = nullptr;
    struct Walk {
      static CControlUI* Find(CControlUI* c, const std::string& n, CControlUI* skip) {
        if (c == nullptr) {
          return nullptr;
        }
        if (c != skip && c->GetName() == n) {
          return c;
        }
        for (int i = 0; i < c->GetCount(); ++i) {
          if (CControlUI* f = Find(c->GetItemAt(i), n, skip)) {
            return f;
          }
        }
        return nullptr;
      }
    };
    CControlUI* next = Walk::Find(root_.get(), name, control);
    if (next != nullptr && next->GetManager() == this) {
      it->second.control = next;
    } else {
      names_.erase(it);
    }
  }
}

void CPaintManagerUI::OnControlAttached(CControlUI* control) {
  RegisterName(control, control->GetName());
  if (IUiObserver* o = GetObserver()) {
    o->OnControlCreated(*control);
  }
}

void CPaintManagerUI::OnControlDetached(CControlUI* control) {
  UnregisterName(control, control->GetName());
  loop_.KillTimersOf(control);
  if (focus_ == control) {
    focus_ = nullptr;
  }
  if (IUiObserver* o = GetObserver()) {
    o->OnControlDestroyed(*control);
  }
  NeedUpdate();
}

void CPaintManagerUI::OnControlRenamed(CControlUI* control, const std::string& oldName) {
  UnregisterName(control, oldName);
  RegisterName(control, control->GetName());
}

void CPaintManagerUI::OnControlInvalidated(CControlUI* control) {
  if (IUiObserver* o = GetObserver()) {
    o->OnControlInvalidated(*control);
  }
}

void CPaintManagerUI::OnControlGeometry(CControlUI* control) {
  if (IUiObserver* o = GetObserver()) {
    o->OnControlGeometryChanged(*control);
  }
}

void CPaintManagerUI::AddOptionToGroup(std::string_view group, COptionUI* option) {
  auto& members = optionGroups_[std::string(group)];
  if (std::find(members.begin(), members.end(), option) == members.end()) {
    members.push_back(option);
  }
}

void CPaintManagerUI::RemoveOptionFromGroup(std::string_view group, COptionUI* option) {
  const auto it = optionGroups_.find(group);
  if (it == optionGroups_.end()) {
    return;
  }
  auto& members = it->second;
  members.erase(std::remove(members.begin(), members.end(), option), members.end());
  if (members.empty()) {
    optionGroups_.erase(it);
  }
}

const std::vector<COptionUI*>* CPaintManagerUI::GetOptionGroup(std::string_view group) const {
  const auto it = optionGroups_.find(group);
  return it != optionGroups_.end() ? &it->second : nullptr;
}

void CPaintManagerUI::ReapLater(std::unique_ptr<CControlUI> control) {
  reap_.push_back(std::move(control));
}

void CPaintManagerUI::Reap() {
  while (!reap_.empty()) {
    auto doomed = std::move(reap_);
    reap_.clear();
    doomed.clear();
  }
  notifiers_.erase(std::remove(notifiers_.begin(), notifiers_.end(), nullptr), notifiers_.end());
}

CPaintManagerUI::DispatchScope::DispatchScope(CPaintManagerUI* manager) : manager_(manager) {
  if (manager_ != nullptr) {
    ++manager_->dispatchDepth_;
  }
}

CPaintManagerUI::DispatchScope::~DispatchScope() {
  if (manager_ != nullptr && --manager_->dispatchDepth_ == 0) {
    manager_->Reap();
  }
}

void CPaintManagerUI::InvalidateAll() {
  IUiObserver* o = GetObserver();
  if (o == nullptr || !root_) {
    return;
  }
  struct Walk {
    static void Run(CControlUI* c, IUiObserver* obs) {
      obs->OnControlInvalidated(*c);
      for (int i = 0; i < c->GetCount(); ++i) {
        Run(c->GetItemAt(i), obs);
      }
    }
  };
  Walk::Run(root_.get(), o);
}

} // namespace quorvex::ui
