#include "ui/UiDriver.h"

#include "ui/ColorPalette.h"
#include "ui/Combo.h"
#include "ui/Edit.h"
#include "ui/List.h"
#include "ui/MenuWnd.h"
#include "ui/MessageLoop.h"
#include "ui/Option.h"
#include "ui/PaintManager.h"
#include "ui/Progress.h"

namespace quorvex::ui {

UiDriver::UiDriver(CPaintManagerUI& manager) : manager_(manager), loop_(manager.GetLoop()) {}

UiDriver::UiDriver(WindowImplBase& window)
    : manager_(*window.GetPaintManager()), loop_(manager_.GetLoop()) {}

CControlUI* UiDriver::Find(std::string_view name) const {
  return manager_.FindControl(name);
}

bool UiDriver::Fail(std::string why) {
  error_ = std::move(why);
  return false;
}

bool UiDriver::Finish(bool ok) {
  Pump();
  return ok;
}

void UiDriver::Pump() {
  // The pass lays out every window; the manager itself may be gone after it (a
  // handler closed the window).
  loop_.ProcessPending();
}

CControlUI* UiDriver::Operable(std::string_view name) {
  error_.clear();
  CControlUI* c = Find(name);
  if (c == nullptr) {
    Fail("no control named \"" + std::string(name) + "\"");
    return nullptr;
  }
  if (!c->IsShown()) {
    Fail("\"" + std::string(name) + "\" is hidden");
    return nullptr;
  }
  if (!c->IsEnabledInTree()) {
    Fail("\"" + std::string(name) + "\" is disabled");
    return nullptr;
  }
  return c;
}

namespace {

void SendMouse(CControlUI* c, UiEvent type, std::uint32_t keyState = 0) {
  TEventUI ev;
  ev.type = type;
  ev.sender = c;
  const UiRect& r = c->GetPos();
  ev.point = {r.left + r.Width() / 2, r.top + r.Height() / 2};
  ev.keyState = keyState;
  c->DoEvent(ev);
}

} // namespace

bool UiDriver::Click(std::string_view name) {
  Pump();
  CControlUI* c = Operable(name);
  if (c == nullptr) {
    return false;
  }
  return Act([&]() -> bool {
    if (c->IsFocusable()) {
      c->SetFocus();
    }
    if (dynamic_cast<IListItemUI*>(c) != nullptr) {
      SendMouse(c, UiEvent::kButtonDown);
      SendMouse(c, UiEvent::kButtonUp);
      return (true);
    }
    return (c->Activate() || Fail("\"" + std::string(name) + "\" did not react"));
  });
}

bool UiDriver::ClickAt(UiPoint point) {
  CControlUI* c = manager_.FindControl(point);
  if (c == nullptr) {
    return Fail("nothing at the point");
  }
  if (!c->GetName().empty()) {
    return Click(c->GetName());
  }
  return Act([&]() -> bool { return c->IsEnabledInTree() && c->Activate(); });
}

bool UiDriver::DoubleClick(std::string_view name) {
  CControlUI* c = Operable(name);
  if (c == nullptr) {
    return false;
  }
  return Act([&]() -> bool {
    SendMouse(c, UiEvent::kButtonDown);
    SendMouse(c, UiEvent::kButtonUp);
    SendMouse(c, UiEvent::kDoubleClick);
    return (true);
  });
}

bool UiDriver::SelectItem(std::string_view name, int index) {
  CControlUI* c = Operable(name);
  if (c == nullptr) {
    return false;
  }
  return Act([&]() -> bool {
    if (auto* combo = dynamic_cast<CComboUI*>(c)) {
      return (combo->UserSelectItem(index) || Fail("row " + std::to_string(index) + " of \"" +
                                                   std::string(name) + "\" cannot be picked"));
    }
    if (auto* list = dynamic_cast<CListUI*>(c)) {
      IListItemUI* row = list->GetRow(index);
      if (row == nullptr || !row->GetControl()->IsVisible() || !row->GetControl()->IsEnabled()) {
        return Fail("row " + std::to_string(index) + " of \"" + std::string(name) +
                    "\" cannot be picked");
      }
      SendMouse(row->GetControl(), UiEvent::kButtonDown);
      SendMouse(row->GetControl(), UiEvent::kButtonUp);
      return (true);
    }
    return Fail("\"" + std::string(name) + "\" is not a combo or list");
  });
}

bool UiDriver::SelectItemByText(std::string_view name, std::string_view text) {
  CControlUI* c = Find(name);
  int rows = 0;
  if (auto* combo = dynamic_cast<CComboUI*>(c)) {
    rows = combo->GetRowCount();
  } else if (auto* list = dynamic_cast<CListUI*>(c)) {
    rows = list->GetRowCount();
  }
  for (int i = 0; i < rows; ++i) {
    if (RowAt(*c, i)->GetControl()->GetText() == text) {
      return SelectItem(name, i);
    }
  }
  return Fail("no row with text \"" + std::string(text) + "\" in \"" + std::string(name) + "\"");
}

bool UiDriver::Focus(std::string_view name) {
  CControlUI* c = Operable(name);
  if (c == nullptr) {
    return false;
  }
  if (!c->IsFocusable()) {
    return Fail("\"" + std::string(name) + "\" does not take the focus");
  }
  c->SetFocus();
  return Finish(c->IsFocused());
}

void UiDriver::Blur() {
  manager_.SetFocus(nullptr);
  Pump();
}

bool UiDriver::Type(std::string_view name, std::string_view text) {
  if (!Focus(name)) {
    return false;
  }
  auto* edit = dynamic_cast<CEditUI*>(Find(name));
  if (edit == nullptr) {
    return Fail("\"" + std::string(name) + "\" is not an edit");
  }
  if (edit->IsReadOnly()) {
    return Fail("\"" + std::string(name) + "\" is read-only");
  }
  return Act([&]() -> bool {
    // One character at a time, as keys arrive.
    std::size_t i = 0;
    while (i < text.size()) {
      std::size_t len = 1;
      while (i + len < text.size() && (static_cast<unsigned char>(text[i + len]) & 0xC0) == 0x80) {
        ++len;
      }
      edit->UserInsertText(text.substr(i, len));
      i += len;
    }
    return (true);
  });
}

bool UiDriver::ReplaceText(std::string_view name, std::string_view text) {
  if (!Focus(name)) {
    return false;
  }
  auto* edit = dynamic_cast<CEditUI*>(Find(name));
  if (edit == nullptr || edit->IsReadOnly()) {
    return Fail("\"" + std::string(name) + "\" is not a writable edit");
  }
  Act([&]() -> bool {
    edit->UserSetText("");
    return true;
  });
  return Type(name, text);
}

bool UiDriver::PressReturn(std::string_view name) {
  CControlUI* c = Operable(name);
  if (c == nullptr) {
    return false;
  }
  return Act([&]() -> bool {
    TEventUI ev;
    ev.type = UiEvent::kKeyDown;
    ev.sender = c;
    ev.wParam = kKeyReturn;
    c->DoEvent(ev);
    return (true);
  });
}

bool UiDriver::SetValue(std::string_view name, int value) {
  auto* slider = dynamic_cast<CSliderUI*>(Operable(name));
  if (slider == nullptr) {
    return error_.empty() ? Fail("\"" + std::string(name) + "\" is not a slider") : false;
  }
  return Act([&]() -> bool {
    slider->UserSetValue(value);
    return (true);
  });
}

bool UiDriver::Drag(std::string_view name, const std::vector<int>& values) {
  auto* slider = dynamic_cast<CSliderUI*>(Operable(name));
  if (slider == nullptr) {
    return error_.empty() ? Fail("\"" + std::string(name) + "\" is not a slider") : false;
  }
  return Act([&]() -> bool {
    for (int v : values) {
      slider->UserDragTo(v);
    }
    slider->UserEndDrag();
    return (true);
  });
}

bool UiDriver::PickColor(std::string_view name, Argb color) {
  auto* palette = dynamic_cast<CColorPaletteUI*>(Operable(name));
  if (palette == nullptr) {
    return error_.empty() ? Fail("\"" + std::string(name) + "\" is not a colour palette") : false;
  }
  return Act([&]() -> bool { return (palette->UserPickColor(color)); });
}

bool UiDriver::MouseEnter(std::string_view name) {
  CControlUI* c = Operable(name);
  if (c == nullptr) {
    return false;
  }
  return Act([&]() -> bool {
    SendMouse(c, UiEvent::kMouseEnter);
    return (true);
  });
}

bool UiDriver::MouseLeave(std::string_view name) {
  CControlUI* c = Find(name);
  if (c == nullptr) {
    return Fail("no control named \"" + std::string(name) + "\"");
  }
  return Act([&]() -> bool {
    SendMouse(c, UiEvent::kMouseLeave);
    return (true);
  });
}

bool UiDriver::ContextMenu(std::string_view name) {
  CControlUI* c = Operable(name);
  if (c == nullptr) {
    return false;
  }
  return Act([&]() -> bool {
    SendMouse(c, UiEvent::kContextMenu);
    return (true);
  });
}

bool UiDriver::Event(std::string_view name, UiEvent type, UiPoint point, std::uint32_t keyState) {
  CControlUI* c = Operable(name);
  if (c == nullptr) {
    return false;
  }
  return Act([&]() -> bool {
    TEventUI ev;
    ev.type = type;
    ev.sender = c;
    ev.point = point;
    ev.keyState = keyState;
    c->DoEvent(ev);
    return true;
  });
}

bool UiDriver::PickMenuItem(CMenuWnd& menu, std::string_view item) {
  CMessageLoop* loop = menu.GetLoop();
  const bool ok = menu.PickItem(item);
  if (loop != nullptr) {
    loop->ProcessPending();
  }
  return ok;
}

std::string UiDriver::Text(std::string_view name) const {
  CControlUI* c = Find(name);
  return c != nullptr ? c->GetText() : std::string();
}

bool UiDriver::Shown(std::string_view name) const {
  CControlUI* c = Find(name);
  return c != nullptr && c->IsShown();
}

bool UiDriver::Enabled(std::string_view name) const {
  CControlUI* c = Find(name);
  return c != nullptr && c->IsEnabledInTree();
}

bool UiDriver::Selected(std::string_view name) const {
  CControlUI* c = Find(name);
  if (auto* option = dynamic_cast<COptionUI*>(c)) {
    return option->IsSelected();
  }
  if (auto* row = dynamic_cast<IListItemUI*>(c)) {
    return row->IsSelected();
  }
  return false;
}

int UiDriver::CurSel(std::string_view name) const {
  if (auto* owner = dynamic_cast<IListOwnerUI*>(Find(name))) {
    return owner->GetCurSel();
  }
  return -1;
}

int UiDriver::Value(std::string_view name) const {
  if (auto* progress = dynamic_cast<CProgressUI*>(Find(name))) {
    return progress->GetValue();
  }
  return 0;
}

UiRect UiDriver::Rect(std::string_view name) {
  manager_.UpdateLayout();
  CControlUI* c = Find(name);
  return c != nullptr ? c->GetPos() : UiRect{};
}

std::string UiDriver::FocusName() const {
  return manager_.GetFocus() != nullptr ? manager_.GetFocus()->GetName() : std::string();
}

NotifyRecorder::NotifyRecorder(CPaintManagerUI& manager) : manager_(manager) {
  manager_.AddNotifier(this);
}

NotifyRecorder::~NotifyRecorder() {
  manager_.RemoveNotifier(this);
}

void NotifyRecorder::Notify(TNotifyUI& msg) {
  entries_.push_back({msg.type, msg.sender != nullptr ? msg.sender->GetName() : std::string(),
                      msg.wParam, msg.lParam});
}

int NotifyRecorder::Count(std::string_view type, std::string_view sender) const {
  int n = 0;
  for (const auto& e : entries_) {
    if (e.type == type && (sender.empty() || e.sender == sender)) {
      ++n;
    }
  }
  return n;
}

std::vector<std::string> NotifyRecorder::Summary() const {
  std::vector<std::string> out;
  for (const auto& e : entries_) {
    out.push_back(e.type + ":" + e.sender);
  }
  return out;
}

} // namespace quorvex::ui
