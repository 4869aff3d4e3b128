#pragma once

// CPaintManagerUI: the per-window side of the toolkit.
//
// It owns the window's control tree (the root), finds controls by name in constant
// time, delivers notifications to the registered notifiers, keeps the option groups,
// the focus, the window's fonts, styles and default attributes, the DPI value, and
// computes the layout. Timers are armed here and run by the window's CMessageLoop.
// All calls are for the UI thread.

#include "ui/Control.h"
#include "ui/UiTypes.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace quorvex::ui {

class CMessageLoop;
class CResourceManager;
class CWindowWnd;
class COptionUI;
class IUiObserver;

struct FontInfo {
  int id = 0;
  std::string face;
  int size = 12; // in skin units (pixels at 96 DPI)
  bool bold = false;
  bool underline = false;
  bool italic = false;
};

class CPaintManagerUI {
public:
  CPaintManagerUI(CMessageLoop& loop, CResourceManager& resources);
  ~CPaintManagerUI();
  CPaintManagerUI(const CPaintManagerUI&) = delete;
  CPaintManagerUI& operator=(const CPaintManagerUI&) = delete;

  CMessageLoop& GetLoop() const { return loop_; }
  CResourceManager& GetResources() const { return resources_; }
  CWindowWnd* GetWindow() const { return window_; }
  void SetWindow(CWindowWnd* window) { window_ = window; }
  IUiObserver* GetObserver() const;
  // The skin folder of the shared resources.
  const std::string& GetResourcePath() const;

  // --- the tree ---
  // Takes the root of the window's tree; the previous root is destroyed.
  void AttachDialog(std::unique_ptr<CControlUI> root);
  CControlUI* GetRoot() const { return root_.get(); }

  // The first control of the tree with this name (case-sensitive), or null.
  CControlUI* FindControl(std::string_view name) const;
  template <class T> T* FindControlAs(std::string_view name) const {
    CControlUI* c = FindControl(name);
    return c != nullptr ? dynamic_cast<T*>(c) : nullptr;
  }
  // The deepest shown control at a point of the window, or null.
  CControlUI* FindControl(UiPoint point);
  // Depth-first search below `parent` (not `parent` itself).
  static CControlUI* FindSubControlByName(CControlUI* parent, std::string_view name);

  // --- notifications ---
  bool AddNotifier(INotifyUI* notifier);
  bool RemoveNotifier(INotifyUI* notifier);
  // Delivers to every notifier now, in registration order. With async the delivery
  // waits for the message loop's next pass, and is dropped when the sender has left
  // the window (or been renamed) by then.
  void SendNotify(CControlUI* control, std::string_view type, WParam wParam = 0, LParam lParam = 0,
                  bool async = false);
  void SendNotify(TNotifyUI& msg, bool async = false);

  // --- timers ---
  // Arms (or re-arms) timer `id` of `control`: every `elapseMs` it gets a kTimer event
  // (the default turns it into a "timer" notification) until KillTimer. False for a
  // control outside this window's tree.
  bool SetTimer(CControlUI* control, std::uint32_t id, std::uint32_t elapseMs);
  bool KillTimer(CControlUI* control, std::uint32_t id);
  void KillTimer(CControlUI* control);

  // --- focus ---
  CControlUI* GetFocus() const { return focus_; }
  // Moves the focus: the old control gets "killfocus", the new one "setfocus". Null
  // clears the focus. Controls that are not focusable are refused.
  void SetFocus(CControlUI* control);

  // --- DPI ---
  // 48, 72, 96, 120, 144, 168 or 192; other values give 96 and a debug line, and
  // return false.
  bool SetDPI(int dpi);
  int GetDPI() const { return dpi_; }
  static bool IsAcceptedDPI(int dpi);
  // Skin units -> window pixels (rounded to nearest).
  int Scale(int value) const;
  UiRect Scale(const UiRect& r) const;
  // The images depend on the DPI; tells the front end to reload them.
  void ResetDPIAssets();

  // --- layout ---
  // The window's client size in skin units (from the skin's "size" or the window).
  UiSize GetInitSize() const { return initSize_; }
  void SetInitSize(UiSize size) { initSize_ = size; }
  UiSize GetMinInfo() const { return minInfo_; }
  void SetMinInfo(UiSize size) { minInfo_ = size; }
  UiSize GetMaxInfo() const { return maxInfo_; }
  void SetMaxInfo(UiSize size) { maxInfo_ = size; }
  // The client area in pixels that the root fills.
  UiSize GetClientSize() const { return clientSize_; }
  void SetClientSize(UiSize pixels);
  void NeedUpdate();
  bool IsUpdateNeeded() const { return needUpdate_; }
  // Lays out the whole tree if something asked for it.
  void UpdateLayout();

  // --- fonts, styles, default attributes ---
  void AddFont(const FontInfo& font, bool isDefault = false);
  const FontInfo* GetFont(int id) const;
  const FontInfo* GetDefaultFont() const;
  void RemoveAllFonts();
  const std::vector<FontInfo>& GetFonts() const { return fonts_; }
  void AddStyle(std::string name, std::string attributeList);
  const std::string* GetStyle(std::string_view name) const;
  void AddDefaultAttributeList(std::string className, std::string attributeList);
  const std::string* GetDefaultAttributeList(std::string_view className) const;
  // Window-level skin attributes without a field ("caption", "roundcorner", ...).
  void SetWindowAttribute(std::string name, std::string value);
  const std::string* GetWindowAttribute(std::string_view name) const;

  // --- called by controls; not for program code ---
  void OnControlAttached(CControlUI* control);
  void OnControlDetached(CControlUI* control);
  void OnControlRenamed(CControlUI* control, const std::string& oldName);
  void OnControlInvalidated(CControlUI* control);
  void OnControlGeometry(CControlUI* control);
  void AddOptionToGroup(std::string_view group, COptionUI* option);
  void RemoveOptionFromGroup(std::string_view group, COptionUI* option);
  const std::vector<COptionUI*>* GetOptionGroup(std::string_view group) const;
  // A removed control whose removal happened while an event was being handled is
  // destroyed once the outermost handler returned (so code still running on it stays
  // safe).
  void ReapLater(std::unique_ptr<CControlUI> control);
  bool IsDispatching() const { return dispatchDepth_ > 0; }
  // Opens an event scope: controls removed inside it die when the outermost scope
  // closes. Every entry point that runs handlers holds one.
  class DispatchScope {
  public:
    explicit DispatchScope(CPaintManagerUI* manager);
    ~DispatchScope();
    DispatchScope(const DispatchScope&) = delete;
    DispatchScope& operator=(const DispatchScope&) = delete;

  private:
    CPaintManagerUI* manager_;
  };
  // Redraws every control (language or DPI change).
  void InvalidateAll();

private:
  struct StringHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
  };
  struct NameEntry {
    CControlUI* control = nullptr;
    int count = 0;
  };
  using NameMap = std::unordered_map<std::string, NameEntry, StringHash, std::equal_to<>>;
  template <class V>
  using StringMap = std::unordered_map<std::string, V, StringHash, std::equal_to<>>;

  void RegisterName(CControlUI* control, const std::string& name);
  void UnregisterName(CControlUI* control, const std::string& name);
  void Reap();

  CMessageLoop& loop_;
  CResourceManager& resources_;
  CWindowWnd* window_ = nullptr;
  std::unique_ptr<CControlUI> root_;
  NameMap names_;
  StringMap<std::vector<COptionUI*>> optionGroups_;
  StringMap<std::string> styles_;
  StringMap<std::string> defaults_;
  StringMap<std::string> windowAttributes_;
  std::vector<INotifyUI*> notifiers_;
  std::vector<FontInfo> fonts_;
  std::vector<std::unique_ptr<CControlUI>> reap_;
  std::shared_ptr<bool> aliveToken_ = std::make_shared<bool>(true);
  CControlUI* focus_ = nullptr;
  UiSize initSize_;
  UiSize minInfo_;
  UiSize maxInfo_;
  UiSize clientSize_;
  int defaultFont_ = -1;
  int dpi_ = 96;
  int dispatchDepth_ = 0;
  bool needUpdate_ = true;
  bool destroying_ = false;
};

} // namespace quorvex::ui
