#pragma once

// CControlUI: the base of every control in a window's tree.
//
// A control holds its state (name, text, visibility, images, user data, layout
// properties) and, once laid out, its rectangle in window pixels. It belongs to at
// most one parent container, which owns it, and to the paint manager of the window
// whose tree it is in. All calls are for the UI thread.
//
// Skin attributes arrive through SetAttribute. The ones the toolkit understands set
// fields; every other attribute is kept by name (GetAttribute) so that custom controls
// and the front end can read it ("lightimage", "hotimage", "bordercolor", ...).

#include "ui/AttributeParse.h"
#include "ui/Notify.h"
#include "ui/UiTypes.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace quorvex::ui {

class CPaintManagerUI;
class CContainerUI;

class CControlUI {
public:
  CControlUI();
  virtual ~CControlUI();
  CControlUI(const CControlUI&) = delete;
  CControlUI& operator=(const CControlUI&) = delete;

  // The class name the toolkit reports, equal to the skin element that creates it
  // ("Button", "Option", ...; custom controls report their own).
  virtual std::string_view GetClass() const;

  // --- identity and texts ---
  const std::string& GetName() const { return name_; }
  void SetName(std::string name);
  // The displayed text: when the stored text is a key of the loaded language, its
  // translation; otherwise the stored text itself.
  virtual const std::string& GetText() const;
  // The text as stored (the language key, if it is one).
  const std::string& GetRawText() const { return text_; }
  virtual void SetText(std::string text);
  const std::string& GetToolTip() const; // translated like GetText
  void SetToolTip(std::string text);

  // --- state ---
  // The control's own flag. IsShown() also needs every ancestor visible.
  bool IsVisible() const { return visible_; }
  virtual void SetVisible(bool visible);
  bool IsShown() const;
  bool IsEnabled() const { return enabled_; }
  virtual void SetEnabled(bool enabled);
  // Enabled itself and every ancestor enabled: what a user can operate.
  bool IsEnabledInTree() const;
  bool IsFocused() const;
  void SetFocus();
  // Whether the control takes the keyboard focus when operated.
  virtual bool IsFocusable() const { return false; }
  // Whether hit testing may return this control ("mouse" attribute).
  bool IsMouseEnabled() const { return mouseEnabled_; }
  void SetMouseEnabled(bool on) { mouseEnabled_ = on; }
  bool IsContextMenuUsed() const { return contextMenu_; }
  void SetContextMenuUsed(bool on) { contextMenu_ = on; }

  // --- appearance ---
  Argb GetBkColor() const { return bkColor_; }
  void SetBkColor(Argb color);
  Argb GetTextColor() const { return textColor_; }
  void SetTextColor(Argb color);
  const std::string& GetBkImage() const { return bkImage_; }
  void SetBkImage(std::string image);
  const std::string& GetForeImage() const { return foreImage_; }
  void SetForeImage(std::string image);
  int GetFont() const { return font_; } // font id, -1 = the window's default font
  void SetFont(int id);

  // --- program data ---
  const std::string& GetUserData() const { return userData_; }
  void SetUserData(std::string data) { userData_ = std::move(data); }
  std::uintptr_t GetTag() const { return tag_; }
  void SetTag(std::uintptr_t tag) { tag_ = tag; }

  // --- layout properties, in skin units ---
  int GetFixedWidth() const { return fixedWidth_; } // 0 = take a share of the space
  int GetFixedHeight() const { return fixedHeight_; }
  void SetFixedWidth(int cx);
  void SetFixedHeight(int cy);
  int GetMinWidth() const { return minWidth_; }
  int GetMinHeight() const { return minHeight_; }
  int GetMaxWidth() const { return maxWidth_; }
  int GetMaxHeight() const { return maxHeight_; }
  void SetMinWidth(int cx);
  void SetMinHeight(int cy);
  void SetMaxWidth(int cx);
  void SetMaxHeight(int cy);
  const UiRect& GetPadding() const { return padding_; } // space outside the control
  void SetPadding(const UiRect& padding);
  bool IsFloat() const { return float_; }
  void SetFloat(bool on);
  // For a float control: its rectangle relative to the parent's top-left corner.
  const UiRect& GetFloatPos() const { return floatPos_; }
  void SetFloatPos(const UiRect& pos);

  // --- geometry, in window pixels, set by the layout ---
  const UiRect& GetPos() const { return rect_; }
  // Places the control (and lays out its children). Called by the parent's layout.
  virtual void SetPos(const UiRect& rect);
  // The deepest shown control at `point` that takes the mouse, or null.
  virtual CControlUI* FindControlAt(UiPoint point);

  // --- tree ---
  CControlUI* GetParent() const { return parent_; }
  CPaintManagerUI* GetManager() const { return manager_; }
  // Children for generic walks; plain controls have none.
  virtual int GetCount() const { return 0; }
  virtual CControlUI* GetItemAt(int index) const;

  // --- repaint and relayout requests ---
  void Invalidate();
  // This control's size or placement rules changed: the window lays out again.
  void NeedUpdate();
  void NeedParentUpdate();

  // --- attributes ---
  // Applies one skin attribute. False when the value cannot be read or is absurd (the
  // builder then refuses the skin); unknown names are kept and return true.
  virtual bool SetAttribute(std::string_view name, std::string_view value);
  // Applies a list in the form name="value" name2="value2".
  bool ApplyAttributeList(std::string_view list);
  // A kept attribute (one the toolkit has no field for), or null.
  const std::string* GetAttribute(std::string_view name) const;
  const std::vector<std::pair<std::string, std::string>>& GetKeptAttributes() const {
    return kept_;
  }

  // --- input and notifications ---
  // The user operated the control (a click, Enter on a focused button). Returns false
  // when the control cannot be operated (hidden or disabled). Subclasses add their
  // behaviour: a button raises "click", an option toggles or joins its group, ...
  virtual bool Activate();
  // Input from the front end or the test driver. The base turns kTimer into a "timer"
  // notification (wParam = timer id) and kContextMenu into "menu" when enabled.
  virtual void DoEvent(TEventUI& event);
  // Called once when the control joins a window's tree.
  virtual void DoInit() {}

  // Joins or leaves a manager (recursively); called by containers and the manager.
  virtual void SetManager(CPaintManagerUI* manager, CControlUI* parent, bool init);

  template <class T> T* As() { return dynamic_cast<T*>(this); }

protected:
  // Stores an attribute the toolkit has no field for, and repaints.
  void KeepAttribute(std::string_view name, std::string_view value);
  // Raises a notification through the manager, if attached.
  void Notify(std::string_view type, WParam wParam = 0, LParam lParam = 0);
  const std::string& Translate(const std::string& text) const;

private:
  CPaintManagerUI* manager_ = nullptr;
  CControlUI* parent_ = nullptr;
  std::string name_;
  std::string text_;
  std::string toolTip_;
  std::string userData_;
  std::string bkImage_;
  std::string foreImage_;
  std::vector<std::pair<std::string, std::string>> kept_;
  std::uintptr_t tag_ = 0;
  UiRect rect_;
  UiRect padding_;
  UiRect floatPos_;
  Argb bkColor_ = 0;
  Argb textColor_ = 0;
  int font_ = -1;
  int fixedWidth_ = 0;
  int fixedHeight_ = 0;
  int minWidth_ = 0;
  int minHeight_ = 0;
  int maxWidth_ = kMaxSkinCoordinate;
  int maxHeight_ = kMaxSkinCoordinate;
  bool visible_ = true;
  bool enabled_ = true;
  bool float_ = false;
  bool mouseEnabled_ = true;
  bool contextMenu_ = false;
};

} // namespace quorvex::ui
