#pragma once

// UiDriver: operates a window's controls by name the way a user would, without a
// display, and reads their state. For tests of every window and panel.
//
// Each action checks what a user could do: the control must exist, be shown and be
// enabled (through its ancestors); otherwise the action returns false and LastError()
// says why. Actions that change what a user sees take the focus as a click would.
// After each action the loop's pending work runs (posted messages, asynchronous
// notifications, layout), so effects are visible at once. Time does not move: use the
// VirtualClock for timers.

#include "ui/Notify.h"
#include "ui/PaintManager.h"
#include "ui/UiTypes.h"

#include <string>
#include <string_view>
#include <vector>

namespace quorvex::ui {

class CControlUI;
class CMessageLoop;
class CMenuWnd;
class WindowImplBase;

class UiDriver {
public:
  explicit UiDriver(CPaintManagerUI& manager);
  explicit UiDriver(WindowImplBase& window);

  // --- actions ---
  // A click: buttons raise "click", options select or toggle, list and combo rows are
  // selected and raise "itemclick", menu items are picked.
  bool Click(std::string_view name);
  bool ClickAt(UiPoint point);
  // A double click: list rows are activated ("itemactivate").
  bool DoubleClick(std::string_view name);
  // Picks row `index` of a combo (not hidden or disabled rows) or a list.
  bool SelectItem(std::string_view name, int index);
  // Picks the first row whose displayed text is `text`.
  bool SelectItemByText(std::string_view name, std::string_view text);
  bool Focus(std::string_view name);
  // Moves the focus away from whatever has it ("killfocus").
  void Blur();
  // Focuses an edit and types `text` at its end (the edit's limits apply).
  bool Type(std::string_view name, std::string_view text);
  // Focuses an edit, clears it and types `text`.
  bool ReplaceText(std::string_view name, std::string_view text);
  bool PressReturn(std::string_view name);
  // A slider: the user sets `value` (one step, "valuechanged").
  bool SetValue(std::string_view name, int value);
  // A slider: dragged through `values` then released.
  bool Drag(std::string_view name, const std::vector<int>& values);
  bool PickColor(std::string_view name, Argb color);
  bool MouseEnter(std::string_view name);
  bool MouseLeave(std::string_view name);
  bool ContextMenu(std::string_view name);
  // Any input event for controls with their own input handling (rectangle selection,
  // panning): `point` is in window pixels.
  bool Event(std::string_view name, UiEvent type, UiPoint point, std::uint32_t keyState = 0);
  // Picks an item of an open popup menu.
  static bool PickMenuItem(CMenuWnd& menu, std::string_view item);
  // Runs what is queued on the loop and lays out.
  void Pump();

  // --- state ---
  CControlUI* Find(std::string_view name) const;
  bool Exists(std::string_view name) const { return Find(name) != nullptr; }
  std::string Text(std::string_view name) const;
  // Shown: visible itself and through every ancestor.
  bool Shown(std::string_view name) const;
  bool Enabled(std::string_view name) const;
  bool Selected(std::string_view name) const;
  int CurSel(std::string_view name) const;
  int Value(std::string_view name) const;
  UiRect Rect(std::string_view name);
  std::string FocusName() const;

  const std::string& LastError() const { return error_; }

private:
  CControlUI* Operable(std::string_view name);
  bool Fail(std::string why);
  bool Finish(bool ok);
  // Runs an action inside an event scope, then the loop's pending work outside it.
  template <class F> bool Act(F&& action) {
    bool ok;
    {
      CPaintManagerUI::DispatchScope scope(&manager_);
      ok = action();
    }
    return Finish(ok);
  }

  CPaintManagerUI& manager_;
  CMessageLoop& loop_;
  std::string error_;
};

// Records notifications for assertions: type and sender name, in order.
class NotifyRecorder : public INotifyUI {
public:
  struct Entry {
    std::string type;
    std::string sender;
    WParam wParam = 0;
    LParam lParam = 0;
  };
  // Registers with `manager` for its lifetime.
  explicit NotifyRecorder(CPaintManagerUI& manager);
  ~NotifyRecorder();
  NotifyRecorder(const NotifyRecorder&) = delete;
  NotifyRecorder& operator=(const NotifyRecorder&) = delete;

  void Notify(TNotifyUI& msg) override;
  const std::vector<Entry>& Entries() const { return entries_; }
  int Count(std::string_view type, std::string_view sender = {}) const;
  // "type:sender" for each entry, for compact expectations.
  std::vector<std::string> Summary() const;
  void Clear() { entries_.clear(); }

private:
  CPaintManagerUI& manager_;
  std::vector<Entry> entries_;
};

} // namespace quorvex::ui
